#include <gtest/gtest.h>

#include "ui/about_model.h"

namespace {

TEST(AboutTexts, FirstLineHasNameAndVersionAndTheNoticeFollows) {
    EXPECT_EQ(AboutVersionText("%s v.%u.%u\n(C) 2026 KESTROW SOFTWARE", "Tarnvell", 200),
              "Tarnvell v.2.0\n(C) 2026 KESTROW SOFTWARE");
    EXPECT_EQ(AboutVersionText("%s v.%u.%u", "Tarnvell", 205), "Tarnvell v.2.5");
    EXPECT_EQ(AboutVersionText("%s v.%u.%u", "Tarnvell", 250), "Tarnvell v.2.50");
}

TEST(AboutTexts, TitleTakesTheProductName) {
    EXPECT_EQ(AboutTitle("About %s", "Tarnvell"), "About Tarnvell");
    EXPECT_EQ(AboutTitle("About", "Tarnvell"), "About");
}

TEST(AboutTexts, PercentSignsInTheNoticeAreSafe) {
    EXPECT_EQ(AboutVersionText("%s v.%u.%u 100%% free", "Tarnvell", 200), "Tarnvell v.2.0 100% free");
    // A text a printf would read past its arguments for: the extra and the
    // unknown placeholders stay as they are.
    EXPECT_EQ(AboutVersionText("%s v.%u.%u %s %n %x %", "Tarnvell", 200), "Tarnvell v.2.0 %s %n %x %");
    EXPECT_EQ(AboutTitle("About %s %s%s", "Tarnvell"), "About Tarnvell %s%s");
}

TEST(AboutTexts, ArgumentsAreInsertedNotInterpreted) {
    EXPECT_EQ(AboutTitle("About %s", "100%s"), "About 100%s");
    EXPECT_EQ(FillFormat("%u-%d-%s", {"a", "b", "c"}), "a-b-c");
    EXPECT_EQ(FillFormat("", {"a"}), "");
}

}  // namespace
