#include "engine/dialog_controller.h"

#include "engine/command_table.h"
#include "engine/update_link.h"
#include "hotkeys/key_status.h"
#include "res/resource.h"

namespace {
// The line between the fixed actions and the groups' own.
constexpr std::size_t kSeparatorLength = 55;
}  // namespace

CDialogController::CDialogController(IDialogs& dialogs, platform::IShell& shell, platform::IProfile& profile,
                                     const CResource& strings, CModalGate& gate, CSettings& settings,
                                     CGroupList& groups, CKeyRegistrations& keys)
    : m_Dialogs(dialogs),
      m_Shell(shell),
      m_Profile(profile),
      m_Strings(strings),
      m_Gate(gate),
      m_Settings(settings),
      m_Groups(groups),
      m_Keys(keys) {}

void CDialogController::ApplyPreferences(const Preferences& prefs, const ProgramKeys& keys,
                                         const std::optional<std::string>& newPassword) {
    m_Settings.Apply(prefs, keys, newPassword);
    m_Settings.Save();
}

void CDialogController::ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups) {
    m_Groups.Replace(groups, m_hFrame);
    if (m_Replaced) m_Replaced();
}

std::vector<std::string> CDialogController::ClickActionEntries() const {
    std::vector<std::string> entries;
    for (std::uint32_t value = 0; value < ClickAction::kSeparator; ++value) {
        std::string text;
        for (const CommandInfo& row : kCommands)
            if (row.clickAction >= 0 && static_cast<std::uint32_t>(row.clickAction) == value)
                text = m_Strings.Load(row.clickTextId);
        entries.push_back(std::move(text));
    }
    entries.emplace_back(kSeparatorLength, '-');
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        for (int op = 0; op < 3; ++op)
            for (const CommandInfo& row : kCommands)
                if (row.groupClickOp == op)
                    entries.push_back(FormatText(m_Strings.Load(row.clickTextId), m_Groups.At(i)->m_strName));
    return entries;
}

void CDialogController::HookKeys(PreferencesForm& form) {
    form.captureFocus = [this](bool focused) { m_Keys.OnCaptureFocus(focused); };
    form.checkKeys = [this](const ProgramKeys& keys) {
        std::vector<LabelledKey> edited = m_Keys.ProgramLabels();
        for (std::size_t n = 0; n < edited.size() && n < keys.size(); ++n) edited[n].value = keys[n];
        return m_Keys.Check(edited, m_Keys.GroupLabels(), m_hFrame);
    };
}

void CDialogController::HookKeys(GroupsForm& form) {
    form.captureFocus = [this](bool focused) { m_Keys.OnCaptureFocus(focused); };
    // The other groups are the dialog's working list: a key the user took
    // from a group there is free, one given to a new group there is not.
    form.checkKeys = [this](const CWindowsGroup& edited, const std::vector<const CWindowsGroup*>& others) {
        std::vector<LabelledKey> rest = m_Keys.ProgramLabels();
        for (const CWindowsGroup* other : others)
            if (other)
                for (LabelledKey& key : m_Keys.LabelsOf(*other)) rest.push_back(std::move(key));
        return m_Keys.Check(m_Keys.LabelsOf(edited), rest, m_hFrame);
    };
}

void CDialogController::OnPreferences(PasswordCheck& password) {
    if (!password.Confirm()) return;

    PreferencesForm form;
    form.prefs = m_Settings.Prefs();
    form.keys = m_Settings.Keys();
    form.actions = ClickActionEntries();
    form.passwordSet = m_Settings.HasPassword();
    HookKeys(form);
    bool ok = false;
    {
        const CModalGate::Wait wait(m_Gate, Waiting::Preferences);
        ok = m_Dialogs.RunPreferences(form);
    }
    // OK registers the new keys itself; what the dialog did not change (the
    // groups' keys, or every key after Cancel) is taken back afterwards.
    if (ok) ApplyPreferences(form.prefs, form.keys, form.newPassword);
    m_Keys.OnDialogEnded();
}

void CDialogController::OnWindowsGroups(PasswordCheck& password) {
    if (!password.Confirm()) return;

    GroupsForm form;
    for (std::size_t i = 0; i < m_Groups.size(); ++i) form.groups.push_back(CopyGroup(*m_Groups.At(i)));
    // The marks show the state of now, not of the last menu.
    m_Keys.RetryFailed();
    form.notHeld = m_Keys.GroupKeysNotHeld();
    HookKeys(form);
    bool ok = false;
    {
        const CModalGate::Wait wait(m_Gate, Waiting::WindowsGroups);
        ok = m_Dialogs.RunWindowsGroups(form);
    }
    if (ok) {
        // The action and the list go together, whole or not at all.
        const platform::ProfileBatch batch(m_Profile);
        // Group positions may have moved, so a click action that names a group
        // (or the separator) falls back to the list of hidden windows, on every OK.
        m_Settings.ForgetGroupAction();
        ReplaceGroups(form.groups);
    }
    m_Keys.OnDialogEnded();
}

void CDialogController::OnAppAbout() {
    {
        const CModalGate::Wait wait(m_Gate, Waiting::About);
        m_Dialogs.RunAbout(kVersion);
    }
    m_Keys.RetryFailed();
}

void CDialogController::OnHelp() { m_Dialogs.ShowHelp(m_hFrame, nullptr); }

// No password and no guard: opening the page twice opens it twice, and what
// the shell answers changes nothing here.
void CDialogController::OnCheckUpdate() {
    m_Shell.Open(UpdateAddress(m_Strings.Load(IDR_MAINFRAME), kVersion));
}
