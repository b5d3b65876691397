#pragma once
#include <string>

#include "ui/dialog.h"

// "Enter password": one masked field. The field's text is kept whichever
// button closed the dialog; the caller compares it only after OK.
class CPassProtect : public CDialog {
public:
    explicit CPassProtect(HINSTANCE instance);

    // The field's text as the dialog closed.
    const std::string& Entered() const { return m_strPassword; }

protected:
    void OnDestroy() override;

private:
    std::string m_strPassword;
};
