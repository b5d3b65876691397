#pragma once
#include <windows.h>

#include "platform/window_events.h"

// Window events through SetWinEventHook, out of context: the system posts
// each event to this thread's queue, so nothing of ours runs inside another
// program, and a slow answer here never slows the program that raised it.
// One instance per thread may run at a time (the system's callback carries no
// context).
class Win32WindowEvents final : public platform::IWindowEvents {
public:
    Win32WindowEvents() = default;
    ~Win32WindowEvents() override {
        Stop();
        StopMinimize();
    }
    Win32WindowEvents(const Win32WindowEvents&) = delete;
    Win32WindowEvents& operator=(const Win32WindowEvents&) = delete;

    bool Start(platform::WindowEventCallback callback) override;
    void Stop() override;
    bool Running() const override { return m_hShowHide != nullptr; }
    bool StartMinimize(platform::WindowEventCallback callback) override;
    void StopMinimize() override;
    bool MinimizeRunning() const override { return m_hMinimize != nullptr; }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild,
                                 DWORD thread, DWORD time);

    platform::WindowEventCallback m_Callback;
    HWINEVENTHOOK m_hShowHide = nullptr;
    HWINEVENTHOOK m_hNameChange = nullptr;
    platform::WindowEventCallback m_MinimizeCallback;
    HWINEVENTHOOK m_hMinimize = nullptr;
};
