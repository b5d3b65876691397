#include "engine/hotkey_dispatch.h"

#include <limits>

#include "groups/windows_group.h"

HotKeyCommand ResolveHotKey(std::uintptr_t id) {
    switch (id) {
        case 0: return {HotKeyAction::HideTopWindow};
        case 1: return {HotKeyAction::ShowLastHidden};
        case 2: return {HotKeyAction::HideAll};
        case 3: return {HotKeyAction::ShowAll};
        case 4: return {HotKeyAction::ToggleWindow};
        default: break;
    }
    // The system's own identifiers (IDHOT_SNAPWINDOW and the like) are
    // negative and fall through to nothing here.
    const auto h = static_cast<std::intptr_t>(id);
    if (h < GROUP_HOTKEY_BASE) return {};
    const std::intptr_t a = h - GROUP_HOTKEY_BASE;
    // A wParam beyond int would otherwise be cut down to the position of some
    // real group.
    if (a / 2 > std::numeric_limits<int>::max()) return {};
    const int group = static_cast<int>(a / 2);
    return {a % 2 == 0 ? HotKeyAction::HideGroup : HotKeyAction::ShowGroup, group};
}
