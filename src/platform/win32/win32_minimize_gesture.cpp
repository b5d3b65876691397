#include "platform/win32/win32_minimize_gesture.h"

#include "platform/win32/convert.h"
#include "platform/win32/diagnostics.h"

namespace {
// The instance whose hook runs on this thread.
thread_local Win32MinimizeGesture* t_pHooked = nullptr;
}  // namespace

bool Win32MinimizeGesture::Start(WindowHandle frame, unsigned message) {
    if (Running()) return true;
    m_hFrame = ToHwnd(frame);
    m_Message = message;
    m_OwnProcess = ::GetCurrentProcessId();
    m_bSwallowRelease = false;
    m_Ready.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_Ready) {
        const DWORD error = ::GetLastError();
        diag::Failed("CreateEvent for the mouse hook's thread", error);
        return false;
    }
    m_Thread.reset(::CreateThread(nullptr, 0, &ThreadMain, this, 0, &m_ThreadId));
    if (!m_Thread) {
        const DWORD error = ::GetLastError();
        diag::Failed("CreateThread for the mouse hook", error);
        return false;
    }
    // The thread sets its hook first thing; nothing it does can take long.
    ::WaitForSingleObject(m_Ready.get(), INFINITE);
    if (m_bHooked) return true;
    // Without its hook the thread has ended by itself.
    ::WaitForSingleObject(m_Thread.get(), INFINITE);
    m_Thread.reset();
    m_Ready.reset();
    m_ThreadId = 0;
    return false;
}

void Win32MinimizeGesture::Stop() {
    if (!m_Thread) return;
    // The thread's queue exists before it reports ready, so the quit always
    // arrives; its hook's work is bounded, so the wait is too.
    if (!::PostThreadMessageA(m_ThreadId, WM_QUIT, 0, 0)) {
        const DWORD error = ::GetLastError();
        diag::Failed("PostThreadMessage(WM_QUIT) to the mouse hook's thread", error);
    }
    ::WaitForSingleObject(m_Thread.get(), INFINITE);
    m_Thread.reset();
    m_Ready.reset();
    m_ThreadId = 0;
    m_bHooked = false;
}

DWORD WINAPI Win32MinimizeGesture::ThreadMain(void* param) {
    auto* self = static_cast<Win32MinimizeGesture*>(param);
    MSG msg;
    // Makes the thread's queue, so that the quit can be posted to it.
    ::PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    t_pHooked = self;
    UniqueWindowsHook hook(::SetWindowsHookExA(WH_MOUSE_LL, &HookProc, ::GetModuleHandleA(nullptr), 0));
    if (!hook) {
        const DWORD error = ::GetLastError();
        diag::Failed("SetWindowsHookEx(WH_MOUSE_LL)", error);
    }
    self->m_bHooked = static_cast<bool>(hook);
    ::SetEvent(self->m_Ready.get());
    if (!hook) return 1;
    // The system calls the hook from this loop; nothing else runs here.
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    hook.reset();
    t_pHooked = nullptr;
    return 0;
}

LRESULT CALLBACK Win32MinimizeGesture::HookProc(int code, WPARAM message, LPARAM data) {
    Win32MinimizeGesture* self = t_pHooked;
    if (code == HC_ACTION && self) {
        if (message == WM_RBUTTONDOWN) {
            self->m_bSwallowRelease = false;
            const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
            if (self->OnRightPress(event->pt)) {
                self->m_bSwallowRelease = true;
                return 1;
            }
        } else if (message == WM_RBUTTONUP && self->m_bSwallowRelease) {
            self->m_bSwallowRelease = false;
            return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, message, data);
}

bool Win32MinimizeGesture::OnRightPress(POINT at) {
    const HWND under = ::WindowFromPoint(at);
    if (!under) return false;
    const HWND root = ::GetAncestor(under, GA_ROOT);
    if (!root) return false;
    // Our own windows are never taken, and asking them would wait on our
    // own user-interface thread.
    DWORD process = 0;
    if (!::GetWindowThreadProcessId(root, &process) || process == m_OwnProcess) return false;
    // SMTO_BLOCK: no further mouse event is handed to this thread while it
    // waits, so the release of this very press cannot overtake it.
    DWORD_PTR hit = HTNOWHERE;
    if (!::SendMessageTimeoutA(root, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kHitTestMs, &hit))
        return false;
    if (hit != HTMINBUTTON) return false;
    if (::PostMessageA(m_hFrame, m_Message, reinterpret_cast<WPARAM>(root), 0)) return true;
    // A click that cannot be handed over goes on to its window as usual.
    const DWORD error = ::GetLastError();
    diag::Failed("PostMessage(gesture) of " + diag::Window(root) + " to " + diag::Handle(m_hFrame), error);
    return false;
}
