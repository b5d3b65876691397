#pragma once
#include <string>

#include "platform/platform.h"
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

// The prompts the engine asks through, as dialogs.
class Win32Prompts final : public platform::IPrompts {
public:
    explicit Win32Prompts(HINSTANCE instance) : m_hInstance(instance) {}
    bool AskPassword(std::string& entered) override;

private:
    HINSTANCE m_hInstance;
};
