#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/languages.h"

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

}  // namespace
