#include "engine/hider.h"

#include <algorithm>
#include <utility>

#include "groups/caption_match.h"

bool CHider::IsEligible(WindowHandle w) { return WindowWalk(m_Windows).IsEligible(w); }

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
    WindowWalk walk(m_Windows);
    for (WindowHandle w = TopmostWindow(); w; w = m_Windows.GetWindow(w, platform::WindowRelation::Next))
        if (walk.IsEligible(w)) return w;
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
        if (batch.tried.insert(v).second) batch.order.push_back(v);
        CWndDes record(v, v == aimed, principalOfRecord, groupId);
        record.m_nProcessId = walk.ProcessId(v);
        batch.requested.push_back({v, record.m_nProcessId});
        list.Append(record);
    };
    hide(principal, WindowHandle{});
    for (WindowHandle v : members)
        if (v != principal && !batch.tried.count(v)) hide(v, principal);
    return principal;
}

void CHider::BeginHide() {
    m_Refused.clear();
    m_nHidden = 0;
}

WindowHandle CHider::HideFamilyOf(WindowHandle w, int groupId, CHiddenList& list) {
    BeginHide();
    WindowWalk walk(m_Windows);
    return HideFamilyIn(walk, walk.CollectEligible(TopmostWindow()), w, groupId, list);
}

WindowHandle CHider::HideTop(CHiddenList& list) {
    BeginHide();
    WindowWalk walk(m_Windows);
    const std::vector<WindowHandle> eligible = walk.CollectEligible(TopmostWindow());
    return eligible.empty() ? WindowHandle{} : HideFamilyIn(walk, eligible, eligible.front(), -1, list);
}

WindowHandle CHider::HideFamilyIn(WindowWalk& walk, const std::vector<WindowHandle>& eligible, WindowHandle w,
                                  int groupId, CHiddenList& list) {
    const WindowHandle r = walk.Root(w);
    auto families = walk.GroupByRoot(eligible);
    Batch batch;
    const WindowHandle principal = HideFamily(walk, families.members[r], r, w, groupId, batch, list);
    RequestAndWait(batch, eligible);
    Settle(batch, list);
    if (list.Find(principal) != -1) return principal;
    // The principal's hide was refused: what of its family went is recorded
    // under the first of it that did.
    for (WindowHandle v : batch.order)
        if (const int at = list.Find(v); at != -1 && list[static_cast<std::size_t>(at)].IsPrincipal()) return v;
    return {};
}

void CHider::RequestAndWait(Batch& batch, const std::vector<WindowHandle>& eligible) {
    RequestHides(batch, eligible);
    std::uint64_t lastChange = m_Windows.TickCount();
    std::vector<Request> waited;
    for (const Request& r : batch.requested)
        if (!batch.denied.count(r.window)) waited.push_back(r);
    WaitUntilHidden(waited, true, lastChange, &batch.stayed);
}

void CHider::Settle(const Batch& batch, CHiddenList& list) {
    m_Refused.clear();
    std::unordered_set<WindowHandle> refused;
    for (WindowHandle w : batch.order) {
        const bool stayed = batch.denied.count(w) ||
                            (batch.stayed.count(w) && m_Windows.IsWindowVisible(w) && m_Windows.Answers(w));
        if (!stayed) continue;
        refused.insert(w);
        m_Refused.push_back(w);
    }
    list.Forget(refused);
    m_nHidden = batch.order.size() - refused.size();
}

// Asks the windows to hide from the bottom of the z-order up. Hiding the
// active window makes the system activate the next one down; from the top
// down, each hide would hand the activation to the window hidden next, and
// every application would repaint and answer for a window about to go.
// From the bottom up, the active window goes last and the cascade never
// starts. The records keep their own order.
void CHider::RequestHides(Batch& batch, const std::vector<WindowHandle>& zOrder,
                          const std::unordered_set<WindowHandle>& asked) {
    std::vector<Request>& requested = batch.requested;
    std::unordered_map<WindowHandle, std::size_t> depth;
    depth.reserve(zOrder.size());
    for (std::size_t i = 0; i < zOrder.size(); ++i) depth.emplace(zOrder[i], i);
    std::stable_sort(requested.begin(), requested.end(),
                     [&](const Request& a, const Request& b) { return depth[a.window] > depth[b.window]; });
    for (const Request& r : requested)
        if (!asked.count(r.window)) RequestHide(r.window, batch);
}

bool CHider::HideAll(CHiddenList& list) {
    BeginHide();
    WindowWalk walk(m_Windows);
    // Every eligible window goes, so each is asked to hide the moment the
    // walk meets it, from the bottom up: the applications hide their windows
    // while the walk goes on, and the active window at the top goes last.
    const WindowHandle top = TopmostWindow();
    const WindowHandle bottom = top ? m_Windows.GetWindow(top, platform::WindowRelation::Last) : WindowHandle{};
    std::unordered_set<WindowHandle> asked;
    Batch batch;
    std::vector<WindowHandle> eligible = walk.CollectEligibleUpwards(bottom, [&](WindowHandle w) {
        RequestHide(w, batch);
        asked.insert(w);
    });
    if (eligible.empty()) return false;

    // Windows that appear while we hide are caught by one more look from the
    // top; a window already tried is never tried again, so a window that
    // refuses to disappear cannot make the command start over.
    for (int pass = 0; pass < kMaxHidePasses && !eligible.empty(); ++pass) {
        auto families = walk.GroupByRoot(eligible);
        for (WindowHandle r : families.roots) {
            const auto& members = families.members[r];
            const auto aimed = std::find_if(members.begin(), members.end(),
                                            [&](WindowHandle v) { return !batch.tried.count(v); });
            if (aimed != members.end()) HideFamily(walk, members, r, *aimed, -1, batch, list);
        }
        RequestHides(batch, eligible, asked);
        // The next look down the z-order asks every window whether it is
        // visible anyway, so the wait need not ask each hidden one too: it
        // ends once each process has carried out its last request, and the
        // look finds the windows still to be waited for.
        std::uint64_t lastChange = m_Windows.TickCount();
        WaitUntilHidden(std::exchange(batch.requested, {}), false, lastChange);
        walk.ForgetVisibility();
        eligible = walk.CollectEligible(TopmostWindow());
        std::vector<Request> pending;
        for (WindowHandle w : eligible)
            if (batch.tried.count(w) && !batch.denied.count(w)) pending.push_back({w, walk.ProcessId(w)});
        if (!pending.empty()) WaitUntilHidden(pending, true, lastChange, &batch.stayed);
        std::erase_if(eligible, [&](WindowHandle w) { return batch.tried.count(w) > 0; });
    }
    Settle(batch, list);
    return true;
}

// A group hide visits the eligible windows top to bottom, as seen by one walk
// of the z-order, and hides the whole family of each window whose caption
// matches. A window already hidden (or tried) by this command is not visited
// again, so each window costs a bounded number of calls.
bool CHider::HideWhere(const std::function<bool(const std::string&)>& matches, int groupId, CHiddenList& list) {
    BeginHide();
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
    RequestAndWait(batch, eligible);
    Settle(batch, list);
    return hidden && m_nHidden > 0;
}

void CHider::Show(const std::vector<WindowHandle>& windows) {
    for (WindowHandle w : windows) {
        if (m_Observer) m_Observer(w, true);
        m_Windows.ShowWindow(w);
    }
}

void CHider::RequestHide(WindowHandle w, Batch& batch) {
    if (m_Observer) m_Observer(w, false);
    if (!m_Windows.HideWindow(w)) batch.denied.insert(w);
}

// Waits in short sleeps. A thread carries out its requests in the order they
// were made, so the last request of a process tells when the process is done,
// and the others need not all be asked on every round: besides the last, each
// round asks its way along the line from a cursor, dropping the windows that
// have gone and stopping at the first still there, which is then stepped
// over so that a window that refuses cannot hold the cursor. Each window is
// asked about a few times in all, not once a round. The wait ends once
// nothing has changed for kWaitQuietMs since lastChange: an application that
// stopped pumping messages keeps its window, and its record, until it wakes.
void CHider::WaitUntilHidden(const std::vector<Request>& requests, bool confirmEach, std::uint64_t& lastChange,
                             std::unordered_set<WindowHandle>* stayed) {
    struct Line {
        std::vector<WindowHandle> windows;  // in the order they were asked to hide
        std::size_t cursor = 0;
    };
    std::vector<Line> lines;
    std::unordered_map<std::uint32_t, std::size_t> lineOf;
    for (const Request& r : requests) {
        auto [it, added] = lineOf.try_emplace(r.process, lines.size());
        if (added) lines.emplace_back();
        lines[it->second].windows.push_back(r.window);
    }
    for (;;) {
        bool pending = false;
        for (Line& line : lines) {
            auto& windows = line.windows;
            if (!windows.empty() && !m_Windows.IsWindowVisible(windows.back())) {
                lastChange = m_Windows.TickCount();
                windows.pop_back();
                // Without confirmEach the caller looks at every window next.
                if (!confirmEach) windows.clear();
            }
            // The last one, when still there, is asked again next round.
            std::size_t end = windows.empty() ? 0 : windows.size() - 1;
            if (line.cursor >= end) line.cursor = 0;
            while (line.cursor < end) {
                if (m_Windows.IsWindowVisible(windows[line.cursor])) {
                    ++line.cursor;
                    break;
                }
                lastChange = m_Windows.TickCount();
                windows.erase(windows.begin() + static_cast<std::ptrdiff_t>(line.cursor));
                --end;
            }
            pending = pending || !windows.empty();
        }
        if (!pending) return;
        if (m_Windows.TickCount() - lastChange >= kWaitQuietMs) {
            if (stayed)
                for (const Line& line : lines) stayed->insert(line.windows.begin(), line.windows.end());
            return;
        }
        m_Windows.Sleep(kWaitStepMs);
    }
}

void CHider::Activate(WindowHandle w) {
    if (!m_Windows.IsWindow(w)) return;
    // No wait for w to become visible: the system hands the activation of
    // another thread's window to that thread as a request of its own, behind
    // the show just requested, so the window is shown before it is brought
    // to the front, and we do not wait for the application to get there.
    m_Windows.SetForegroundWindow(w);
    m_Windows.SetActiveWindow(w);
}
