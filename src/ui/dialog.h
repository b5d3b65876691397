#pragma once
#include <windows.h>

// The least of a modal dialog: a template, a static thunk that binds the
// object at WM_INITDIALOG, OK and Cancel ending the dialog, and a hook that
// runs while the controls still exist, whichever way the dialog closed.
class CDialog {
public:
    CDialog(HINSTANCE instance, UINT templateId, HWND parent)
        : m_hInstance(instance), m_nTemplate(templateId), m_hParent(parent) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; IDOK, IDCANCEL, or -1 when it could not be created.
    INT_PTR DoModal();

protected:
    // The return value decides whether the system sets the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The dialog is being destroyed: read the controls here.
    virtual void OnDestroy() {}
    // F1 (WM_HELP); true when the dialog showed its help.
    virtual bool OnHelp() { return false; }
    // Any message before the base handles it; true with result set when
    // handled. The result is what the dialog procedure returns, which for
    // the WM_CTLCOLOR* messages is the brush itself.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
        (void)message, (void)wParam, (void)lParam, (void)result;
        return false;
    }

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE m_hInstance;
    UINT m_nTemplate;
    HWND m_hParent;
};
