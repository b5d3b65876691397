#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "groups/caption_match.h"
#include "groups/group_list.h"
#include "platform/window_events.h"
#include "platform/window_manager.h"

// Groups that hide their windows as they appear: which window event leads to
// which group's hide, kept cheap because some programs retitle their windows
// many times a second.
//
// A window is taken when it is shown, or when its caption changes, and its
// caption then matches a group with the option (the first such group in list
// order). A window this program showed (the user's Show Window, a group's
// show) is left alone while it lives, until its own program hides it and
// shows it again.
class AutoHideRules {
public:
    // Hides window (with its family) for the group of identifier groupId;
    // true when it was hidden.
    using HideAction = std::function<bool(WindowHandle window, std::int32_t groupId)>;

    AutoHideRules(platform::IWindowManager& windows, platform::IWindowEvents& events, HideAction hide);
    ~AutoHideRules();
    AutoHideRules(const AutoHideRules&) = delete;
    AutoHideRules& operator=(const AutoHideRules&) = delete;

    // Takes the groups with the option from the list (after the load and
    // after every change of the list) and sets the hooks only while one has
    // it. A group whose search text is empty, or whose mode matches whatever
    // differs from it, is never taken: it would hide nearly every window.
    void SetGroups(const CGroupList& groups);
    bool Active() const { return !m_Rules.empty(); }

    // The program showed window (Show Window, Show All, a group's show):
    // no rule hides it again while it lives, unless its program hides and
    // shows it anew.
    void NoteShownByUs(WindowHandle window);
    // The program hid window itself (any hide, a rule's among them: the
    // engine notes every window a hide takes): the hide event that follows is
    // ours, not its program's.
    void NoteHiddenByUs(WindowHandle window);

    // One event, as the hooks deliver it.
    void OnEvent(platform::WindowEventKind kind, WindowHandle window);

    // What the rules did, for tests and the bench: events seen, captions
    // read, hides asked.
    struct Counters {
        std::uint64_t events = 0;
        std::uint64_t captionsRead = 0;
        std::uint64_t hides = 0;
    };
    const Counters& Count() const { return m_Count; }

private:
    struct Rule {
        std::int32_t groupId;
        std::string search;
        int compare;
    };
    struct Shown {
        std::uint32_t processId;  // a reused handle belongs to another process
        int ownHidesPending = 0;
    };
    struct Kind {
        std::uint32_t processId;
        bool allowed;
    };
    // The window's class allows a hide; asked once per window and process.
    bool AllowedClass(WindowHandle window, std::uint32_t processId);

    platform::IWindowManager& m_Windows;
    platform::IWindowEvents& m_Events;
    HideAction m_Hide;
    std::uint32_t m_OwnProcess;
    std::vector<Rule> m_Rules;
    std::unordered_map<WindowHandle, Shown> m_ShownByUs;
    std::unordered_map<WindowHandle, int> m_OwnHides;
    std::unordered_map<WindowHandle, Kind> m_Kinds;
    Counters m_Count;
};
