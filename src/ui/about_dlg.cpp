#include "ui/about_dlg.h"

#include <string>

#include "platform/win32/window_binding.h"
#include "res/resource.h"
#include "ui/about_model.h"
#include "ui/help_path.h"
#include "ui/html_help.h"

CAboutDlg::CAboutDlg(HINSTANCE instance, unsigned version)
    : CDialog(instance, IDD_ABOUTBOX, nullptr), m_nVersion(version) {}

BOOL CAboutDlg::OnInitDialog() {
    m_stcVersion = ::GetDlgItem(m_hWnd, IDC_VERSION);
    m_lnkMail.Attach(::GetDlgItem(m_hWnd, IDC_MAIL_LINK));
    m_lnkHome.Attach(::GetDlgItem(m_hWnd, IDC_HOME_LINK));

    // Both texts are formats kept in the template; the product name is the
    // string table's, like the tray tip's.
    const std::string product = LoadText(IDR_MAINFRAME);
    ::SetWindowTextA(m_stcVersion, AboutVersionText(win32::WindowText(m_stcVersion), product, m_nVersion).c_str());
    ::SetWindowTextA(m_hWnd, AboutTitle(win32::WindowText(m_hWnd), product).c_str());
    return TRUE;
}

bool CAboutDlg::OnHelp() {
    ShowHelpTopic(m_hWnd, kHelpTopicAbout);
    return true;
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    const HWND control = reinterpret_cast<HWND>(lParam);
    const HDC dc = reinterpret_cast<HDC>(wParam);
    CHyperLink* link = control == m_lnkHome.Handle() ? &m_lnkHome : control == m_lnkMail.Handle() ? &m_lnkMail : nullptr;
    if (!link || !control) return false;
    result = reinterpret_cast<INT_PTR>(link->CtlColor(dc));
    return true;
}
