#pragma once
#include <cstdint>

#include "engine/dialog_controller.h"
#include "engine/hide_show_commands.h"
#include "engine/platform_set.h"
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
    // processing shall follow, false when the message was handled (result 0).
    bool ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // The parts.
    CSettings& Settings() { return m_Settings; }
    const CGroupList& Groups() const { return m_Groups; }
    const CTrayNotifyIcon& TrayIcon() const { return m_TrayIcon; }
    CDialogController& Dialogs() { return m_Dialogs; }
    CHideShowCommands& Commands() { return m_Commands; }
    CTrayController& Tray() { return m_Tray; }

private:
    // Built in this order and torn down in reverse: the groups release their
    // hot-keys before the program's own, the list is dropped without showing
    // a window, and the tray icon goes last.
    PlatformSet m_Platform;
    CResource m_Strings;
    CTrayNotifyIcon m_TrayIcon;
    CSettings m_Settings;
    CGroupList m_Groups;
    CDialogController m_Dialogs;
    CHideShowCommands m_Commands;
    CTrayController m_Tray;
};
