#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "engine/app_kernel.h"
#include "engine/command.h"

// The program's frame window. It is never shown: it exists to receive menu
// commands, hot-keys and tray callbacks, and it owns the engine from its
// WM_CREATE until it is destroyed.
class CMainFrame {
public:
    explicit CMainFrame(PlatformSet platform) : m_Platform(platform) {}
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Registers the window class and creates the window with resource 128's
    // title and icon; false when the window could not be created.
    bool LoadFrame(HINSTANCE instance);
    BOOL DestroyWindow();
    HWND Handle() const { return m_hWnd; }

    static constexpr const char* kClassName = "TarnvellFrame";
    // Posted to itself once start-up is complete, to run the command of the
    // program's own command line.
    static constexpr UINT kRunStartCommand = WM_APP + 0x20;

    // The command of the program's own command line, run once start-up is
    // complete.
    void SetStartCommand(const Command& command) { m_StartCommand = command; }

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    int OnCreate();
    void RunStartCommand();
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    PlatformSet m_Platform;
    HWND m_hWnd = nullptr;
    std::unique_ptr<CAppKernel> m_pKernel;
    std::optional<Command> m_StartCommand;
};
