#pragma once
#include "engine/auto_hide_rules.h"
#include "platform/window_manager.h"

// phase 2: the engine tells the rules what it shows and hides; until then
// the window manager the engine talks through tells them.
// The window manager the engine is given, telling the auto-hide rules of
// every show and hide the engine asks for, so that a window the user brought
// back is not hidden again by a rule.
class NotingWindowManager final : public platform::IWindowManager {
public:
    explicit NotingWindowManager(platform::IWindowManager& inner) : m_Inner(inner) {}
    void SetRules(AutoHideRules* rules) { m_pRules = rules; }

    WindowHandle GetWindow(WindowHandle r, platform::WindowRelation relation) override {
        return m_Inner.GetWindow(r, relation);
    }
    bool IsWindow(WindowHandle w) override { return m_Inner.IsWindow(w); }
    bool IsWindowVisible(WindowHandle w) override { return m_Inner.IsWindowVisible(w); }
    std::string GetClassName(WindowHandle w, int n) override { return m_Inner.GetClassName(w, n); }
    std::string GetWindowText(WindowHandle w, int n) override { return m_Inner.GetWindowText(w, n); }
    WindowHandle GetParent(WindowHandle w) override { return m_Inner.GetParent(w); }
    std::uint32_t ProcessId(WindowHandle w) override { return m_Inner.ProcessId(w); }
    std::uint32_t OwnProcessId() override { return m_Inner.OwnProcessId(); }
    bool IsCloaked(WindowHandle w) override { return m_Inner.IsCloaked(w); }
    void HideWindow(WindowHandle w) override {
        if (m_pRules) m_pRules->NoteHiddenByUs(w);
        m_Inner.HideWindow(w);
    }
    void ShowWindow(WindowHandle w) override {
        // Noted first: the show's event may arrive before this returns.
        if (m_pRules) m_pRules->NoteShownByUs(w);
        m_Inner.ShowWindow(w);
    }
    bool SetForegroundWindow(WindowHandle w) override { return m_Inner.SetForegroundWindow(w); }
    void SetActiveWindow(WindowHandle w) override { m_Inner.SetActiveWindow(w); }
    void Sleep(unsigned ms) override { m_Inner.Sleep(ms); }
    std::uint64_t TickCount() override { return m_Inner.TickCount(); }

private:
    platform::IWindowManager& m_Inner;
    AutoHideRules* m_pRules = nullptr;
};
