#include "engine/auto_hide_rules.h"

#include <utility>

#include "engine/window_walk.h"

namespace {
// Windows come and go; the memo of their classes is dropped whole when it
// grows past this, rather than tracking every window's end.
constexpr std::size_t kKindMemoBound = 4096;
}  // namespace

AutoHideRules::AutoHideRules(platform::IWindowManager& windows, platform::IWindowEvents& events, HideAction hide)
    : m_Windows(windows),
      m_Events(events),
      m_Hide(std::move(hide)),
      m_OwnProcess(windows.OwnProcessId()) {}

AutoHideRules::~AutoHideRules() {
    if (m_Events.Running()) m_Events.Stop();
}

void AutoHideRules::SetGroups(const CGroupList& groups) {
    m_Rules.clear();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const CWindowsGroup& group = *groups.At(i);
        if (!group.m_bAutoHide || group.m_strSearch.empty()) continue;
        if (group.m_nCompare != GROUP_COMPARE_INCLUDE && group.m_nCompare != GROUP_COMPARE_EQUAL) continue;
        m_Rules.push_back(Rule{group.Id(), group.m_strSearch, group.m_nCompare});
    }
    if (m_Rules.empty()) {
        // Without a rule every event would be work for nothing: the system
        // is told to deliver none.
        if (m_Events.Running()) m_Events.Stop();
        m_ShownByUs.clear();
        m_OwnHides.clear();
        m_Kinds.clear();
        return;
    }
    if (!m_Events.Running())
        m_Events.Start(platform::window_events::kShowHide | platform::window_events::kCaptions,
                       [this](platform::WindowEventKind kind, WindowHandle w) { OnEvent(kind, w); });
}

void AutoHideRules::NoteShownByUs(WindowHandle window) {
    if (!Active()) return;
    const std::uint32_t process = m_Windows.ProcessId(window);
    if (process == 0) return;
    m_ShownByUs[window] = Shown{process};
}

void AutoHideRules::NoteHiddenByUs(WindowHandle window) {
    if (!Active()) return;
    ++m_OwnHides[window];
}

bool AutoHideRules::AllowedClass(WindowHandle window, std::uint32_t processId) {
    if (auto it = m_Kinds.find(window); it != m_Kinds.end() && it->second.processId == processId)
        return it->second.allowed;
    if (m_Kinds.size() >= kKindMemoBound) m_Kinds.clear();
    const bool allowed = !IsSystemWindowClass(m_Windows.GetClassName(window, kClassNameBuffer));
    m_Kinds[window] = Kind{processId, allowed};
    return allowed;
}

void AutoHideRules::OnEvent(platform::WindowEventKind kind, WindowHandle window) {
    ++m_Count.events;
    if (m_Rules.empty() || !window) return;

    if (kind == platform::WindowEventKind::Hidden) {
        // Our own hide's event only settles the count; its program's hide ends
        // the protection of a window we showed, so that its next show is new.
        if (auto own = m_OwnHides.find(window); own != m_OwnHides.end()) {
            if (--own->second <= 0) m_OwnHides.erase(own);
            return;
        }
        m_ShownByUs.erase(window);
        return;
    }

    const std::uint32_t process = m_Windows.ProcessId(window);
    if (process == 0 || process == m_OwnProcess) return;
    if (auto shown = m_ShownByUs.find(window); shown != m_ShownByUs.end()) {
        if (shown->second.processId == process) return;
        m_ShownByUs.erase(shown);  // the handle now names another program's window
    }
    if (!m_Windows.IsWindowVisible(window) || !AllowedClass(window, process)) return;

    ++m_Count.captionsRead;
    const std::string caption = m_Windows.GetWindowText(window, kCaptionBufferSize);
    for (const Rule& rule : m_Rules) {
        if (!CaptionMatches(caption, rule.search, rule.compare)) continue;
        // Asked last: only a matching window costs the desktop manager's answer.
        if (m_Windows.IsCloaked(window)) return;
        if (m_Hide && m_Hide(window, rule.groupId)) ++m_Count.hides;
        return;
    }
}
