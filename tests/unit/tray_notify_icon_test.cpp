#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "platform/win_constants.h"
#include "tray/tray_notify_icon.h"

namespace {

constexpr WindowHandle kOwner{0x42};
constexpr IconHandle kIcon{0x143};

std::string Tip(const platform::NotifyIconData& d) { return d.szTip.data(); }

class TrayIconTest : public ::testing::Test {
protected:
    FakeNotifyShell shell;
};

TEST_F(TrayIconTest, CreateAddsAVisibleIconWithEverythingTheShellNeeds) {
    CTrayNotifyIcon icon(shell);
    ASSERT_TRUE(icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true));
    EXPECT_TRUE(icon.IsAdded());
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_TRUE(icon.Window());
    const auto& add = shell.calls.at(0).data;
    EXPECT_EQ(add.uFlags, nif::kMessage | nif::kIcon | nif::kTip);
    EXPECT_EQ(add.hWnd, kOwner);
    EXPECT_EQ(add.uID, 128u);
    EXPECT_EQ(add.uCallbackMessage, 0x800Au);
    EXPECT_EQ(add.hIcon, kIcon);
    EXPECT_EQ(Tip(add), "Tarnvell");
}

TEST_F(TrayIconTest, CreateHiddenAddsInTheHiddenState) {
    CTrayNotifyIcon icon(shell);
    ASSERT_TRUE(icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, false));
    EXPECT_TRUE(icon.IsHidden());
    const auto& add = shell.calls.at(0).data;
    EXPECT_EQ(add.uFlags, nif::kMessage | nif::kIcon | nif::kTip | nif::kState);
    EXPECT_EQ(add.dwState, nis::kHidden);
    EXPECT_EQ(add.dwStateMask, nis::kHidden);
}

TEST_F(TrayIconTest, NoWindowMeansNoIconEver) {
    shell.canCreateWindow = false;
    CTrayNotifyIcon icon(shell);
    EXPECT_FALSE(icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true));
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(icon.IsAdded());
    // Nothing to hear the taskbar with.
    shell.RestartTaskbar();
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, AnIconThatCouldNotBeAddedComesWithTheTaskbar) {
    shell.taskbarPresent = false;
    CTrayNotifyIcon icon(shell);
    EXPECT_FALSE(icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true));
    EXPECT_TRUE(icon.Window());
    EXPECT_FALSE(icon.IsAdded());

    // A tip change while absent is dropped, so the re-added icon shows the
    // tip given to Create.
    EXPECT_FALSE(icon.SetTipText("3 hidden windows"));
    EXPECT_EQ(shell.calls.size(), 1u);

    shell.RestartTaskbar();
    EXPECT_TRUE(icon.IsAdded());
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_EQ(shell.icons.at({kOwner.value, 128u}).tip, "Tarnvell");
    EXPECT_FALSE(shell.icons.at({kOwner.value, 128u}).hidden);
}

TEST_F(TrayIconTest, HideAndShowFlipTheStateOnlyOnSuccess) {
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    ASSERT_TRUE(icon.Hide());
    EXPECT_TRUE(icon.IsHidden());
    EXPECT_EQ(shell.calls.back().data.uFlags, nif::kState);
    EXPECT_EQ(shell.calls.back().data.dwState, nis::kHidden);

    // Hiding again asks the shell again.
    const auto before = shell.calls.size();
    EXPECT_TRUE(icon.Hide());
    EXPECT_EQ(shell.calls.size(), before + 1);

    shell.forcedResults = {false};
    EXPECT_FALSE(icon.Show());
    EXPECT_TRUE(icon.IsHidden());
    ASSERT_TRUE(icon.Show());
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_EQ(shell.calls.back().data.dwState, 0u);
    EXPECT_EQ(shell.calls.back().data.dwStateMask, nis::kHidden);
}

TEST_F(TrayIconTest, TaskbarRestartKeepsTheHiddenStateAndTheLastTip) {
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    icon.SetTipText("2 hidden windows");
    icon.Hide();

    shell.RestartTaskbar();
    EXPECT_TRUE(icon.IsAdded());
    EXPECT_TRUE(icon.IsHidden());
    const auto& back = shell.icons.at({kOwner.value, 128u});
    EXPECT_TRUE(back.hidden);
    EXPECT_EQ(back.tip, "2 hidden windows");
    // The shell forgot the version with the icon: it is asked for again.
    EXPECT_EQ(shell.calls.back().message, nim::kSetVersion);

    icon.Show();
    shell.RestartTaskbar();
    EXPECT_FALSE(shell.icons.at({kOwner.value, 128u}).hidden);
    EXPECT_FALSE(icon.IsHidden());
}

TEST_F(TrayIconTest, AFailedReAddLeavesTheWindowWithoutIcon) {
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    shell.forcedResults = {true, false};  // the delete, then the add
    icon.OnTaskbarRestart();
    EXPECT_FALSE(icon.IsAdded());
    EXPECT_TRUE(icon.Window());
}

TEST_F(TrayIconTest, TipIsCutTo127CharactersAndTerminated) {
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, std::string(200, 'a'), kIcon, wm::kTrayNotify, true);
    EXPECT_EQ(Tip(shell.calls.at(0).data), std::string(127, 'a'));
    icon.SetTipText(std::string(127, 'b'));
    EXPECT_EQ(Tip(shell.calls.back().data), std::string(127, 'b'));
    // A shorter tip leaves nothing of the longer one behind.
    icon.SetTipText("short");
    EXPECT_EQ(Tip(shell.calls.back().data), "short");
    EXPECT_EQ(shell.calls.back().data.szTip[6], '\0');
    EXPECT_EQ(shell.calls.back().data.szTip[126], '\0');
}

TEST_F(TrayIconTest, RemoveOfAnAbsentIconAsksNothingButStillClosesTheWindow) {
    shell.taskbarPresent = false;
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    const auto before = shell.calls.size();
    EXPECT_TRUE(icon.Remove(true));
    EXPECT_EQ(shell.calls.size(), before);
    EXPECT_EQ(shell.windowsClosed, 1);
    EXPECT_FALSE(icon.Window());
}

TEST_F(TrayIconTest, RemoveClearsAddedEvenWhenTheShellRefuses) {
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    icon.Hide();
    shell.forcedResults = {false};
    EXPECT_FALSE(icon.Remove(false));
    EXPECT_FALSE(icon.IsAdded());
    EXPECT_TRUE(icon.IsHidden());  // Remove leaves the hidden state alone
    EXPECT_EQ(shell.calls.back().message, nim::kDelete);
    EXPECT_EQ(shell.calls.back().data.uFlags, 0u);
    EXPECT_EQ(shell.windowsClosed, 0);
}

TEST_F(TrayIconTest, DestructionDeletesTheIconAndClosesTheWindow) {
    {
        CTrayNotifyIcon icon(shell);
        icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    }
    EXPECT_TRUE(shell.icons.empty());
    EXPECT_EQ(shell.windowsClosed, 1);
    EXPECT_FALSE(shell.onTaskbarCreated);
}

// ------------------------------------------------------ keyboard and balloon

TEST_F(TrayIconTest, EveryReAddSetsTheVersionAgainSoTheKeyboardStillReachesTheIcon) {
    CTrayNotifyIcon icon(shell);
    ASSERT_TRUE(icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true));
    EXPECT_EQ(shell.icons.at({kOwner.value, 128u}).version, kNotifyIconVersion);
    for (int restart = 0; restart < 2; ++restart) {
        shell.RestartTaskbar();
        ASSERT_TRUE(icon.IsAdded());
        EXPECT_EQ(shell.icons.at({kOwner.value, 128u}).version, kNotifyIconVersion) << restart;
    }
}

TEST_F(TrayIconTest, ABalloonCarriesTitleTextAndIconOnceAndLeavesNoTraceInLaterCalls) {
    CTrayNotifyIcon icon(shell);
    EXPECT_FALSE(icon.ShowBalloon("Title", "before the icon", niif::kWarning));
    ASSERT_TRUE(icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true));
    ASSERT_TRUE(icon.ShowBalloon("Tarnvell could not take these hot-keys", "Hide Window: Ctrl + Alt + H",
                                 niif::kWarning));
    const auto& call = shell.calls.back();
    EXPECT_EQ(call.message, nim::kModify);
    EXPECT_EQ(call.data.uFlags, nif::kInfo);
    EXPECT_EQ(call.data.dwInfoFlags, niif::kWarning);
    const auto& balloons = shell.icons.at({kOwner.value, 128u}).balloons;
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_EQ(balloons[0].first, "Tarnvell could not take these hot-keys");
    EXPECT_EQ(balloons[0].second, "Hide Window: Ctrl + Alt + H");

    icon.SetTipText("1 hidden windows");
    shell.RestartTaskbar();
    EXPECT_EQ(shell.calls.back().data.szInfo[0], '\0');
    EXPECT_TRUE(shell.icons.at({kOwner.value, 128u}).balloons.empty()) << "the re-added icon shows no balloon";
}

TEST_F(TrayIconTest, ABalloonTooLongIsCutAndTerminated) {
    CTrayNotifyIcon icon(shell);
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    ASSERT_TRUE(icon.ShowBalloon(std::string(100, 't'), std::string(400, 'x'), niif::kWarning));
    const auto& balloon = shell.icons.at({kOwner.value, 128u}).balloons.back();
    EXPECT_EQ(balloon.first, std::string(63, 't'));
    EXPECT_EQ(balloon.second, std::string(255, 'x'));
}

TEST_F(TrayIconTest, AKeyboardMenuIsAnchoredAtTheIconsMiddleOnlyWhenTheShellKnowsIt) {
    CTrayNotifyIcon icon(shell);
    shell.iconRect = platform::ScreenRect{1000, 750, 1016, 766};
    EXPECT_EQ(icon.MenuAnchor(), std::nullopt) << "no icon yet";
    icon.Create(kOwner, 128, "Tarnvell", kIcon, wm::kTrayNotify, true);
    EXPECT_EQ(icon.MenuAnchor(), (platform::ScreenPoint{1008, 758}));
    shell.iconRect = std::nullopt;
    EXPECT_EQ(icon.MenuAnchor(), std::nullopt);
    shell.iconRect = platform::ScreenRect{};
    EXPECT_EQ(icon.MenuAnchor(), std::nullopt) << "an empty rectangle names no place";
}

}  // namespace
