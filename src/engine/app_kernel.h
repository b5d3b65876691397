#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/hidden_list.h"
#include "engine/hider.h"
#include "engine/platform_set.h"
#include "engine/preferences.h"
#include "groups/group_list.h"
#include "hotkeys/hot_keys.h"
#include "tray/resource_loader.h"
#include "tray/tray_notify_icon.h"

// The engine: owns the tray icon, the hidden-window list, the five program
// hot-keys, the window groups and the preferences, and carries out every
// command. The main frame creates it on WM_CREATE and deletes it when its
// window is destroyed; it gives the engine every message first.
class CAppKernel {
public:
    static constexpr int kHotKeyCount = 5;
    // The program version times 100: 2.0.
    static constexpr std::uint32_t kVersion = 200;
    static constexpr const char* kProductName = "Tarnvell";

    explicit CAppKernel(PlatformSet platform);
    ~CAppKernel();
    CAppKernel(const CAppKernel&) = delete;
    CAppKernel& operator=(const CAppKernel&) = delete;

    // Start-up: tray icon, hot-key binding, settings and groups.
    void Init(WindowHandle mainWnd);

    // The routing table of the main frame: true when the frame's default
    // processing shall follow, false when the message was handled (result 0).
    bool ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Commands.
    void HideTopWindow();
    // Shows hidden-list record index (-1 for the last) with its dependents.
    void ShowHidden(int index);
    void HideAllWindows();
    void ShowAllWindows();
    void ToggleAllWindows();
    void ToggleDesignatedWindow();
    void OnExit();
    void OnTrayNotify(std::uintptr_t wParam, std::intptr_t lParam);
    void OnHotKey(std::uintptr_t id);
    // Group commands, by list position; a position beyond the last group
    // does nothing.
    bool HideGroup(int index);
    bool ShowGroup(int index);
    void ToggleGroup(int index);
    void OnPreferences();
    void OnWindowsGroups();
    void OnCheckUpdate();
    void OnAppAbout();
    void OnHelp();

    // What OK in the Preferences dialog applies: the five hot-keys (index =
    // hot-key identifier) registered anew, the preferences, the Run value
    // when autorun changed, the tray, and the save.
    void ApplyPreferences(const Preferences& prefs, const std::array<KeyCombination, kHotKeyCount>& keys);
    // Replaces the group list and its stored slots with copies of groups:
    // what OK in the Windows Groups dialog applies.
    void ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups);
    // Writes the preferences and the five hot-keys.
    void SaveSettings();

    // The menus the tray offers, as data.
    platform::MenuModel MainMenu();
    platform::MenuModel HiddenWindowItems();

    // What the engine holds, for the dialogs to copy and for tests to read.
    const Preferences& Prefs() const { return m_Prefs; }
    const CHiddenList& HiddenList() const { return m_HiddenList; }
    const CGroupList& Groups() const { return m_Groups; }
    const CHotKeys& HotKey(int index) const { return m_HotKeys[static_cast<std::size_t>(index)]; }
    const CTrayNotifyIcon& TrayIcon() const { return m_TrayIcon; }
    WindowHandle Designated() const { return m_hDesignated; }
    // A dialog, prompt or menu of ours is running its own message loop: the
    // engine must outlive it, so the program does not end meanwhile.
    bool InModalLoop() const { return m_nModalDepth > 0; }

private:
    friend class ModalRun;
    void LoadSettings();
    void ApplyAutorun();
    bool CheckPassword();
    // Shows a record with its dependents; the window to activate is handed
    // back instead of activated when the caller has more to show first.
    bool ShowEntry(int index, bool activate, WindowHandle* toActivate = nullptr);
    void RefreshTray();
    // After a command changed the hidden list: the tray, then the journal.
    void ListChanged();
    // Writes the hidden list to the journal, or removes the journal when the
    // list is empty; nothing when the journal already holds it.
    void SyncJournal();
    // Takes back the windows a previous run left hidden.
    void TakeBackJournal();
    // Drops the records of windows that no longer exist; true when any went.
    bool DropGoneWindows();
    void RunClickAction();
    void TrackMenu(const platform::MenuModel& menu);
    // A menu text with the hot-key's name in the accelerator column.
    std::string MenuItemText(unsigned id, int hotKey);

    // Members in the order they are built; torn down in reverse, after the
    // groups (see the destructor).
    PlatformSet m_Platform;
    CResource m_Strings;
    WindowHandle m_hMainWnd;
    CTrayNotifyIcon m_TrayIcon;
    CHiddenList m_HiddenList;
    CHider m_Hider;
    // A dialog that is open is not opened again: the modal loops of dialogs
    // and prompts still carry out tray and hot-key commands.
    bool m_bOptionsDlgOpen = false;
    bool m_bGroupsDlgOpen = false;
    bool m_bAboutDlgOpen = false;
    int m_nModalDepth = 0;
    WindowHandle m_hDesignated;
    std::array<CHotKeys, kHotKeyCount> m_HotKeys;
    Preferences m_Prefs;
    CGroupList m_Groups;
    // What the journal holds, as last written or read; empty while it holds
    // nothing.
    std::vector<std::uint8_t> m_Journal;
};
