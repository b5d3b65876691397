#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine_test.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

class MinimizeGesture : public EngineTest {
protected:
    void Gesture(WindowHandle w) { kernel->ProcessMessage(wm::kMinimizeGesture, w.value, 0); }
};

// The mouse hook is set only while the option is on, bound to the frame and
// the gesture's message, and it goes before the engine does.
TEST_F(MinimizeGesture, TheHookIsSetOnlyWhileTheOptionIsOn) {
    Start();
    EXPECT_EQ(fake.gesture.starts, 0);
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bMinimizeGesture = true; });
    EXPECT_TRUE(fake.gesture.running);
    EXPECT_EQ(fake.gesture.frame, frame);
    EXPECT_EQ(fake.gesture.message, wm::kMinimizeGesture);
    // Another change of the preferences keeps the same hook.
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bShowList = false; });
    EXPECT_EQ(fake.gesture.starts, 1);
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bMinimizeGesture = false; });
    EXPECT_FALSE(fake.gesture.running);

    fake.profile.Set("Settings", "m_bMinimizeGesture", 1u);
    kernel.reset();
    Start();
    EXPECT_TRUE(fake.gesture.running);
    kernel.reset();
    EXPECT_FALSE(fake.gesture.running);
    EXPECT_EQ(fake.gesture.starts, fake.gesture.stops);
}

// The window the hook found is hidden with its family, as Hide Window would
// hide it if it were on top; the topmost window stays.
TEST_F(MinimizeGesture, HidesTheWindowItWasMadeOnWithItsFamily) {
    Start();
    const WindowHandle top = fake.desktop.Add("App", "Top");
    fake.desktop.Raise(top);
    const WindowHandle below = fake.desktop.Add("App", "Below");
    const WindowHandle dialog = fake.desktop.Add("#32770", "Options", true, below);
    Gesture(below);
    EXPECT_FALSE(Visible(below));
    EXPECT_FALSE(Visible(dialog));
    EXPECT_TRUE(Visible(top));
    kernel->Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_TRUE(Visible(below));
    EXPECT_TRUE(Visible(dialog));
}

// The same filter as every hide: never our own windows nor the shell's, and
// a message without a window hides nothing (not the topmost).
TEST_F(MinimizeGesture, TakesNoWindowAHideMayNotTake) {
    Start();
    const WindowHandle own = fake.desktop.Add("#32770", "Preferences");
    fake.desktop.Get(own).pid = FakeDesktop::kOwnProcess;
    const WindowHandle taskbar = fake.desktop.Add("Shell_TrayWnd", "");
    const WindowHandle top = fake.desktop.Add("App", "Top");
    fake.desktop.Raise(top);
    for (WindowHandle w : {own, taskbar, WindowHandle{}}) Gesture(w);
    EXPECT_TRUE(Visible(own));
    EXPECT_TRUE(Visible(taskbar));
    EXPECT_TRUE(Visible(top));
    EXPECT_TRUE(kernel->Commands().HiddenList().empty());
}

// A gesture that arrives while Tarnvell waits for the user hides as a
// hot-key would: its window is never one of ours.
TEST_F(MinimizeGesture, HidesWhileAMenuIsOpen) {
    Start();
    const WindowHandle w = fake.desktop.Add("App", "Editor");
    fake.menus.whileTracking = [&](const platform::MenuModel&) { Gesture(w); };
    kernel->ProcessMessage(wm::kTrayNotify, IDR_MAINFRAME, wm::kRButtonUp);
    EXPECT_EQ(fake.menus.tracked.size(), 1u);
    EXPECT_FALSE(Visible(w));
}

}  // namespace
