#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine/message_routing.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

Route Handled(EngineAction a, int index = 0) { return Route{a, index, false}; }

TEST(Routing, CommandsReachTheirEngineOperations) {
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_HIDE_WINDOW), Handled(EngineAction::HideTopWindow));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_SHOW_WINDOW), Handled(EngineAction::ShowHidden, -1));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_HIDE_ALL), Handled(EngineAction::HideAll));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_SHOW_ALL), Handled(EngineAction::ShowAll));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_PREFERENCES), Handled(EngineAction::Preferences));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_TOGGLE_WINDOW), Handled(EngineAction::ToggleWindow));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_CHECK_UPDATE), Handled(EngineAction::CheckUpdate));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_WINDOWS_GROUPS), Handled(EngineAction::WindowsGroups));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_APP_ABOUT), Handled(EngineAction::About));
    EXPECT_EQ(RouteMessage(wm::kCommand, ID_DEFAULT_HELP), Handled(EngineAction::Help));
}

TEST(Routing, HiddenWindowItemsCoverExactlyOneHundredPositions) {
    EXPECT_EQ(RouteMessage(wm::kCommand, 32777), Handled(EngineAction::ShowHidden, 0));
    EXPECT_EQ(RouteMessage(wm::kCommand, 32777 + 57), Handled(EngineAction::ShowHidden, 57));
    EXPECT_EQ(RouteMessage(wm::kCommand, 32876), Handled(EngineAction::ShowHidden, 99));
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
    EXPECT_EQ(RouteMessage(wm::kEndSession, 0), (Route{EngineAction::EndSession, 0, true}));
    EXPECT_EQ(RouteMessage(wm::kEndSession, 1), (Route{EngineAction::EndSession, 0, true}));
    EXPECT_EQ(RouteMessage(wm::kInitMenuPopup, 0x1234), Handled(EngineAction::None));
    EXPECT_EQ(RouteMessage(wm::kHotKey, 3), Handled(EngineAction::HotKey));
    EXPECT_EQ(RouteMessage(wm::kTrayNotify, 128), Handled(EngineAction::TrayNotify));
    for (unsigned other : {wm::kNull, wm::kCreate, wm::kDestroy, wm::kMouseMove, wm::kLButtonUp, 0x8009u, 0x800Bu})
        EXPECT_EQ(RouteMessage(other, 0), Route{}) << other;
}

class CloseTest : public ::testing::Test {
protected:
    FakePlatform fake;
    CAppKernel kernel{fake.Set()};
    void SetUp() override { kernel.Init(WindowHandle{0x42}); }
};

TEST_F(CloseTest, CloseFollowsWithoutQuestionByDefault) {
    EXPECT_TRUE(kernel.ProcessMessage(wm::kClose, 0, 0));
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(CloseTest, CloseIsSwallowedWhenThePasswordIsRefused) {
    kernel.m_bPassOnClose = 1;
    kernel.m_Password = "Secret";
    fake.prompts.answers = {{false, "Secret"}, {true, "secret"}, {true, ""}};
    EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));  // cancelled, even with the right text
    EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));  // wrong case
    EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));  // empty
    EXPECT_EQ(fake.prompts.asked, 3);

    fake.prompts.answers = {{true, "Secret"}};
    EXPECT_TRUE(kernel.ProcessMessage(wm::kClose, 0, 0));
}

TEST_F(CloseTest, EndSessionNeverAsksTheClosePassword) {
    kernel.m_bPassOnClose = 1;
    EXPECT_TRUE(kernel.ProcessMessage(wm::kEndSession, 0, 0));
    EXPECT_TRUE(kernel.ProcessMessage(wm::kEndSession, 1, 0));
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(CloseTest, HandledMessagesReturnFalse) {
    EXPECT_FALSE(kernel.ProcessMessage(wm::kCommand, ID_HIDE_WINDOW, 0));
    EXPECT_FALSE(kernel.ProcessMessage(wm::kInitMenuPopup, 0, 0));
    EXPECT_FALSE(kernel.ProcessMessage(wm::kHotKey, 7, 0));
    EXPECT_TRUE(kernel.ProcessMessage(wm::kCommand, ID_APP_EXIT, 0));
    EXPECT_TRUE(kernel.ProcessMessage(wm::kCommand, (1u << 16) | ID_HIDE_WINDOW, 0));
}

}  // namespace
