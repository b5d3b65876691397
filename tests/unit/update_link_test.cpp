#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "engine/update_link.h"
#include "fake_platform.h"
#include "res/resource.h"

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
    FakePlatform fake;
};

TEST_F(UpdateCommand, OpensThePageEveryTimeWithoutAskingThePassword) {
    for (const char* flag : {"m_bPassOnShow", "m_bPassOnOption", "m_bPassOnClose"})
        fake.profile.Set("Settings", flag, 1u);
    PlantPassword(fake, "secret");
    auto kernel = StartKernel(fake);
    kernel->ProcessMessage(0x0111, ID_CHECK_UPDATE, 0);
    kernel->ProcessMessage(0x0111, ID_CHECK_UPDATE, 0);
    ASSERT_EQ(fake.shell.opened.size(), 2u);
    EXPECT_EQ(fake.shell.opened[0], "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.0");
    EXPECT_EQ(fake.shell.opened[1], fake.shell.opened[0]);
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(UpdateCommand, TheNameIsTheStringTablesProductName) {
    fake.module.strings[IDR_MAINFRAME] = "Renamed";
    StartKernel(fake)->Run({Verb::CheckUpdate}, Origin::Menu);
    ASSERT_EQ(fake.shell.opened.size(), 1u);
    EXPECT_EQ(fake.shell.opened[0], "http://update.tarnvell.example/update.php?name=Renamed&version=2.0");
}

}  // namespace
