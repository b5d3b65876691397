#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "tray/resource_loader.h"

namespace {

TEST(ResourceLoader, LongEntriesAreCutAndMissingOnesEmpty) {
    FakeModule module;
    module.strings[500] = std::string(300, 'x');
    const CResource loader(module);

    EXPECT_EQ(loader.Load(500), std::string(255, 'x'));
    EXPECT_EQ(loader.Load(999), "");
    // Each text is its own: a second load leaves the first as it was.
    const std::string first = loader.Load(128);
    EXPECT_EQ(loader.Load(57665), "Exit");
    EXPECT_EQ(first, "Tarnvell");
}

}  // namespace
