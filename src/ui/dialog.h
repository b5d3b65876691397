#pragma once
#include <windows.h>

#include <string>

// The least of a modal dialog: a template, the object bound to its window,
// OK and Cancel ending the dialog, and a hook that runs while the controls
// still exist, whichever way the dialog closed.
class CDialog {
public:
    CDialog(HINSTANCE instance, UINT templateId, HWND parent)
        : m_hInstance(instance), m_nTemplate(templateId), m_hParent(parent) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; IDOK, IDCANCEL, or -1 when it could not be created.
    INT_PTR DoModal();

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The dialog's window while it runs; null before and after.
    HWND Handle() const { return m_hWnd; }

protected:
    // The return value decides whether the system sets the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The OK button (and Enter); a dialog that checks its values first
    // overrides this and ends the dialog only when they pass.
    virtual void OnOK() { EndDialog(IDOK); }
    // The Cancel button, Escape and the close box.
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Any other command from a control or an accelerator.
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    // A control's notification; true when handled, with result as the
    // answer the control gets.
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    // F1 (WM_HELP); true when the dialog showed its help.
    virtual bool OnHelp() { return false; }
    // Any message before the base handles it; true with result set when
    // handled. The result is what the dialog procedure returns, which for
    // the WM_CTLCOLOR* messages is the brush itself.
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR& /*result*/) {
        return false;
    }
    // The dialog is being destroyed: read the controls here.
    virtual void OnDestroy() {}

    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // The whole text of a control, however long.
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) { ::SetDlgItemTextA(m_hWnd, id, text.c_str()); }
    // A message box over the dialog with the program's name as caption and
    // the exclamation icon, as every check that keeps a dialog open shows.
    void Warn(const std::string& text) const;
    std::string LoadText(UINT id) const;

    HINSTANCE m_hInstance;
    HWND m_hWnd = nullptr;

private:
    UINT m_nTemplate;
    HWND m_hParent;
};
