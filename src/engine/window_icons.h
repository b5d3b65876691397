#pragma once
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>

#include "engine/hidden_list.h"
#include "engine/settings.h"
#include "platform/notify_shell.h"
#include "platform/window_events.h"
#include "platform/window_manager.h"
#include "tray/resource_loader.h"
#include "tray/tray_notify_icon.h"

// With the option "An icon for each hidden window": a notification-area icon
// of its own for every hidden family, beside Tarnvell's, showing a copy of
// the window's small icon with its caption as the tip.
//
// The icons follow the hidden list: every publish reconciles them with it,
// so every hide makes icons and every show removes them, whatever the
// command. Up to kMaxIcons families, the first in hiding order, have one;
// the rest are counted for Tarnvell's tip. A family keeps its icon and its
// identifier while it stays hidden. A window that its own program destroyed
// or showed loses its icon at once: the window events that tell so are
// listened to only while an icon exists. With the option off nothing here
// runs.
class CWindowIcons {
public:
    static constexpr std::size_t kMaxIcons = 32;
    // The icons' identifiers: kFirstId + slot. Tarnvell's own is
    // IDR_MAINFRAME, below them.
    static constexpr unsigned kFirstId = 1000;

    CWindowIcons(platform::INotifyShell& shell, platform::IWindowManager& windows, platform::IWindowEvents& events,
                 const CResource& strings, const CSettings& settings, const CHiddenList& list);
    // Every icon leaves the notification area, and its copy is destroyed.
    ~CWindowIcons();
    CWindowIcons(const CWindowIcons&) = delete;
    CWindowIcons& operator=(const CWindowIcons&) = delete;

    // The owner of the icons, which hears their callbacks.
    void SetFrame(WindowHandle frame) { m_hFrame = frame; }
    // Told when a window with an icon was destroyed (handed over: its record
    // must go) or shown by its own program (null): the icons and the tip
    // must be brought up to date.
    using Stale = std::function<void(WindowHandle destroyed)>;
    void OnStale(Stale stale) { m_Stale = std::move(stale); }

    // Makes the icons match the hidden list and the option.
    void Reconcile();
    // The taskbar was re-created: every icon is added again.
    void OnTaskbarRestart();
    // A hide is about to take w: if its program had shown it, it is hidden
    // again and gets its icon back.
    void NoteHiddenByUs(WindowHandle w);
    // A window event, as the hooks deliver it while an icon exists.
    void OnEvent(platform::WindowEventKind kind, WindowHandle w);

    // The families that should have an icon and have none: those beyond
    // kMaxIcons.
    std::size_t WithoutIcon() const { return m_nWithoutIcon; }
    std::size_t Count() const;
    // The window of the icon with that identifier; null for none.
    WindowHandle WindowOf(std::uintptr_t id) const;
    // Where a menu of w's icon belongs: the middle of its icon as the shell
    // places it; nothing when the shell cannot say or w has none.
    std::optional<platform::ScreenPoint> Anchor(WindowHandle w);

private:
    struct Slot {
        WindowHandle window;
        IconHandle copy;
        std::unique_ptr<CTrayNotifyIcon> icon;
    };

    Slot* SlotOf(WindowHandle w);
    void Add(Slot& slot, WindowHandle w, unsigned id);
    void Remove(Slot& slot);
    void RemoveAll();
    // The hooks are set while an icon exists, and only then.
    void Listen();

    platform::INotifyShell& m_Shell;
    platform::IWindowManager& m_Windows;
    platform::IWindowEvents& m_Events;
    const CResource& m_Strings;
    const CSettings& m_Settings;
    const CHiddenList& m_List;
    WindowHandle m_hFrame;
    Stale m_Stale;
    std::array<Slot, kMaxIcons> m_Slots;
    // Listed windows that their own program showed: they have no icon until
    // a hide takes them again.
    std::unordered_set<WindowHandle> m_ShownByProgram;
    std::size_t m_nWithoutIcon = 0;
};
