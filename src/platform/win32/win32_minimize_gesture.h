#pragma once
#include <windows.h>

#include <atomic>

#include "platform/minimize_gesture.h"
#include "platform/win32/handles.h"

// The gesture through a low-level mouse hook (WH_MOUSE_LL) on a thread that
// does nothing else. The system calls the hook for every mouse event of the
// session, and waits for its answer before the event goes on: moves and
// every other event return at once, and only a right button press costs a
// question, to the window under the point, bounded by kHitTestMs. A hung or
// slow window is left alone. The hook's callback carries no context: each
// instance's thread knows its own.
class Win32MinimizeGesture final : public platform::IMinimizeGesture {
public:
    // Longer than any window that answers WM_NCHITTEST at once takes, and
    // far below the system's own limit for a low-level hook.
    static constexpr UINT kHitTestMs = 50;

    Win32MinimizeGesture() = default;
    ~Win32MinimizeGesture() override { Stop(); }
    Win32MinimizeGesture(const Win32MinimizeGesture&) = delete;
    Win32MinimizeGesture& operator=(const Win32MinimizeGesture&) = delete;

    bool Start(WindowHandle frame, unsigned message) override;
    void Stop() override;
    bool Running() const override { return static_cast<bool>(m_Thread); }

private:
    // What the hook does with one right press at a screen point: true when
    // it is on another program's minimize button and its window was posted
    // to the frame.
    bool OnRightPress(POINT at);
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK HookProc(int code, WPARAM message, LPARAM data);

    HWND m_hFrame = nullptr;
    UINT m_Message = 0;
    DWORD m_OwnProcess = 0;
    UniqueKernelHandle m_Thread;
    DWORD m_ThreadId = 0;
    // Set by the thread once its hook is in place (or could not be).
    UniqueKernelHandle m_Ready;
    std::atomic<bool> m_bHooked{false};
    // The press was kept from its window: so is its release. The hook's own
    // thread alone reads and writes it.
    bool m_bSwallowRelease = false;
};
