#pragma once
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/wnd_des.h"
#include "platform/window_manager.h"

// The hide and show commands written the plain way: every step asks the
// window manager afresh, Hide All starts from the top after every family, and
// each family walk climbs every window's owner chain. It is the reference the
// engine's single-pass commands are compared against, in the tests and in the
// benchmarks. Like the engine it never tries a window twice in one command,
// so that a window that will not hide cannot make it loop.
class LiteralEngine {
public:
    LiteralEngine(platform::IWindowManager& windows, WindowHandle mainWnd) : m_wm(windows), m_main(mainWnd) {}

    bool IsEligible(WindowHandle w);
    WindowHandle GetRootWindow(WindowHandle w);
    WindowHandle GetFirstEligible();
    WindowHandle GetNextEligible(WindowHandle w);
    bool HideOne(WindowHandle w);

    WindowHandle HideWithOwned(WindowHandle w, int groupId);
    bool ShowEntry(int index, bool activate);
    int CountPrincipals() const;

    void HideTopWindow();
    void HideAllWindows();
    // A group's hide: every eligible window whose caption matches, with its family.
    bool HideGroup(const std::string& search, int compare, int groupId);
    void ShowAllWindows();

    std::vector<CWndDes> list;

private:
    WindowHandle FirstUntried();
    // A window still visible once its hide was asked, whose thread answers,
    // kept itself on screen: its record goes, and a family that lost its
    // principal is recorded under its first window that went. How many
    // records remain of those the command made.
    std::size_t ForgetRefused(std::size_t from);
    void Record(WindowHandle w, int activate, WindowHandle principal, int groupId);
    platform::IWindowManager& m_wm;
    WindowHandle m_main;
    std::unordered_set<WindowHandle> m_tried;
};
