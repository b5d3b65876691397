#include "app/quorvane_app.h"

#include <commctrl.h>

#include <string>

#include "engine/dialog_seam.h"
#include "tray/resource_loader.h"
#include "ui/html_help.h"

namespace {

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// The executable's file name without directory and extension.
std::string ApplicationName(const std::string& modulePath) {
    const auto slash = modulePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

CQuorvaneApp::CQuorvaneApp(HINSTANCE instance)
    : m_hInstance(instance), m_Module(instance), m_NotifyShell(instance), m_Prompts(instance), m_Dialogs(instance) {}

BOOL CQuorvaneApp::InitInstance() {
    // A second copy ends here without a window, an icon or a message.
    if (!m_hMutex.Acquire(kMutexName)) return FALSE;

    ::InitCommonControls();
    theResource.SetModule(&m_Module);

    m_Profile.SetRegistryKey(kCompany, ApplicationName(m_Module.ModulePath()));
    // The standard profile value shares the "Settings" section; it is read
    // (which creates the keys) and written back at exit only when set.
    m_nNumPreviewPages = m_Profile.GetProfileInt("Settings", "PreviewPages", 0);

    const PlatformSet platform{m_Windows,     m_HotKeys, m_Profile, m_RunKey, m_Module,
                               m_NotifyShell, m_Prompts, m_Shell,   m_Menus};
    SetDialogSeam(&m_Dialogs);
    m_pMainWnd = std::make_unique<CMainFrame>(platform);
    // A frame that cannot be created leaves nothing to receive commands.
    if (!m_pMainWnd->LoadFrame(m_hInstance, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) return FALSE;
    g_HtmlHelp.SetMainWindow(m_pMainWnd->Handle());
    return TRUE;
}

int CQuorvaneApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CQuorvaneApp::ExitInstance() {
    m_pMainWnd.reset();
    g_HtmlHelp.SetMainWindow(nullptr);
    SetDialogSeam(nullptr);
    if (m_nNumPreviewPages != 0)
        m_Profile.WriteProfileInt("Settings", "PreviewPages", static_cast<int>(m_nNumPreviewPages));
    m_hMutex.Release();
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CQuorvaneApp app(instance);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 0;
    }
    return app.Run();
}
