#pragma once
#include <cstdint>

#include "platform/window_handle.h"

// How a hidden window comes back: shown as it was, or, when it was hidden
// because the user minimized it, restored from the taskbar as its button
// would (at its place, or maximized again).
enum class ShowAs : std::uint8_t { Shown, Restored, Maximized };

// The record of one hidden window.
class CWndDes {
public:
    CWndDes() = default;
    CWndDes(WindowHandle window, std::int32_t activate, WindowHandle principal, std::int32_t groupId)
        : m_hWindow(window), m_hPrincipal(principal), m_bActivate(activate), m_nGroupId(groupId) {}
    virtual ~CWndDes() = default;
    CWndDes(const CWndDes&) = default;
    CWndDes& operator=(const CWndDes&) = default;

    bool IsPrincipal() const { return !m_hPrincipal; }

    WindowHandle m_hWindow;
    WindowHandle m_hPrincipal;   // null when this record is the principal
    std::int32_t m_bActivate = 0;  // the window the hide was aimed at
    std::int32_t m_nGroupId = -1;  // the hiding group's m_nID, -1 for other hides
    // The window's process when it was hidden: a handle that names a window
    // of another process after a restart is some other program's window.
    std::uint32_t m_nProcessId = 0;
    ShowAs m_Show = ShowAs::Shown;
};
