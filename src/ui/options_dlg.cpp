#include "ui/options_dlg.h"

#include <algorithm>

#include "engine/command_table.h"
#include "engine/languages.h"
#include "platform/win32/resources.h"
#include "res/resource.h"
#include "ui/dialog_model.h"
#include "ui/help_path.h"
#include "ui/html_help.h"

namespace {

// The edit of each hot-key, by identifier, as the commands table names it.
constexpr std::array<int, kProgramHotKeys> kKeyEdits = [] {
    std::array<int, kProgramHotKeys> edits{};
    for (const CommandInfo& row : kCommands)
        if (row.hotKey >= 0) edits[static_cast<std::size_t>(row.hotKey)] = static_cast<int>(row.hotKeyEditId);
    return edits;
}();
constexpr std::array<int, 2> kPasswordEdits{IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD};
constexpr int kShowWindowKey = 1;
constexpr int kShowAllKey = 3;

// Each check box and the preference it shows.
struct Flag {
    int id;
    bool Preferences::*value;
};
constexpr Flag kFlags[] = {
    {IDC_AUTORUN, &Preferences::m_bAutorun},
    {IDC_SHOW_LIST, &Preferences::m_bShowList},
    {IDC_SHOW_ON_CLOSE, &Preferences::m_bShowOnClose},
    {IDC_INVERT_MOUSE, &Preferences::m_bInvertMouse},
    {IDC_HIDE_ICON, &Preferences::m_bHideIcon},
    {IDC_SHOW_HIDDEN_IN_TIP, &Preferences::m_bShowHiddenInTip},
    {IDC_PASS_ON_CLOSE, &Preferences::m_bPassOnClose},
    {IDC_PASS_ON_OPTION, &Preferences::m_bPassOnOption},
    {IDC_PASS_ON_SHOW, &Preferences::m_bPassOnShow},
    {IDC_MINIMIZE_GESTURE, &Preferences::m_bMinimizeGesture},
    {IDC_ICON_PER_WINDOW, &Preferences::m_bIconPerWindow},
};

}  // namespace

COptionsDlg::COptionsDlg(HINSTANCE instance, const PreferencesForm& form)
    : CDialog(instance, IDD_PREFERENCES, nullptr), m_Form(form) {
    for (std::size_t i = 0; i < m_edKeys.size(); ++i) m_edKeys[i].SetValue(form.keys[i]);
}

void COptionsDlg::Store(PreferencesForm& form) const {
    form.prefs = m_Form.prefs;
    form.newPassword = m_Form.newPassword;
    for (std::size_t i = 0; i < m_edKeys.size(); ++i) form.keys[i] = m_edKeys[i].Value();
}

BOOL COptionsDlg::OnInitDialog() {
    for (std::size_t i = 0; i < m_edKeys.size(); ++i) {
        m_edKeys[i].SetFocusHook(m_Form.captureFocus);
        m_edKeys[i].Attach(Item(kKeyEdits[i]));
    }

    const Preferences& prefs = m_Form.prefs;
    for (const Flag& flag : kFlags) Check(flag.id, prefs.*flag.value);

    // Typing stops at the password's limit, so what is typed is what the
    // prompt asks for later. A set password shows as the placeholder, which
    // keeps it when it comes back unchanged.
    m_bSettingPassword = true;
    const std::string shown = m_Form.passwordSet ? PasswordPlaceholder() : std::string();
    for (std::size_t i = 0; i < kPasswordEdits.size(); ++i) {
        ::SendDlgItemMessageA(m_hWnd, kPasswordEdits[i], EM_LIMITTEXT, kPasswordEditUnits, 0);
        SetItemText(kPasswordEdits[i], shown);
        m_Passwords[i] = shown;
    }
    m_bSettingPassword = false;

    ::CheckRadioButton(m_hWnd, IDC_SINGLE_CLICK, IDC_DOUBLE_CLICK,
                       prefs.m_bClick ? IDC_DOUBLE_CLICK : IDC_SINGLE_CLICK);

    const auto& entries = m_Form.actions;
    for (const std::string& entry : entries)
        ::SendDlgItemMessageA(m_hWnd, IDC_ACTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    const auto selection = ActionSelection(prefs.m_uAction, entries.size());
    ::SendDlgItemMessageA(m_hWnd, IDC_ACTION, CB_SETCURSEL, static_cast<WPARAM>(selection.value_or(-1)), 0);

    // Each language by its own name, in its own script: wide, whatever the
    // process's code page can hold.
    ::SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(win32::LoadWideText(m_hInstance, IDS_LANGUAGE_DEFAULT).c_str()));
    for (const LanguageInfo& language : kLanguages)
        ::SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(win32::Widen(CP_UTF8, language.ownName).c_str()));
    ::SendDlgItemMessageA(m_hWnd, IDC_LANGUAGE, CB_SETCURSEL,
                          static_cast<WPARAM>(LanguageSelection(prefs.m_strLanguage)), 0);
    return TRUE;
}

void COptionsDlg::OnOK() {
    const auto message = CheckPreferences(ItemText(IDC_NEW_PASSWORD), ItemText(IDC_CONFIRM_PASSWORD),
                                          Checked(IDC_HIDE_ICON), m_edKeys[kShowWindowKey].Value(),
                                          m_edKeys[kShowAllKey].Value());
    if (message) {
        Warn(LoadText(*message));
        return;
    }
    if (m_Form.checkKeys) {
        ProgramKeys keys{};
        for (std::size_t i = 0; i < m_edKeys.size(); ++i) keys[i] = m_edKeys[i].Value();
        if (const auto refused = m_Form.checkKeys(keys)) {
            Warn(*refused);
            return;
        }
    }
    EndDialog(IDOK);
}

void COptionsDlg::OnDestroy() {
    Preferences& prefs = m_Form.prefs;
    for (const Flag& flag : kFlags) prefs.*flag.value = Checked(flag.id);
    m_Form.newPassword = PasswordFromFields(m_Form.passwordSet, ItemText(IDC_NEW_PASSWORD));
    prefs.m_bClick = Checked(IDC_DOUBLE_CLICK);
    const auto selection = ::SendDlgItemMessageA(m_hWnd, IDC_ACTION, CB_GETCURSEL, 0, 0);
    prefs.m_uAction = ActionFromSelection(static_cast<int>(selection));
    const auto language = ::SendDlgItemMessageA(m_hWnd, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    prefs.m_strLanguage = LanguageFromSelection(static_cast<int>(language), prefs.m_strLanguage);
}

void COptionsDlg::OnCommand(int id, int code) {
    if (code != EN_CHANGE || m_bSettingPassword) return;
    for (std::size_t i = 0; i < kPasswordEdits.size(); ++i) {
        if (id != kPasswordEdits[i]) continue;
        std::string typed = ItemText(id);
        if (PasswordEditStands(m_Passwords[i], typed)) {
            m_Passwords[i] = std::move(typed);
            return;
        }
        // The edit control's own limit counts UTF-16 units, not characters:
        // an edit past 30 characters is taken back, the caret where it was.
        HWND edit = Item(id);
        const int grown = ::GetWindowTextLengthW(edit);
        DWORD caret = 0;
        ::SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        m_bSettingPassword = true;
        SetItemText(id, m_Passwords[i]);
        m_bSettingPassword = false;
        const int back = static_cast<int>(caret) - (grown - ::GetWindowTextLengthW(edit));
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(std::max(back, 0)), std::max(back, 0));
        ::MessageBeep(MB_OK);
        return;
    }
}

bool COptionsDlg::OnHelp() {
    ShowHelpTopic(m_hWnd, kHelpTopicPreferences);
    return true;
}
