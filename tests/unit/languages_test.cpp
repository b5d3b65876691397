#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/languages.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "hotkeys/hot_key_capture.h"
#include "hotkeys/hot_keys.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

TEST(Languages, TheSettingThenTheDisplayLanguagesInOrderThenEnglish) {
    using List = std::vector<std::string>;
    const struct {
        const char* setting;
        List preferred;
        const char* chosen;
    } cases[] = {
        {"", {"de-DE", "en-US"}, "de-DE"},
        {"", {"de-AT"}, "de-DE"},               // the region differs
        {"", {"pt-PT", "fr-FR"}, "pt-BR"},
        {"", {"nl-NL", "fr-CA", "de-DE"}, "fr-FR"},  // the first we have
        {"", {"nl-NL", "sv-SE"}, "en-US"},      // none: English
        {"", {}, "en-US"},
        {"", {"ja"}, "ja-JP"},
        {"", {"zh-TW", "zh-CN"}, "zh-CN"},      // traditional Chinese is not ours
        {"", {"zh-Hant-HK", "ko-KR"}, "ko-KR"},
        {"", {"zh-Hans-CN"}, "zh-CN"},
        {"", {"EN-us"}, "en-US"},
        {"ru-RU", {"de-DE"}, "ru-RU"},          // the setting comes first
        {"ja-jp", {"de-DE"}, "ja-JP"},
        {"de-CH", {"fr-FR"}, "de-DE"},
        {"xx-YY", {"it-IT"}, "it-IT"},          // unknown: the system's choice
        {"Klingon", {}, "en-US"},
        {"-", {"pl-PL"}, "pl-PL"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ChooseLanguage(c.setting, c.preferred).locale, c.chosen) << c.setting << " " << c.preferred.size();
}

TEST(Languages, SpeakingALanguageSetsTheResourcesAndTheKeyNamesWordsAndEnglishFillsItsGaps) {
    FakeModule module;
    module.translations[0x0407] = {
        {IDS_KEY_WORDS, "Strg"}, {IDS_KEY_WORDS + 1, "Umschalt"}, {IDS_KEY_WORDS + 7, "Bild ab"},
        {IDS_KEY_WORDS + 15, "Keine"}};
    const unsigned all = mod::kControl | mod::kShift | mod::kAlt;

    SpeakLanguage(*LanguageOf("de-DE"), module);
    EXPECT_EQ(module.language, 0x0407u);
    EXPECT_EQ(CHotKeys::FormatName(all, vk::kNext), "Strg + Umschalt + Alt + Bild ab");
    EXPECT_EQ(CHotKeys::FormatName(0, vk::kSpace), "Space");
    EXPECT_EQ(CHotKeyCapture().Text().text, "Keine");  // an empty hot-key field

    SpeakLanguage(kEnglish, module);
    EXPECT_EQ(module.language, 0x0409u);
    EXPECT_EQ(CHotKeys::FormatName(all, vk::kNext), "Ctrl + Shift + Alt + PageDown");
    EXPECT_EQ(CHotKeyCapture().Text().text, "No");
}

// The list shows a stored language as its row; one it cannot show stays
// stored until the user picks another item.
TEST(Languages, PreferencesListShowsTheSettingAndKeepsOneItCannotShow) {
    const struct {
        const char* before;
        int shown;
        int picked;
        const char* after;
    } cases[] = {
        {"", 0, 0, ""},
        {"de-DE", 2, 2, "de-DE"},
        {"DE-de", 2, 2, "DE-de"},       // as stored, while left alone
        {"de-DE", 2, 0, ""},            // the system's choice again
        {"", 0, 9, "ja-JP"},
        {"tlh-001", 0, 0, "tlh-001"},   // a later version's language survives
        {"tlh-001", 0, 1, "en-US"},
        {"en-US", 1, 99, ""},           // no such item
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageSelection(c.before), c.shown) << c.before;
        EXPECT_EQ(LanguageFromSelection(c.picked, c.before), c.after) << c.before << " " << c.picked;
    }
}

// The engine speaks the stored language from its start, and the language
// chosen in Preferences from the OK on, and the value is stored, or removed
// for the system's choice.
TEST(Languages, TheEngineSpeaksTheStoredLanguageAndTheOneChosenInPreferences) {
    FakePlatform fake;
    fake.module.translations[0x0407] = {{IDS_HIDDEN_WINDOWS, "Versteckte Fenster"}};
    fake.module.translations[0x040C] = {{IDS_HIDDEN_WINDOWS, "Fen\xC3\xAAtres masqu\xC3\xA9" "es"}};
    fake.module.preferred = {"fr-CA"};
    fake.profile.Set("Settings", "Language", std::string("de-DE"));
    auto kernel = StartKernel(fake);
    EXPECT_EQ(fake.module.language, 0x0407u);
    EXPECT_EQ(CResource(fake.module).Load(IDS_HIDDEN_WINDOWS), "Versteckte Fenster");

    ChangePreferences(fake, *kernel, [](Preferences& prefs) { prefs.m_strLanguage.clear(); });
    EXPECT_EQ(fake.module.language, 0x040Cu);  // the display language's, by its primary language
    EXPECT_FALSE(fake.profile.Find("Settings", "Language"));

    ChangePreferences(fake, *kernel, [](Preferences& prefs) { prefs.m_strLanguage = "ja-JP"; });
    EXPECT_EQ(fake.module.language, 0x0411u);
    EXPECT_EQ(std::get<std::string>(fake.profile.Find("Settings", "Language").value()), "ja-JP");
}

}  // namespace
