#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/hidden_list.h"
#include "engine/window_walk.h"

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

    bool IsEligible(WindowHandle w);
    WindowHandle Root(WindowHandle w);
    // The topmost eligible window; null when there is none.
    WindowHandle FirstEligible();

    // Hides w's whole family and appends its records; returns the principal.
    WindowHandle HideFamilyOf(WindowHandle w, int groupId, CHiddenList& list);
    // Hides the family of the topmost eligible window, found by the same walk;
    // returns the principal, null when there was no window to hide.
    WindowHandle HideTop(CHiddenList& list);
    // Hides every eligible window, family by family from the top; false when
    // there was none.
    bool HideAll(CHiddenList& list);
    // Hides the family of every eligible window whose caption matches, top
    // to bottom; true when any was hidden.
    bool HideWhere(const std::function<bool(const std::string& caption)>& matches, int groupId, CHiddenList& list);

    // The windows the last hide refused to let go, in the order they were
    // tried; and how many windows it did hide.
    const std::vector<WindowHandle>& Refused() const { return m_Refused; }
    std::size_t Hidden() const { return m_nHidden; }
    // Every hide starts with nothing refused and nothing hidden; so does a
    // command that may end before its hide begins.
    void BeginHide();

    // Asks each window to show, in order, without waiting for any.
    void Show(const std::vector<WindowHandle>& windows);
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

    WindowHandle TopmostWindow();
    WindowHandle HideFamily(WindowWalk& walk, const std::vector<WindowHandle>& members, WindowHandle root,
                            WindowHandle aimed, int groupId, Batch& batch, CHiddenList& list);
    WindowHandle HideFamilyIn(WindowWalk& walk, const std::vector<WindowHandle>& eligible, WindowHandle w,
                              int groupId, CHiddenList& list);
    // Requests the batch's hides and waits for each to be carried out.
    void RequestAndWait(Batch& batch, const std::vector<WindowHandle>& eligible);
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
    // The command's end: refused windows leave the list, and are reported.
    void Settle(const Batch& batch, CHiddenList& list);

    platform::IWindowManager& m_Windows;
    WindowHandle m_Frame;
    RequestObserver m_Observer;
    std::vector<WindowHandle> m_Refused;
    std::size_t m_nHidden = 0;
};
