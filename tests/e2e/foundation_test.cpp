#include <gtest/gtest.h>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr LONG kFrameStyle = WS_CAPTION | WS_THICKFRAME;

TEST(Foundation, FrameExistsInvisibleAndTitled) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND frame = app.Frame();
    EXPECT_EQ(TitleOf(frame), "Tarnvell");
    EXPECT_FALSE(::IsWindowVisible(frame));
    // The system adds clip-siblings to every top-level window.
    EXPECT_EQ(::GetWindowLongA(frame, GWL_STYLE) & ~WS_CLIPSIBLINGS, kFrameStyle);
    // Still invisible a while later: nothing shows it after start-up.
    ::Sleep(500);
    EXPECT_FALSE(::IsWindowVisible(frame));
    for (HWND w : WindowsOfProcess(app.Proc().Pid())) EXPECT_FALSE(::IsWindowVisible(w)) << ClassOf(w);
}

TEST(Foundation, IconWindowExistsAndIsInvisible) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    // The frame exists before its start-up has made the icon window.
    std::vector<HWND> windows;
    WaitFor([&] { return (windows = WindowsOfProcess(app.Proc().Pid(), kIconWindowClass)).size() == 1; }, 5s);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(TitleOf(windows[0]), "CTrayNotifyIcon Helper Window");
    EXPECT_FALSE(::IsWindowVisible(windows[0]));
    EXPECT_EQ(::GetWindowLongA(windows[0], GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_OVERLAPPEDWINDOW));
}

TEST(Foundation, TrayIconIsInTheNotificationArea) {
    ASSERT_FALSE(TrayShowsRed()) << "another icon is already in the tray";
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    EXPECT_TRUE(WaitFor([&] { return ShellHasIcon(app.Frame(), kTrayIconId); }, 5s));
    EXPECT_TRUE(WaitFor(TrayShowsRed, 5s));
    // Nothing is taken for granted: an identifier the program never added is
    // not there.
    EXPECT_FALSE(ShellHasIcon(app.Frame(), kTrayIconId + 1));

    ASSERT_TRUE(app.Close());
    EXPECT_FALSE(ShellHasIcon(app.Frame(), kTrayIconId));
    EXPECT_TRUE(WaitFor([] { return !TrayShowsRed(); }, 5s));
}

TEST(Foundation, SecondCopyEndsAtOnceWithoutATrace) {
    Tarnvell first;
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitFor([&] { return ShellHasIcon(first.Frame(), kTrayIconId); }, 5s));

    Process second = Start(Tarnvell::ExePath());
    ASSERT_NE(second.info.hProcess, nullptr);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_NE(second.WaitExit(5s), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_TRUE(WindowsOfProcess(second.Pid()).empty());

    // The first copy is unaffected.
    EXPECT_TRUE(first.Proc().Running());
    EXPECT_TRUE(::IsWindow(first.Frame()));
    EXPECT_TRUE(ShellHasIcon(first.Frame(), kTrayIconId));
}

TEST(Foundation, CloseEndsTheProgramAndFreesTheMutex) {
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        HANDLE held = ::OpenMutexA(SYNCHRONIZE, FALSE, "TARNVELL_RUNNING");
        EXPECT_NE(held, nullptr);
        if (held) ::CloseHandle(held);

        ASSERT_TRUE(app.Close());
        EXPECT_EQ(app.Proc().WaitExit(0ms), 0u);
        EXPECT_FALSE(::IsWindow(app.Frame()));
        HANDLE gone = ::OpenMutexA(SYNCHRONIZE, FALSE, "TARNVELL_RUNNING");
        EXPECT_EQ(gone, nullptr);
        if (gone) ::CloseHandle(gone);
    }
    Tarnvell again;
    ASSERT_TRUE(again.Started());
    EXPECT_TRUE(WaitFor([&] { return ShellHasIcon(again.Frame(), kTrayIconId); }, 5s));
}

TEST(Foundation, TaskbarCreatedBringsTheIconBack) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([&] { return ShellHasIcon(app.Frame(), kTrayIconId); }, 5s));

    // The icon vanishes as it does when the shell restarts...
    ASSERT_TRUE(DeleteIconFromOutside(app.Frame(), kTrayIconId));
    ASSERT_FALSE(ShellHasIcon(app.Frame(), kTrayIconId));
    ASSERT_TRUE(WaitFor([] { return !TrayShowsRed(); }, 5s));

    // ...and the taskbar's announcement brings it back, visible.
    BroadcastTaskbarCreated();
    EXPECT_TRUE(WaitFor([&] { return ShellHasIcon(app.Frame(), kTrayIconId); }, 5s));
    EXPECT_TRUE(WaitFor(TrayShowsRed, 5s));

    // A second announcement while the icon is present leaves one icon.
    BroadcastTaskbarCreated();
    ::Sleep(300);
    EXPECT_TRUE(ShellHasIcon(app.Frame(), kTrayIconId));
}

}  // namespace
