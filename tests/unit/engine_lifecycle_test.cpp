#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/app_kernel.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "tray/resource_loader.h"

namespace {

constexpr WindowHandle kFrame{0x42};

class EngineLifecycle : public ::testing::Test {
protected:
    void SetUp() override { theResource.SetModule(&fake.module); }
    void TearDown() override { theResource.SetModule(nullptr); }
    FakePlatform fake;
};

TEST_F(EngineLifecycle, ConstructionSetsTheInitialValues) {
    CAppKernel kernel(fake.Set());
    EXPECT_FALSE(kernel.m_pMainWnd);
    EXPECT_TRUE(kernel.m_HiddenList.empty());
    EXPECT_FALSE(kernel.m_hDesignated);
    EXPECT_EQ(kernel.m_nVersion, 200u);
    EXPECT_EQ(kernel.m_nNextGroupId, 0);
    EXPECT_STREQ(kernel.m_pszSection, "Settings");
    EXPECT_STREQ(kernel.m_pszProductName, "Tarnvell");
    EXPECT_FALSE(kernel.m_bOptionsDlgOpen || kernel.m_bGroupsDlgOpen || kernel.m_bAboutDlgOpen);
    EXPECT_FALSE(kernel.m_TrayIcon.IsAdded());
    for (const auto& key : kernel.m_HotKeys) {
        EXPECT_FALSE(key.Target());
        EXPECT_EQ(key.HotKeyID(), -1);
    }
    // Nothing reaches the system before Init.
    EXPECT_TRUE(fake.journal.empty());
}

TEST_F(EngineLifecycle, InitPutsTheIconInTheTrayAndBindsTheHotKeys) {
    CAppKernel kernel(fake.Set());
    kernel.Init(kFrame);

    EXPECT_EQ(kernel.m_pMainWnd, kFrame);
    ASSERT_GE(fake.journal.size(), 2u);
    EXPECT_EQ(fake.journal[0], "create icon window");
    EXPECT_EQ(fake.journal[1], "notify 0");  // the add

    const auto& add = fake.notifyShell.calls.at(0).data;
    EXPECT_EQ(add.hWnd, kFrame);
    EXPECT_EQ(add.uID, 128u);
    EXPECT_EQ(std::string(add.szTip.data()), "Tarnvell");
    EXPECT_EQ(add.hIcon, (IconHandle{0x143}));
    EXPECT_EQ(add.uCallbackMessage, wm::kTrayNotify);
    EXPECT_TRUE(kernel.m_TrayIcon.IsAdded());
    EXPECT_FALSE(kernel.m_TrayIcon.IsHidden());

    for (int n = 0; n < CAppKernel::kHotKeyCount; ++n) {
        EXPECT_EQ(kernel.m_HotKeys[n].Target(), kFrame);
        EXPECT_EQ(kernel.m_HotKeys[n].HotKeyID(), n);
    }
}

TEST_F(EngineLifecycle, EmptyProfileGivesTheDefaults) {
    CAppKernel kernel(fake.Set());
    kernel.Init(kFrame);
    EXPECT_EQ(kernel.m_bShowList, 1);
    EXPECT_EQ(kernel.m_bShowOnClose, 1);
    EXPECT_EQ(kernel.m_bInvertMouse, 1);
    EXPECT_EQ(kernel.m_bAutorun, 1);
    EXPECT_EQ(kernel.m_bHideIcon, 0);
    EXPECT_EQ(kernel.m_bShowHiddenInTip, 0);
    EXPECT_EQ(kernel.m_bPassOnClose, 0);
    EXPECT_EQ(kernel.m_bPassOnOption, 0);
    EXPECT_EQ(kernel.m_bPassOnShow, 0);
    EXPECT_EQ(kernel.m_bClick, 0);
    EXPECT_EQ(kernel.m_uAction, 1u);
    EXPECT_TRUE(kernel.m_Password.empty());
}

TEST_F(EngineLifecycle, AMissingIconStillAddsTheTrayEntry) {
    fake.module.icons.clear();
    CAppKernel kernel(fake.Set());
    kernel.Init(kFrame);
    EXPECT_FALSE(fake.notifyShell.calls.at(0).data.hIcon);
    EXPECT_TRUE(kernel.m_TrayIcon.IsAdded());
}

TEST_F(EngineLifecycle, TearDownRemovesGroupsThenHotKeysThenTheIcon) {
    auto kernel = std::make_unique<CAppKernel>(fake.Set());
    kernel->Init(kFrame);
    kernel->m_Groups.push_back(std::make_unique<CWindowsGroup>(fake.hotKeys, fake.profile, 0, kFrame));
    kernel->m_Groups.push_back(std::make_unique<CWindowsGroup>(fake.hotKeys, fake.profile, 1, kFrame));
    kernel->m_HiddenList.emplace_back(WindowHandle{0x900}, 1, WindowHandle{}, -1);
    fake.journal.clear();

    kernel.reset();

    auto position = [&](const std::string& entry) {
        return std::find(fake.journal.begin(), fake.journal.end(), entry) - fake.journal.begin();
    };
    const auto n = static_cast<long>(fake.journal.size());
    // Each group's hide key before its show key, group 0 before group 1.
    EXPECT_LT(position("hotkey unregister 25"), position("hotkey unregister 26"));
    EXPECT_LT(position("hotkey unregister 26"), position("hotkey unregister 27"));
    EXPECT_LT(position("hotkey unregister 27"), position("hotkey unregister 28"));
    for (int id = 0; id < 5; ++id) {
        const auto p = position("hotkey unregister " + std::to_string(id));
        ASSERT_LT(p, n) << id;
        EXPECT_GT(p, position("hotkey unregister 28")) << id;
        EXPECT_LT(p, position("notify 2")) << id;
    }
    EXPECT_LT(position("notify 2"), position("close icon window"));
    EXPECT_EQ(fake.journal.back(), "close icon window");
    EXPECT_TRUE(fake.notifyShell.icons.empty());
    // Hidden windows stay hidden: nothing is shown on the way out.
    EXPECT_TRUE(fake.desktop.actions.empty());
}

TEST_F(EngineLifecycle, UnboundHotKeysNeverCallTheSystem) {
    {
        CWindowsGroup working;
        CHotKeys copy;
        copy.m_nKey = 'H';
        EXPECT_FALSE(copy.Register());
    }
    EXPECT_TRUE(fake.hotKeys.log.empty());
}

}  // namespace
