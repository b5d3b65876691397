#include "engine/app_kernel.h"

#include "engine/message_routing.h"
#include "platform/win_constants.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

CAppKernel::CAppKernel(PlatformSet platform)
    : m_TrayIcon(platform.notifyShell),
      m_HotKeys{CHotKeys(&platform.hotKeys, &platform.profile), CHotKeys(&platform.hotKeys, &platform.profile),
                CHotKeys(&platform.hotKeys, &platform.profile), CHotKeys(&platform.hotKeys, &platform.profile),
                CHotKeys(&platform.hotKeys, &platform.profile)},
      m_Platform(platform) {}

CAppKernel::~CAppKernel() {
    // Groups go first so that their hot-keys are unregistered before the
    // program's own; the remaining members then fall in reverse declaration
    // order: password, hot-keys, hidden list (no window is shown), tray icon.
    m_Groups.clear();
}

void CAppKernel::Init(WindowHandle mainWnd) {
    m_pMainWnd = mainWnd;
    const IconHandle icon = m_Platform.module.LoadIcon(IDI_TRAY);
    // A failed add is made good when the taskbar announces itself.
    m_TrayIcon.Create(mainWnd, IDR_MAINFRAME, theResource.Load(IDR_MAINFRAME), icon, wm::kTrayNotify, true);
    for (int n = 0; n < kHotKeyCount; ++n) m_HotKeys[static_cast<std::size_t>(n)].SetTarget(mainWnd, n);
    ExchangeSettings(true);
}

bool CAppKernel::WriteSettingInt(const char* name, int value) {
    return m_Platform.profile.WriteProfileInt(m_pszSection, name, value);
}

bool CAppKernel::WriteSettingString(const char* name, const std::string& value) {
    return m_Platform.profile.WriteProfileString(m_pszSection, name, value);
}

bool CAppKernel::CheckPassword() {
    std::string entered;
    const bool ok = m_Platform.prompts.AskPassword(entered);
    return ok && entered == m_Password;
}

bool CAppKernel::ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const Route route = RouteMessage(message, wParam);
    switch (route.action) {
        case EngineAction::None: break;
        case EngineAction::Close:
            // A refused password cancels the close: the frame never sees it.
            if (m_bPassOnClose && !CheckPassword()) return false;
            OnExit();
            break;
        case EngineAction::EndSession: OnExit(); break;
        case EngineAction::HideTopWindow: HideTopWindow(); break;
        case EngineAction::ShowHidden: ShowHidden(route.index); break;
        case EngineAction::HideAll: HideAllWindows(); break;
        case EngineAction::ShowAll: ShowAllWindows(); break;
        case EngineAction::Preferences: OnPreferences(); break;
        case EngineAction::ToggleWindow: ToggleDesignatedWindow(); break;
        case EngineAction::CheckUpdate: OnCheckUpdate(); break;
        case EngineAction::WindowsGroups: OnWindowsGroups(); break;
        case EngineAction::About: OnAppAbout(); break;
        case EngineAction::Help: OnHelp(); break;
        case EngineAction::HotKey: OnHotKey(wParam); break;
        case EngineAction::TrayNotify: OnTrayNotify(wParam, lParam); break;
    }
    return route.defaultFollows;
}
