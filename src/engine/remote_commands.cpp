#include "engine/remote_commands.h"

#include "engine/command_line.h"

namespace {

RemoteResult From(CommandOutcome outcome) {
    return outcome == CommandOutcome::Refused ? RemoteResult::Refused : RemoteResult::Done;
}

}  // namespace

CRemoteCommands::Answer CRemoteCommands::OnCopyData(const platform::CopyData* data) {
    if (!data) return {RemoteResult::Usage};
    // No code-page check of the name here: it is only ever compared byte
    // for byte with the groups' names, so text the sender mangled names no
    // group rather than another one.
    const auto command = DecodeRemoteCommand(data->dwData, data->lpData, data->cbData, nullptr);
    if (!command) return {RemoteResult::Usage};
    return Run(*command);
}

int CRemoteCommands::FindGroup(const std::string& name) const {
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        if (m_Groups.At(i)->m_strName == name) return static_cast<int>(i);
    return -1;
}

CRemoteCommands::Answer CRemoteCommands::Run(const RemoteCommand& command) {
    // While Tarnvell waits for the user, nothing another program asks for
    // runs: it could not answer a prompt of ours, and it must not end the
    // program under an open dialog.
    if (!m_Dialogs.Admit(GateInput::RemoteCommand)) return {RemoteResult::Refused};
    int group = -1;
    if (TakesGroup(command.verb)) {
        group = FindGroup(command.group);
        if (group < 0) return {RemoteResult::NoSuchGroup};
    }
    const bool hides = command.verb == RemoteVerb::HideWindow || command.verb == RemoteVerb::HideAll ||
                       command.verb == RemoteVerb::HideGroup;
    if (command.verb != RemoteVerb::Exit &&
        !m_Dialogs.Admit(hides ? GateInput::HideCommand : GateInput::ShowCommand))
        return {RemoteResult::Refused};
    switch (command.verb) {
        case RemoteVerb::HideWindow: m_Commands.HideTopWindow(); return {};
        case RemoteVerb::ShowWindow: return {From(m_Commands.ShowHidden(-1))};
        case RemoteVerb::HideAll: m_Commands.HideAllWindows(); return {};
        case RemoteVerb::ShowAll: return {From(m_Commands.ShowAllWindows())};
        case RemoteVerb::ToggleWindow: return {From(m_Commands.ToggleDesignatedWindow())};
        case RemoteVerb::HideGroup: m_Commands.HideGroup(group); return {};
        case RemoteVerb::ShowGroup: {
            CommandOutcome outcome = CommandOutcome::Done;
            m_Commands.ShowGroup(group, &outcome);
            return {From(outcome)};
        }
        case RemoteVerb::ToggleGroup: return {From(m_Commands.ToggleGroup(group))};
        case RemoteVerb::Exit:
            // The close box's path: its gate row, the close password, OnExit.
            if (!m_Dialogs.Admit(GateInput::Close) || !m_Commands.ConfirmExit()) return {RemoteResult::Refused};
            return {RemoteResult::Done, true};
    }
    return {RemoteResult::Usage};
}
