#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class IModule;
class IProfile;
}

// The languages Tarnvell speaks, one row each: its locale name (what
// Settings\Language stores), the Windows language its resources are marked
// with, and its name in itself (what the Preferences list shows). Adding a
// language is its row here and its resource file.
struct LanguageInfo {
    const char* locale;
    unsigned langId;       // MAKELANGID(primary, sublanguage)
    const char* ownName;   // UTF-8
};

inline constexpr LanguageInfo kLanguages[] = {
    {"en-US", 0x0409, "English"},
    {"de-DE", 0x0407, "Deutsch"},
    {"fr-FR", 0x040C, "Fran\xC3\xA7" "ais"},
    {"es-ES", 0x0C0A, "Espa\xC3\xB1ol"},
    {"it-IT", 0x0410, "Italiano"},
    {"pt-BR", 0x0416, "Portugu\xC3\xAAs (Brasil)"},
    {"pl-PL", 0x0415, "Polski"},
    {"ru-RU", 0x0419, "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9"},
    {"ja-JP", 0x0411, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
    {"zh-CN", 0x0804, "\xE4\xB8\xAD\xE6\x96\x87 (\xE7\xAE\x80\xE4\xBD\x93)"},
    {"ko-KR", 0x0412, "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},
};

// English: the language every resource has, and the last fallback.
inline constexpr const LanguageInfo& kEnglish = kLanguages[0];

// The language to speak. setting is Settings\Language: a language of ours
// named there is taken (its region may differ: "de-AT" is German); empty or
// one we lack leaves the choice to the system. preferred is the user's
// display languages in order (GetUserPreferredUILanguages): the first of them
// we have, matched by the primary language where the region differs; English
// when we have none of them.
const LanguageInfo& ChooseLanguage(std::string_view setting, const std::vector<std::string>& preferred);

// Makes language the one every text, dialog and key name comes in from now
// on: the module's resources and the words of key names.
void SpeakLanguage(const LanguageInfo& language, platform::IModule& module);

// The language setting and the module's display languages choose, spoken.
const LanguageInfo& SpeakChosenLanguage(std::string_view setting, platform::IModule& module);
// The same, with the setting as the profile stores it: for what speaks
// before the settings are loaded.
const LanguageInfo& SpeakStoredLanguage(platform::IProfile& profile, platform::IModule& module);

// The row of a locale name exactly as a row spells it (any letter case);
// null for none.
const LanguageInfo* LanguageOf(std::string_view locale);

// Preferences' language list: item 0 is the system's choice, item 1 + i the
// row i. A setting the list cannot show (empty, or a locale we lack, perhaps
// a later version's) shows as the system's choice.
int LanguageSelection(std::string_view setting);
// The setting an item stands for. Left on the item that showed it, the
// setting before is kept as it was, so that one this version cannot show
// survives a visit to Preferences.
std::string LanguageFromSelection(int selection, std::string_view before);
