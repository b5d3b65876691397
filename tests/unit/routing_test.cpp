#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine/message_routing.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

Route Handled(EngineAction a, int index = 0) { return Route{a, index, false}; }

// Commands whose operations show nothing through the fakes yet; what the
// others do is checked through the engine below.
TEST(Routing, CommandsReachTheirEngineOperations) {
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_CHECK_UPDATE), Handled(EngineAction::CheckUpdate));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_APP_ABOUT), Handled(EngineAction::About));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_DEFAULT_HELP), Handled(EngineAction::Help));
}

TEST(Routing, HiddenWindowItemsCoverExactlyOneHundredPositions) {
    EXPECT_EQ(RouteMessage(wm::kCommand, 32777), Handled(EngineAction::ShowListed, 0));
    EXPECT_EQ(RouteMessage(wm::kCommand, 32777 + 57), Handled(EngineAction::ShowListed, 57));
    EXPECT_EQ(RouteMessage(wm::kCommand, 32876), Handled(EngineAction::ShowListed, 99));
    // Neighbours on both sides are not list items: 32877 is unused and 32878
    // is the update command.
    EXPECT_EQ(RouteMessage(wm::kCommand, 32877), Route{});
    EXPECT_EQ(RouteMessage(wm::kCommand, 32878), Handled(EngineAction::CheckUpdate));
}

TEST(Routing, ExitAndUnknownCommandsAreLeftToTheFrame) {
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_APP_EXIT), Route{});
    EXPECT_EQ(RouteMessage(wm::kCommand, 0), Route{});
    EXPECT_EQ(RouteMessage(wm::kCommand, 12345), Route{});
}

TEST(Routing, ACommandWithANotificationCodeMatchesNothing) {
    // Accelerators send 1 in the high word, controls their notification code.
    for (std::uintptr_t high : {1u, 0x300u, 0xFFFFu}) {
        EXPECT_EQ(RouteMessage(wm::kCommand, (high << 16) | ID_HIDE_WINDOW), Route{});
        EXPECT_EQ(RouteMessage(wm::kCommand, (high << 16) | ID_SHOW_ALL), Route{});
        EXPECT_EQ(RouteMessage(wm::kCommand, (high << 16) | 32777), Route{});
    }
}

TEST(Routing, WindowMessages) {
    EXPECT_EQ(RouteMessage(wm::kClose, 0), (Route{EngineAction::Close, 0, true}));
    // FALSE: the log-off was cancelled; nothing happens and the frame ignores it.
    EXPECT_EQ(RouteMessage(wm::kEndSession, 0), Route{});
    EXPECT_EQ(RouteMessage(wm::kEndSession, 1), (Route{EngineAction::EndSession, 0, true}));
    EXPECT_EQ(RouteMessage(wm::kInitMenuPopup, 0x1234), Handled(EngineAction::None));
    EXPECT_EQ(RouteMessage(wm::kHotKey, 3), Handled(EngineAction::HotKey));
    EXPECT_EQ(RouteMessage(wm::kTrayNotify, 128), Handled(EngineAction::TrayNotify));
    for (unsigned other : {wm::kNull, wm::kCreate, wm::kDestroy, wm::kMouseMove, wm::kLButtonUp, 0x8009u, 0x800Bu})
        EXPECT_EQ(RouteMessage(other, 0), Route{}) << other;
}

class RoutedMessages : public ::testing::Test {
protected:
    FakePlatform fake;
    CAppKernel kernel{fake.Set()};
    void SetUp() override { kernel.Init(WindowHandle{0x42}); }
};

TEST_F(RoutedMessages, CommandsRunTheirEngineCommands) {
    const WindowHandle a = fake.desktop.Add("A", "a");
    const WindowHandle b = fake.desktop.Add("B", "b");
    auto command = [&](unsigned id) { EXPECT_FALSE(kernel.ProcessMessage(wm::kCommand, id, 0)) << id; };
    auto visible = [&](WindowHandle w) { return fake.desktop.Get(w).visible; };
    command(ID_HIDE_WINDOW);  // the top window alone
    EXPECT_FALSE(visible(a));
    EXPECT_TRUE(visible(b));
    command(ID_HIDE_ALL);
    EXPECT_FALSE(visible(b));
    command(ID_SHOW_WINDOW);  // the last hidden alone
    EXPECT_TRUE(visible(b));
    EXPECT_FALSE(visible(a));
    command(ID_SHOW_ALL);
    EXPECT_TRUE(visible(a));
    command(ID_TOGGLE_WINDOW);  // hides the top window as the designated one
    EXPECT_EQ(kernel.Commands().Designated(), a);
    EXPECT_FALSE(visible(a));
    command(ID_PREFERENCES);
    command(ID_WINDOWS_GROUPS);
    EXPECT_EQ(fake.prompts.preferencesRuns, 1);
    EXPECT_EQ(fake.prompts.groupsRuns, 1);
}

TEST_F(RoutedMessages, CloseFollowsWithoutQuestionByDefault) {
    EXPECT_TRUE(kernel.ProcessMessage(wm::kClose, 0, 0));
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(RoutedMessages, CloseIsSwallowedWhenThePasswordIsRefused) {
    ChangePreferences(kernel, [](Preferences& p) {
        p.m_bPassOnClose = true;
        p.m_Password = "Secret";
    });
    fake.prompts.answers = {{false, "Secret"}, {true, "secret"}, {true, ""}};
    EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));  // cancelled, even with the right text
    EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));  // wrong case
    EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));  // empty
    EXPECT_EQ(fake.prompts.asked, 3);

    fake.prompts.answers = {{true, "Secret"}};
    EXPECT_TRUE(kernel.ProcessMessage(wm::kClose, 0, 0));
}

TEST_F(RoutedMessages, EndSessionNeverAsksTheClosePassword) {
    ChangePreferences(kernel, [](Preferences& p) { p.m_bPassOnClose = true; });
    EXPECT_TRUE(kernel.ProcessMessage(wm::kEndSession, 0, 0));
    EXPECT_TRUE(kernel.ProcessMessage(wm::kEndSession, 1, 0));
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(RoutedMessages, HandledMessagesReturnFalse) {
    EXPECT_FALSE(kernel.ProcessMessage(wm::kCommand, ID_HIDE_WINDOW, 0));
    EXPECT_FALSE(kernel.ProcessMessage(wm::kInitMenuPopup, 0, 0));
    EXPECT_FALSE(kernel.ProcessMessage(wm::kHotKey, 7, 0));
    EXPECT_TRUE(kernel.ProcessMessage(wm::kCommand, ID_APP_EXIT, 0));
    EXPECT_TRUE(kernel.ProcessMessage(wm::kCommand, (1u << 16) | ID_HIDE_WINDOW, 0));
}

}  // namespace
