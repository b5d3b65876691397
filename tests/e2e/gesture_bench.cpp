// Not a test: what the gesture's low-level mouse hook costs each mouse
// event, on moves and on right clicks outside a caption button (in a
// window's client area, where the hook asks the window what the point is).
// The same input is injected with the option off (no hook) and on; for each,
// the time the injecting call takes per event (the system hands every event
// to the hook and waits for its answer before it goes on) and Tarnvell's CPU
// time per event.
//
//   tarnvell_gesture_bench.exe [moves] [clicks]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double wallUs = 0;  // per event, of the injecting call
    double cpuUs = 0;   // per event, of Tarnvell
};

INPUT MouseInput(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute positions are in 65536ths of the primary screen.
        input.mi.dx = static_cast<LONG>(at.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = static_cast<LONG>(at.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN));
    }
    return input;
}

// Sends the events one call each and measures both costs; Tarnvell's CPU
// time is read once it stops growing.
template <typename Send>
Figures Measure(const Tarnvell& app, int events, Send send) {
    const double before = TarnvellCpuSeconds(app.Proc().info.hProcess);
    const auto start = Clock::now();
    for (int i = 0; i < events; ++i) send(i);
    const double wall = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    const double after = SettledCpuSeconds(app.Proc().info.hProcess, 300ms);
    return {wall / events, (after - before) * 1e6 / events};
}

bool Run(bool gesture, int moves, int clicks) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    SetDword("Settings", "First Start", 0);
    SetDword("Settings", "m_bMinimizeGesture", gesture ? 1 : 0);
    Tarnvell app;
    if (!app.Started()) return false;
    Host host({"top:Mouse pad"});
    HWND pad = host.Window("Mouse pad");
    if (!pad || !Raise(pad)) return false;
    ::Sleep(500);  // start-up's own work is over
    RECT client{};
    ::GetClientRect(pad, &client);
    POINT a{client.right / 3, client.bottom / 2}, b{2 * client.right / 3, client.bottom / 2};
    ::ClientToScreen(pad, &a);
    ::ClientToScreen(pad, &b);

    const Figures move = Measure(app, moves, [&](int i) {
        INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, i % 2 ? a : b);
        ::SendInput(1, &input, sizeof(input));
    });
    INPUT there = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, a);
    ::SendInput(1, &there, sizeof(there));
    // A press and its release are two events.
    const Figures click = Measure(app, 2 * clicks, [&](int i) {
        INPUT input = MouseInput(i % 2 ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN);
        ::SendInput(1, &input, sizeof(input));
    });
    const bool padShown = ::IsWindowVisible(pad) != FALSE;
    std::printf("%-13s moves %7.1f us/event (Tarnvell CPU %6.1f us)   right clicks %7.1f us/event (Tarnvell CPU %6.1f us)   window %s\n",
                gesture ? "hook set:" : "no hook:", move.wallUs, move.cpuUs, click.wallUs, click.cpuUs,
                padShown ? "shown" : "HIDDEN");
    std::fflush(stdout);
    return padShown;
}

}  // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int clicks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    std::printf("%d moves and %d right clicks in a window's client area, injected one event a call\n", moves, clicks);
    bool ok = true;
    // Twice each, alternating, so that a slow moment of the machine falls on both.
    for (int round = 0; round < 2 && ok; ++round) ok = Run(false, moves, clicks) && Run(true, moves, clicks);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    return ok ? 0 : 1;
}
