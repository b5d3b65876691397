// Not a test: the cost to Tarnvell of the window-event hooks when a program
// retitles a window that matches no rule, thousands of times in a row (a
// browser that shows a counter in its caption). Prints Tarnvell's CPU time
// per event, with a group that hides its windows as they appear (hooks set)
// and without one (no hooks), for the same storm.
//
//   tarnvell_auto_hide_bench.exe [events]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr ULONG_PTR kHostRenameStorm = 3;

void Profile(bool autoHide) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    SetDword("Settings", "First Start", 0);
    SetString("Groups", "Name0", "Chat");
    SetString("Groups", "Search0", "[chat]");
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

    const std::string request = "Storm page\n" + std::to_string(events);
    COPYDATASTRUCT data{kHostRenameStorm, static_cast<DWORD>(request.size()), const_cast<char*>(request.data())};
    const double before = TarnvellCpuSeconds(app.Proc().info.hProcess);
    const DWORD start = ::GetTickCount();
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(page, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 600000,
                               &answer) ||
        answer != 1)
        return false;
    const DWORD wall = ::GetTickCount() - start;
    // Events still queued are delivered after the host is done; wait until
    // Tarnvell's CPU time stops growing.
    double after = TarnvellCpuSeconds(app.Proc().info.hProcess), previous = -1;
    while (after != previous) {
        previous = after;
        ::Sleep(500);
        after = TarnvellCpuSeconds(app.Proc().info.hProcess);
    }
    const int raised = events + 1;  // the storm and the retitle back
    std::printf("%-22s %6d events  Tarnvell CPU %8.3f s = %7.1f us/event  storm wall %6lu ms  visible %s\n",
                autoHide ? "hooks set (group on):" : "no hooks (group off):", raised, after - before,
                (after - before) * 1e6 / raised, static_cast<unsigned long>(wall),
                ::IsWindowVisible(page) ? "yes" : "NO");
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int events = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool ok = Storm(events, false) && Storm(events, true);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    return ok ? 0 : 1;
}
