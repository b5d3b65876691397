#include "engine/app_kernel.h"

// Single-window questions and actions. The commands that handle many windows
// go through WindowWalk instead, which asks each question once per command.

bool CAppKernel::IsEligible(WindowHandle w) { return IsEligibleWindow(m_Platform.windows, w); }

WindowHandle CAppKernel::GetRootWindow(WindowHandle w) { return WindowWalk(m_Platform.windows).Root(w); }

// The topmost top-level window. GetWindow without a reference window answers
// nothing on Windows; then the first sibling of our own frame is the top.
WindowHandle CAppKernel::TopmostWindow() {
    auto& wm = m_Platform.windows;
    using platform::WindowRelation;
    if (WindowHandle first = wm.GetWindow(WindowHandle{}, WindowRelation::First)) return first;
    if (!m_pMainWnd) return {};
    if (WindowHandle first = wm.GetWindow(m_pMainWnd, WindowRelation::First)) return first;
    WindowHandle top = m_pMainWnd;
    for (WindowHandle prev; (prev = wm.GetWindow(top, WindowRelation::Prev));) top = prev;
    return top;
}

WindowHandle CAppKernel::GetFirstEligible() {
    const WindowHandle top = TopmostWindow();
    if (!top) return {};
    return IsEligible(top) ? top : GetNextEligible(top);
}

WindowHandle CAppKernel::GetNextEligible(WindowHandle w) {
    auto& wm = m_Platform.windows;
    for (w = wm.GetWindow(w, platform::WindowRelation::Next); w; w = wm.GetWindow(w, platform::WindowRelation::Next))
        if (IsEligible(w)) return w;
    return {};
}

// Asks the window to hide without waiting for it: a window of another thread
// is hidden asynchronously, so a hung application cannot block us.
bool CAppKernel::RequestHide(WindowHandle w) {
    auto& wm = m_Platform.windows;
    if (!wm.IsWindowVisible(w) || !wm.IsWindow(w)) return false;
    wm.HideWindow(w);
    return true;
}

bool CAppKernel::HideOne(WindowHandle w) {
    if (!RequestHide(w)) return false;
    WaitUntilHidden({w});
    return true;
}

// Waits until every window has disappeared, in short sleeps. The wait ends
// once nothing has changed for kWaitQuietMs: an application that stopped
// pumping messages keeps its window, and its record, until it wakes.
void CAppKernel::WaitUntilHidden(std::vector<WindowHandle> windows) {
    auto& wm = m_Platform.windows;
    std::uint64_t lastChange = wm.TickCount();
    for (;;) {
        const auto before = windows.size();
        std::erase_if(windows, [&](WindowHandle w) { return !wm.IsWindowVisible(w); });
        if (windows.empty()) return;
        const std::uint64_t now = wm.TickCount();
        if (windows.size() != before) lastChange = now;
        if (now - lastChange >= kWaitQuietMs) return;
        wm.Sleep(kWaitStepMs);
    }
}

bool CAppKernel::WaitUntilVisible(WindowHandle w) {
    auto& wm = m_Platform.windows;
    const std::uint64_t start = wm.TickCount();
    while (!wm.IsWindowVisible(w)) {
        if (!wm.IsWindow(w) || wm.TickCount() - start >= kWaitQuietMs) return false;
        wm.Sleep(kWaitStepMs);
    }
    return true;
}

bool CAppKernel::ShowOne(WindowHandle w) {
    m_Platform.windows.ShowWindow(w);
    return true;
}

void CAppKernel::Activate(WindowHandle w) {
    auto& wm = m_Platform.windows;
    if (!wm.IsWindow(w)) return;
    // A window shown asynchronously may not be visible yet, and activating
    // an invisible window does not bring it to the front.
    WaitUntilVisible(w);
    wm.SetForegroundWindow(w);
    wm.SetActiveWindow(w);
}
