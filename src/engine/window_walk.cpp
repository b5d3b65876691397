#include "engine/window_walk.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace {

constexpr std::array<std::string_view, 12> kSystemClasses = {
    "Indicator",      "Progman",   "SysListView32", "Shell_TrayWnd",          "BaseBar",  "ReBarWindow32",
    "ToolbarWindow32", "tooltips_class32", "tooltips_class", "SysShadow", "Shell_SecondaryTrayWnd", "WorkerW",
};

// Owner chains are a few windows long; the bound only guards the walk against
// a window manager that reports a cycle.
constexpr int kMaxChain = 4096;

}  // namespace

bool IsSystemWindowClass(std::string_view className) {
    for (auto name : kSystemClasses)
        if (className == name) return true;
    return false;
}

bool WindowWalk::IsEligible(WindowHandle w) {
    if (auto it = m_eligible.find(w); it != m_eligible.end()) return it->second;
    bool eligible = m_windows.IsWindowVisible(w);
    if (eligible) {
        // What a window is does not change while it lives: asked once per
        // command, however often its visibility is asked again.
        auto kind = m_kind.find(w);
        if (kind == m_kind.end()) {
            bool allowed = !IsSystemWindowClass(ClassName(w));
            if (allowed) {
                const std::uint32_t process = m_windows.ProcessId(w);
                m_process.emplace(w, process);
                allowed = process != m_ownProcess && !m_windows.IsCloaked(w);
            }
            kind = m_kind.emplace(w, allowed).first;
        }
        eligible = kind->second;
    }
    m_eligible.emplace(w, eligible);
    return eligible;
}

void WindowWalk::ForgetVisibility() { m_eligible.clear(); }

std::uint32_t WindowWalk::ProcessId(WindowHandle w) {
    if (auto it = m_process.find(w); it != m_process.end()) return it->second;
    const std::uint32_t process = m_windows.ProcessId(w);
    m_process.emplace(w, process);
    return process;
}

const std::string& WindowWalk::ClassName(WindowHandle w) {
    if (auto it = m_class.find(w); it != m_class.end()) return it->second;
    return m_class.emplace(w, m_windows.GetClassName(w, kClassNameBuffer)).first->second;
}

const std::optional<std::string>& WindowWalk::Image(WindowHandle w) {
    const std::uint32_t process = ProcessId(w);
    if (auto it = m_image.find(process); it != m_image.end()) return it->second;
    return m_image.emplace(process, process ? m_windows.ProcessImage(process) : std::nullopt).first->second;
}

WindowHandle WindowWalk::Root(WindowHandle w) {
    if (auto it = m_root.find(w); it != m_root.end()) return it->second;
    std::vector<WindowHandle> chain{w};
    WindowHandle root = w;
    for (int depth = 0; depth < kMaxChain; ++depth) {
        const WindowHandle parent = m_windows.GetParent(root);
        if (!parent) break;
        if (auto it = m_root.find(parent); it != m_root.end()) {
            root = it->second;
            break;
        }
        chain.push_back(parent);
        root = parent;
    }
    for (auto link : chain) m_root.emplace(link, root);
    return root;
}

std::vector<WindowHandle> WindowWalk::CollectEligible(WindowHandle first) {
    Descent descent{first, {}, {}};
    Descend(descent, static_cast<std::size_t>(-1));
    return std::move(descent.eligible);
}

bool WindowWalk::Descend(Descent& descent, std::size_t count) {
    // The z-order may change under the walk; a window met twice would make it
    // go round for ever.
    for (std::size_t n = 0; n < count; ++n) {
        const WindowHandle w = descent.next;
        if (!w || !descent.seen.insert(w).second) {
            descent.next = {};
            return true;
        }
        if (IsEligible(w)) descent.eligible.push_back(w);
        descent.next = m_windows.GetWindow(w, platform::WindowRelation::Next);
    }
    return !descent.next;
}

std::vector<WindowHandle> WindowWalk::CollectEligibleUpwards(WindowHandle last,
                                                             const std::function<void(WindowHandle)>& met) {
    std::vector<WindowHandle> eligible;
    std::unordered_set<WindowHandle> seen;
    for (WindowHandle w = last; w && seen.insert(w).second; w = m_windows.GetWindow(w, platform::WindowRelation::Prev))
        if (IsEligible(w)) {
            eligible.push_back(w);
            met(w);
        }
    std::reverse(eligible.begin(), eligible.end());
    return eligible;
}

WindowWalk::Families WindowWalk::GroupByRoot(const std::vector<WindowHandle>& eligible) {
    Families families;
    for (WindowHandle v : eligible) {
        auto [it, added] = families.members.try_emplace(Root(v));
        if (added) families.roots.push_back(it->first);
        it->second.push_back(v);
    }
    return families;
}
