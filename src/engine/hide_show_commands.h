#pragma once
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "engine/hidden_list.h"
#include "engine/hider.h"
#include "engine/password_check.h"
#include "engine/settings.h"
#include "groups/group_list.h"
#include "platform/platform.h"

// The hide and show commands: they take windows into the hidden list with
// the hider and give them back. A show asks the password it is handed at the
// moment something would be shown. The journal of the list is written when
// the command runner publishes a change.
class CHideShowCommands {
public:
    CHideShowCommands(platform::IWindowManager& windows, platform::IVolatileStore& journal,
                      const CSettings& settings, const CGroupList& groups);
    CHideShowCommands(const CHideShowCommands&) = delete;
    CHideShowCommands& operator=(const CHideShowCommands&) = delete;

    void SetFrame(WindowHandle frame) { m_Hider.SetFrame(frame); }
    // Told of every window a command is about to ask to show or hide.
    void OnWindowRequest(CHider::RequestObserver observer) { m_Hider.SetObserver(std::move(observer)); }

    void HideTopWindow();
    // Hides w's family as Hide Window hides the topmost one, when w is a
    // window a hide may take and is not listed.
    void HideFamilyOf(WindowHandle w);
    // Shows hidden-list record index (-1 for the last) with its dependents.
    void ShowHidden(int index, PasswordCheck& password);
    // Shows the family of w's record, looked up after any prompt; nothing when
    // w is no longer listed or is gone. True when it was shown.
    bool ShowWindowOf(WindowHandle w, PasswordCheck& password);
    // Shows w's family as ShowWindowOf does, then asks w to close as its own
    // close button would, so that its program can ask about unsaved work.
    void CloseWindowOf(WindowHandle w, PasswordCheck& password);
    void HideAllWindows();
    void ShowAllWindows(PasswordCheck& password);
    void ToggleAllWindows(PasswordCheck& password);
    void ToggleDesignatedWindow(PasswordCheck& password);
    // Group commands, by list position; a position beyond the last group
    // does nothing. HideGroup and ShowGroup say whether anything went.
    bool HideGroup(int index);
    bool ShowGroup(int index, PasswordCheck& password);
    void ToggleGroup(int index, PasswordCheck& password);
    // A group's rule took window as it appeared or as the user minimized it:
    // it waits for the next HideTaken, which hides its family and records it
    // with groupId's tag, as the group's hide would record it.
    void Take(WindowHandle window, std::int32_t groupId, bool minimized);
    // Hides what the rules took and carries on the waits of the earlier ones
    // (CHider::HideTaken); the windows that kept themselves on screen go to
    // the refusal hook as well as the report. While windows keep coming the
    // takes are gathered: they are hidden once none came for kGatherQuietMs,
    // or the first has waited kGatherMaxMs. Every walk of a batch is a
    // question to the window server for each window on the desktop, which
    // the program showing the burst must share.
    void HideTaken();
    static constexpr unsigned kGatherQuietMs = 20;
    static constexpr unsigned kGatherMaxMs = 200;
    // Whether rule hides are taken or still waited for.
    bool TakenPending() const { return !m_Taken.empty() || m_Hider.TakenPending(); }
    void OnRuleRefused(std::function<void(WindowHandle)> hook) { m_RuleRefused = std::move(hook); }
    // Exit: shows every hidden window when the user asked for it, and the
    // show password, when one is set, was given.
    void OnExit(PasswordCheck& showPassword);
    // The end of the session asks nothing: the windows are shown only when
    // that needs no password; otherwise they stay hidden, and the journal
    // hands them to the next start should the session go on after all.
    void OnEndSession();

    // Takes back the windows a previous run left hidden.
    void TakeBackJournal();
    // Writes the hidden list to the journal, or removes the journal when the
    // list is empty; nothing when the journal already holds it.
    void WriteJournal();

    // What the hides since the last call did: the windows that kept
    // themselves on screen (each once, in the order tried) and how many
    // windows went.
    struct HideReport {
        std::vector<WindowHandle> refused;
        std::size_t hidden = 0;
    };
    HideReport TakeHideReport() { return std::exchange(m_Report, {}); }

    const CHiddenList& HiddenList() const { return m_HiddenList; }
    // The windows open now, for the Group dialog's picker.
    std::vector<OpenWindow> OpenWindows() { return m_Hider.OpenWindows(); }
    WindowHandle Designated() const { return m_hDesignated; }
    // Drops the records of windows that no longer exist.
    void DropGoneWindows();
    // Drops w's record, whose window the system reported destroyed (it may
    // still answer as a window for a moment), and those of windows gone.
    void DropDestroyed(WindowHandle w);

private:
    // Shows a record with its dependents; the window to activate is handed
    // back instead of activated when the caller has more to show first.
    bool ShowEntry(int index, bool activate, WindowHandle* toActivate = nullptr);
    void ShowAll();
    // Adds the hider's last hide to the report.
    void NoteHide();

    platform::IWindowManager& m_Windows;
    platform::IVolatileStore& m_Journal;
    const CSettings& m_Settings;
    const CGroupList& m_Groups;
    CHider m_Hider;
    CHiddenList m_HiddenList;
    WindowHandle m_hDesignated;
    // What the journal holds, as last written or read; empty while it holds
    // nothing.
    std::vector<std::uint8_t> m_Written;
    HideReport m_Report;
    std::vector<CHider::Take> m_Taken;
    std::uint64_t m_FirstTake = 0, m_LastTake = 0;
    std::function<void(WindowHandle)> m_RuleRefused;
};
