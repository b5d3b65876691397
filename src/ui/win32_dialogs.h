#pragma once
#include <windows.h>

#include <array>

#include "engine/dialogs.h"
#include "ui/dialog.h"

// The engine's dialogs, as the Win32 dialogs of this folder.
class Win32Dialogs final : public IDialogs {
public:
    explicit Win32Dialogs(HINSTANCE instance) : m_hInstance(instance) {}
    bool AskPassword(std::string& entered) override;
    bool RunPreferences(PreferencesForm& form) override;
    bool RunWindowsGroups(GroupsForm& form) override;
    void RunAbout(unsigned version) override;
    void ShowHelp(WindowHandle caller, const char* topic) override;
    void BringToFront(Waiting which) override;

private:
    class Running;

    HINSTANCE m_hInstance;
    // The dialog of each kind while it runs.
    std::array<const CDialog*, kWaitingKinds> m_Running{};
};
