#include "ui/hyper_link.h"

#include <commctrl.h>
#include <shellapi.h>


#include "platform/win32/diagnostics.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_binding.h"
#include "res/resource.h"

static_assert(hyperlink::kStyleCenter == SS_CENTER);
static_assert(hyperlink::kStyleRight == SS_RIGHT);
static_assert(hyperlink::kStyleCenterImage == SS_CENTERIMAGE);
static_assert(hyperlink::kLinkColour == RGB(0, 0, 255));
static_assert(hyperlink::kActiveColour == RGB(0, 128, 128));
static_assert(hyperlink::kVisitedColour == RGB(128, 0, 128));

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kToolId = 1;
// What GotoURL answers when the fallback's program started: above 32, as
// ShellExecute's success.
constexpr int kStarted = 33;
// Registry values of the ".htm" association are read up to this size.
constexpr DWORD kValueSize = MAX_PATH;

// The system's hand, shared by every link: a shared cursor is never
// destroyed by its user.
HCURSOR LinkCursor() {
    static const HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND);
    return hand;
}

}  // namespace

CHyperLink::~CHyperLink() { Detach(); }

bool CHyperLink::Attach(HWND control) {
    if (!control || m_hWnd) return false;
    m_hWnd = control;
    const std::string text = win32::WindowText(control);
    if (m_strURL.empty()) m_strURL = text;
    if (text.empty()) ::SetWindowTextA(control, m_strURL.c_str());

    if (HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0))) {
        LOGFONTA lf{};
        if (::GetObjectA(font, sizeof(lf), &lf)) {
            lf.lfUnderline = (m_nOptions & hyperlink::HL_UNDERLINE) ? TRUE : FALSE;
            m_Font.reset(::CreateFontIndirectA(&lf));
            if (m_Font) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_Font.get()), TRUE);
        }
        PositionWindow();
    } else {
        m_nOptions &= ~hyperlink::HL_AUTOSIZE;
    }
    CreateToolTip();
    return ::SetWindowSubclass(control, &win32::SubclassThunk<CHyperLink>, kSubclassId,
                               reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void CHyperLink::Detach() {
    if (!m_hWnd) return;
    ::RemoveWindowSubclass(m_hWnd, &win32::SubclassThunk<CHyperLink>, kSubclassId);
    // The tooltip is owned by the link and goes with it.
    m_ToolTip = nullptr;
    m_hWnd = nullptr;
}

void CHyperLink::CreateToolTip() {
    m_ToolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
    if (!m_ToolTip) return;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.lpszText = m_strURL.data();
    ::GetClientRect(m_hWnd, &tool.rect);
    ::SendMessageA(m_ToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::PositionWindow() {
    if (!(m_nOptions & hyperlink::HL_AUTOSIZE)) return;
    HWND parent = ::GetParent(m_hWnd);
    RECT window{}, client{};
    ::GetWindowRect(m_hWnd, &window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    ::GetClientRect(m_hWnd, &client);
    ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&client), 2);

    const std::string text = win32::WindowText(m_hWnd);
    SIZE extent{};
    // A DC of our own: a static's class DC may be its parent's.
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, m_Font ? static_cast<HGDIOBJ>(m_Font.get())
                                            : reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    // Under Wine the static paints a bitmap font a few pixels wider or
    // narrower than this measure; one average character of room keeps the
    // last letter from being cut.
    TEXTMETRICA metrics{};
    if (::GetTextMetricsA(dc, &metrics)) extent.cx += metrics.tmAveCharWidth;
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    const auto style = static_cast<unsigned>(::GetWindowLongA(m_hWnd, GWL_STYLE));
    const hyperlink::Rect fit =
        hyperlink::FitToText({window.left, window.top, window.right, window.bottom},
                             {client.left, client.top, client.right, client.bottom}, extent.cx, extent.cy, style);
    ::SetWindowPos(m_hWnd, nullptr, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(parent, nullptr, TRUE);
}

HBRUSH CHyperLink::CtlColor(HDC dc) {
    ::SetTextColor(dc, hyperlink::TextColour(m_bActive, m_bVisited));
    ::SetBkMode(dc, TRANSPARENT);
    // The dialog's own face colour rather than a hollow brush: the static
    // fills its background with it before every paint, so a repaint in
    // another colour (or the focus rectangle, drawn inverted) never lands
    // on what was there before.
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

void CHyperLink::DrawFocus() {
    if (::GetFocus() != m_hWnd) return;
    // Hidden until the keyboard is used in the dialog, as for every other
    // control.
    if (::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (HDC dc = ::GetDC(m_hWnd)) {
        ::DrawFocusRect(dc, &client);
        ::ReleaseDC(m_hWnd, dc);
    }
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A modal dialog's message loop is the system's, so there is no place to
    // pre-translate: the mouse messages are relayed to the tooltip here.
    if (m_ToolTip && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        MSG msg{m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
        const DWORD pos = ::GetMessagePos();
        msg.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        ::SendMessageA(m_ToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    switch (message) {
        case WM_NCHITTEST:
            // A static without SS_NOTIFY is transparent to the mouse.
            return HTCLIENT;
        case WM_SETCURSOR:
            if (HCURSOR hand = LinkCursor()) {
                ::SetCursor(hand);
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            if (!m_bHover) {
                m_bHover = true;
                Repaint();
                // Told when the pointer leaves, without holding the mouse: a
                // capture would take the next click wherever it lands.
                TRACKMOUSEEVENT track{};
                track.cbSize = sizeof(track);
                track.dwFlags = TME_LEAVE;
                track.hwndTrack = m_hWnd;
                ::TrackMouseEvent(&track);
            }
            return 0;
        case WM_MOUSELEAVE:
            m_bHover = false;
            Repaint();
            return 0;
        case WM_PAINT: {
            const LRESULT result = ::DefSubclassProc(m_hWnd, message, wParam, lParam);
            DrawFocus();
            return result;
        }
        case WM_UPDATEUISTATE:
            Repaint();
            break;
        case WM_LBUTTONDOWN:
            if (m_nOptions & hyperlink::HL_FOCUS_ON_CLICK) ::SetFocus(m_hWnd);
            m_bActive = true;
            return 0;
        case WM_LBUTTONUP:
            // Opens on release; a press that left the link still has the
            // focus, so the next release on it opens it.
            if (m_bActive) FollowLink();
            return 0;
        case WM_SETFOCUS:
            m_bActive = true;
            Repaint();
            return 0;
        case WM_KILLFOCUS:
            m_bHover = false;
            m_bActive = false;
            Repaint();
            return 0;
        case WM_GETDLGCODE: {
            // The dialog manager would take the space bar for a mnemonic and
            // Enter for the default button.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            LRESULT code = ::DefSubclassProc(m_hWnd, message, wParam, lParam);
            if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
                (msg->wParam == VK_SPACE || msg->wParam == VK_RETURN))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE || wParam == VK_RETURN) {
                FollowLink();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_SPACE || wParam == '\r') return 0;
            break;
        default: break;
    }
    return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

void CHyperLink::FollowLink() {
    const int code = GotoURL(m_strURL, SW_SHOW);
    if (code <= 32) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ReportError(code);
        return;
    }
    m_bVisited = true;
    Repaint();
}

int CHyperLink::GotoURL(const std::string& url, int showCommand) {
    ::SetLastError(ERROR_SUCCESS);
    const int shell = static_cast<int>(
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, showCommand)));
    if (shell > 32) return shell;
    // Its own code is coarser than the error it leaves behind.
    const DWORD error = ::GetLastError();
    diag::Failed("ShellExecute(open " + diag::Quoted(url) + ") = " + std::to_string(shell), error);

    // The shell knows no program for the address: try the browser that opens
    // web pages from files.
    const auto pageClass = ClassesRootDefault(".htm", kValueSize);
    if (!pageClass) return shell;
    const auto command = ClassesRootDefault(*pageClass + "\\shell\\open\\command", kValueSize);
    if (!command) return shell;
    const auto line = hyperlink::FallbackCommand(*command, url);
    if (!line) return shell;
    // No shell between: the line goes to the program as it is, and its
    // first part (the registry's) names the program.
    std::string buffer = *line;  // CreateProcess may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        const DWORD error = ::GetLastError();
        diag::Failed("CreateProcess(" + diag::Quoted(*line) + ")", error);
        return hyperlink::FallbackErrorCode(error, shell);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return kStarted;
}

void CHyperLink::ReportError(int code) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    const std::string message =
        hyperlink::ErrorMessage(code, [module](unsigned id) { return win32::LoadText(module, id); });
    HWND owner = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    // The caption is the program's name, from the program's own string table.
    win32::Warn(owner, module, IDR_MAINFRAME, message);
}
