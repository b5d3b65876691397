#include "platform/win32/win32_window_events.h"

#include <string>
#include <utility>

#include "platform/win32/convert.h"
#include "platform/win32/diagnostics.h"

namespace {
thread_local Win32WindowEvents* t_pRunning = nullptr;

// Not one range from SHOW to NAMECHANGE: it would hold
// EVENT_OBJECT_LOCATIONCHANGE, which every mouse move raises for the cursor.
constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;

HWINEVENTHOOK Hook(DWORD first, DWORD last, WINEVENTPROC proc, const char* events) {
    ::SetLastError(ERROR_SUCCESS);
    HWINEVENTHOOK hook = ::SetWinEventHook(first, last, nullptr, proc, 0, 0, kFlags);
    if (!hook) {
        const DWORD error = ::GetLastError();
        diag::Failed(std::string("SetWinEventHook(") + events + ")", error);
    }
    return hook;
}
}  // namespace

bool Win32WindowEvents::Start(platform::WindowEventCallback callback) {
    m_Callback = std::move(callback);
    if (Running()) return true;
    m_hShowHide = Hook(EVENT_OBJECT_SHOW, EVENT_OBJECT_HIDE, &OnEvent, "EVENT_OBJECT_SHOW..HIDE");
    m_hNameChange = Hook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, &OnEvent, "EVENT_OBJECT_NAMECHANGE");
    if (!m_hShowHide || !m_hNameChange) {
        Stop();
        return false;
    }
    t_pRunning = this;
    return true;
}

void Win32WindowEvents::Stop() {
    if (m_hShowHide) ::UnhookWinEvent(m_hShowHide);
    if (m_hNameChange) ::UnhookWinEvent(m_hNameChange);
    m_hShowHide = m_hNameChange = nullptr;
    if (t_pRunning == this && !m_hMinimize) t_pRunning = nullptr;
    m_Callback = nullptr;
}

bool Win32WindowEvents::StartMinimize(platform::WindowEventCallback callback) {
    m_MinimizeCallback = std::move(callback);
    if (MinimizeRunning()) return true;
    m_hMinimize = Hook(EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZESTART, &OnEvent, "EVENT_SYSTEM_MINIMIZESTART");
    if (!m_hMinimize) {
        m_MinimizeCallback = nullptr;
        return false;
    }
    t_pRunning = this;
    return true;
}

void Win32WindowEvents::StopMinimize() {
    if (m_hMinimize) ::UnhookWinEvent(m_hMinimize);
    m_hMinimize = nullptr;
    if (t_pRunning == this && !m_hShowHide) t_pRunning = nullptr;
    m_MinimizeCallback = nullptr;
}

void CALLBACK Win32WindowEvents::OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD,
                                         DWORD) {
    // The same events name carets, menus, list items and child controls;
    // only a whole window is ours to look at, and nothing else costs a call.
    if (idObject != OBJID_WINDOW || idChild != CHILDID_SELF || !hwnd) return;
    Win32WindowEvents* self = t_pRunning;
    if (!self) return;
    const platform::WindowEventCallback& callback =
        event == EVENT_SYSTEM_MINIMIZESTART ? self->m_MinimizeCallback : self->m_Callback;
    if (!callback) return;
    // A child window's caption is a control's text: only top-level windows.
    if (::GetAncestor(hwnd, GA_PARENT) != ::GetDesktopWindow()) return;
    platform::WindowEventKind kind;
    switch (event) {
        case EVENT_OBJECT_SHOW: kind = platform::WindowEventKind::Shown; break;
        case EVENT_OBJECT_HIDE: kind = platform::WindowEventKind::Hidden; break;
        case EVENT_OBJECT_NAMECHANGE: kind = platform::WindowEventKind::CaptionChanged; break;
        case EVENT_SYSTEM_MINIMIZESTART: kind = platform::WindowEventKind::Minimized; break;
        default: return;
    }
    callback(kind, FromHwnd(hwnd));
}
