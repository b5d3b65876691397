#include "engine/auto_hide_rules.h"

#include <utility>

#include "engine/window_walk.h"

namespace {
// Windows come and go; the memo of their classes is dropped whole when it
// grows past this, rather than tracking every window's end.
constexpr std::size_t kKindMemoBound = 4096;
}  // namespace

AutoHideRules::AutoHideRules(platform::IWindowManager& windows, platform::IWindowEvents& events,
                             platform::IWindowEvents& minimizeEvents, HideAction hide)
    : m_Windows(windows),
      m_Events(events),
      m_MinimizeEvents(minimizeEvents),
      m_Hide(std::move(hide)),
      m_OwnProcess(windows.OwnProcessId()) {}

AutoHideRules::~AutoHideRules() {
    if (m_Events.Running()) m_Events.Stop();
    if (m_MinimizeEvents.Running()) m_MinimizeEvents.Stop();
}

void AutoHideRules::SetGroups(const CGroupList& groups) {
    m_Rules.clear();
    m_bCaptionMatters = m_bAppearRule = m_bMinimizeRule = false;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const CWindowsGroup& group = *groups.At(i);
        const WindowCriteria criteria = group.Criteria();
        const bool appear = group.m_bAutoHide && NamesWindows(criteria);
        if (!appear && !group.m_bHideMinimized) continue;
        m_Rules.push_back(Rule{group.Id(), criteria, appear, group.m_bHideMinimized});
        m_bCaptionMatters = m_bCaptionMatters || (appear && AsksCaption(criteria));
        m_bAppearRule = m_bAppearRule || appear;
        m_bMinimizeRule = m_bMinimizeRule || group.m_bHideMinimized;
    }
    // Without a rule for them, every event would be work for nothing: the
    // system is told to deliver none.
    if (HasMinimizeRule()) {
        if (!m_MinimizeEvents.Running())
            m_MinimizeEvents.Start(platform::window_events::kMinimized,
                                   [this](platform::WindowEventKind kind, WindowHandle w) { OnEvent(kind, w); });
    } else if (m_MinimizeEvents.Running()) {
        m_MinimizeEvents.Stop();
    }
    if (!HasAppearRule()) {
        if (m_Events.Running()) m_Events.Stop();
        m_ShownByUs.clear();
        m_OwnHides.clear();
        if (!Active()) {
            m_Kinds.clear();
            m_Images.clear();
        }
        return;
    }
    if (!m_Events.Running())
        m_Events.Start(platform::window_events::kShowHide | platform::window_events::kCaptions,
                       [this](platform::WindowEventKind kind, WindowHandle w) { OnEvent(kind, w); });
}

void AutoHideRules::NoteShownByUs(WindowHandle window) {
    if (!HasAppearRule()) return;
    const std::uint32_t process = m_Windows.ProcessId(window);
    if (process == 0) return;
    m_ShownByUs[window] = Shown{process};
}

void AutoHideRules::NoteHiddenByUs(WindowHandle window) {
    if (!HasAppearRule()) return;
    ++m_OwnHides[window];
}

AutoHideRules::Kind& AutoHideRules::KindOf(WindowHandle window, std::uint32_t processId) {
    if (auto it = m_Kinds.find(window); it != m_Kinds.end() && it->second.processId == processId) return it->second;
    if (m_Kinds.size() >= kKindMemoBound) m_Kinds.clear();
    std::string className = m_Windows.GetClassName(window, kClassNameBuffer);
    const bool allowed = !IsSystemWindowClass(className);
    return m_Kinds[window] = Kind{processId, allowed, std::move(className)};
}

const std::optional<std::string>& AutoHideRules::ImageOf(WindowHandle window, std::uint32_t processId) {
    if (auto it = m_Images.find(processId); it != m_Images.end()) {
        const WindowHandle witness = it->second.witness;
        if (witness == window || m_Windows.ProcessId(witness) == processId) return it->second.path;
        m_Images.erase(it);
    }
    if (m_Images.size() >= kKindMemoBound) m_Images.clear();
    return (m_Images[processId] = Image{window, m_Windows.ProcessImage(processId)}).path;
}

const AutoHideRules::Rule* AutoHideRules::FirstMatch(WindowHandle window, std::uint32_t processId, bool minimize) {
    if (!m_Windows.IsWindowVisible(window)) return nullptr;
    Kind& kind = KindOf(window, processId);
    if (!kind.allowed) return nullptr;
    std::optional<std::string> caption;
    const WindowFacts facts{[&] {
                                if (!caption) {
                                    ++m_Count.captionsRead;
                                    caption = m_Windows.GetWindowText(window, kCaptionBufferSize);
                                }
                                return *caption;
                            },
                            [&] { return kind.className; },
                            [&] { return ImageOf(window, processId); }};
    for (const Rule& rule : m_Rules) {
        if (!(minimize ? rule.onMinimize : rule.onAppear) || !Matches(rule.criteria, facts)) continue;
        // Asked last: only a matching window costs the desktop manager's answer.
        return m_Windows.IsCloaked(window) ? nullptr : &rule;
    }
    return nullptr;
}

void AutoHideRules::OnEvent(platform::WindowEventKind kind, WindowHandle window) {
    ++m_Count.events;
    if (m_Rules.empty() || !window) return;

    if (kind == platform::WindowEventKind::Minimized) {
        const std::uint32_t process = m_Windows.ProcessId(window);
        if (process == 0 || process == m_OwnProcess) return;
        if (const Rule* rule = FirstMatch(window, process, true); rule && m_Hide && m_Hide(window, rule->groupId, true))
            ++m_Count.hides;
        return;
    }
    if (!HasAppearRule()) return;

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
    // A program's or class's rule takes a window as it is shown; what it
    // is never changes with its caption.
    if (kind == platform::WindowEventKind::CaptionChanged && !m_bCaptionMatters) return;

    const std::uint32_t process = m_Windows.ProcessId(window);
    if (process == 0 || process == m_OwnProcess) return;
    if (auto shown = m_ShownByUs.find(window); shown != m_ShownByUs.end()) {
        if (shown->second.processId == process) return;
        m_ShownByUs.erase(shown);  // the handle now names another program's window
    }
    if (const Rule* rule = FirstMatch(window, process, false); rule && m_Hide && m_Hide(window, rule->groupId, false))
        ++m_Count.hides;
}
