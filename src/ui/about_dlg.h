#pragma once
#include <windows.h>

#include "ui/dialog.h"
#include "ui/hyper_link.h"

// "About Tarnvell": icon, name and version, the maker's notice and two links.
class CAboutDlg : public CDialog {
public:
    // version: times 100.
    CAboutDlg(HINSTANCE instance, unsigned version);

protected:
    BOOL OnInitDialog() override;
    bool OnHelp() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    unsigned m_nVersion;
    HWND m_stcVersion = nullptr;
    CHyperLink m_lnkMail;
    CHyperLink m_lnkHome;
};
