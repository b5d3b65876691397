#include "ui/dialog.h"

#include "platform/win32/window_binding.h"
#include "res/resource.h"

INT_PTR CDialog::DoModal() {
    const DLGTEMPLATE* form = win32::DialogTemplate(m_hInstance, m_nTemplate);
    if (!form) return -1;
    return ::DialogBoxIndirectParamA(m_hInstance, form, m_hParent, &win32::DialogThunk<CDialog>,
                                     reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (INT_PTR result = 0; m_hWnd && OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_INITDIALOG:
            m_hWnd = hwnd;
            return OnInitDialog();
        case WM_COMMAND:
            // The whole wParam for OK and Cancel: a notification code in the
            // high word is a control's (an edit with id 1 or 2), not a press.
            if (wParam == IDOK)
                OnOK();
            else if (wParam == IDCANCEL)
                OnCancel();
            else
                OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) return FALSE;
            // A dialog procedure answers through DWLP_MSGRESULT, not its
            // return value.
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_HELP:
            // Handled here, the request must not travel on to the owner.
            if (!OnHelp()) return FALSE;
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_NCDESTROY:
            m_hWnd = nullptr;
            return FALSE;
        default: return FALSE;
    }
}

std::string CDialog::ItemText(int id) const { return win32::WindowText(Item(id)); }

std::string CDialog::LoadText(UINT id) const { return win32::LoadText(m_hInstance, id); }

void CDialog::Warn(const std::string& text) const { win32::Warn(m_hWnd, m_hInstance, IDR_MAINFRAME, text); }
