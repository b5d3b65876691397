#include "engine/message_routing.h"

#include "platform/win_constants.h"
#include "res/resource.h"

namespace {
constexpr Route Handled(EngineAction action, int index = 0) { return Route{action, index, false}; }
}  // namespace

Route RouteMessage(unsigned message, std::uintptr_t wParam) {
    switch (message) {
        case wm::kClose: return Route{EngineAction::Close, 0, true};
        // FALSE: another application refused, the session goes on.
        case wm::kEndSession: return wParam ? Route{EngineAction::EndSession, 0, true} : Route{};
        // Swallowed, so no automatic enabling ever greys a tray-menu item.
        case wm::kInitMenuPopup: return Handled(EngineAction::None);
        case wm::kHotKey: return Handled(EngineAction::HotKey);
        case wm::kTrayNotify: return Handled(EngineAction::TrayNotify);
        case wm::kCopyData: return Handled(EngineAction::RemoteCommand);
        case wm::kCommand: break;
        default: return Route{};
    }

    // The whole wParam is compared: a command with a notification code in its
    // high word (an accelerator, a control) matches nothing. Exit is left to
    // the frame, whose exit command closes it with WM_CLOSE.
    switch (wParam) {
        case ID_HIDE_WINDOW: return Handled(EngineAction::HideTopWindow);
        case ID_SHOW_WINDOW: return Handled(EngineAction::ShowHidden, -1);
        case ID_HIDE_ALL: return Handled(EngineAction::HideAll);
        case ID_SHOW_ALL: return Handled(EngineAction::ShowAll);
        case ID_PREFERENCES: return Handled(EngineAction::Preferences);
        case ID_TOGGLE_WINDOW: return Handled(EngineAction::ToggleWindow);
        case ID_CHECK_UPDATE: return Handled(EngineAction::CheckUpdate);
        case ID_WINDOWS_GROUPS: return Handled(EngineAction::WindowsGroups);
        case ID_APP_ABOUT: return Handled(EngineAction::About);
        case ID_DEFAULT_HELP: return Handled(EngineAction::Help);
        default: break;
    }
    if (wParam >= ID_SHOW_HIDDEN_BASE && wParam <= ID_SHOW_HIDDEN_LAST)
        return Handled(EngineAction::ShowListed, static_cast<int>(wParam - ID_SHOW_HIDDEN_BASE));
    return Route{};
}
