#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "app/main_frame.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_minimize_gesture.h"
#include "platform/win32/win32_window_events.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32_dialogs.h"

// The application: the single-instance guard, the platform the engine talks
// through, and the hidden main frame.
class CTarnvellApp {
public:
    explicit CTarnvellApp(HINSTANCE instance);
    CTarnvellApp(const CTarnvellApp&) = delete;
    CTarnvellApp& operator=(const CTarnvellApp&) = delete;

    // The command of the program's command line: handed to a running copy,
    // or run by this one once its start-up is complete.
    void SetCommand(const Command& command) { m_Command = command; }
    BOOL InitInstance();
    // The exit code when InitInstance ended the program: a handed-over
    // command's answer, 0 otherwise.
    int HandOverResult() const { return m_nHandOverResult; }
    int Run();
    int ExitInstance();

    static constexpr const char* kMutexName = "TARNVELL_RUNNING";
    static constexpr const char* kCompany = "KESTROW SOFTWARE";

private:
    HINSTANCE m_hInstance;
    SingleInstanceMutex m_Mutex;
    // This thread joined a COM apartment and must leave it at exit.
    bool m_bComInitialized = false;
    Win32WindowManager m_Windows;
    Win32HotKeySystem m_HotKeys;
    Win32Profile m_Profile;
    Win32RunKey m_RunKey;
    Win32Module m_Module;
    Win32NotifyShell m_NotifyShell;
    Win32Dialogs m_Dialogs;
    Win32Shell m_Shell;
    Win32Menus m_Menus;
    Win32VolatileStore m_HiddenJournal{m_Profile};
    Win32WindowEvents m_WindowEvents;
    Win32Crypto m_Crypto;
    Win32WindowEvents m_IconEvents;
    Win32MinimizeGesture m_MinimizeGesture;
    Win32WindowEvents m_MinimizeEvents;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::optional<Command> m_Command;
    int m_nHandOverResult = 0;
};
