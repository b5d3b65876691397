#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/platform_set.h"
#include "engine/window_walk.h"
#include "engine/wnd_des.h"
#include "groups/windows_group.h"
#include "hotkeys/hot_keys.h"
#include "tray/tray_notify_icon.h"

// The engine: owns the tray icon, the hidden-window list, the five program
// hot-keys, the window groups and the preferences, and carries out every
// command. The main frame creates it on WM_CREATE and deletes it when its
// window is destroyed; it gives the engine every message first.
class CAppKernel {
public:
    static constexpr int kHotKeyCount = 5;
    // Bounds of the waits for other applications' windows. A window that
    // has not changed within kWaitQuietMs of the last change seen is given up.
    static constexpr unsigned kWaitQuietMs = 300;
    static constexpr unsigned kWaitStepMs = 2;
    // Hide All looks again for windows that appeared meanwhile, this often.
    static constexpr int kMaxHidePasses = 8;

    explicit CAppKernel(PlatformSet platform);
    virtual ~CAppKernel();
    CAppKernel(const CAppKernel&) = delete;
    CAppKernel& operator=(const CAppKernel&) = delete;

    // Writes program hot-key index (0..4) to the profile.
    virtual bool SaveHotKey(int index);
    virtual bool WriteSettingInt(const char* name, int value);
    virtual bool WriteSettingString(const char* name, const std::string& value);

    // Start-up: tray icon, hot-key binding, settings and groups.
    void Init(WindowHandle mainWnd);

    // The routing table of the main frame: true when the frame's default
    // processing shall follow, false when the message was handled (result 0).
    bool ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Settings: load (true) or save (false).
    void ExchangeSettings(bool load);
    void SaveSettings();
    // Enters the program in the Run key when m_bAutorun is set.
    void ApplyAutorun();

    // The start-up load of the group list, up to the first empty slot.
    void LoadGroups();
    // Replaces the group list and its stored slots with copies of groups (the
    // Windows Groups dialog's result): old hot-keys are all released before
    // the first new one is registered. A group with m_nID -1 gets a new one.
    void ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups);

    // Window selection.
    bool IsEligible(WindowHandle w);
    WindowHandle GetRootWindow(WindowHandle w);
    WindowHandle GetFirstEligible();
    WindowHandle GetNextEligible(WindowHandle w);
    bool HideOne(WindowHandle w);
    bool ShowOne(WindowHandle w);
    void Activate(WindowHandle w);

    // The hidden-window list.
    WindowHandle HideWithOwned(WindowHandle w, int groupId);
    bool ShowEntry(int index, bool activate);
    bool ShowByHandle(WindowHandle w, bool activate);
    int FindHidden(WindowHandle w) const;
    int CountPrincipals() const;
    void RefreshTray();

    // Commands.
    void HideTopWindow();
    void ShowHidden(int index);
    void HideAllWindows();
    void ShowAllWindows();
    void ToggleAllWindows();
    void ToggleDesignatedWindow();
    void OnExit();
    void OnTrayNotify(std::uintptr_t wParam, std::intptr_t lParam);
    void RunClickAction();
    void ShowListMenu();
    void ShowMainMenu();
    // A menu text with the hot-key's name in the accelerator column.
    std::string MenuItemText(unsigned id, int hotKey);
    // The string items of the principal records at list positions 0 to 99.
    platform::MenuModel HiddenWindowItems();
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

    bool CheckPassword();

    // Members, in the order they are built and (reversed) torn down.
    WindowHandle m_pMainWnd;  // the main frame, not owned
    CTrayNotifyIcon m_TrayIcon;
    std::vector<CWndDes> m_HiddenList;
    std::uint8_t m_bOptionsDlgOpen = 0;
    std::uint8_t m_bGroupsDlgOpen = 0;
    std::uint8_t m_bAboutDlgOpen = 0;
    WindowHandle m_hDesignated;
    const char* const m_pszSection = "Settings";
    const char* const m_pszProductName = "Tarnvell";
    std::array<CHotKeys, kHotKeyCount> m_HotKeys;
    std::int32_t m_bShowList = 1;
    std::int32_t m_bShowOnClose = 1;
    std::int32_t m_bInvertMouse = 1;
    std::int32_t m_bAutorun = 1;
    std::int32_t m_bHideIcon = 0;
    std::int32_t m_bShowHiddenInTip = 0;
    std::int32_t m_bPassOnClose = 0;
    std::int32_t m_bPassOnOption = 0;
    std::int32_t m_bPassOnShow = 0;
    std::int32_t m_bClick = 0;
    std::uint32_t m_uAction = 1;
    std::string m_Password;
    std::uint32_t m_nVersion = 200;
    std::int32_t m_nNextGroupId = 0;
    std::vector<std::unique_ptr<CWindowsGroup>> m_Groups;

protected:
    PlatformSet m_Platform;


private:
    WindowHandle TopmostWindow();
    bool RequestHide(WindowHandle w);
    void WaitUntilHidden(std::vector<WindowHandle> windows);
    bool WaitUntilVisible(WindowHandle w);
    // The windows one command has tried to hide, and those still to be
    // waited for.
    struct HideBatch {
        std::unordered_set<WindowHandle> tried;
        std::vector<WindowHandle> requested;
    };
    WindowHandle HideFamily(WindowWalk& walk, const std::vector<WindowHandle>& members, WindowHandle root,
                            WindowHandle aimed, int groupId, HideBatch& batch);
    bool ShowEntry(int index, bool activate, WindowHandle* deferActivation);
};
