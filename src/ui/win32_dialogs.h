#pragma once
#include <windows.h>

#include "platform/dialogs.h"

class Win32Dialogs final : public platform::IDialogs {
public:
    explicit Win32Dialogs(HINSTANCE instance) : m_hInstance(instance) {}
    void RunAbout(unsigned version) override;
    void ShowHelp(WindowHandle caller, const char* topic) override;

private:
    HINSTANCE m_hInstance;
};
