#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

constexpr WindowHandle kFrame{0x1234};

class AboutAndHelp : public ::testing::Test {
protected:
    void SetUp() override {
        fake.profile.Set("Settings", "First Start", 0u);
        kernel.Init(kFrame);
    }
    bool Command(unsigned id) { return kernel.ProcessMessage(wm::kCommand, id, 0); }
    FakePlatform fake;
    CAppKernel kernel{fake.Set()};
};

TEST_F(AboutAndHelp, AboutShowsTheVersionOnlyOnceAtATimeAndHoldsTheProgramOpen) {
    auto& dialogs = fake.prompts;
    dialogs.whileAboutOpen = [&] {
        // A second About from the tray menu, and Exit, while it is open.
        EXPECT_FALSE(Command(ID_APP_ABOUT));
        EXPECT_FALSE(kernel.ProcessMessage(wm::kClose, 0, 0));
    };
    EXPECT_FALSE(Command(ID_APP_ABOUT));
    EXPECT_EQ(dialogs.aboutVersions, (std::vector<unsigned>{200}));

    // Closed, it opens again, and the program may end.
    dialogs.whileAboutOpen = nullptr;
    Command(ID_APP_ABOUT);
    EXPECT_EQ(dialogs.aboutVersions.size(), 2u);
    EXPECT_TRUE(kernel.ProcessMessage(wm::kClose, 0, 0));
}

TEST_F(AboutAndHelp, HelpOpensTheDefaultTopicForTheMainFrame) {
    EXPECT_FALSE(Command(ID_DEFAULT_HELP));
    ASSERT_EQ(fake.prompts.helpShown.size(), 1u);
    EXPECT_EQ(fake.prompts.helpShown[0].first, kFrame);
    EXPECT_EQ(fake.prompts.helpShown[0].second, nullptr);
}

}  // namespace
