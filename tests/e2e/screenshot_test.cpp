#include <gtest/gtest.h>

#include <cstdio>

#include "e2e_support.h"

using namespace e2e;

// Not a test: scripts/screenshot runs it to show the About dialog while it
// takes a picture of the screen. It prints the dialog's rectangle, then
// keeps the dialog open for a few seconds.
TEST(Screenshot, DISABLED_AboutDialog) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), 57664);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(app.Proc().Pid(), "#32770"))
                if (TitleOf(w) == "About Tarnvell" && ::IsWindowVisible(w)) about = w;
            return about != nullptr;
        },
        10s));
    // In the middle of the screen, in front, with the focus on OK.
    RECT r{};
    ::GetWindowRect(about, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ::SetWindowPos(about, HWND_TOPMOST, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE);
    ::SetForegroundWindow(about);
    ::Sleep(1000);
    ::GetWindowRect(about, &r);
    std::printf("about %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    ::Sleep(6000);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}
