#pragma once
#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"
#include "platform/window_events.h"

// Window events through SetWinEventHook, out of context: the system posts
// each event to this thread's queue, so nothing of ours runs inside another
// program, and a slow answer here never slows the program that raised it.
// Each instance is one listener with hooks of its own; several may run on
// one thread (the system's callback names only the hook, which tells them
// apart).
class Win32WindowEvents final : public platform::IWindowEvents {
public:
    Win32WindowEvents() = default;
    ~Win32WindowEvents() override { Stop(); }
    Win32WindowEvents(const Win32WindowEvents&) = delete;
    Win32WindowEvents& operator=(const Win32WindowEvents&) = delete;

    bool Start(unsigned events, platform::WindowEventCallback callback) override;
    void Stop() override;
    bool Running() const override { return !m_Hooks.empty(); }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild,
                                 DWORD thread, DWORD time);
    bool Owns(HWINEVENTHOOK hook) const;

    platform::WindowEventCallback m_Callback;
    std::vector<UniqueWinEventHook> m_Hooks;
};
