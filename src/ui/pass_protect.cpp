#include "ui/pass_protect.h"

#include "res/resource.h"

CPassProtect::CPassProtect(HINSTANCE instance) : CDialog(instance, IDD_ENTER_PASSWORD, nullptr) {}

void CPassProtect::OnDestroy() { m_strPassword = ItemText(IDC_PASSWORD); }
