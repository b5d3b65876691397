#include "ui/dialog.h"

INT_PTR CDialog::DoModal() {
    return ::DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(m_nTemplate), m_hParent, &CDialog::Thunk,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialog::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    return self ? self->DialogProc(message, wParam, lParam) : FALSE;
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (INT_PTR result = 0; m_hWnd && OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_COMMAND:
            // The whole wParam: a notification code in the high word is a
            // control's, not a button press.
            if (wParam == IDOK || wParam == IDCANCEL) {
                ::EndDialog(m_hWnd, static_cast<INT_PTR>(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_HELP:
            // Handled here, the request must not travel on to the owner.
            if (!OnHelp()) return FALSE;
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
            m_hWnd = nullptr;
            return FALSE;
        default: return FALSE;
    }
}
