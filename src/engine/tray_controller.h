#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/command_table.h"
#include "engine/hide_show_commands.h"
#include "engine/key_registrations.h"
#include "engine/modal_gate.h"
#include "engine/settings.h"
#include "engine/window_icons.h"
#include "platform/menus.h"
#include "platform/window_manager.h"
#include "res/resource.h"
#include "tray/resource_loader.h"
#include "tray/tray_input.h"
#include "tray/tray_notify_icon.h"

// The tray icon's side of the engine: which command a click or a key on the
// icon asks for, the two menus it opens (each returns the command its chosen
// item names), and the tip; and the same for the icons of hidden windows.
class CTrayController {
public:
    // Menu positions that have a command: ID_SHOW_HIDDEN_BASE + 0..99.
    static constexpr std::size_t kListedPositions = ID_SHOW_HIDDEN_LAST - ID_SHOW_HIDDEN_BASE + 1;

    CTrayController(CTrayNotifyIcon& icon, CWindowIcons& windowIcons, platform::IMenus& menus,
                    platform::IWindowManager& windows, const CResource& strings, const CSettings& settings,
                    CHideShowCommands& commands, CKeyRegistrations& keys, CModalGate& gate);
    CTrayController(const CTrayController&) = delete;
    CTrayController& operator=(const CTrayController&) = delete;

    void SetFrame(WindowHandle frame) { m_hFrame = frame; }

    using Run = std::function<void(const Command&, Origin)>;
    // WM_TRAYNOTIFY: lParam carries the mouse message in its low word, or
    // the keyboard's: NIN_KEYSELECT (Enter or Space on the icon) is taken as
    // a release of the left button, WM_CONTEXTMENU (the menu key, Shift+F10)
    // opens the main menu. The command the icon asks for is handed to run.
    void OnTrayNotify(std::intptr_t lParam, const Run& run);
    // The callback of a hidden window's icon (id: the icon's identifier):
    // the left button or Enter shows that family, the right button or the
    // menu key opens the icon's menu. The buttons are never swapped here.
    void OnWindowIconNotify(std::uintptr_t id, std::intptr_t lParam, const Run& run);

    // The menus' commands: each tracks its menu (from the keyboard at the
    // icon, otherwise at the pointer) and returns the command of the item
    // chosen, if any. A list item names its window while the menu is open.
    std::optional<Command> TrackMainMenu(Origin origin);
    // The list opened by its hot-key has its first item selected.
    std::optional<Command> TrackHiddenList(Origin origin);
    // The menu of a hidden window's icon, at the icon: Show (the default),
    // Close, and Show All Windows. Nothing when w is no longer listed.
    std::optional<Command> TrackWindowMenu(WindowHandle w);

    // At start-up: one balloon that names every key that could not be
    // registered, with the command or group it runs; nothing when all are held.
    void ReportFailedKeys();
    // One balloon for the windows a command could not hide: the first by its
    // caption (and, when its program runs with higher rights, what to do
    // about it), the others by their count.
    void ReportRefused(const std::vector<WindowHandle>& refused);
    // The icons of hidden windows, the tip (and, with the option, the icon's
    // hidden state) after the hidden list or the preferences changed.
    void RefreshTray();

    // The menus, as data. listed receives the window of each list item, by
    // its position.
    platform::MenuModel MainMenu(std::vector<WindowHandle>* listed = nullptr);
    platform::MenuModel HiddenWindowItems(std::vector<WindowHandle>* listed = nullptr);

private:
    std::optional<Command> Track(const platform::MenuModel& menu, const std::vector<WindowHandle>& listed,
                                 Origin origin);
    // Tracks a menu with the frame in front; the identifier chosen, 0 for none.
    unsigned TrackAt(const platform::MenuModel& menu, std::optional<platform::ScreenPoint> at, bool selectFirst);
    // A menu text with the hot-key's name in the accelerator column.
    std::string MenuItemText(const CommandInfo& row) const;

    CTrayNotifyIcon& m_Icon;
    CWindowIcons& m_WindowIcons;
    platform::IMenus& m_Menus;
    platform::IWindowManager& m_Windows;
    const CResource& m_Strings;
    const CSettings& m_Settings;
    CHideShowCommands& m_Commands;
    CKeyRegistrations& m_Keys;
    CModalGate& m_Gate;
    WindowHandle m_hFrame;
    CTrayInputFilter m_Input;
    CTrayInputFilter m_WindowIconInput;
};
