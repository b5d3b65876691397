#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "ui/hyperlink_model.h"

// A static text control that behaves like a link in a browser: underlined,
// coloured (link, active, visited), a hand cursor and a tooltip with the
// address; a click, the space bar or Enter opens the address with the shell.
// It is a tab stop when its template says so, and shows the focus with a
// focus rectangle.
// Attach() subclasses an existing static of a dialog. The dialog forwards
// its WM_CTLCOLORSTATIC for the control to CtlColor(), because a static
// asks its parent for its colours.
class CHyperLink {
public:
    CHyperLink() = default;
    ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // Takes over the static: the address is its text unless m_strURL was
    // set before.
    bool Attach(HWND control);
    void Detach();
    // The subclassed static's messages.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    HWND Handle() const { return m_hWnd; }
    HBRUSH CtlColor(HDC dc);

    void FollowLink();
    // The code of ShellExecute, or of the fallback when it ran; above 32
    // means the address was handed to a program.
    static int GotoURL(const std::string& url, int showCommand);
    void ReportError(int code);

    bool m_bActive = false;
    bool m_bHover = false;
    bool m_bVisited = false;
    unsigned m_nOptions = hyperlink::kDefaultOptions;
    std::string m_strURL;

private:
    void PositionWindow();
    void CreateToolTip();
    // The whole control, background first: the text is drawn anew in
    // another colour and must not land on the old one.
    void Repaint() { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
    void DrawFocus();

    HWND m_hWnd = nullptr;
    UniqueFont m_Font;  // the underlined font, the control's own
    HWND m_ToolTip = nullptr;
};
