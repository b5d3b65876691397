#include "platform/win32/win32_window_events.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "platform/win32/convert.h"
#include "platform/win32/diagnostics.h"

namespace {
// The listeners running on this thread: the hooks deliver their events here.
thread_local std::vector<Win32WindowEvents*> t_Running;

constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;

// The kinds in the order of their event numbers (EVENT_SYSTEM_MINIMIZESTART
// is a system event, below them all). DESTROY, SHOW and HIDE are
// neighbours, so kinds asked for together there are one hook. NAMECHANGE is
// not joined to them: the range between holds EVENT_OBJECT_LOCATIONCHANGE,
// which every mouse move raises for the cursor.
struct EventOfKind {
    unsigned bit;
    DWORD event;
    const char* name;
};
constexpr EventOfKind kEvents[] = {
    {platform::window_events::kMinimized, EVENT_SYSTEM_MINIMIZESTART, "EVENT_SYSTEM_MINIMIZESTART"},
    {platform::window_events::kDestroyed, EVENT_OBJECT_DESTROY, "EVENT_OBJECT_DESTROY"},
    {platform::window_events::kShown, EVENT_OBJECT_SHOW, "EVENT_OBJECT_SHOW"},
    {platform::window_events::kHidden, EVENT_OBJECT_HIDE, "EVENT_OBJECT_HIDE"},
    {platform::window_events::kCaptions, EVENT_OBJECT_NAMECHANGE, "EVENT_OBJECT_NAMECHANGE"},
};

UniqueWinEventHook Hook(const EventOfKind& first, const EventOfKind& last, WINEVENTPROC proc) {
    ::SetLastError(ERROR_SUCCESS);
    UniqueWinEventHook hook(::SetWinEventHook(first.event, last.event, nullptr, proc, 0, 0, kFlags));
    if (!hook) {
        const DWORD error = ::GetLastError();
        std::string events = first.name;
        if (&first != &last) events += std::string("..") + last.name;
        diag::Failed("SetWinEventHook(" + events + ")", error);
    }
    return hook;
}
}  // namespace

bool Win32WindowEvents::Start(unsigned events, platform::WindowEventCallback callback) {
    m_Callback = std::move(callback);
    if (Running()) return true;
    const std::size_t n = std::size(kEvents);
    for (std::size_t i = 0; i < n;) {
        if (!(events & kEvents[i].bit)) {
            ++i;
            continue;
        }
        std::size_t last = i;
        while (last + 1 < n && (events & kEvents[last + 1].bit) && kEvents[last + 1].event == kEvents[last].event + 1)
            ++last;
        UniqueWinEventHook hook = Hook(kEvents[i], kEvents[last], &OnEvent);
        if (!hook) {
            Stop();
            return false;
        }
        m_Hooks.push_back(std::move(hook));
        i = last + 1;
    }
    if (m_Hooks.empty()) return false;
    t_Running.push_back(this);
    return true;
}

void Win32WindowEvents::Stop() {
    m_Hooks.clear();
    std::erase(t_Running, this);
    m_Callback = nullptr;
}

bool Win32WindowEvents::Owns(HWINEVENTHOOK hook) const {
    return std::any_of(m_Hooks.begin(), m_Hooks.end(), [hook](const UniqueWinEventHook& h) { return h.get() == hook; });
}

void CALLBACK Win32WindowEvents::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild,
                                         DWORD, DWORD) {
    // The same events name carets, menus, list items and child controls;
    // only a whole window is ours to look at, and nothing else costs a call.
    if (idObject != OBJID_WINDOW || idChild != CHILDID_SELF || !hwnd) return;
    const auto self = std::find_if(t_Running.begin(), t_Running.end(),
                                   [hook](const Win32WindowEvents* listener) { return listener->Owns(hook); });
    if (self == t_Running.end() || !(*self)->m_Callback) return;
    platform::WindowEventKind kind;
    switch (event) {
        case EVENT_OBJECT_SHOW: kind = platform::WindowEventKind::Shown; break;
        case EVENT_OBJECT_HIDE: kind = platform::WindowEventKind::Hidden; break;
        case EVENT_OBJECT_NAMECHANGE: kind = platform::WindowEventKind::CaptionChanged; break;
        case EVENT_OBJECT_DESTROY: kind = platform::WindowEventKind::Destroyed; break;
        case EVENT_SYSTEM_MINIMIZESTART: kind = platform::WindowEventKind::Minimized; break;
        default: return;
    }
    // A child window's caption is a control's text: only top-level windows.
    // A destroyed window may be gone by the time its event is delivered and
    // have no parent left to ask about; its listener looks only at windows
    // it knows.
    if (kind != platform::WindowEventKind::Destroyed && ::GetAncestor(hwnd, GA_PARENT) != ::GetDesktopWindow())
        return;
    // A copy: the listener may stop itself in its callback, which drops the
    // callback it runs in.
    const platform::WindowEventCallback callback = (*self)->m_Callback;
    callback(kind, FromHwnd(hwnd));
}
