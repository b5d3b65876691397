#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/command.h"
#include "engine/command_table.h"
#include "engine/dialog_controller.h"
#include "engine/dialogs.h"
#include "engine/hide_show_commands.h"
#include "engine/modal_gate.h"
#include "engine/settings.h"
#include "engine/tray_controller.h"
#include "groups/group_list.h"

// Carries out every command, whatever its input: asks the gate (the one
// policy of what may run while Tarnvell waits for the user), resolves the
// group it names, hands the part that carries it out the password it needs,
// and, when the command changed the hidden list or the settings, writes the
// journal and then refreshes the tray. A menu's choice comes back from the
// menu's command and runs next, as any other command.
class CCommandRunner {
public:
    CCommandRunner(CModalGate& gate, IDialogs& dialogs, const CSettings& settings, const CGroupList& groups,
                   CHideShowCommands& commands, CDialogController& dialogController, CTrayController& tray);
    CCommandRunner(const CCommandRunner&) = delete;
    CCommandRunner& operator=(const CCommandRunner&) = delete;

    Outcome Run(const Command& command, Origin origin);

    // Writes the journal, then refreshes the tray, when the hidden list or
    // the settings changed since they were last published; nothing otherwise.
    // True when it published.
    bool Publish();
    // Told after a change of the settings was published.
    void OnSettingsPublished(std::function<void()> changed) { m_SettingsPublished = std::move(changed); }
    // What the journal and the tray show now is published (at start-up,
    // where the icon is added with its tip).
    void MarkPublished();

private:
    class Check;

    // "Enter password": true when the user confirmed the stored password. At
    // most one prompt is open: asked again meanwhile, the open one comes to
    // the front and the answer is no.
    bool AskPassword(Origin origin);

    // Carries the admitted command out; a menu's choice comes back in next.
    Outcome Execute(const Command& command, Origin origin, const GateVerdict& verdict, PasswordCheck& check,
                    std::optional<Command>& next);
    // The command's group, by name or position: its position, -1 when it
    // names none.
    int ResolveGroup(const Command& command) const;

    CModalGate& m_Gate;
    IDialogs& m_Dialogs;
    const CSettings& m_Settings;
    const CGroupList& m_Groups;
    CHideShowCommands& m_Commands;
    CDialogController& m_DialogController;
    CTrayController& m_Tray;
    // What the journal and the tray showed when last published.
    std::uint64_t m_PublishedList = 0;
    std::uint64_t m_PublishedSettings = 0;
    std::function<void()> m_SettingsPublished;
};
