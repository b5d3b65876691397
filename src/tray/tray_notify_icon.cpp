#include "tray/tray_notify_icon.h"

#include <algorithm>

#include "platform/win_constants.h"

namespace {

// Copies text into a terminated character field, cut to whole characters
// that fit with the terminator.
template <std::size_t N>
void CopyField(std::array<char, N>& field, std::string_view text) {
    const std::size_t n = text::PrefixOfBytes(text, N - 1);
    std::fill(field.begin(), field.end(), '\0');
    std::copy_n(text.begin(), n, field.begin());
}
constexpr std::size_t kTipChars = 127;

}  // namespace

CTrayNotifyIcon::CTrayNotifyIcon(platform::INotifyShell& shell) : m_Shell(shell) {}

CTrayNotifyIcon::~CTrayNotifyIcon() { Remove(true); }

void CTrayNotifyIcon::CopyTip(std::string_view tip) {
    // A tip shows at most 127 characters, and they and the terminator must
    // fit the field's 128 bytes: in UTF-8 fewer characters may fit. A longer
    // tip is cut to whole characters rather than left without its terminator
    // or ending inside a character.
    CopyField(m_IconData.szTip, tip.substr(0, text::PrefixOfChars(tip, kTipChars)));
}

bool CTrayNotifyIcon::Create(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon,
                             unsigned callbackMessage, bool show) {
    m_hWnd = m_Shell.CreateIconWindow([this] {
        OnTaskbarRestart();
        if (m_AfterRestart) m_AfterRestart();
    });
    if (!m_hWnd) return false;

    return Add(owner, id, tip, icon, callbackMessage, show);
}

bool CTrayNotifyIcon::CreateWithoutWindow(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon,
                                          unsigned callbackMessage) {
    return Add(owner, id, tip, icon, callbackMessage, true);
}

bool CTrayNotifyIcon::Add(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon,
                          unsigned callbackMessage, bool show) {
    Define(owner, id, tip, icon, callbackMessage, show);
    m_bAdded = m_Shell.NotifyIcon(nim::kAdd, m_IconData);
    if (m_bAdded) {
        if (!show) m_bHidden = true;
        SetVersion();
    }
    return m_bAdded;
}

void CTrayNotifyIcon::Define(WindowHandle owner, unsigned id, std::string_view tip, IconHandle icon,
                             unsigned callbackMessage, bool show) {
    m_IconData.uFlags = nif::kMessage | nif::kIcon | nif::kTip;
    m_IconData.hWnd = owner;
    m_IconData.uCallbackMessage = callbackMessage;
    m_IconData.uID = id;
    m_IconData.hIcon = icon;
    CopyTip(tip);
    if (!show) {
        m_IconData.uFlags |= nif::kState;
        m_IconData.dwState = nis::kHidden;
        m_IconData.dwStateMask = nis::kHidden;
    }
}

bool CTrayNotifyIcon::SetTipText(std::string_view tip) {
    // A tip set while the icon is absent is dropped, so that a later re-add
    // shows the last tip the shell actually had.
    if (!m_bAdded) return false;
    m_IconData.uFlags = nif::kTip;
    CopyTip(tip);
    return m_Shell.NotifyIcon(nim::kModify, m_IconData);
}

bool CTrayNotifyIcon::Hide() {
    m_IconData.uFlags = nif::kState;
    m_IconData.dwStateMask = nis::kHidden;
    m_IconData.dwState = nis::kHidden;
    const bool ok = m_Shell.NotifyIcon(nim::kModify, m_IconData);
    if (ok) m_bHidden = true;
    return ok;
}

bool CTrayNotifyIcon::Show() {
    m_IconData.uFlags = nif::kState;
    m_IconData.dwStateMask = nis::kHidden;
    m_IconData.dwState = 0;
    const bool ok = m_Shell.NotifyIcon(nim::kModify, m_IconData);
    if (ok) m_bHidden = false;
    return ok;
}

bool CTrayNotifyIcon::Remove(bool closeWindow) {
    bool result = true;
    if (m_bAdded) {
        m_IconData.uFlags = 0;
        result = m_Shell.NotifyIcon(nim::kDelete, m_IconData);
        m_bAdded = false;
    }
    if (closeWindow && m_hWnd) {
        m_Shell.CloseIconWindow(m_hWnd);
        m_hWnd = WindowHandle{};
    }
    return result;
}

bool CTrayNotifyIcon::Add(bool show) {
    m_IconData.uFlags = nif::kMessage | nif::kIcon | nif::kTip;
    if (!show) {
        m_IconData.uFlags |= nif::kState;
        m_IconData.dwState = nis::kHidden;
        m_IconData.dwStateMask = nis::kHidden;
    }
    const bool ok = m_Shell.NotifyIcon(nim::kAdd, m_IconData);
    if (ok) {
        m_bAdded = true;
        if (!show) m_bHidden = true;
        SetVersion();
    }
    return ok;
}

void CTrayNotifyIcon::SetVersion() {
    m_IconData.uVersion = kNotifyIconVersion;
    m_Shell.NotifyIcon(nim::kSetVersion, m_IconData);
}

bool CTrayNotifyIcon::ShowBalloon(std::string_view title, std::string_view text, unsigned infoFlags) {
    if (!m_bAdded) return false;
    m_IconData.uFlags = nif::kInfo;
    CopyField(m_IconData.szInfoTitle, title);
    CopyField(m_IconData.szInfo, text);
    m_IconData.dwInfoFlags = infoFlags;
    const bool ok = m_Shell.NotifyIcon(nim::kModify, m_IconData);
    // The record goes to every later call: an empty text there can never
    // bring the balloon back.
    CopyField(m_IconData.szInfo, {});
    CopyField(m_IconData.szInfoTitle, {});
    m_IconData.dwInfoFlags = 0;
    return ok;
}

std::optional<platform::ScreenPoint> CTrayNotifyIcon::MenuAnchor() {
    if (!m_bAdded) return std::nullopt;
    const auto rect = m_Shell.IconRect(m_IconData.hWnd, m_IconData.uID);
    if (!rect || rect->Empty()) return std::nullopt;
    return rect->Centre();
}

void CTrayNotifyIcon::OnTaskbarRestart() {
    const bool wasHidden = m_bHidden;
    Remove(false);
    Add(!wasHidden);
}
