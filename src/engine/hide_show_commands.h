#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/dialog_controller.h"
#include "engine/hidden_list.h"
#include "engine/hider.h"
#include "engine/settings.h"
#include "groups/group_list.h"
#include "platform/platform.h"
#include "platform/text.h"

// How a command that may ask for the show password ended: Refused when the
// password was asked and not given, Done otherwise (whether or not anything
// was there to show).
enum class CommandOutcome { Done, Refused };

// The hide and show commands: they take windows into the hidden list with
// the hider, give them back, and keep the journal of the list.
class CHideShowCommands {
public:
    CHideShowCommands(platform::IWindowManager& windows, platform::IModule& module,
                      platform::IVolatileStore& journal, const CSettings& settings, const CGroupList& groups,
                      CDialogController& dialogs);
    CHideShowCommands(const CHideShowCommands&) = delete;
    CHideShowCommands& operator=(const CHideShowCommands&) = delete;

    void SetFrame(WindowHandle frame) { m_Hider.SetFrame(frame); }
    // Runs after every command that changed the list, once the journal holds it.
    void OnListChanged(std::function<void()> changed) { m_Changed = std::move(changed); }
    // Told of every window a command is about to ask to show or hide.
    void OnWindowRequest(CHider::RequestObserver observer) { m_Hider.SetObserver(std::move(observer)); }

    void HideTopWindow();
    // Shows hidden-list record index (-1 for the last) with its dependents.
    CommandOutcome ShowHidden(int index);
    // Shows the family of w's record, looked up after any prompt; nothing when
    // w is no longer listed or is gone.
    void ShowWindowOf(WindowHandle w);
    void HideAllWindows();
    CommandOutcome ShowAllWindows();
    void ToggleAllWindows();
    CommandOutcome ToggleDesignatedWindow();
    // Group commands, by list position; a position beyond the last group
    // does nothing. ShowGroup says whether anything was shown, and in
    // outcome whether the password was refused.
    bool HideGroup(int index);
    bool ShowGroup(int index, CommandOutcome* outcome = nullptr);
    CommandOutcome ToggleGroup(int index);
    // A group's rule took window as it appeared: its family is hidden and
    // recorded with groupId's tag, as the group's hide would record it.
    // False when the window is no longer one a hide may take, or is listed.
    bool HideForGroup(WindowHandle window, std::int32_t groupId);
    // Exit: shows every hidden window when the user asked for it.
    void OnExit();
    // The exit as Exit and the close box ask for it: the close password when
    // it is set, then OnExit. False when the password was refused and the
    // program goes on.
    bool ConfirmExit();
    // The end of the session asks nothing: the windows are shown only when
    // that needs no password; otherwise they stay hidden, and the journal
    // hands them to the next start should the session go on after all.
    void OnEndSession();

    // Takes back the windows a previous run left hidden.
    void TakeBackJournal();

    const CHiddenList& HiddenList() const { return m_HiddenList; }
    WindowHandle Designated() const { return m_hDesignated; }
    // Drops the records of windows that no longer exist, and says so when
    // any went.
    void DropGoneWindows();

private:
    bool AskShowPassword();
    // Shows a record with its dependents; the window to activate is handed
    // back instead of activated when the caller has more to show first.
    bool ShowEntry(int index, bool activate, WindowHandle* toActivate = nullptr);
    bool DropGone();
    // After a command changed the hidden list: the journal, then the listeners.
    void ListChanged();
    // Writes the hidden list to the journal, or removes the journal when the
    // list is empty; nothing when the journal already holds it.
    void SyncJournal();

    platform::IWindowManager& m_Windows;
    platform::IVolatileStore& m_Journal;
    const CSettings& m_Settings;
    const CGroupList& m_Groups;
    CDialogController& m_Dialogs;
    const text::CodePage m_CodePage;
    CHider m_Hider;
    CHiddenList m_HiddenList;
    WindowHandle m_hDesignated;
    // What the journal holds, as last written or read; empty while it holds
    // nothing.
    std::vector<std::uint8_t> m_Written;
    std::function<void()> m_Changed;
};
