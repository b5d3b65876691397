#include "engine/hider.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "groups/caption_match.h"

bool CHider::IsEligible(WindowHandle w) { return IsEligibleWindow(m_Windows, w, m_Windows.OwnProcessId()); }

WindowHandle CHider::Root(WindowHandle w) { return WindowWalk(m_Windows).Root(w); }

// The topmost top-level window. GetWindow without a reference window answers
// nothing on Windows; then the first sibling of our own frame is the top.
WindowHandle CHider::TopmostWindow() {
    using platform::WindowRelation;
    if (WindowHandle first = m_Windows.GetWindow(WindowHandle{}, WindowRelation::First)) return first;
    if (!m_Frame) return {};
    if (WindowHandle first = m_Windows.GetWindow(m_Frame, WindowRelation::First)) return first;
    WindowHandle top = m_Frame;
    for (WindowHandle prev; (prev = m_Windows.GetWindow(top, WindowRelation::Prev));) top = prev;
    return top;
}

WindowHandle CHider::FirstEligible() {
    for (WindowHandle w = TopmostWindow(); w; w = m_Windows.GetWindow(w, platform::WindowRelation::Next))
        if (IsEligible(w)) return w;
    return {};
}

// Hides one family: the root as principal when it is eligible and not yet
// tried, otherwise the aimed window; then every other member, top to bottom.
// Members were all seen visible by the walk, so they are not asked again.
// Every window is tried at most once per command.
WindowHandle CHider::HideFamily(WindowWalk& walk, const std::vector<WindowHandle>& members, WindowHandle root,
                                WindowHandle aimed, int groupId, Batch& batch, CHiddenList& list) {
    const WindowHandle principal = (walk.IsEligible(root) && !batch.tried.count(root)) ? root : aimed;
    auto hide = [&](WindowHandle v, WindowHandle principalOfRecord) {
        batch.tried.insert(v);
        batch.requested.push_back(v);
        CWndDes record(v, v == aimed, principalOfRecord, groupId);
        record.m_nProcessId = walk.ProcessId(v);
        list.Append(record);
    };
    hide(principal, WindowHandle{});
    for (WindowHandle v : members)
        if (v != principal && !batch.tried.count(v)) hide(v, principal);
    return principal;
}

WindowHandle CHider::HideFamilyOf(WindowHandle w, int groupId, CHiddenList& list) {
    WindowWalk walk(m_Windows);
    const WindowHandle r = walk.Root(w);
    const std::vector<WindowHandle> eligible = walk.CollectEligible(TopmostWindow());
    auto families = walk.GroupByRoot(eligible);
    Batch batch;
    const WindowHandle principal = HideFamily(walk, families.members[r], r, w, groupId, batch, list);
    RequestHides(batch.requested, eligible);
    WaitUntilHidden(std::move(batch.requested));
    return principal;
}

// Asks the windows to hide from the bottom of the z-order up. Hiding the
// active window makes the system activate the next one down; from the top
// down, each hide would hand the activation to the window hidden next, and
// every application would repaint and answer for a window about to go.
// From the bottom up, the active window goes last and the cascade never
// starts. The records keep their own order.
void CHider::RequestHides(std::vector<WindowHandle>& requested, const std::vector<WindowHandle>& zOrder) {
    std::unordered_map<WindowHandle, std::size_t> depth;
    depth.reserve(zOrder.size());
    for (std::size_t i = 0; i < zOrder.size(); ++i) depth.emplace(zOrder[i], i);
    std::stable_sort(requested.begin(), requested.end(),
                     [&](WindowHandle a, WindowHandle b) { return depth[a] > depth[b]; });
    for (WindowHandle w : requested) m_Windows.HideWindow(w);
}

bool CHider::HideAll(CHiddenList& list) {
    auto walk = std::make_unique<WindowWalk>(m_Windows);
    std::vector<WindowHandle> eligible = walk->CollectEligible(TopmostWindow());
    if (eligible.empty()) return false;

    // Windows that appear while we hide are caught by one more look from the
    // top; a window already tried is never tried again, so a window that
    // refuses to disappear cannot make the command start over.
    Batch batch;
    for (int pass = 0; pass < kMaxHidePasses && !eligible.empty(); ++pass) {
        auto families = walk->GroupByRoot(eligible);
        for (WindowHandle r : families.roots) {
            const auto& members = families.members[r];
            const auto aimed = std::find_if(members.begin(), members.end(),
                                            [&](WindowHandle v) { return !batch.tried.count(v); });
            if (aimed != members.end()) HideFamily(*walk, members, r, *aimed, -1, batch, list);
        }
        RequestHides(batch.requested, eligible);
        WaitUntilHidden(std::exchange(batch.requested, {}));
        walk = std::make_unique<WindowWalk>(m_Windows);
        eligible = walk->CollectEligible(TopmostWindow());
        std::erase_if(eligible, [&](WindowHandle w) { return batch.tried.count(w) > 0; });
    }
    return true;
}

// A group hide visits the eligible windows top to bottom, as seen by one walk
// of the z-order, and hides the whole family of each window whose caption
// matches. A window already hidden (or tried) by this command is not visited
// again, so each window costs a bounded number of calls.
bool CHider::HideWhere(const std::function<bool(const std::string&)>& matches, int groupId, CHiddenList& list) {
    WindowWalk walk(m_Windows);
    const std::vector<WindowHandle> eligible = walk.CollectEligible(TopmostWindow());
    auto families = walk.GroupByRoot(eligible);
    Batch batch;
    bool hidden = false;
    for (WindowHandle w : eligible) {
        if (batch.tried.count(w)) continue;
        if (!matches(m_Windows.GetWindowText(w, kCaptionBufferSize))) continue;
        const WindowHandle root = walk.Root(w);
        HideFamily(walk, families.members[root], root, w, groupId, batch, list);
        hidden = true;
    }
    RequestHides(batch.requested, eligible);
    WaitUntilHidden(std::move(batch.requested));
    return hidden;
}

void CHider::Show(const std::vector<WindowHandle>& windows) {
    for (WindowHandle w : windows) m_Windows.ShowWindow(w);
}

// Waits until the windows have disappeared, in short sleeps. Each thread
// carries out its requests in the order they were made, so while the last
// request is pending one question a round is enough; all of them are asked
// again once it has run, and now and then meanwhile, to see the others
// progress. The wait ends once nothing has changed for kWaitQuietMs: an
// application that stopped pumping messages keeps its window, and its
// record, until it wakes.
void CHider::WaitUntilHidden(std::vector<WindowHandle> windows) {
    std::uint64_t lastChange = m_Windows.TickCount();
    for (unsigned round = 0;; ++round) {
        const bool lastPending = windows.size() > 1 && m_Windows.IsWindowVisible(windows.back());
        if (!lastPending || round % kFullCheckRounds == 0) {
            const auto before = windows.size();
            std::erase_if(windows, [&](WindowHandle w) { return !m_Windows.IsWindowVisible(w); });
            if (windows.empty()) return;
            if (windows.size() != before) lastChange = m_Windows.TickCount();
        }
        if (m_Windows.TickCount() - lastChange >= kWaitQuietMs) return;
        m_Windows.Sleep(kWaitStepMs);
    }
}

bool CHider::WaitUntilVisible(WindowHandle w) {
    const std::uint64_t start = m_Windows.TickCount();
    while (!m_Windows.IsWindowVisible(w)) {
        if (!m_Windows.IsWindow(w) || m_Windows.TickCount() - start >= kWaitQuietMs) return false;
        m_Windows.Sleep(kWaitStepMs);
    }
    return true;
}

void CHider::Activate(WindowHandle w) {
    if (!m_Windows.IsWindow(w)) return;
    // A window shown asynchronously may not be visible yet, and activating
    // an invisible window does not bring it to the front.
    WaitUntilVisible(w);
    m_Windows.SetForegroundWindow(w);
    m_Windows.SetActiveWindow(w);
}
