#include "engine/command_runner.h"

#include "engine/password_check.h"

// The password of one command's occasion, asked at most once.
class CCommandRunner::Check final : public PasswordCheck {
public:
    Check(CCommandRunner& runner, PasswordOccasion occasion, Origin origin)
        : m_Runner(runner), m_Occasion(occasion), m_Origin(origin) {}

    bool Confirm() override {
        if (m_Answer) return *m_Answer;
        if (!Needed()) return true;
        m_Answer = m_Runner.AskPassword(m_Origin);
        return *m_Answer;
    }
    bool Refused() const { return m_Answer && !*m_Answer; }

private:
    bool Needed() const {
        const Preferences& prefs = m_Runner.m_Settings.Prefs();
        switch (m_Occasion) {
            case PasswordOccasion::None: return false;
            case PasswordOccasion::Show: return prefs.m_bPassOnShow;
            case PasswordOccasion::Options: return prefs.m_bPassOnOption;
            case PasswordOccasion::Close: return prefs.m_bPassOnClose;
        }
        return true;
    }

    CCommandRunner& m_Runner;
    PasswordOccasion m_Occasion;
    Origin m_Origin;
    std::optional<bool> m_Answer;
};

CCommandRunner::CCommandRunner(CModalGate& gate, IDialogs& dialogs, const CSettings& settings,
                               const CGroupList& groups, CHideShowCommands& commands,
                               CDialogController& dialogController, CTrayController& tray)
    : m_Gate(gate),
      m_Dialogs(dialogs),
      m_Settings(settings),
      m_Groups(groups),
      m_Commands(commands),
      m_DialogController(dialogController),
      m_Tray(tray) {}

bool CCommandRunner::AskPassword(Origin origin) {
    const GateVerdict verdict = m_Gate.Decide(GateInput::PasswordPrompt, origin);
    if (verdict.kind == GateVerdict::Kind::Front) m_Dialogs.BringToFront(verdict.front);
    if (verdict.kind != GateVerdict::Kind::Run) return false;
    std::string entered;
    bool ok = false;
    {
        const CModalGate::Wait wait(m_Gate, Waiting::Prompt);
        ok = m_Dialogs.AskPassword(entered);
    }
    return ok && m_Settings.CheckPassword(entered);
}

int CCommandRunner::ResolveGroup(const Command& command) const {
    if (command.groupName.empty()) return command.group;
    // The first group of that name in list order.
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        if (m_Groups.At(i)->m_strName == command.groupName) return static_cast<int>(i);
    return -1;
}

Outcome CCommandRunner::Run(const Command& given, Origin origin) {
    const CommandInfo& row = RowOf(given.verb);
    const GateVerdict verdict = m_Gate.Decide(row.gate, origin);
    if (verdict.kind == GateVerdict::Kind::Front) m_Dialogs.BringToFront(verdict.front);
    if (verdict.kind != GateVerdict::Kind::Run) return {CommandResult::Refused};

    Command command = given;
    if (row.takesGroup) {
        command.group = ResolveGroup(given);
        if (command.group < 0 && !given.groupName.empty()) return {CommandResult::NoSuchGroup};
        // A position beyond the last group (a stale click action or key)
        // does nothing.
        if (command.group < 0 || static_cast<std::size_t>(command.group) >= m_Groups.size()) return {};
    }

    Check check(*this, row.password, origin);
    std::optional<Command> next;
    Outcome outcome = Execute(command, origin, verdict, check, next);
    if (check.Refused()) outcome = {CommandResult::Refused};
    const CHideShowCommands::HideReport report = m_Commands.TakeHideReport();
    if (!report.refused.empty() && report.hidden == 0 && outcome.result == CommandResult::Done)
        outcome.result = CommandResult::NothingHidden;
    Publish();
    // After the tray shows the list as it is: the balloon explains what the
    // list lacks.
    m_Tray.ReportRefused(report.refused);
    if (next) return Run(*next, Origin::Menu);
    return outcome;
}

Outcome CCommandRunner::Execute(const Command& c, Origin origin, const GateVerdict& verdict, PasswordCheck& check,
                                std::optional<Command>& next) {
    switch (c.verb) {
        case Verb::HideWindow:
            if (c.window)
                m_Commands.HideFamilyOf(c.window);
            else
                m_Commands.HideTopWindow();
            break;
        case Verb::ShowWindow: m_Commands.ShowHidden(-1, check); break;
        case Verb::HideAll: m_Commands.HideAllWindows(); break;
        case Verb::ShowAll: m_Commands.ShowAllWindows(check); break;
        case Verb::ToggleWindow: m_Commands.ToggleDesignatedWindow(check); break;
        case Verb::ToggleAll: m_Commands.ToggleAllWindows(check); break;
        case Verb::HideGroup: m_Commands.HideGroup(c.group); break;
        case Verb::ShowGroup: m_Commands.ShowGroup(c.group, check); break;
        case Verb::ToggleGroup: m_Commands.ToggleGroup(c.group, check); break;
        case Verb::ShowListed: m_Commands.ShowWindowOf(c.window, check); break;
        case Verb::CloseListed: m_Commands.CloseWindowOf(c.window, check); break;
        case Verb::WindowMenu: next = m_Tray.TrackWindowMenu(c.window); break;
        case Verb::ShowList: next = m_Tray.TrackHiddenList(origin); break;
        case Verb::MainMenu: next = m_Tray.TrackMainMenu(origin); break;
        case Verb::Preferences: m_DialogController.OnPreferences(check); break;
        case Verb::WindowsGroups: m_DialogController.OnWindowsGroups(check); break;
        case Verb::About: m_DialogController.OnAppAbout(); break;
        case Verb::Help: m_DialogController.OnHelp(); break;
        case Verb::CheckUpdate: m_DialogController.OnCheckUpdate(); break;
        case Verb::Exit:
            // A refused password cancels the close: the frame never sees it.
            if (!check.Confirm()) break;
            {
                // Showing on the way out asks the show password of its own; a
                // refusal leaves the windows hidden, and the journal hands
                // them to the next start.
                Check show(*this, PasswordOccasion::Show, origin);
                m_Commands.OnExit(show);
            }
            return {CommandResult::Done, verdict.frameMayGo};
        case Verb::EndSession:
            m_Commands.OnEndSession();
            // The session really ends, and the frame goes at once when it can:
            // the process may be ended without another message.
            return {CommandResult::Done, verdict.frameMayGo};
        case Verb::HideTaken: m_Commands.HideTaken(); break;
    }
    return {};
}

void CCommandRunner::MarkPublished() {
    m_PublishedList = m_Commands.HiddenList().Revision();
    m_PublishedSettings = m_Settings.Revision();
}

bool CCommandRunner::Publish() {
    const std::uint64_t list = m_Commands.HiddenList().Revision();
    const std::uint64_t settings = m_Settings.Revision();
    const bool listChanged = list != m_PublishedList;
    const bool settingsChanged = settings != m_PublishedSettings;
    if (!listChanged && !settingsChanged) return false;
    m_PublishedList = list;
    m_PublishedSettings = settings;
    // The journal first: it is what makes a crash safe, and the shell may be
    // slow to answer.
    if (listChanged) m_Commands.WriteJournal();
    m_Tray.RefreshTray();
    if (settingsChanged && m_SettingsPublished) m_SettingsPublished();
    return true;
}
