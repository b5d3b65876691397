#pragma once
#include <cstdint>

#include "engine/auto_hide_rules.h"
#include "engine/dialog_controller.h"
#include "engine/hide_show_commands.h"
#include "engine/platform_set.h"
#include "engine/remote_commands.h"
#include "engine/settings.h"
#include "engine/tray_controller.h"
#include "groups/group_list.h"
#include "tray/resource_loader.h"
#include "tray/tray_notify_icon.h"

// The engine: owns its parts, wires them at start-up and routes every
// message of the main frame to the part that serves it. The main frame
// creates it on WM_CREATE and deletes it when its window is destroyed.
class CAppKernel {
public:
    explicit CAppKernel(PlatformSet platform);
    CAppKernel(const CAppKernel&) = delete;
    CAppKernel& operator=(const CAppKernel&) = delete;

    // Start-up: tray icon, settings and hot-keys, groups, the journal's windows.
    void Init(WindowHandle mainWnd);

    // The routing table of the main frame: true when the frame's default
    // processing shall follow, false when the message was handled. result,
    // when given, receives the message's result: 0, but for WM_COPYDATA the
    // handed-over command's answer (a RemoteResult). WM_COPYDATA lets the
    // default processing follow only when the command was /exit and was
    // accepted: the frame then goes, once the answer is sent.
    bool ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                        std::intptr_t* result = nullptr);

    // The parts.
    CSettings& Settings() { return m_Settings; }
    const CGroupList& Groups() const { return m_Groups; }
    const CTrayNotifyIcon& TrayIcon() const { return m_TrayIcon; }
    CDialogController& Dialogs() { return m_Dialogs; }
    CHideShowCommands& Commands() { return m_Commands; }
    CTrayController& Tray() { return m_Tray; }
    CRemoteCommands& Remote() { return m_Remote; }
    AutoHideRules& AutoHide() { return m_AutoHide; }

private:
    // Built in this order and torn down in reverse: the groups release their
    // hot-keys before the program's own, the list is dropped without showing
    // a window, and the tray icon goes last. The rules go first of all: no
    // window event may reach parts that are gone.
    PlatformSet m_Platform;
    CResource m_Strings;
    CTrayNotifyIcon m_TrayIcon;
    CSettings m_Settings;
    CGroupList m_Groups;
    CDialogController m_Dialogs;
    CHideShowCommands m_Commands;
    CTrayController m_Tray;
    CRemoteCommands m_Remote;
    AutoHideRules m_AutoHide;
};
