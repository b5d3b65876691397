#pragma once
#include <string>

#include "engine/dialog_controller.h"
#include "engine/hide_show_commands.h"
#include "engine/remote_command.h"
#include "groups/group_list.h"
#include "platform/copy_data.h"

// Commands another program hands over (Tarnvell.exe COMMAND [ARGUMENT] while
// a copy runs) or the program's own command line gives: each passes the
// gate's row for handed-over commands, then runs as the menu command of the
// same name runs (its gate row, its password, the tray refresh through the
// list's change), and ends in the answer that becomes the sender's exit code.
class CRemoteCommands {
public:
    CRemoteCommands(CDialogController& dialogs, CHideShowCommands& commands, const CGroupList& groups)
        : m_Dialogs(dialogs), m_Commands(commands), m_Groups(groups) {}
    CRemoteCommands(const CRemoteCommands&) = delete;
    CRemoteCommands& operator=(const CRemoteCommands&) = delete;

    struct Answer {
        RemoteResult result = RemoteResult::Done;
        // /exit was accepted (its password given, the windows shown when the
        // user asked for that): the frame goes once the answer is sent.
        bool endProgram = false;
        friend bool operator==(const Answer&, const Answer&) = default;
    };

    // WM_COPYDATA's record. Any program of the session can send one, so the
    // record is checked again here whatever the sender checked; a record
    // that is not a command of ours is answered as a usage error.
    Answer OnCopyData(const platform::CopyData* data);
    Answer Run(const RemoteCommand& command);

private:
    // The first group of that name in list order; -1 when none has it.
    int FindGroup(const std::string& name) const;

    CDialogController& m_Dialogs;
    CHideShowCommands& m_Commands;
    const CGroupList& m_Groups;
};
