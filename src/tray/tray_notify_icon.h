#pragma once
#include <cstdint>
#include <string_view>

#include "platform/notify_shell.h"
#include "platform/text.h"

// The program's one notification-area icon. It keeps the shell record that
// every call is given, whether the icon is present and whether it is in the
// shell's hidden state, and a hidden top-level window of its own that hears
// the taskbar being re-created. Mouse messages go straight to the owner window;
// this object interprets none.
class CTrayNotifyIcon {
public:
    // Tips are cut to whole characters of codePage.
    explicit CTrayNotifyIcon(platform::INotifyShell& shell, text::CodePage codePage = {});
    ~CTrayNotifyIcon();
    CTrayNotifyIcon(const CTrayNotifyIcon&) = delete;
    CTrayNotifyIcon& operator=(const CTrayNotifyIcon&) = delete;

    // Creates the icon window and adds the icon; returns whether it was added.
    bool Create(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon, unsigned callbackMessage,
                bool show);
    bool SetTipText(std::string_view tip);
    bool Hide();
    bool Show();
    bool Remove(bool closeWindow);
    bool Add(bool show);
    // The taskbar was re-created: the icon is added again as it was.
    void OnTaskbarRestart();

    bool IsAdded() const { return m_bAdded; }
    bool IsHidden() const { return m_bHidden; }
    int ShellLevel() const { return m_nShellLevel; }
    WindowHandle Window() const { return m_hWnd; }
    const platform::NotifyIconData& Record() const { return m_IconData; }

    // Record size for each shell level.
    static std::uint32_t RecordSize(int shellLevel);

private:
    void CopyTip(std::string_view tip);

    platform::INotifyShell& m_Shell;
    text::CodePage m_CodePage;
    WindowHandle m_hWnd;  // the icon window
    platform::NotifyIconData m_IconData;
    std::int32_t m_bAdded = 0;
    std::int32_t m_bHidden = 0;
    std::int32_t m_nShellLevel = 0;
};
