// Wall time of Hide All and Show All over the windows of another process,
// under the real window manager, against the floor: the same windows hidden
// and shown by direct asynchronous requests, bottom of the z-order up, with
// nothing to find out first. Before every hide the windows have been shown
// with activation and the topmost one is active, as on a desktop in use.
// Also the cost of one journal write of 1,000 records. Prints figures;
// asserts nothing. Run through scripts/bench.
//
//   tarnvell_hide_bench [N...] [--runs R] [--reference]
//
// --reference adds one run of the plain algorithm at the first size (slow:
// seconds at 200 windows, minutes at 1,000).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <unordered_set>
#include <vector>

#include "e2e_support.h"
#include "engine/app_kernel.h"
#include "engine/hidden_journal.h"
#include "literal_engine.h"
#include "platform/win32/convert.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_minimize_gesture.h"
#include "platform/win32/win32_window_events.h"

using namespace e2e;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kHostClass = "TarnvellTestWindow";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Every call the engine makes on the window manager passes here, so that the
// bench can say how many round trips a command cost.
class CountingWindows final : public platform::IWindowManager {
public:
    explicit CountingWindows(platform::IWindowManager& inner) : m(inner) {}
    long calls = 0;
    long byKind[14] = {};

    WindowHandle GetWindow(WindowHandle r, platform::WindowRelation rel) override { return ++calls, ++byKind[0], m.GetWindow(r, rel); }
    bool IsWindow(WindowHandle w) override { return ++calls, ++byKind[1], m.IsWindow(w); }
    bool IsWindowVisible(WindowHandle w) override { return ++calls, ++byKind[2], m.IsWindowVisible(w); }
    std::string GetClassName(WindowHandle w, int n) override { return ++calls, ++byKind[3], m.GetClassName(w, n); }
    std::string GetWindowText(WindowHandle w, int n) override { return ++calls, ++byKind[4], m.GetWindowText(w, n); }
    WindowHandle GetParent(WindowHandle w) override { return ++calls, ++byKind[5], m.GetParent(w); }
    std::uint32_t ProcessId(WindowHandle w) override { return ++calls, ++byKind[6], m.ProcessId(w); }
    std::optional<std::string> ProcessImage(std::uint32_t p) override { return ++calls, m.ProcessImage(p); }
    std::uint32_t OwnProcessId() override { return m.OwnProcessId(); }
    bool IsCloaked(WindowHandle w) override { return ++calls, ++byKind[7], m.IsCloaked(w); }
    bool HideWindow(WindowHandle w) override { return ++calls, ++byKind[8], m.HideWindow(w); }
    bool Answers(WindowHandle w) override { return ++calls, ++byKind[12], m.Answers(w); }
    bool RunsAbove(WindowHandle w) override { return ++calls, ++byKind[13], m.RunsAbove(w); }
    void ShowWindow(WindowHandle w) override { ++calls, ++byKind[9], m.ShowWindow(w); }
    void RestoreWindow(WindowHandle w, bool max) override { ++calls, m.RestoreWindow(w, max); }
    platform::RestoreState RestoreStateOf(WindowHandle w) override { return ++calls, m.RestoreStateOf(w); }
    void RequestClose(WindowHandle w) override { ++calls, m.RequestClose(w); }
    bool SetForegroundWindow(WindowHandle w) override { return ++calls, ++byKind[10], m.SetForegroundWindow(w); }
    void SetActiveWindow(WindowHandle w) override { ++calls, ++byKind[11], m.SetActiveWindow(w); }
    void Sleep(unsigned ms) override { m.Sleep(ms); }
    std::uint64_t TickCount() override { return m.TickCount(); }
    bool SetTimer(WindowHandle w, unsigned id, unsigned ms) override { return m.SetTimer(w, id, ms); }
    void KillTimer(WindowHandle w, unsigned id) override { m.KillTimer(w, id); }

private:
    platform::IWindowManager& m;
};

// The benchmark opens no dialog: every one is cancelled.
class NoPrompts final : public IDialogs {
public:
    bool AskPassword(std::string& entered) override {
        entered.clear();
        return false;
    }
    bool RunPreferences(PreferencesForm&) override { return false; }
    bool RunWindowsGroups(GroupsForm&) override { return false; }
    void RunAbout(unsigned) override {}
    void ShowHelp(WindowHandle, const char*) override {}
    void BringToFront(Waiting) override {}
};

// The host's windows, top of the z-order first.
std::vector<HWND> InZOrder(const std::vector<HWND>& windows) {
    const std::unordered_set<HWND> wanted(windows.begin(), windows.end());
    std::vector<HWND> ordered;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (wanted.count(w)) ordered.push_back(w);
    return ordered;
}

// The time from start until every window is in the wanted state. The caller
// has already waited in its own way; a confirming count that finds them all
// done costs nothing, otherwise the clock runs until they are.
double Settle(Clock::time_point start, const std::vector<HWND>& windows, bool visible) {
    const auto done = Clock::now();
    const int want = visible ? static_cast<int>(windows.size()) : 0;
    if (CountVisible(windows) == want) return Ms(done - start);
    WaitFor([&] { return CountVisible(windows) == want; }, 60s, 1ms);
    return Ms(Clock::now() - start);
}

// The floor: requests straight from another process, bottom of the z-order
// up. One thread carries them out in order, so the topmost window, asked
// last, is the one to wait for.
double FloorRequests(const std::vector<HWND>& zOrder, int command) {
    const bool visible = command != SW_HIDE;
    const auto start = Clock::now();
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it) ::ShowWindowAsync(*it, command);
    while ((::IsWindowVisible(zOrder.front()) != FALSE) != visible) ::Sleep(1);
    return Settle(start, zOrder, visible);
}

// The usual state before a hide: the topmost window is the active one.
bool MakeTopActive(const std::vector<HWND>& windows) {
    const std::vector<HWND> zOrder = InZOrder(windows);
    if (zOrder.empty()) return false;
    if (::GetForegroundWindow() == zOrder.front()) return true;
    ::SetForegroundWindow(zOrder.front());
    return WaitFor([&] { return ::GetForegroundWindow() == zOrder.front(); }, 2s, 5ms);
}

struct Best {
    double hide = 1e300, show = 1e300;
    void Keep(double h, double s) {
        hide = std::min(hide, h);
        show = std::min(show, s);
    }
};

struct SizeFigures {
    int n = 0;
    Best engine, floor;
    long hideCalls = 0, showCalls = 0;
    std::size_t records = 0;
    bool topWasActive = true;
};

std::vector<HWND> HostWindows(const Host& host, int n) {
    std::vector<HWND> windows;
    WaitFor(
        [&] {
            windows = WindowsOfProcess(host.Proc().Pid(), kHostClass);
            return static_cast<int>(windows.size()) == n && CountVisible(windows) == n;
        },
        120s, 500ms);
    return windows;
}

// One Win32VolatileStore write of the encoding of 1,000 records, as the
// engine makes it once per command; best of several.
double JournalWriteMs(Win32VolatileStore& store) {
    std::vector<CWndDes> records;
    for (int i = 0; i < 1000; ++i) {
        CWndDes record(FromHwnd(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10000 + 4 * i))), i % 7 == 0,
                       i % 7 == 0 ? WindowHandle{} : FromHwnd(reinterpret_cast<HWND>(0x10000)), -1);
        record.m_nProcessId = 1234;
        records.push_back(record);
    }
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        store.Write(journal::Encode(records));
        best = std::min(best, Ms(Clock::now() - start));
    }
    store.Remove();
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    int runs = 3;
    bool reference = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--reference") == 0)
            reference = true;
        else if (std::atoi(argv[i]) > 0)
            sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {200, 1000};

    // The engine as the program builds it, with a hidden window of ours as
    // its frame.
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HWND frame = ::CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance,
                                   nullptr);
    Win32WindowManager realWindows;
    CountingWindows wm(realWindows);
    Win32HotKeySystem hotKeys;
    Win32Profile profile;
    Win32RunKey runKey;
    Win32Module module(instance);
    Win32NotifyShell notifyShell(instance);
    NoPrompts prompts;
    Win32Shell shell;
    Win32Menus menus;
    Win32VolatileStore journalStore(profile);
    Win32WindowEvents windowEvents;
    Win32Crypto crypto;
    Win32WindowEvents iconEvents;
    Win32WindowEvents minimizeEvents;
    Win32MinimizeGesture gesture;
    // A profile of the bench's own that has had its first start, so that
    // the start-up load touches neither the program's profile nor the Run key.
    profile.SetRegistryKey("KESTROW SOFTWARE", "TarnvellBench");
    profile.Profile().WriteProfileInt("Settings", "First Start", 0);
    CAppKernel kernel(
        PlatformSet{wm, hotKeys, profile.Profile(), runKey, module, notifyShell, prompts, shell, menus, journalStore,
                    windowEvents, crypto, iconEvents, gesture, minimizeEvents});
    kernel.Init(FromHwnd(frame));

    std::vector<SizeFigures> all;
    for (int n : sizes) {
        Host host({"many:" + std::to_string(n) + ":Bench"});
        const std::vector<HWND> windows = HostWindows(host, n);
        if (static_cast<int>(windows.size()) != n || CountVisible(windows) != n) {
            std::printf("the helper's %d windows did not appear\n", n);
            return 1;
        }
        SizeFigures f;
        f.n = n;
        for (int run = 0; run < runs; ++run) {
            // The floor and the engine take turns, so that a slow moment of
            // the machine falls on both.
            f.topWasActive = MakeTopActive(windows) && f.topWasActive;
            const std::vector<HWND> zOrder = InZOrder(windows);
            const double floorHide = FloorRequests(zOrder, SW_HIDE);
            const double floorShow = FloorRequests(zOrder, SW_SHOW);
            f.floor.Keep(floorHide, floorShow);

            f.topWasActive = MakeTopActive(windows) && f.topWasActive;
            wm.calls = 0;
            std::fill(std::begin(wm.byKind), std::end(wm.byKind), 0);
            auto start = Clock::now();
            kernel.Run({Verb::HideAll}, Origin::Menu);
            const double hide = Settle(start, windows, false);
            f.hideCalls = wm.calls;
            if (std::getenv("BENCH_CALLS")) {
                std::printf("N=%d hide all calls:", n);
                for (long k : wm.byKind) std::printf(" %ld", k);
                std::printf("\n");
            }
            f.records = kernel.Commands().HiddenList().size();
            wm.calls = 0;
            start = Clock::now();
            kernel.Run({Verb::ShowAll}, Origin::Menu);
            const double show = Settle(start, windows, true);
            f.showCalls = wm.calls;
            f.engine.Keep(hide, show);
        }
        if (reference && all.empty()) {
            LiteralEngine literal(realWindows, FromHwnd(frame));
            MakeTopActive(windows);
            auto start = Clock::now();
            literal.HideAllWindows();
            const double hide = Settle(start, windows, false);
            start = Clock::now();
            literal.ShowAllWindows();
            const double show = Settle(start, windows, true);
            std::printf("plain reference, %d windows: hide all %.1f ms, show all %.1f ms\n", n, hide, show);
        }
        all.push_back(f);
    }
    const double journalMs = JournalWriteMs(journalStore);

    std::printf("best of %d runs; floor = the same windows hidden/shown by direct asynchronous requests\n", runs);
    std::printf("%-9s %6s %12s %12s %7s %11s %8s\n", "command", "N", "engine ms", "floor ms", "ratio", "calls/win",
                "records");
    for (const auto& f : all) {
        std::printf("%-9s %6d %12.1f %12.1f %6.2fx %11.1f %8zu\n", "hide all", f.n, f.engine.hide, f.floor.hide,
                    f.engine.hide / f.floor.hide, static_cast<double>(f.hideCalls) / f.n, f.records);
        std::printf("%-9s %6d %12.1f %12.1f %6.2fx %11.1f %8s\n", "show all", f.n, f.engine.show, f.floor.show,
                    f.engine.show / f.floor.show, static_cast<double>(f.showCalls) / f.n, "");
        if (!f.topWasActive) std::printf("  (N=%d: the topmost window could not always be made active)\n", f.n);
    }
    std::printf("journal write of 1000 records: %.2f ms", journalMs);
    for (const auto& f : all)
        if (f.n == 1000) std::printf(" = %.2f %% of hide all over 1000 windows", 100.0 * journalMs / f.engine.hide);
    std::printf("\n");
    ::DestroyWindow(frame);
    return 0;
}
