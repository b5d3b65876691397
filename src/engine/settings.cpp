#include "engine/app_kernel.h"
#include "engine/autorun.h"

namespace {

// The flags of "Settings" in the order they are read and written.
struct FlagValue {
    const char* name;
    std::int32_t CAppKernel::*member;
    int defaultValue;
};

constexpr FlagValue kFlags[] = {
    {"bShowList", &CAppKernel::m_bShowList, 1},
    {"m_bShowOnClose", &CAppKernel::m_bShowOnClose, 1},
    {"m_bInvertMouse", &CAppKernel::m_bInvertMouse, 1},
    {"m_bAutorun", &CAppKernel::m_bAutorun, 1},
    {"m_bHideIcon", &CAppKernel::m_bHideIcon, 0},
    {"m_bShowHiddenInTip", &CAppKernel::m_bShowHiddenInTip, 0},
    {"m_bPassOnClose", &CAppKernel::m_bPassOnClose, 0},
    {"m_bPassOnOption", &CAppKernel::m_bPassOnOption, 0},
    {"m_bPassOnShow", &CAppKernel::m_bPassOnShow, 0},
};

constexpr const char* kPassword = "m_Password";
constexpr const char* kClick = "m_bClick";
constexpr const char* kAction = "m_uAction";
constexpr const char* kFirstStart = "First Start";

}  // namespace

void CAppKernel::ExchangeSettings(bool load) {
    if (!load) {
        SaveSettings();
        return;
    }
    auto& profile = m_Platform.profile;

    for (auto& hotKey : m_HotKeys) hotKey.Exchange(true);

    for (const auto& flag : kFlags)
        this->*flag.member = static_cast<std::int32_t>(profile.GetProfileInt(m_pszSection, flag.name, flag.defaultValue));
    m_Password = profile.GetProfileString(m_pszSection, kPassword, "");
    m_bClick = static_cast<std::int32_t>(profile.GetProfileInt(m_pszSection, kClick, 0));
    m_uAction = profile.GetProfileInt(m_pszSection, kAction, 1);

    // Only the first start enters the program in the Run key; afterwards the
    // Preferences dialog alone changes the entry.
    if (profile.GetProfileInt(m_pszSection, kFirstStart, 1) != 0) {
        ApplyAutorun();
        profile.WriteProfileInt(m_pszSection, kFirstStart, 0);
    }

    LoadGroups();
}

void CAppKernel::SaveSettings() {
    for (int n = 0; n < kHotKeyCount; ++n) SaveHotKey(n);
    for (const auto& flag : kFlags) WriteSettingInt(flag.name, this->*flag.member);
    WriteSettingString(kPassword, m_Password);
    WriteSettingInt(kAction, static_cast<int>(m_uAction));
    WriteSettingInt(kClick, m_bClick);
}

bool CAppKernel::SaveHotKey(int index) {
    if (index < 0 || index >= kHotKeyCount) return false;
    return m_HotKeys[static_cast<std::size_t>(index)].Exchange(false);
}

void CAppKernel::ApplyAutorun() {
    if (m_bAutorun) AddToAutorun(m_Platform.module, m_Platform.runKey, m_pszProductName);
}
