#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "tray/resource_loader.h"

namespace {

TEST(ResourceLoader, ThreeBuffersRotate) {
    FakeModule module;
    CResource loader(module);

    const char* first = loader.Load(128);
    const char* second = loader.Load(136);
    const char* third = loader.Load(137);
    // A text stays valid through the next two loads.
    EXPECT_STREQ(first, "Tarnvell");
    EXPECT_STREQ(second, "NO TITLE");
    EXPECT_STREQ(third, "Hidden windows");
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
    EXPECT_NE(first, third);

    // The fourth reuses the first buffer and overwrites its text.
    const char* fourth = loader.Load(57665);
    EXPECT_EQ(fourth, first);
    EXPECT_STREQ(first, "Exit");
}

TEST(ResourceLoader, LongEntriesAreCutAndMissingOnesEmpty) {
    FakeModule module;
    module.strings[500] = std::string(300, 'x');
    CResource loader(module);

    EXPECT_EQ(std::string(loader.Load(500)), std::string(255, 'x'));
    EXPECT_STREQ(loader.Load(999), "");
    // A missing entry leaves no text of an earlier load behind in its buffer.
    loader.Load(128);
    loader.Load(128);
    EXPECT_STREQ(loader.Load(999), "");
}

}  // namespace
