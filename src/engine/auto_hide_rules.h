#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "groups/caption_match.h"
#include "groups/group_list.h"
#include "groups/window_match.h"
#include "platform/window_events.h"
#include "platform/window_manager.h"

// Groups that hide their windows as they appear, or when the user minimizes
// them: which window event leads to which group's hide, kept cheap because
// some programs retitle their windows many times a second.
//
// A window is taken when it is shown, or when its caption changes, and it
// then matches a group with "as they appear" (the first such group in list
// order). A window this program showed (the user's Show Window, a group's
// show) is left alone while it lives, until its own program hides it and
// shows it again. A window the user minimizes is taken when it matches a
// group with "when minimized": minimizing is the user's own act, so no
// window is left alone then.
//
// What a rule asks of a window is asked only when a criterion needs it: its
// class once per window, its program's executable once per process (while
// a window it was asked for lives), its caption once per event.
class AutoHideRules {
public:
    // Takes window (with its family) for the group of identifier groupId,
    // minimized when the user minimized it; true when it was taken.
    using HideAction = std::function<bool(WindowHandle window, std::int32_t groupId, bool minimized)>;

    // events delivers shows, hides and captions, minimizeEvents the
    // minimizes: each is set only while some rule needs it.
    AutoHideRules(platform::IWindowManager& windows, platform::IWindowEvents& events,
                  platform::IWindowEvents& minimizeEvents, HideAction hide);
    ~AutoHideRules();
    AutoHideRules(const AutoHideRules&) = delete;
    AutoHideRules& operator=(const AutoHideRules&) = delete;

    // Takes the groups with either option from the list (after the load and
    // after every change of the list) and sets each hook only while a group
    // needs it: the show, hide and caption hooks for "as they appear", the
    // minimize hook for "when minimized". "As they appear" is never taken
    // from a group whose criteria would match nearly every window
    // (NamesWindows); "when minimized" is taken with any.
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
        WindowCriteria criteria;
        bool onAppear;
        bool onMinimize;
    };
    struct Shown {
        std::uint32_t processId;  // a reused handle belongs to another process
        int ownHidesPending = 0;
    };
    struct Kind {
        std::uint32_t processId;
        bool allowed;
        std::string className;
    };
    // A process's executable, and the window it was asked for: while that
    // window still belongs to the process, the process lives and its
    // identifier names no other program.
    struct Image {
        WindowHandle witness;
        std::optional<std::string> path;
    };
    const std::optional<std::string>& ImageOf(WindowHandle window, std::uint32_t processId);
    // What the window is: its class, whether that allows a hide, and its
    // program once asked; the class asked once per window and process.
    Kind& KindOf(WindowHandle window, std::uint32_t processId);
    // The first rule of the kind (appear or minimize) that the window
    // matches, asked as the header says; null for none.
    const Rule* FirstMatch(WindowHandle window, std::uint32_t processId, bool minimize);
    bool HasAppearRule() const { return m_bAppearRule; }
    bool HasMinimizeRule() const { return m_bMinimizeRule; }

    platform::IWindowManager& m_Windows;
    platform::IWindowEvents& m_Events;
    platform::IWindowEvents& m_MinimizeEvents;
    HideAction m_Hide;
    std::uint32_t m_OwnProcess;
    std::vector<Rule> m_Rules;
    // Some rule of "as they appear" asks the caption: only then does a
    // caption's change matter.
    bool m_bCaptionMatters = false;
    // Some rule hides as windows appear; some when they are minimized.
    bool m_bAppearRule = false;
    bool m_bMinimizeRule = false;
    std::unordered_map<WindowHandle, Shown> m_ShownByUs;
    std::unordered_map<WindowHandle, int> m_OwnHides;
    std::unordered_map<WindowHandle, Kind> m_Kinds;
    std::unordered_map<std::uint32_t, Image> m_Images;
    Counters m_Count;
};
