#include <gtest/gtest.h>

#include <optional>

#include <set>
#include <string>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "groups/caption_match.h"
#include "platform/text.h"
#include "platform/win_constants.h"
#include "res/resource.h"
#include "tray/resource_loader.h"
#include "tray/tray_notify_icon.h"
#include "ui/dialog_model.h"
#include "ui/help_path.h"

namespace {

using text::CodePage;

// Characters of one to four bytes in UTF-8.
const std::string kE = "\xC3\xA9";                 // é
const std::string kZhe = "\xD0\x96";               // Ж
const std::string kGo = "\xE8\xAA\x9E";            // 語
const std::string kSmile = "\xF0\x9F\x98\x80";     // 😀
const std::string kNihongo = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 日本語

std::string Times(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Shift-JIS style: 0x82 and 0x83 open two-byte characters.
CodePage DoubleByte() {
    return CodePage([](unsigned char c) { return c == 0x82 || c == 0x83; });
}

TEST(Text, Utf8CharactersAreWholeSequences) {
    const CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(text::CountChars("a" + kE + kGo + kSmile, utf8), 4u);
    EXPECT_EQ(text::CountChars(kNihongo, utf8), 3u);
    EXPECT_EQ(text::NextBoundary(kSmile + "x", 0, utf8), 4u);
    EXPECT_FALSE(text::IsBoundary(kGo, 1, utf8));
    EXPECT_TRUE(text::IsBoundary(kGo + "a", 3, utf8));
    // Bytes that open no valid sequence stand for themselves: stray trail
    // bytes, an overlong form, a surrogate, a lead byte followed by ASCII.
    EXPECT_EQ(text::CountChars("\x80\xBF", utf8), 2u);
    EXPECT_EQ(text::CountChars("\xC0\x80", utf8), 2u);
    EXPECT_EQ(text::CountChars("\xED\xA0\x80", utf8), 3u);
    EXPECT_EQ(text::CountChars("\xE6" "ab", utf8), 3u);
    // The same bytes in a single-byte code page are one character each.
    EXPECT_EQ(text::CountChars(kNihongo, CodePage()), 9u);
}

TEST(Text, CutsKeepWholeCharactersInUtf8) {
    const CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(text::CutToChars(kNihongo, 2, utf8), kNihongo.substr(0, 6));
    EXPECT_EQ(text::CutToChars(kNihongo, 5, utf8), kNihongo);
    EXPECT_EQ(text::CutToChars("ab" + kSmile, 3, utf8), "ab" + kSmile);
    // Seven bytes hold two characters of three bytes, never a part of the third.
    EXPECT_EQ(text::CutToBytes(kNihongo, 8, utf8), kNihongo.substr(0, 6));
    EXPECT_EQ(text::CutToBytes(kNihongo, 9, utf8), kNihongo);
    EXPECT_EQ(text::CutToBytes(kSmile, 3, utf8), "");
    // A character that the end of a too small buffer cut off is dropped, so
    // a cut text is never an invalid sequence.
    EXPECT_EQ(text::CutToChars(kNihongo.substr(0, 8), 10, utf8), kNihongo.substr(0, 6));
    EXPECT_EQ(text::CutToBytes("a" + kSmile.substr(0, 3), 10, utf8), "a");
}

TEST(Text, CutsKeepWholeCharactersInADoubleByteCodePage) {
    const CodePage dbcs = DoubleByte();
    const std::string two = "\x82\xA0\x83\x41";  // two characters, the second's trail is 'A'
    EXPECT_EQ(text::CountChars(two, dbcs), 2u);
    EXPECT_EQ(text::CutToChars(two + "z", 1, dbcs), "\x82\xA0");
    EXPECT_EQ(text::CutToBytes("a" + two, 2, dbcs), "a");
    EXPECT_EQ(text::CutToBytes("a" + two, 3, dbcs), "a\x82\xA0");
    // Single-byte: the same bytes cut anywhere.
    EXPECT_EQ(text::CutToBytes("a" + two, 2, CodePage()), "a\x82");
}

TEST(Text, TheCodePageOfAModule) {
    FakeModule module;
    EXPECT_FALSE(CodePage::Of(module).IsUtf8());
    EXPECT_EQ(text::CountChars(kGo, CodePage::Of(module)), 3u) << "1252: one byte, one character";
    module.leadBytes = {0xE8};
    EXPECT_EQ(text::CountChars(kGo, CodePage::Of(module)), 2u) << "a double-byte code page";
    // In UTF-8 the system's lead-byte test is not asked.
    module.codePage = 65001;
    EXPECT_TRUE(CodePage::Of(module).IsUtf8());
    EXPECT_EQ(text::CountChars(kGo, CodePage::Of(module)), 1u);
}

TEST(Text, AnAmpersandInAMenuTextIsLiteral) {
    const CodePage utf8 = CodePage::Utf8();
    EXPECT_EQ(text::MenuLiteral("Tom & Jerry", utf8), "Tom && Jerry");
    EXPECT_EQ(text::MenuLiteral("&&x&", CodePage()), "&&&&x&&");
    EXPECT_EQ(text::MenuLiteral(kZhe + "&" + kGo, utf8), kZhe + "&&" + kGo);
    // A trail byte with the value of "&" belongs to its character.
    EXPECT_EQ(text::MenuLiteral("\x83&x", DoubleByte()), "\x83&x");
    EXPECT_EQ(text::MenuLiteral("\x83&x", CodePage()), "\x83&&x");
}

// ---------------------------------------------------------------- the limits

class TextLimits : public ::testing::Test {
protected:
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    std::string Listed(const std::string& caption) {
        fake.desktop.Add("W", caption);
        Kernel().Run({Verb::HideWindow}, Origin::Menu);
        return Kernel().Tray().HiddenWindowItems().back().text;
    }

    FakePlatform fake;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(TextLimits, TheListShows254WholeCharactersOfAnyWidth) {
    fake.module.codePage = 65001;
    EXPECT_EQ(Listed(Times(kGo, 300)), Times(kGo, 254));
    EXPECT_EQ(Listed(Times(kSmile, 254)), Times(kSmile, 254));
    EXPECT_EQ(Listed("x" + Times(kZhe, 400)), "x" + Times(kZhe, 253));
    EXPECT_EQ(Listed(kNihongo + " \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"), kNihongo + " \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
}

TEST_F(TextLimits, TheListShowsAnAmpersandAsItself) {
    EXPECT_EQ(Listed("Tom & Jerry"), "Tom && Jerry");
    fake.module.codePage = 65001;
    EXPECT_EQ(Listed(kSmile + " caf" + kE + " & co"), kSmile + " caf" + kE + " && co");
}

TEST_F(TextLimits, TheListCutsWholeCharactersInADoubleByteCodePage) {
    fake.module.leadBytes = {0x82};
    // 254 characters of two bytes, then more: never half of the 255th.
    EXPECT_EQ(Listed("a" + Times("\x82\xA0", 300)), "a" + Times("\x82\xA0", 253));
}

TEST_F(TextLimits, MenuTextsKeep63WholeCharacters) {
    fake.module.codePage = 65001;
    fake.module.strings[ID_HIDE_ALL] = Times(kZhe, 80);
    EXPECT_EQ(Kernel().Tray().MainMenu().at(8).text, Times(kZhe, 63) + "\t");
}

TEST_F(TextLimits, TheTipKeeps127CharactersThatFitItsField) {
    FakeNotifyShell shell;
    std::optional<ScopedCodePage> page(std::in_place, CodePage::Utf8());
    CTrayNotifyIcon utf8(shell);
    ASSERT_TRUE(utf8.Create(WindowHandle{0x42}, 128, std::string(200, 't'), IconHandle{1}, wm::kTrayNotify, true));
    EXPECT_EQ(std::string(utf8.Record().szTip.data()), std::string(127, 't'));
    // 127 characters of two bytes do not fit 127 bytes: 63 do.
    utf8.SetTipText(Times(kZhe, 127));
    EXPECT_EQ(std::string(utf8.Record().szTip.data()), Times(kZhe, 63));
    utf8.SetTipText(std::string(126, 'n') + kGo);
    EXPECT_EQ(std::string(utf8.Record().szTip.data()), std::string(126, 'n'));
    utf8.SetTipText(Times(kSmile, 40));
    EXPECT_EQ(std::string(utf8.Record().szTip.data()), Times(kSmile, 31));
    EXPECT_EQ(utf8.Record().szTip[124], '\0');

    FakeNotifyShell shell2;
    page.reset();
    page.emplace(DoubleByte());
    CTrayNotifyIcon dbcs(shell2);
    ASSERT_TRUE(dbcs.Create(WindowHandle{0x43}, 128, "a" + Times("\x82\xA0", 80), IconHandle{1}, wm::kTrayNotify, true));
    EXPECT_EQ(std::string(dbcs.Record().szTip.data()), "a" + Times("\x82\xA0", 63));
}

TEST_F(TextLimits, TheStringLoaderKeeps255WholeCharacters) {
    fake.module.codePage = 65001;
    fake.module.strings[500] = Times(kZhe, 300);
    fake.module.strings[501] = "a" + Times(kSmile, 300);
    fake.module.strings[502] = Times(kGo, 10);
    const ScopedCodePage utf8(fake.module);
    CResource loader(fake.module);
    EXPECT_EQ(std::string(loader.Load(500)), Times(kZhe, 255));
    EXPECT_EQ(std::string(loader.Load(501)), "a" + Times(kSmile, 254));
    EXPECT_EQ(std::string(loader.Load(502)), Times(kGo, 10));
}

TEST_F(TextLimits, AGroupComparesThe1023FirstCharactersOfACaption) {
    fake.module.codePage = 65001;
    fake.profile.Set("Settings", "First Start", 0u);
    fake.profile.Set("Groups", "Name0", "long");
    fake.profile.Set("Groups", "Search0", Times(kGo, 1023));
    fake.profile.Set("Groups", "Compare0", 1u);  // equal
    const WindowHandle w = fake.desktop.Add("W", Times(kGo, 1100));
    const WindowHandle shorter = fake.desktop.Add("W", Times(kGo, 1022));
    Kernel().Run({Verb::HideGroup, 0}, Origin::Menu);
    EXPECT_FALSE(fake.desktop.Get(w).visible);
    EXPECT_TRUE(fake.desktop.Get(shorter).visible);
}

TEST(TextCaptionMatch, IncludeMatchesOnlyAtACharacterBoundaryInUtf8) {
    const CodePage utf8 = CodePage::Utf8();
    const std::string caption = "x" + kNihongo;
    EXPECT_TRUE(CaptionMatches(caption, kNihongo.substr(3, 3), GROUP_COMPARE_INCLUDE, utf8));
    // The last two bytes of 日 followed by 本: inside a character.
    const std::string inside = kNihongo.substr(1, 5);
    EXPECT_TRUE(CaptionMatches(caption, inside, GROUP_COMPARE_INCLUDE)) << "byte by byte it is found";
    EXPECT_FALSE(CaptionMatches(caption, inside, GROUP_COMPARE_INCLUDE, utf8));
    // The search for 日本語 does not find captions of other characters.
    const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
    EXPECT_FALSE(CaptionMatches(privet + " " + kZhe, kNihongo, GROUP_COMPARE_INCLUDE, utf8));
    EXPECT_TRUE(CaptionMatches(kNihongo + " test", kNihongo, GROUP_COMPARE_INCLUDE, utf8));
    // Only the first 1,023 characters count, however many bytes they take.
    const std::string longCaption = Times(kGo, 1023) + "TAIL";
    EXPECT_FALSE(CaptionMatches(longCaption, "TAIL", GROUP_COMPARE_INCLUDE, utf8));
    EXPECT_TRUE(CaptionMatches(longCaption, Times(kGo, 1023), GROUP_COMPARE_EQUAL, utf8));
    EXPECT_TRUE(CaptionMatches(Times(kGo, 1022) + "Z", kGo + "Z", GROUP_COMPARE_INCLUDE, utf8));
}

TEST(TextPassword, TypingStopsAt30CharactersOfAnyScript) {
    const CodePage utf8 = CodePage::Utf8();
    EXPECT_TRUE(PasswordEditStands("", Times(kZhe, 30), utf8));
    EXPECT_FALSE(PasswordEditStands(Times(kZhe, 30), Times(kZhe, 31), utf8));
    EXPECT_TRUE(PasswordEditStands("", Times(kSmile, 30), utf8));
    // Counted in bytes, 30 Cyrillic characters would have been 60.
    EXPECT_FALSE(PasswordEditStands("", Times(kZhe, 30), CodePage()));
    EXPECT_TRUE(PasswordEditStands("", Times("\x82\xA0", 30), DoubleByte()));
    // A longer password put in by hand can be shortened, not lengthened.
    EXPECT_TRUE(PasswordEditStands(Times(kZhe, 40), Times(kZhe, 39), utf8));
    EXPECT_FALSE(PasswordEditStands(Times(kZhe, 40), Times(kZhe, 41), utf8));
}

TEST_F(TextLimits, APasswordIsTheWholeTextNotItsLength) {
    fake.module.codePage = 65001;
    const std::string parol = "\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C";  // пароль
    const std::string abvgde = "\xD0\xB0\xD0\xB1\xD0\xB2\xD0\xB3\xD0\xB4\xD0\xB5";  // абвгде
    fake.profile.Set("Settings", "First Start", 0u);
    PlantPassword(fake, parol);
    fake.profile.Set("Settings", "m_bPassOnShow", 1u);
    const WindowHandle w = fake.desktop.Add("W", "guarded");
    Kernel().Run({Verb::HideWindow}, Origin::Menu);
    ASSERT_FALSE(fake.desktop.Get(w).visible);

    fake.prompts.answers.push_back({true, abvgde});
    Kernel().Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_FALSE(fake.desktop.Get(w).visible);
    fake.prompts.answers.push_back({true, "??????"});
    Kernel().Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_FALSE(fake.desktop.Get(w).visible);
    fake.prompts.answers.push_back({true, parol + "x"});
    Kernel().Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_FALSE(fake.desktop.Get(w).visible);
    fake.prompts.answers.push_back({true, parol});
    Kernel().Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(fake.desktop.Get(w).visible);
}

TEST(TextHelpPath, APathOfAnyScriptKeepsItsLastDot) {
    const std::string folder = "C:\\\xD0\x9F\xD1\x83\xD1\x82\xD1\x8C \xE8\xB7\xAF\xE5\xBE\x84\\";
    EXPECT_EQ(HelpFilePath(folder + "Tarnvell.exe", CodePage::Utf8()), folder + "Tarnvell.chm");
    EXPECT_EQ(HelpFilePath("C:\\v1.0\\" + kNihongo, CodePage::Utf8()), "C:\\v1.chm");
}

}  // namespace
