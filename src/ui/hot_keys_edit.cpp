#include "ui/hot_keys_edit.h"

#include <commctrl.h>

#include "platform/win32/window_binding.h"

namespace {
// One subclass of ours per edit; the id only tells it apart from others.
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

CHotKeysEdit::~CHotKeysEdit() { Detach(); }

void CHotKeysEdit::Attach(HWND edit) {
    Detach();
    if (!edit) return;
    m_hWnd = edit;
    ::SetWindowSubclass(edit, &win32::SubclassThunk<CHotKeysEdit>, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    UpdateText(Text());
}

void CHotKeysEdit::Detach() {
    if (!m_hWnd) return;
    ::RemoveWindowSubclass(m_hWnd, &win32::SubclassThunk<CHotKeysEdit>, kSubclassId);
    m_hWnd = nullptr;
}

LRESULT CHotKeysEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // Keys never reach the edit itself: the caret keys would move the
        // caret, and Alt or F10 would reach the system menu.
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: UpdateText(KeyDown(static_cast<unsigned>(wParam))); return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP: UpdateText(KeyUp(static_cast<unsigned>(wParam))); return 0;
        case WM_CHAR:
        case WM_SYSCHAR: return 0;
        // Nor does text come in by the clipboard or the edit's context menu:
        // the field shows the value's name and nothing else.
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case WM_CONTEXTMENU: return 0;
        case WM_SETFOCUS: {
            // Before the edit shows its caret: the keys are free by the time
            // the user can see where to type.
            if (m_OnFocus) m_OnFocus(true);
            return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
        }
        case WM_KILLFOCUS: {
            const LRESULT result = ::DefSubclassProc(m_hWnd, message, wParam, lParam);
            UpdateText(KillFocus());
            if (m_OnFocus) m_OnFocus(false);
            return result;
        }
        case WM_GETDLGCODE: {
            LRESULT code = ::DefSubclassProc(m_hWnd, message, wParam, lParam);
            // The dialog would take an Alt combination as a mnemonic; asked
            // about one, the control wants it. Tab, Enter and Escape stay the
            // dialog's.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && (msg->message == WM_SYSKEYDOWN || msg->message == WM_SYSKEYUP || msg->message == WM_SYSCHAR))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        default: return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    }
}

void CHotKeysEdit::UpdateText(const CaptureText& shown) {
    ::SetWindowTextA(m_hWnd, shown.text.c_str());
    // Past the end of every shorter name; the longest is scrolled into view.
    ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(shown.caret), static_cast<LPARAM>(shown.caret));
    ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}
