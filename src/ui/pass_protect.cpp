#include "ui/pass_protect.h"

#include "res/resource.h"

CPassProtect::CPassProtect(HINSTANCE instance) : CDialog(instance, IDD_ENTER_PASSWORD, nullptr) {}

void CPassProtect::OnDestroy() {
    HWND field = ::GetDlgItem(m_hWnd, IDC_PASSWORD);
    // The whole text, however long: the buffer is sized from the field.
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(field)) + 1, '\0');
    const int n = ::GetWindowTextA(field, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    m_strPassword = std::move(text);
}

bool Win32Prompts::AskPassword(std::string& entered) {
    CPassProtect dialog(m_hInstance);
    const INT_PTR result = dialog.DoModal();
    entered = dialog.m_strPassword;
    return result == IDOK;
}
