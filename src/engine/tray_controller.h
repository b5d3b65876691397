#pragma once
#include <array>
#include <optional>
#include <string>

#include "engine/dialog_controller.h"
#include "engine/hide_show_commands.h"
#include "engine/settings.h"
#include "groups/group_list.h"
#include "platform/menus.h"
#include "platform/text.h"
#include "platform/window_manager.h"
#include "res/resource.h"
#include "tray/resource_loader.h"
#include "tray/tray_input.h"
#include "tray/tray_notify_icon.h"

// The tray icon's side of the engine: what a click on the icon runs, the two
// menus it opens, and the tip.
class CTrayController {
public:
    // Menu positions that have a command: ID_SHOW_HIDDEN_BASE + 0..99.
    static constexpr std::size_t kListedPositions = ID_SHOW_HIDDEN_LAST - ID_SHOW_HIDDEN_BASE + 1;

    CTrayController(CTrayNotifyIcon& icon, platform::IMenus& menus, platform::IWindowManager& windows,
                    platform::IModule& module, CResource& strings, const CSettings& settings, const CGroupList& groups,
                    CHideShowCommands& commands, CDialogController& dialogs);
    CTrayController(const CTrayController&) = delete;
    CTrayController& operator=(const CTrayController&) = delete;

    void SetFrame(WindowHandle frame) { m_hFrame = frame; }

    // WM_TRAYNOTIFY: lParam carries the mouse message in its low word, or
    // the keyboard's: NIN_KEYSELECT (Enter or Space on the icon) is taken as
    // a release of the left button, WM_CONTEXTMENU (the menu key, Shift+F10)
    // opens the main menu. Menus the keyboard opens stand at the icon.
    void OnTrayNotify(std::uintptr_t wParam, std::intptr_t lParam);
    // At start-up: one balloon that names every key that could not be
    // registered, with the command or group it runs; nothing when all are held.
    void ReportFailedKeys();
    // The tip (and, with the option, the icon's hidden state) after the hidden
    // list or the preferences changed.
    void RefreshTray();
    // The window listed under menu item ID_SHOW_HIDDEN_BASE + position when a
    // menu was last built; null for a position no menu offered.
    WindowHandle ListedWindow(int position) const;

    // The menus, as data.
    platform::MenuModel MainMenu();
    platform::MenuModel HiddenWindowItems();

private:
    // at: where a menu opened from the keyboard belongs; nothing: the cursor.
    void RunClickAction(std::optional<platform::ScreenPoint> at = std::nullopt);
    void OpenMainMenu(std::optional<platform::ScreenPoint> at);
    void TrackMenu(const platform::MenuModel& menu, std::optional<platform::ScreenPoint> at = std::nullopt);
    // A menu text with the hot-key's name in the accelerator column.
    std::string MenuItemText(unsigned id, int hotKey);

    CTrayNotifyIcon& m_Icon;
    platform::IMenus& m_Menus;
    platform::IWindowManager& m_Windows;
    CResource& m_Strings;
    const CSettings& m_Settings;
    const CGroupList& m_Groups;
    CHideShowCommands& m_Commands;
    CDialogController& m_Dialogs;
    const text::CodePage m_CodePage;
    WindowHandle m_hFrame;
    CTrayInputFilter m_Input;
    // The window of each item of the last hidden-window list built: an item
    // names its window, not a list position that may name another window by
    // the time the item is chosen.
    std::array<WindowHandle, kListedPositions> m_Listed{};
};
