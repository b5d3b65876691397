#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine/update_link.h"
#include "fake_platform.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {

TEST(UpdateLink, AddressCarriesNameAndVersion) {
    EXPECT_EQ(UpdateAddress("Tarnvell", 200), "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.0");
}

TEST(UpdateLink, MinorPartIsTheRemainderWithoutLeadingZeros) {
    EXPECT_EQ(UpdateAddress("Tarnvell", 205), "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.5");
    EXPECT_EQ(UpdateAddress("Tarnvell", 250), "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.50");
    EXPECT_EQ(UpdateAddress("Tarnvell", 7), "http://update.tarnvell.example/update.php?name=Tarnvell&version=0.7");
}

TEST(UpdateLink, NameGoesInUnencoded) {
    EXPECT_EQ(UpdateAddress("A B&C", 200), "http://update.tarnvell.example/update.php?name=A B&C&version=2.0");
}

class UpdateCommand : public ::testing::Test {
protected:
    void SetUp() override { theResource.SetModule(&fake.module); }
    void TearDown() override { theResource.SetModule(nullptr); }
    FakePlatform fake;
};

TEST_F(UpdateCommand, OpensThePageEveryTimeWithoutAskingThePassword) {
    CAppKernel kernel(fake.Set());
    kernel.m_bPassOnShow = kernel.m_bPassOnOption = kernel.m_bPassOnClose = 1;
    kernel.m_Password = "secret";
    EXPECT_FALSE(kernel.ProcessMessage(0x0111, ID_CHECK_UPDATE, 0));
    EXPECT_FALSE(kernel.ProcessMessage(0x0111, ID_CHECK_UPDATE, 0));
    ASSERT_EQ(fake.shell.opened.size(), 2u);
    EXPECT_EQ(fake.shell.opened[0], "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.0");
    EXPECT_EQ(fake.shell.opened[1], fake.shell.opened[0]);
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(UpdateCommand, TheNameIsTheStringTablesProductName) {
    fake.module.strings[IDR_MAINFRAME] = "Renamed";
    CAppKernel kernel(fake.Set());
    kernel.OnCheckUpdate();
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0], "http://update.tarnvell.example/update.php?name=Renamed&version=2.0");
}

}  // namespace
