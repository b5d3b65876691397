#include "engine/languages.h"

#include <iterator>

#include "engine/preferences.h"
#include "hotkeys/key_names.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {

// The primary language of a locale name: "de" of "de-AT" (or "de_AT").
std::string_view Primary(std::string_view locale) { return locale.substr(0, locale.find_first_of("-_")); }

// Chinese written in its traditional characters is not the simplified
// Chinese we have, though both are "zh".
bool Traditional(std::string_view locale) {
    if (!text::AsciiEqualNoCase(Primary(locale), "zh")) return false;
    for (std::string_view mark : {"hant", "tw", "hk", "mo"}) {
        for (std::size_t at = 3; at + mark.size() <= locale.size(); ++at)
            if (text::AsciiEqualNoCase(locale.substr(at, mark.size()), mark) &&
                (at + mark.size() == locale.size() || locale[at + mark.size()] == '-' ||
                 locale[at + mark.size()] == '_'))
                return true;
    }
    return false;
}

const LanguageInfo* Match(std::string_view locale) {
    if (locale.empty()) return nullptr;
    if (const LanguageInfo* exact = LanguageOf(locale)) return exact;
    if (Traditional(locale)) return nullptr;
    for (const LanguageInfo& language : kLanguages)
        if (text::AsciiEqualNoCase(Primary(language.locale), Primary(locale))) return &language;
    return nullptr;
}

}  // namespace

const LanguageInfo* LanguageOf(std::string_view locale) {
    for (const LanguageInfo& language : kLanguages)
        if (text::AsciiEqualNoCase(language.locale, locale)) return &language;
    return nullptr;
}

const LanguageInfo& ChooseLanguage(std::string_view setting, const std::vector<std::string>& preferred) {
    if (const LanguageInfo* chosen = Match(setting)) return *chosen;
    for (const std::string& locale : preferred)
        if (const LanguageInfo* chosen = Match(locale)) return *chosen;
    return kEnglish;
}

const LanguageInfo& SpeakChosenLanguage(std::string_view setting, platform::IModule& module) {
    const LanguageInfo& language = ChooseLanguage(setting, module.PreferredLanguages());
    SpeakLanguage(language, module);
    return language;
}

const LanguageInfo& SpeakStoredLanguage(platform::IProfile& profile, platform::IModule& module) {
    return SpeakChosenLanguage(profile.GetProfileString(Preferences::kSection, Preferences::kLanguage, ""), module);
}

int LanguageSelection(std::string_view setting) {
    const LanguageInfo* row = LanguageOf(setting);
    return row ? static_cast<int>(row - kLanguages) + 1 : 0;
}

std::string LanguageFromSelection(int selection, std::string_view before) {
    if (selection == LanguageSelection(before)) return std::string(before);
    if (selection <= 0 || selection > static_cast<int>(std::size(kLanguages))) return {};
    return kLanguages[selection - 1].locale;
}

void SpeakLanguage(const LanguageInfo& language, platform::IModule& module) {
    module.SetLanguage(language.langId);
    const CResource strings(module);
    KeyWords words;
    for (std::size_t i = 0; i < kKeyWordCount; ++i) words[i] = strings.Load(IDS_KEY_WORDS + static_cast<unsigned>(i));
    SetKeyWords(words);
}
