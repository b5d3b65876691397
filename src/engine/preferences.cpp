#include "engine/preferences.h"

namespace {

// The flags in the order they are read and written.
struct FlagValue {
    const char* name;
    bool Preferences::*member;
};

constexpr FlagValue kFlags[] = {
    {"bShowList", &Preferences::m_bShowList},
    {"m_bShowOnClose", &Preferences::m_bShowOnClose},
    {"m_bInvertMouse", &Preferences::m_bInvertMouse},
    {"m_bAutorun", &Preferences::m_bAutorun},
    {"m_bHideIcon", &Preferences::m_bHideIcon},
    {"m_bShowHiddenInTip", &Preferences::m_bShowHiddenInTip},
    {"m_bPassOnClose", &Preferences::m_bPassOnClose},
    {"m_bPassOnOption", &Preferences::m_bPassOnOption},
    {"m_bPassOnShow", &Preferences::m_bPassOnShow},
    {"m_bMinimizeGesture", &Preferences::m_bMinimizeGesture},
    {"m_bIconPerWindow", &Preferences::m_bIconPerWindow},
};

constexpr const char* kClick = "m_bClick";
constexpr const char* kAction = "m_uAction";

}  // namespace

void Preferences::Load(platform::IProfile& profile) {
    const Preferences defaults;
    for (const auto& flag : kFlags)
        this->*flag.member = profile.GetProfileInt(kSection, flag.name, defaults.*flag.member ? 1 : 0) != 0;
    m_PasswordHash = profile.GetProfileString(kSection, kPasswordHash, "");
    m_bClick = profile.GetProfileInt(kSection, kClick, defaults.m_bClick ? 1 : 0) != 0;
    m_uAction = ClickAction(profile.GetProfileInt(kSection, kAction, static_cast<int>(defaults.m_uAction.Stored())));
    m_strLanguage = profile.GetProfileString(kSection, kLanguage, "");
}

void Preferences::Save(platform::IProfile& profile) const {
    for (const auto& flag : kFlags) profile.WriteProfileInt(kSection, flag.name, this->*flag.member ? 1 : 0);
    profile.WriteProfileString(kSection, kPasswordHash, m_PasswordHash);
    SaveAction(profile);
    profile.WriteProfileInt(kSection, kClick, m_bClick ? 1 : 0);
    if (m_strLanguage.empty())
        profile.DeleteProfileValue(kSection, kLanguage);
    else
        profile.WriteProfileString(kSection, kLanguage, m_strLanguage);
}

void Preferences::SaveAction(platform::IProfile& profile) const {
    // The profile stores DWORDs; the int is only the call's carrier.
    profile.WriteProfileInt(kSection, kAction, static_cast<int>(m_uAction.Stored()));
}
