#pragma once
#include <cstdint>

// What a WM_HOTKEY identifier asks of the engine: 0 to 4 the five program
// hot-keys, 25 + 2i and 26 + 2i the hide and show keys of group i.
enum class HotKeyAction {
    None,
    HideTopWindow,
    ShowLastHidden,
    HideAll,
    ShowAll,
    ToggleWindow,
    HideGroup,
    ShowGroup,
};

struct HotKeyCommand {
    HotKeyAction action = HotKeyAction::None;
    int group = 0;

    friend bool operator==(const HotKeyCommand&, const HotKeyCommand&) = default;
};

HotKeyCommand ResolveHotKey(std::uintptr_t id);
