#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/hidden_list.h"
#include "engine/window_walk.h"
#include "groups/window_match.h"

// Hides and shows other applications' windows: the walks of the z-order that
// pick them, and the bounded waits for them. No call here waits on another
// application's thread, and every wait ends within a bound, so a hung
// application costs a command at most kWaitQuietMs.
//
// A hide counts when it happens. A window whose request the system refused
// at once, or that is still visible when the wait ends although its thread
// answers, kept itself on screen: its record is dropped again and the window
// is reported (Refused). A window whose thread does not answer is hung: its
// request is queued and carried out when it wakes, so it stays recorded.
//
// The rules' hides wait differently: their windows arrive by the hundred
// when a program opens many at once, and the thread must answer its
// messages meanwhile. They are hidden in batches (HideTaken), one walk for
// each, and their waits go on in steps of the program's timer, none of
// which sleeps or waits on another program for more than one bounded
// question (Answers).
class CHider {
public:
    // A window that has not changed within kWaitQuietMs of the last change
    // seen is given up.
    static constexpr unsigned kWaitQuietMs = 300;
    static constexpr unsigned kWaitStepMs = 2;
    // Hide All looks again for windows that appeared meanwhile, this often.
    static constexpr int kMaxHidePasses = 8;

    explicit CHider(platform::IWindowManager& windows) : m_Windows(windows) {}
    CHider(const CHider&) = delete;
    CHider& operator=(const CHider&) = delete;

    // Our own frame: the walk starts from its place in the z-order where the
    // system answers no first window without a reference.
    void SetFrame(WindowHandle frame) { m_Frame = frame; }
    // Told of every window this program is about to ask to show (true) or
    // hide (false), before it asks: the system may report the change before
    // the request returns.
    using RequestObserver = std::function<void(WindowHandle w, bool show)>;
    void SetObserver(RequestObserver observer) { m_Observer = std::move(observer); }
    // Told each time a hide has put its records in the list, before it waits
    // for the windows to go: the journal is written then, so that a kill
    // during the wait loses no window that went. A window that stays is
    // visible, and a next run takes no visible window back.
    void SetRecordedObserver(std::function<void()> observer) { m_Recorded = std::move(observer); }

    bool IsEligible(WindowHandle w);
    WindowHandle Root(WindowHandle w);
    // The topmost eligible window; null when there is none.
    WindowHandle FirstEligible();
    // Every window a hide could take now, top to bottom, as a group could
    // name it.
    std::vector<OpenWindow> OpenWindows();

    // Hides w's whole family and appends its records; returns the principal.
    WindowHandle HideFamilyOf(WindowHandle w, int groupId, CHiddenList& list);
    // Hides the family of the topmost eligible window, found by the same walk;
    // returns the principal, null when there was no window to hide.
    WindowHandle HideTop(CHiddenList& list);
    // Hides every eligible window, family by family from the top; false when
    // there was none.
    bool HideAll(CHiddenList& list);
    // Hides the family of every eligible window that matches the criteria,
    // top to bottom; true when any was hidden.
    bool HideWhere(const WindowCriteria& criteria, int groupId, CHiddenList& list);

    // A window a rule took, for the group of identifier groupId; minimized:
    // it was taken as the user minimized it, and comes back restored.
    struct Take {
        WindowHandle window;
        std::int32_t groupId = -1;
        bool minimized = false;
    };
    // One step of the rules' hides: the windows taken since the last batch
    // begin a walk of the z-order, which each step takes kWalkStep windows
    // further; once it has ended their families are recorded and asked to
    // hide. Then the waits of every batch still open go on by one round,
    // and a batch whose wait has ended is settled as a command's hide is,
    // the windows that need a question of their thread asked one at a time.
    // A window that is no longer eligible, or is listed, is not taken.
    void HideTaken(const std::vector<Take>& takes, CHiddenList& list);
    // Whether a batch is being walked, still waits or is being settled.
    bool TakenPending() const { return m_Walking.has_value() || !m_Open.empty(); }
    // The windows a step walks down the z-order: a batch's walk over a
    // desktop of hundreds of windows is spread over several steps.
    static constexpr std::size_t kWalkStep = 64;

    // The windows the last hide refused to let go, in the order they were
    // tried; and how many windows it did hide.
    const std::vector<WindowHandle>& Refused() const { return m_Refused; }
    std::size_t Hidden() const { return m_nHidden; }
    // Every hide starts with nothing refused and nothing hidden; so does a
    // command that may end before its hide begins.
    void BeginHide();

    // Asks each record's window to show (or be restored, for a window hidden
    // as it was minimized), in order, without waiting for any.
    void Show(const std::vector<CWndDes>& records);
    // Brings w to the front. Its show, when one was just requested, is
    // carried out first: the activation is queued behind it.
    void Activate(WindowHandle w);

private:
    // A hide request, with the process that carries it out.
    struct Request {
        WindowHandle window;
        std::uint32_t process = 0;
    };
    // The windows one command has tried to hide, and those still to be
    // waited for.
    struct Batch {
        std::unordered_set<WindowHandle> tried;
        std::vector<Request> requested;
        // Tried windows in the order they were tried, and those the system
        // refused at once or that were still visible when their wait ended.
        std::vector<WindowHandle> order;
        std::unordered_set<WindowHandle> denied;
        std::unordered_set<WindowHandle> stayed;
    };

    // A wait on the windows asked to hide, round by round: a thread carries
    // out its requests in order, so each process's requests form a line
    // whose last one says when the process is done.
    class Waiter {
    public:
        enum class Round { Pending, Done, Quiet };
        Waiter(const std::vector<Request>& requests, bool confirmEach, std::uint64_t lastChange);
        // Asks what the round needs; Done once every request is carried
        // out, Quiet once nothing has changed for kWaitQuietMs.
        Round Next(platform::IWindowManager& windows);
        // Adds the windows still seen visible to left.
        void AddLeftTo(std::unordered_set<WindowHandle>& left) const;
        void Drop(WindowHandle w);
        // Whether a request of this process is still waited for.
        bool WaitsOn(std::uint32_t process) const;
        std::uint64_t LastChange() const { return m_lastChange; }

    private:
        struct Line {
            std::uint32_t process = 0;
            std::vector<WindowHandle> windows;  // in the order they were asked to hide
            std::size_t cursor = 0;
        };
        std::vector<Line> m_lines;
        bool m_confirmEach;
        std::uint64_t m_lastChange;
    };

    // A batch of the rules, open across messages: waiting, then settling.
    struct Open {
        Batch batch;
        Waiter waiter{{}, true, 0};
        bool waited = false;
        // Settling: the next of batch.order to judge, and the refused ones.
        std::size_t judged = 0;
        std::vector<WindowHandle> refused;
    };

    WindowHandle TopmostWindow();
    WindowHandle HideFamily(WindowWalk& walk, const std::vector<WindowHandle>& members, WindowHandle root,
                            WindowHandle aimed, int groupId, Batch& batch, CHiddenList& list,
                            ShowAs aimedShow = ShowAs::Shown);
    WindowHandle HideFamilyIn(WindowWalk& walk, const std::vector<WindowHandle>& eligible, WindowHandle w,
                              int groupId, CHiddenList& list);
    // Requests the batch's hides and waits for each to be carried out.
    void RequestAndWait(Batch& batch, const std::vector<WindowHandle>& eligible);
    // The batch's requests the system did not refuse at once: those to wait for.
    static std::vector<Request> Undenied(const Batch& batch);
    // Asks the windows not yet asked (asked: those the walk asked already).
    void RequestHides(Batch& batch, const std::vector<WindowHandle>& zOrder,
                      const std::unordered_set<WindowHandle>& asked = {});
    // Waits until every request has been carried out, or nothing has changed
    // for kWaitQuietMs since lastChange (which it moves on); the windows seen
    // visible last go to stayed. With confirmEach false, a process counts as
    // done once its last request is carried out; the caller then checks the
    // others itself.
    void WaitUntilHidden(const std::vector<Request>& requests, bool confirmEach, std::uint64_t& lastChange,
                         std::unordered_set<WindowHandle>* stayed = nullptr);
    void RequestHide(WindowHandle w, Batch& batch);
    // Whether w kept itself on screen: the system refused it, or it is
    // still visible after its wait while its thread answers. With asked,
    // the thread (a wait of up to its bound) is asked only while *asked is
    // false, which the question then sets; nothing when it was not asked.
    std::optional<bool> KeptOnScreen(const Batch& batch, WindowHandle w, bool* asked = nullptr);
    // The command's end: refused windows leave the list, and are reported.
    void Settle(const Batch& batch, CHiddenList& list);
    // What a batch's end records, for a command or a rules' batch: the
    // refused windows leave the list and join the reported ones; the others
    // count as hidden.
    void Conclude(const Batch& batch, const std::vector<WindowHandle>& refused, CHiddenList& list);
    // The walked batch's families recorded and asked to hide.
    void HideBatch(const std::vector<Take>& takes, const std::vector<WindowHandle>& eligible, CHiddenList& list);
    // A rules' batch a step further; true once it is settled. asked: a
    // question of a thread was asked in this step (or a walk made), and no
    // other may be.
    bool Step(Open& open, CHiddenList& list, bool& asked);
    // Whether a batch other than open still waits for a request of w's
    // process: its thread is then still working through our requests.
    bool StillBusy(const Open& open, WindowHandle w) const;
    // A window shown, or tried by a later hide, is no longer an open
    // batch's to settle.
    void Release(WindowHandle w, const Batch* except = nullptr);

    platform::IWindowManager& m_Windows;
    WindowHandle m_Frame;
    RequestObserver m_Observer;
    std::function<void()> m_Recorded;
    std::vector<WindowHandle> m_Refused;
    std::size_t m_nHidden = 0;
    // The rules' open batches, oldest first, and the walk they share while
    // any is open: what a window is, and its root, do not change in the
    // seconds a burst lasts, so later batches ask only the z-order and the
    // visibility again.
    std::vector<std::unique_ptr<Open>> m_Open;
    std::optional<WindowWalk> m_RuleWalk;
    // The batch being walked: its takes and how far down the walk is.
    struct Walking {
        std::vector<Take> takes;
        WindowWalk::Descent descent;
    };
    std::optional<Walking> m_Walking;
};
