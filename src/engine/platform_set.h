#pragma once
#include "engine/dialogs.h"
#include "platform/crypto.h"
#include "platform/menus.h"
#include "platform/minimize_gesture.h"
#include "platform/notify_shell.h"
#include "platform/platform.h"
#include "platform/window_events.h"
#include "platform/window_manager.h"

// Everything the engine reaches the system through. The program builds one
// from the Win32 implementations; tests build one from fakes.
struct PlatformSet {
    platform::IWindowManager& windows;
    platform::IHotKeySystem& hotKeys;
    platform::IProfile& profile;
    platform::IRunKey& runKey;
    platform::IModule& module;
    platform::INotifyShell& notifyShell;
    IDialogs& dialogs;
    platform::IShell& shell;
    platform::IMenus& menus;
    platform::IVolatileStore& hiddenJournal;
    // The window events the rules listen to (shows, hides and captions; and
    // minimizes), and those the icons of hidden windows listen to: each
    // listener sets its own hooks.
    platform::IWindowEvents& windowEvents;
    platform::ICrypto& crypto;
    platform::IWindowEvents& iconEvents;
    platform::IMinimizeGesture& minimizeGesture;
    platform::IWindowEvents& minimizeEvents;
};
