#pragma once
#include <string>

#include "ui/dialog.h"

// "Enter password": one masked field. The field's text is kept whichever
// button closed the dialog; the caller compares it only after OK.
class CPassProtect : public CDialog {
public:
    explicit CPassProtect(HINSTANCE instance);

    std::string m_strPassword;

protected:
    void OnDestroy() override;
};
