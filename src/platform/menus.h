#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/window_handle.h"

namespace platform {

// A popup menu described as data: the core decides what it holds, the
// platform builds, tracks and destroys the real menu.
struct MenuItem {
    enum class Kind { String, Separator, Popup };
    Kind kind = Kind::String;
    unsigned id = 0;
    std::string text;
    std::vector<MenuItem> submenu;  // Popup only
    // Shown in bold: what a click on the thing the menu belongs to does.
    bool isDefault = false;

    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};
using MenuModel = std::vector<MenuItem>;

class IMenus {
public:
    virtual ~IMenus() = default;
    // Tracks the menu at the given screen position, or at the cursor when
    // there is none, aligned as the system's menus drop, either button
    // choosing; owner is its owner. Returns when it closes: the identifier of
    // the item chosen, 0 when none was. Nothing reaches the owner as
    // WM_COMMAND. With selectFirst the first item is selected as the menu
    // opens, so that the arrow keys and Enter work at once.
    virtual unsigned TrackPopupMenu(const MenuModel& menu, WindowHandle owner,
                                    std::optional<ScreenPoint> at = std::nullopt, bool selectFirst = false) = 0;
    // Posts WM_NULL to owner, so that the menu closes properly when the user
    // clicks elsewhere.
    virtual void PostNull(WindowHandle owner) = 0;
};

}  // namespace platform
