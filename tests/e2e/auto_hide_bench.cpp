// Not a test: the cost to Tarnvell of the window-event hooks when a program
// retitles a window that matches no rule, thousands of times in a row (a
// browser that shows a counter in its caption). Prints Tarnvell's CPU time
// per event, with a group that hides its windows as they appear (hooks set)
// and without one (no hooks), for the same storm.
//
// With --burst, a burst instead: N matching windows, made beforehand, shown
// by their program one after the other without pumping. Prints the time
// until all are hidden by Tarnvell's rule, against the floor (the same
// burst, each window hidden by a direct asynchronous request from this
// process as its show event arrives), and the longest time Tarnvell left a
// WM_NULL unanswered meanwhile.
//
//   tarnvell_auto_hide_bench.exe [events]
//   tarnvell_auto_hide_bench.exe --burst [N] [--runs R]
//
// With BURST_TRACE=1 in the environment, each burst prints how many of its
// windows are still shown, every 100 ms.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {


void Profile(bool autoHide, const char* search = "[chat]") {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    SetDword("Settings", "First Start", 0);
    SetString("Groups", "Name0", "Chat");
    SetString("Groups", "Search0", search);
    SetDword("Groups", "Compare0", 0);
    SetDword("Groups", "AutoHide0", autoHide ? 1 : 0);
    SetDword("Groups", "Compare1", 0xFFFFFFFF);
}

bool Storm(int events, bool autoHide) {
    Profile(autoHide);
    Tarnvell app;
    if (!app.Started()) return false;
    Host host({"win:Storm page"});
    HWND page = host.Window("Storm page");
    if (!page) return false;
    ::Sleep(500);  // start-up's own work is over

    const double before = TarnvellCpuSeconds(app.Proc().info.hProcess);
    const DWORD start = ::GetTickCount();
    if (!AskHost(page, host::kRenameStorm, "Storm page\n" + std::to_string(events), 600s)) return false;
    const DWORD wall = ::GetTickCount() - start;
    // Events still queued are delivered after the host is done.
    const double after = SettledCpuSeconds(app.Proc().info.hProcess, 500ms);
    const int raised = events + 1;  // the storm and the retitle back
    std::printf("%-22s %6d events  Tarnvell CPU %8.3f s = %7.1f us/event  storm wall %6lu ms  visible %s\n",
                autoHide ? "hooks set (group on):" : "no hooks (group off):", raised, after - before,
                (after - before) * 1e6 / raised, static_cast<unsigned long>(wall),
                ::IsWindowVisible(page) ? "yes" : "NO");
    std::fflush(stdout);
    return true;
}

constexpr const char* kBurstPrefix = "Burst [burst] ";

// The burst's windows, made hidden; empty when they did not appear.
std::vector<HWND> PrepareBurst(Host& host, HWND anchor, int n) {
    std::vector<HWND> windows;
    if (!AskHost(anchor, host::kPrepareBurst, std::string(kBurstPrefix) + "\n" + std::to_string(n), 120s)) return windows;
    for (HWND w : WindowsOfProcess(host.Proc().Pid()))
        if (TitleOf(w).rfind(kBurstPrefix, 0) == 0) windows.push_back(w);
    return static_cast<int>(windows.size()) == n ? windows : std::vector<HWND>{};
}

// Shows the burst and pumps this thread's messages (where the floor's hook
// runs) until every window is hidden; the milliseconds that took, or a
// negative number after five minutes.
double RunBurst(HWND anchor, const std::vector<HWND>& windows) {
    const auto start = std::chrono::steady_clock::now();
    ::PostMessageA(anchor, host::kShowBurst, 0, 0);
    bool shown = false;
    double lastPrint = -1000;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        const int visible = CountVisible(windows);
        shown = shown || visible > 0;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (std::getenv("BURST_TRACE") && ms - lastPrint >= 100) {
            lastPrint = ms;
            std::printf("    %6.0f ms: %d shown\n", ms, visible);
        }
        // Hidden before this thread saw one shown is hidden too: the count
        // itself takes a while.
        if (visible == 0 && (shown || ms > 200)) return ms;
        if (ms > 300000) {
            std::printf("  %d of %zu windows still shown after %.0f ms\n", visible, windows.size(), ms);
            return -ms;
        }
        ::Sleep(1);
    }
}

std::vector<HWND>* g_floorBurst = nullptr;

void CALLBACK FloorHide(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD) {
    if (idObject != OBJID_WINDOW || idChild != CHILDID_SELF || !g_floorBurst) return;
    if (std::find(g_floorBurst->begin(), g_floorBurst->end(), hwnd) != g_floorBurst->end())
        ::ShowWindowAsync(hwnd, SW_HIDE);
}

// The floor: this process hides each window of the burst the moment its show
// event arrives, with one request and nothing asked first.
double FloorBurst(int n) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    Host host({"win:Burst anchor"});
    HWND anchor = host.Window("Burst anchor");
    if (!anchor) return -1;
    std::vector<HWND> windows = PrepareBurst(host, anchor, n);
    if (windows.empty()) return -1;
    g_floorBurst = &windows;
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, &FloorHide, 0, 0,
                                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    const double ms = RunBurst(anchor, windows);
    ::UnhookWinEvent(hook);
    g_floorBurst = nullptr;
    return ms;
}

struct BurstFigures {
    double ms = -1;
    double longestNullMs = -1;
    long pings = 0;
};

BurstFigures TarnvellBurst(int n) {
    BurstFigures f;
    Profile(true, "[burst]");
    Tarnvell app;
    if (!app.Started()) return f;
    Host host({"win:Burst anchor"});
    HWND anchor = host.Window("Burst anchor");
    if (!anchor) return f;
    std::vector<HWND> windows = PrepareBurst(host, anchor, n);
    if (windows.empty()) return f;
    ::Sleep(500);  // start-up's own work is over
    Pinger pinger(app.Frame());
    f.ms = RunBurst(anchor, windows);
    // Tarnvell may still be settling the last of them.
    ::Sleep(1000);
    f.longestNullMs = pinger.LongestMs();
    f.pings = pinger.Sends();
    return f;
}

int Burst(int n, int runs) {
    std::printf("burst of %d matching windows shown at once, %d runs\n", n, runs);
    double bestFloor = 1e300, bestTarnvell = 1e300, worstNull = 0;
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        const double floor = FloorBurst(n);
        const BurstFigures t = TarnvellBurst(n);
        std::printf("  run %d: floor %8.1f ms   Tarnvell %8.1f ms (%5.2fx)   longest WM_NULL wait %7.1f ms (%ld sends)\n",
                    run + 1, floor, t.ms, t.ms / floor, t.longestNullMs, t.pings);
        std::fflush(stdout);
        if (floor < 0 || t.ms < 0) return 1;
        ratios.push_back(t.ms / floor);
        bestFloor = std::min(bestFloor, floor);
        bestTarnvell = std::min(bestTarnvell, t.ms);
        worstNull = std::max(worstNull, t.longestNullMs);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("best: floor %.1f ms, Tarnvell %.1f ms = %.2fx the floor; median of the runs' ratios %.2fx; "
                "longest WM_NULL wait of all runs %.1f ms\n",
                bestFloor, bestTarnvell, bestTarnvell / bestFloor, ratios[ratios.size() / 2], worstNull);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--burst") == 0) {
        int n = 300, runs = 5;
        for (int i = 2; i < argc; ++i) {
            if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
                runs = std::max(1, std::atoi(argv[++i]));
            else if (std::atoi(argv[i]) > 0)
                n = std::atoi(argv[i]);
        }
        const int result = Burst(n, runs);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        return result;
    }
    const int events = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool ok = Storm(events, false) && Storm(events, true);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    return ok ? 0 : 1;
}
