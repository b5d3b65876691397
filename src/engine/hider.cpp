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

std::vector<OpenWindow> CHider::OpenWindows() {
    WindowWalk walk(m_Windows);
    std::vector<OpenWindow> open;
    for (WindowHandle w : walk.CollectEligible(TopmostWindow()))
        open.push_back({m_Windows.GetWindowText(w, kCaptionBufferSize), walk.Image(w), walk.ClassName(w)});
    return open;
}

// Hides one family: the root as principal when it is eligible and not yet
// tried, otherwise the aimed window; then every other member, top to bottom.
// Members were all seen visible by the walk, so they are not asked again.
// Every window is tried at most once per command.
WindowHandle CHider::HideFamily(WindowWalk& walk, const std::vector<WindowHandle>& members, WindowHandle root,
                                WindowHandle aimed, int groupId, Batch& batch, CHiddenList& list, ShowAs aimedShow) {
    const WindowHandle principal = (walk.IsEligible(root) && !batch.tried.count(root)) ? root : aimed;
    auto hide = [&](WindowHandle v, WindowHandle principalOfRecord) {
        if (batch.tried.insert(v).second) batch.order.push_back(v);
        CWndDes record(v, v == aimed, principalOfRecord, groupId);
        record.m_nProcessId = walk.ProcessId(v);
        if (v == aimed) record.m_Show = aimedShow;
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
    if (m_Recorded) m_Recorded();
    RequestHides(batch, eligible);
    std::uint64_t lastChange = m_Windows.TickCount();
    WaitUntilHidden(Undenied(batch), true, lastChange, &batch.stayed);
}

std::vector<CHider::Request> CHider::Undenied(const Batch& batch) {
    std::vector<Request> waited;
    for (const Request& r : batch.requested)
        if (!batch.denied.count(r.window)) waited.push_back(r);
    return waited;
}

std::optional<bool> CHider::KeptOnScreen(const Batch& batch, WindowHandle w, bool* asked) {
    if (batch.denied.count(w)) return true;
    if (!batch.stayed.count(w) || !m_Windows.IsWindowVisible(w)) return false;
    if (asked) {
        if (*asked) return std::nullopt;
        *asked = true;
    }
    return m_Windows.Answers(w);
}

void CHider::Settle(const Batch& batch, CHiddenList& list) {
    std::vector<WindowHandle> refused;
    for (WindowHandle w : batch.order)
        if (*KeptOnScreen(batch, w)) refused.push_back(w);
    Conclude(batch, refused, list);
}

void CHider::Conclude(const Batch& batch, const std::vector<WindowHandle>& refused, CHiddenList& list) {
    list.Forget(std::unordered_set<WindowHandle>(refused.begin(), refused.end()));
    m_Refused.insert(m_Refused.end(), refused.begin(), refused.end());
    m_nHidden += batch.order.size() - refused.size();
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
        // The first pass asked its windows during the walk, before their
        // records existed; they are journalled before any wait.
        if (m_Recorded) m_Recorded();
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
bool CHider::HideWhere(const WindowCriteria& criteria, int groupId, CHiddenList& list) {
    BeginHide();
    WindowWalk walk(m_Windows);
    const std::vector<WindowHandle> eligible = walk.CollectEligible(TopmostWindow());
    auto families = walk.GroupByRoot(eligible);
    Batch batch;
    bool hidden = false;
    for (WindowHandle w : eligible) {
        if (batch.tried.count(w)) continue;
        const WindowFacts facts{[&] { return m_Windows.GetWindowText(w, kCaptionBufferSize); },
                                [&] { return walk.ClassName(w); }, [&] { return walk.Image(w); }};
        if (!Matches(criteria, facts)) continue;
        const WindowHandle root = walk.Root(w);
        HideFamily(walk, families.members[root], root, w, groupId, batch, list);
        hidden = true;
    }
    RequestAndWait(batch, eligible);
    Settle(batch, list);
    return hidden && m_nHidden > 0;
}

void CHider::Show(const std::vector<CWndDes>& records) {
    for (const CWndDes& record : records) {
        const WindowHandle w = record.m_hWindow;
        Release(w);
        if (m_Observer) m_Observer(w, true);
        if (record.m_Show == ShowAs::Shown)
            m_Windows.ShowWindow(w);
        else
            m_Windows.RestoreWindow(w, record.m_Show == ShowAs::Maximized);
    }
}

void CHider::RequestHide(WindowHandle w, Batch& batch) {
    Release(w, &batch);
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
    Waiter waiter(requests, confirmEach, lastChange);
    for (;;) {
        const Waiter::Round round = waiter.Next(m_Windows);
        if (round != Waiter::Round::Pending) {
            lastChange = waiter.LastChange();
            if (round == Waiter::Round::Quiet && stayed) waiter.AddLeftTo(*stayed);
            return;
        }
        m_Windows.Sleep(kWaitStepMs);
    }
}

CHider::Waiter::Waiter(const std::vector<Request>& requests, bool confirmEach, std::uint64_t lastChange)
    : m_confirmEach(confirmEach), m_lastChange(lastChange) {
    std::unordered_map<std::uint32_t, std::size_t> lineOf;
    for (const Request& r : requests) {
        auto [it, added] = lineOf.try_emplace(r.process, m_lines.size());
        if (added) m_lines.push_back(Line{r.process, {}, 0});
        m_lines[it->second].windows.push_back(r.window);
    }
}

CHider::Waiter::Round CHider::Waiter::Next(platform::IWindowManager& windowManager) {
    bool pending = false;
    for (Line& line : m_lines) {
        auto& windows = line.windows;
        if (!windows.empty() && !windowManager.IsWindowVisible(windows.back())) {
            m_lastChange = windowManager.TickCount();
            windows.pop_back();
            // Without confirmEach the caller looks at every window next.
            if (!m_confirmEach) windows.clear();
        }
        // The last one, when still there, is asked again next round.
        std::size_t end = windows.empty() ? 0 : windows.size() - 1;
        if (line.cursor >= end) line.cursor = 0;
        while (line.cursor < end) {
            if (windowManager.IsWindowVisible(windows[line.cursor])) {
                ++line.cursor;
                break;
            }
            m_lastChange = windowManager.TickCount();
            windows.erase(windows.begin() + static_cast<std::ptrdiff_t>(line.cursor));
            --end;
        }
        pending = pending || !windows.empty();
    }
    if (!pending) return Round::Done;
    if (windowManager.TickCount() - m_lastChange >= kWaitQuietMs) return Round::Quiet;
    return Round::Pending;
}

void CHider::Waiter::AddLeftTo(std::unordered_set<WindowHandle>& left) const {
    for (const Line& line : m_lines) left.insert(line.windows.begin(), line.windows.end());
}

bool CHider::Waiter::WaitsOn(std::uint32_t process) const {
    for (const Line& line : m_lines)
        if (line.process == process && !line.windows.empty()) return true;
    return false;
}

void CHider::Waiter::Drop(WindowHandle w) {
    for (Line& line : m_lines) {
        const auto it = std::find(line.windows.begin(), line.windows.end(), w);
        if (it == line.windows.end()) continue;
        if (static_cast<std::size_t>(it - line.windows.begin()) < line.cursor) --line.cursor;
        line.windows.erase(it);
    }
}

// The rules' batches. A burst of windows arrives as a burst of events; each
// event only took its window, and the steps that follow them hide all of
// them with one walk. No step sleeps: the timer brings the next round. A
// step makes a bounded number of questions: a part of a walk, one round of
// each wait, and Answers, the one question that can wait on another program
// (up to its bound), at most once, and not in a step that walked.
void CHider::HideTaken(const std::vector<Take>& takes, CHiddenList& list) {
    BeginHide();
    bool walked = false;
    if (!takes.empty() || m_Walking) {
        if (!m_Walking) {
            if (m_RuleWalk)
                m_RuleWalk->ForgetVisibility();
            else
                m_RuleWalk.emplace(m_Windows);
            m_Walking.emplace(Walking{{}, {TopmostWindow(), {}, {}}});
        }
        m_Walking->takes.insert(m_Walking->takes.end(), takes.begin(), takes.end());
        walked = true;
        auto& eligible = m_Walking->descent.eligible;
        const std::size_t met = eligible.size();
        const bool ended = m_RuleWalk->Descend(m_Walking->descent, kWalkStep);
        // Each window's root is found in the step that met it, so that the
        // batch's families cost no walk up every chain at once.
        for (std::size_t i = met; i < eligible.size(); ++i) m_RuleWalk->Root(eligible[i]);
        if (ended) {
            const Walking walking = std::move(*m_Walking);
            m_Walking.reset();
            HideBatch(walking.takes, walking.descent.eligible, list);
        }
    }
    bool asked = walked;
    for (auto it = m_Open.begin(); it != m_Open.end();) {
        if (Step(**it, list, asked))
            it = m_Open.erase(it);
        else
            ++it;
    }
    if (!TakenPending()) m_RuleWalk.reset();
}

void CHider::HideBatch(const std::vector<Take>& takes, const std::vector<WindowHandle>& eligible,
                       CHiddenList& list) {
    WindowWalk& walk = *m_RuleWalk;
    auto families = walk.GroupByRoot(eligible);
    auto open = std::make_unique<Open>();
    for (const Take& take : takes) {
        const WindowHandle w = take.window;
        // Taken when its event came: by now it may be gone, hidden, owned by
        // a window of ours, or listed by a command.
        if (!w || list.Find(w) != -1 || open->batch.tried.count(w) || !walk.IsEligible(w)) continue;
        ShowAs show = ShowAs::Shown;
        if (take.minimized) {
            switch (m_Windows.RestoreStateOf(w)) {
                case platform::RestoreState::NotMinimized: break;
                case platform::RestoreState::ToNormal: show = ShowAs::Restored; break;
                case platform::RestoreState::ToMaximized: show = ShowAs::Maximized; break;
            }
        }
        const WindowHandle root = walk.Root(w);
        HideFamily(walk, families.members[root], root, w, take.groupId, open->batch, list, show);
    }
    if (open->batch.order.empty()) return;
    if (m_Recorded) m_Recorded();
    RequestHides(open->batch, eligible);
    open->waiter = Waiter(Undenied(open->batch), true, m_Windows.TickCount());
    m_Open.push_back(std::move(open));
}

bool CHider::Step(Open& open, CHiddenList& list, bool& asked) {
    if (!open.waited) {
        const Waiter::Round round = open.waiter.Next(m_Windows);
        if (round == Waiter::Round::Pending) return false;
        if (round == Waiter::Round::Quiet) open.waiter.AddLeftTo(open.batch.stayed);
        open.waited = true;
    }
    // Judged as Settle judges a command's windows, one question of a thread
    // a step at most. A window still on screen whose program has not yet
    // carried out the requests of later batches is judged once it has: a
    // program busy showing a burst answers no question in time, and each
    // would cost the question's whole bound.
    for (; open.judged < open.batch.order.size(); ++open.judged) {
        const WindowHandle w = open.batch.order[open.judged];
        if (open.batch.stayed.count(w) && StillBusy(open, w)) return false;
        const std::optional<bool> kept = KeptOnScreen(open.batch, w, &asked);
        if (!kept) return false;
        if (*kept) open.refused.push_back(w);
    }
    Conclude(open.batch, open.refused, list);
    return true;
}

bool CHider::StillBusy(const Open& open, WindowHandle w) const {
    const auto request = std::find_if(open.batch.requested.begin(), open.batch.requested.end(),
                                      [&](const Request& r) { return r.window == w; });
    if (request == open.batch.requested.end()) return false;
    for (const auto& other : m_Open)
        if (other.get() != &open && !other->waited && other->waiter.WaitsOn(request->process)) return true;
    return false;
}

void CHider::Release(WindowHandle w, const Batch* except) {
    for (auto& open : m_Open) {
        Batch& batch = open->batch;
        if (&batch == except || !batch.tried.erase(w)) continue;
        const auto at = std::find(batch.order.begin(), batch.order.end(), w);
        if (at != batch.order.end()) {
            if (static_cast<std::size_t>(at - batch.order.begin()) < open->judged) --open->judged;
            batch.order.erase(at);
        }
        std::erase_if(batch.requested, [&](const Request& r) { return r.window == w; });
        batch.denied.erase(w);
        batch.stayed.erase(w);
        open->waiter.Drop(w);
        std::erase(open->refused, w);
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
