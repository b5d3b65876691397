#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

class AboutAndHelp : public ::testing::Test {
protected:
    void SetUp() override {
        fake.profile.Set("Settings", "First Start", 0u);
        kernel = StartKernel(fake);
    }
    void Command(unsigned id) { kernel->ProcessMessage(wm::kCommand, id, 0); }
    bool Exit() { return kernel->ProcessMessage(wm::kClose, 0, 0).endProgram; }
    FakePlatform fake;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(AboutAndHelp, AboutShowsTheVersionOnlyOnceAtATimeAndHoldsTheProgramOpen) {
    auto& dialogs = fake.prompts;
    dialogs.whileAboutOpen = [&] {
        // A second About from the tray menu, and Exit, while it is open.
        Command(ID_APP_ABOUT);
        EXPECT_FALSE(Exit());
    };
    Command(ID_APP_ABOUT);
    EXPECT_EQ(dialogs.aboutVersions, (std::vector<unsigned>{200}));

    // Closed, it opens again, and the program may end.
    dialogs.whileAboutOpen = nullptr;
    Command(ID_APP_ABOUT);
    EXPECT_EQ(dialogs.aboutVersions.size(), 2u);
    EXPECT_TRUE(Exit());
}

TEST_F(AboutAndHelp, HelpOpensTheDefaultTopicForTheMainFrame) {
    Command(ID_DEFAULT_HELP);
    ASSERT_EQ(fake.prompts.helpShown.size(), 1u);
    EXPECT_EQ(fake.prompts.helpShown[0].first, fake.desktop.ZOrder().back());
    EXPECT_EQ(fake.prompts.helpShown[0].second, nullptr);
}

}  // namespace
