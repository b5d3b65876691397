#include <gtest/gtest.h>

#include <set>

#include "ui/help_path.h"

namespace {

bool SingleByte(unsigned char) { return false; }

TEST(HelpPath, ExtensionBecomesChm) {
    EXPECT_EQ(HelpFilePath("C:\\Program Files\\Tarnvell\\Tarnvell.exe", SingleByte),
              "C:\\Program Files\\Tarnvell\\Tarnvell.chm");
}

TEST(HelpPath, ARenamedExecutableLooksForItsOwnName) {
    EXPECT_EQ(HelpFilePath("D:\\tools\\hider.exe", SingleByte), "D:\\tools\\hider.chm");
    EXPECT_EQ(HelpFilePath("D:\\tools\\hider.v2.exe", SingleByte), "D:\\tools\\hider.v2.chm");
}

TEST(HelpPath, WithoutExtensionTheDotOfADirectoryCuts) {
    EXPECT_EQ(HelpFilePath("C:\\Tools.old\\Tarnvell", SingleByte), "C:\\Tools.chm");
}

TEST(HelpPath, NoDotAtAllGivesChmAlone) { EXPECT_EQ(HelpFilePath("C:\\Tools\\Tarnvell", SingleByte), ".chm"); }

TEST(HelpPath, ATrailByteThatLooksLikeADotIsNotOne) {
    // In a double-byte code page 0x81 opens a character whose second byte
    // here has the value of a dot.
    const std::set<unsigned char> lead{0x81};
    auto isLead = [&](unsigned char c) { return lead.count(c) > 0; };
    const std::string path = std::string("C:\\a.dir\\x") + "\x81." + "y";
    EXPECT_EQ(HelpFilePath(path, isLead), "C:\\a.chm");
    EXPECT_EQ(HelpFilePath(path + ".exe", isLead), path + ".chm");
    // Read byte by byte, the trail byte would have been taken for the dot.
    EXPECT_EQ(HelpFilePath(path, SingleByte), std::string("C:\\a.dir\\x\x81") + ".chm");
    // A lead byte at the very end has no trail byte to skip.
    EXPECT_EQ(HelpFilePath("C:\\a.b\x81", isLead), "C:\\a.chm");
}

TEST(HelpTopics, OnePerDialog) {
    EXPECT_STREQ(kHelpTopicAbout, "html\\about.html");
    EXPECT_STREQ(kHelpTopicGroups, "html\\window-group.html");
    EXPECT_STREQ(kHelpTopicPreferences, "html\\preferences.html");
}

}  // namespace
