#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/dialog_seam.h"
#include "fake_platform.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {

class FakeDialogs final : public platform::IDialogs {
public:
    void RunAbout(unsigned version) override {
        aboutVersions.push_back(version);
        if (whileAboutOpen) whileAboutOpen();
    }
    void ShowHelp(WindowHandle caller, const char* topic) override {
        helpCallers.push_back(caller);
        helpTopics.push_back(topic);
    }
    std::vector<unsigned> aboutVersions;
    std::function<void()> whileAboutOpen;
    std::vector<WindowHandle> helpCallers;
    std::vector<const char*> helpTopics;
};

class DialogCommands : public ::testing::Test {
protected:
    void SetUp() override {
        theResource.SetModule(&fake.module);
        SetDialogSeam(&dialogs);
    }
    void TearDown() override {
        SetDialogSeam(nullptr);
        theResource.SetModule(nullptr);
    }
    FakePlatform fake;
    FakeDialogs dialogs;
};

TEST_F(DialogCommands, AboutShowsTheEngineVersionAndOnlyOnceAtATime) {
    CAppKernel kernel(fake.Set());
    dialogs.whileAboutOpen = [&] {
        EXPECT_TRUE(kernel.m_bAboutDlgOpen);
        // A second About from the tray menu while the first is open.
        EXPECT_FALSE(kernel.ProcessMessage(0x0111, ID_APP_ABOUT, 0));
    };
    EXPECT_FALSE(kernel.ProcessMessage(0x0111, ID_APP_ABOUT, 0));
    ASSERT_EQ(dialogs.aboutVersions.size(), 1u);
    EXPECT_EQ(dialogs.aboutVersions[0], 200u);
    EXPECT_FALSE(kernel.m_bAboutDlgOpen);

    // Closed, it opens again.
    dialogs.whileAboutOpen = nullptr;
    kernel.OnAppAbout();
    EXPECT_EQ(dialogs.aboutVersions.size(), 2u);
}

TEST_F(DialogCommands, HelpOpensTheDefaultTopicForTheMainFrame) {
    CAppKernel kernel(fake.Set());
    kernel.m_pMainWnd = WindowHandle{0x1234};
    EXPECT_FALSE(kernel.ProcessMessage(0x0111, ID_DEFAULT_HELP, 0));
    ASSERT_EQ(dialogs.helpCallers.size(), 1u);
    EXPECT_EQ(dialogs.helpCallers[0], WindowHandle{0x1234});
    EXPECT_EQ(dialogs.helpTopics[0], nullptr);
}

TEST_F(DialogCommands, WithoutDialogsAboutAndHelpDoNothing) {
    SetDialogSeam(nullptr);
    CAppKernel kernel(fake.Set());
    kernel.OnAppAbout();
    kernel.OnHelp();
    EXPECT_FALSE(kernel.m_bAboutDlgOpen);
    EXPECT_TRUE(dialogs.aboutVersions.empty());
    EXPECT_TRUE(dialogs.helpCallers.empty());
}

}  // namespace
