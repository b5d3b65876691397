#include "literal_engine.h"

#include <algorithm>
#include <string>

#include "groups/caption_match.h"

namespace {
const char* const kSystemClasses[] = {"Indicator",       "Progman",          "SysListView32",  "Shell_TrayWnd",
                                      "BaseBar",         "ReBarWindow32",    "ToolbarWindow32", "tooltips_class32",
                                      "tooltips_class",  "SysShadow",        "Shell_SecondaryTrayWnd", "WorkerW"};
}  // namespace

bool LiteralEngine::IsEligible(WindowHandle w) {
    if (!m_wm.IsWindowVisible(w)) return false;
    const std::string name = m_wm.GetClassName(w, 63);
    for (const char* system : kSystemClasses)
        if (name == system) return false;
    if (m_wm.ProcessId(w) == m_wm.OwnProcessId()) return false;
    return !m_wm.IsCloaked(w);
}

WindowHandle LiteralEngine::GetRootWindow(WindowHandle w) {
    while (WindowHandle parent = m_wm.GetParent(w)) w = parent;
    return w;
}

WindowHandle LiteralEngine::GetFirstEligible() {
    WindowHandle w = m_wm.GetWindow(WindowHandle{}, platform::WindowRelation::First);
    if (!w) {
        w = m_main;
        while (WindowHandle prev = m_wm.GetWindow(w, platform::WindowRelation::Prev)) w = prev;
    }
    if (!w) return {};
    return IsEligible(w) ? w : GetNextEligible(w);
}

WindowHandle LiteralEngine::GetNextEligible(WindowHandle w) {
    do {
        w = m_wm.GetWindow(w, platform::WindowRelation::Next);
    } while (w && !IsEligible(w));
    return w;
}

bool LiteralEngine::HideOne(WindowHandle w) {
    m_tried.insert(w);
    if (!m_wm.IsWindowVisible(w) || !m_wm.IsWindow(w)) return false;
    m_wm.HideWindow(w);
    // Re-tested without a pause, as plainly as it gets; bounded by a count.
    for (int i = 0; i < 1000 && IsEligible(w); ++i) {
    }
    return true;
}

// A window keeps one record: hidden again, its old record goes.
void LiteralEngine::Record(WindowHandle w, int activate, WindowHandle principal, int groupId) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].m_hWindow == w) {
            list.erase(list.begin() + static_cast<long>(i));
            break;
        }
    list.emplace_back(w, activate, principal, groupId);
}

WindowHandle LiteralEngine::HideWithOwned(WindowHandle w, int groupId) {
    const WindowHandle r = GetRootWindow(w);
    WindowHandle principal;
    if (IsEligible(r) && !m_tried.count(r)) {
        HideOne(r);
        Record(r, r == w, WindowHandle{}, groupId);
        principal = r;
    } else {
        HideOne(w);
        Record(w, 1, WindowHandle{}, groupId);
        principal = w;
    }
    for (WindowHandle v = GetFirstEligible(); v;) {
        const WindowHandle next = GetNextEligible(v);
        if (!m_tried.count(v) && GetRootWindow(v) == r) {
            HideOne(v);
            Record(v, v == w, principal, groupId);
        }
        v = next;
    }
    return principal;
}

WindowHandle LiteralEngine::FirstUntried() {
    WindowHandle w = GetFirstEligible();
    while (w && m_tried.count(w)) w = GetNextEligible(w);
    return w;
}

std::size_t LiteralEngine::ForgetRefused(std::size_t from) {
    std::vector<CWndDes> kept(list.begin(), list.begin() + static_cast<long>(from));
    std::vector<WindowHandle> gone;
    for (std::size_t i = from; i < list.size(); ++i) {
        const WindowHandle w = list[i].m_hWindow;
        if (m_wm.IsWindowVisible(w) && m_wm.Answers(w)) {
            if (list[i].IsPrincipal()) gone.push_back(w);
            continue;
        }
        kept.push_back(list[i]);
    }
    for (WindowHandle principal : gone) {
        WindowHandle heir;
        for (std::size_t i = from; i < kept.size(); ++i) {
            if (kept[i].m_hPrincipal != principal) continue;
            if (!heir) {
                heir = kept[i].m_hWindow;
                kept[i].m_hPrincipal = WindowHandle{};
            } else {
                kept[i].m_hPrincipal = heir;
            }
        }
    }
    list = std::move(kept);
    return list.size() - from;
}

void LiteralEngine::HideTopWindow() {
    m_tried.clear();
    const std::size_t from = list.size();
    if (WindowHandle w = GetFirstEligible()) HideWithOwned(w, -1);
    ForgetRefused(from);
    if (WindowHandle top = GetFirstEligible(); top && m_wm.IsWindow(top)) {
        m_wm.SetForegroundWindow(top);
        m_wm.SetActiveWindow(top);
    }
}

void LiteralEngine::HideAllWindows() {
    m_tried.clear();
    const std::size_t from = list.size();
    for (WindowHandle w = FirstUntried(); w; w = FirstUntried()) HideWithOwned(w, -1);
    ForgetRefused(from);
}

bool LiteralEngine::ShowEntry(int index, bool activate) {
    if (list.empty()) return false;
    if (index == -1) index = static_cast<int>(list.size()) - 1;
    if (index < 0 || index >= static_cast<int>(list.size())) return false;
    const WindowHandle target = list[static_cast<std::size_t>(index)].m_hWindow;
    bool shown = false;
    int remembered = -1;
    std::vector<CWndDes> kept;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (static_cast<int>(i) == index || list[i].m_hPrincipal == target) {
            m_wm.ShowWindow(list[i].m_hWindow);
            shown = true;
            if (list[i].m_bActivate) remembered = static_cast<int>(i);
        } else {
            kept.push_back(list[i]);
        }
    }
    if (remembered != -1 && activate) {
        const WindowHandle w = list[static_cast<std::size_t>(remembered)].m_hWindow;
        if (m_wm.IsWindow(w)) {
            m_wm.SetForegroundWindow(w);
            m_wm.SetActiveWindow(w);
        }
    }
    list = std::move(kept);
    return shown;
}

int LiteralEngine::CountPrincipals() const {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [](const CWndDes& r) { return r.IsPrincipal(); }));
}

void LiteralEngine::ShowAllWindows() {
    while (ShowEntry(-1, CountPrincipals() == 1)) {
    }
}

bool LiteralEngine::HideGroup(const std::string& search, int compare, int groupId) {
    m_tried.clear();
    const std::size_t from = list.size();
    bool hidden = false;
    for (WindowHandle w = GetFirstEligible(); w; w = GetNextEligible(w)) {
        if (m_tried.count(w)) continue;
        if (!CaptionMatches(m_wm.GetWindowText(w, 1024), search, compare)) continue;
        HideWithOwned(w, groupId);
        hidden = true;
    }
    return ForgetRefused(from) > 0 && hidden;
}
