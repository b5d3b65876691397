#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/notify_shell.h"
#include "platform/text.h"

// A notification-area icon: the program's own, or one that stands for a
// hidden window. It keeps the shell record that every call is given, whether
// the icon is present and whether it is in the shell's hidden state; the
// program's own has a hidden top-level window that hears the taskbar being
// re-created. Mouse messages go straight to the owner window; this object
// interprets none.
class CTrayNotifyIcon {
public:
    // Tips and balloons are cut to whole characters of the process's code page.
    explicit CTrayNotifyIcon(platform::INotifyShell& shell);
    ~CTrayNotifyIcon();
    CTrayNotifyIcon(const CTrayNotifyIcon&) = delete;
    CTrayNotifyIcon& operator=(const CTrayNotifyIcon&) = delete;

    // Creates the icon window and adds the icon; returns whether it was added.
    bool Create(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon, unsigned callbackMessage,
                bool show);
    // Adds a shown icon without a window of its own: its owner adds it again
    // after a taskbar restart. Returns whether it was added.
    bool CreateWithoutWindow(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon,
                             unsigned callbackMessage);
    // Runs after the icon window re-added the icon for a new taskbar.
    void AfterTaskbarRestart(std::function<void()> then) { m_AfterRestart = std::move(then); }
    bool SetTipText(std::string_view tip);
    bool Hide();
    bool Show();
    bool Remove(bool closeWindow);
    // Adds the icon and sets its version (3: the classic callback, wParam the
    // id and lParam the mouse message): the shell sends the keyboard's
    // selection and the context-menu message only to an icon that has set it,
    // and forgets it with the icon.
    bool Add(bool show);
    // The taskbar was re-created: the icon is added again as it was.
    void OnTaskbarRestart();
    // A balloon over the icon (title at most 63 characters, text at most 255,
    // cut beyond), with the given icon (niif::). Only an icon that is present
    // can show one.
    bool ShowBalloon(std::string_view title, std::string_view text, unsigned infoFlags);
    // Where a menu opened from the keyboard belongs: the middle of the icon
    // as the shell places it; nothing when the shell cannot say.
    std::optional<platform::ScreenPoint> MenuAnchor();

    bool IsAdded() const { return m_bAdded; }
    bool IsHidden() const { return m_bHidden; }
    WindowHandle Window() const { return m_hWnd; }
    const platform::NotifyIconData& Record() const { return m_IconData; }

private:
    void CopyTip(std::string_view tip);
    void SetVersion();
    // Defines the icon and adds it, with the version its messages need.
    bool Add(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon, unsigned callbackMessage,
             bool show);
    void Define(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon, unsigned callbackMessage,
                bool show);

    platform::INotifyShell& m_Shell;
    WindowHandle m_hWnd;  // the icon window
    platform::NotifyIconData m_IconData;
    std::int32_t m_bAdded = 0;
    std::int32_t m_bHidden = 0;
    std::function<void()> m_AfterRestart;
};
