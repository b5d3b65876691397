#pragma once
#include <cstdint>

#include "engine/auto_hide_rules.h"
#include "engine/command.h"
#include "engine/command_runner.h"
#include "engine/dialog_controller.h"
#include "engine/hide_show_commands.h"
#include "engine/key_registrations.h"
#include "engine/modal_gate.h"
#include "engine/platform_set.h"
#include "engine/settings.h"
#include "engine/tray_controller.h"
#include "engine/window_icons.h"
#include "groups/group_list.h"
#include "tray/resource_loader.h"
#include "tray/tray_notify_icon.h"

struct LanguageInfo;

// What the frame does after the engine saw a message.
struct MessageReply {
    // The engine handled it: the frame's default handling does not follow,
    // and result is the message's result.
    bool handled = false;
    std::intptr_t result = 0;
    // The program ends: the frame answers the message and then goes.
    bool endProgram = false;

    friend bool operator==(const MessageReply&, const MessageReply&) = default;
};

// The engine: owns its parts, wires them at start-up, and translates every
// message of the main frame into a command for the runner. The main frame
// creates it on WM_CREATE and deletes it when its window is destroyed.
class CAppKernel {
public:
    explicit CAppKernel(PlatformSet platform);
    // The mouse hook goes first: no gesture is handed to parts that are gone;
    // the rules' timer goes with the engine.
    ~CAppKernel();
    CAppKernel(const CAppKernel&) = delete;
    CAppKernel& operator=(const CAppKernel&) = delete;

    // Start-up: tray icon, settings and hot-keys, groups, the journal's windows.
    void Init(WindowHandle mainWnd);

    // Menu commands (WM_COMMAND), hot-keys, the icons' callbacks, the mouse
    // hook's gesture, another copy's command (WM_COPYDATA, whose result is
    // the command line's exit code), WM_CLOSE, the end of the session and the
    // rules' timer (WM_TIMER kRuleTimer); anything else is left to the frame.
    MessageReply ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // A command, as any input gives it.
    Outcome Run(const Command& command, Origin origin) { return m_Runner.Run(command, origin); }

    // The parts.
    CSettings& Settings() { return m_Settings; }
    const CGroupList& Groups() const { return m_Groups; }
    const CTrayNotifyIcon& TrayIcon() const { return m_TrayIcon; }
    CModalGate& Gate() { return m_Gate; }
    CKeyRegistrations& Keys() { return m_Keys; }
    CDialogController& Dialogs() { return m_Dialogs; }
    CHideShowCommands& Commands() { return m_Commands; }
    CTrayController& Tray() { return m_Tray; }
    AutoHideRules& AutoHide() { return m_AutoHide; }
    const CWindowIcons& WindowIcons() const { return m_WindowIcons; }

    // The frame's timer that runs the rules' hides (HideTaken) while any are
    // taken or waited for, every kRuleStepMs.
    static constexpr unsigned kRuleTimer = 1;
    static constexpr unsigned kRuleStepMs = 10;

private:
    void ArmRuleTimer();
    void RunTaken();
    // The mouse hook is set while its option is on, and only then.
    void ApplyGestureOption();
    // Speaks the language the settings and the system choose; true when it
    // is another than before.
    bool ApplyLanguage();

    // Built in this order and torn down in reverse: the rules go first, so
    // no window event reaches parts that are gone; the icons of hidden
    // windows leave the notification area; then the hidden list is dropped
    // (no window is shown), the groups and then the program release their
    // hot-keys, and the tray icon goes last.
    PlatformSet m_Platform;
    WindowHandle m_hFrame;
    CResource m_Strings;
    CModalGate m_Gate;
    CTrayNotifyIcon m_TrayIcon;
    CSettings m_Settings;
    CGroupList m_Groups;
    CKeyRegistrations m_Keys;
    CDialogController m_Dialogs;
    CHideShowCommands m_Commands;
    CWindowIcons m_WindowIcons;
    CTrayController m_Tray;
    CCommandRunner m_Runner;
    AutoHideRules m_AutoHide;
    bool m_bRuleTimer = false;
    // The language spoken; null before the first.
    const LanguageInfo* m_pLanguage = nullptr;
};
