#include "engine/app_kernel.h"

#include "engine/hotkey_dispatch.h"
#include "engine/message_routing.h"
#include "platform/win_constants.h"
#include "res/resource.h"

CAppKernel::CAppKernel(PlatformSet platform)
    : m_Platform(platform),
      m_Strings(platform.module),
      m_TrayIcon(platform.notifyShell, text::CodePage::Of(platform.module)),
      m_Settings(platform.hotKeys, platform.profile, platform.runKey, platform.module),
      m_Groups(platform.hotKeys, platform.profile),
      m_Dialogs(platform.dialogs, platform.shell, m_Strings, m_Settings, m_Groups, platform.hotKeys),
      m_Commands(platform.windows, platform.module, platform.hiddenJournal, m_Settings, m_Groups, m_Dialogs),
      m_Tray(m_TrayIcon, platform.menus, platform.windows, platform.module, m_Strings, m_Settings, m_Groups, m_Commands, m_Dialogs),
      m_Remote(m_Dialogs, m_Commands, m_Groups),
      m_AutoHide(platform.windows, platform.windowEvents,
                 text::CodePage::Of(platform.module),
                 [this](WindowHandle w, std::int32_t groupId) {
                     return m_Dialogs.Admit(GateInput::HideCommand) && m_Commands.HideForGroup(w, groupId);
                 }) {
    m_Commands.OnListChanged([this] { m_Tray.RefreshTray(); });
    m_Commands.OnWindowRequest([this](WindowHandle w, bool show) {
        if (show)
            m_AutoHide.NoteShownByUs(w);
        else
            m_AutoHide.NoteHiddenByUs(w);
    });
    m_Dialogs.OnSettingsApplied([this] { m_Tray.RefreshTray(); });
    m_Dialogs.OnGroupsReplaced([this] { m_AutoHide.SetGroups(m_Groups); });
}

void CAppKernel::Init(WindowHandle mainWnd) {
    m_Dialogs.SetFrame(mainWnd);
    m_Commands.SetFrame(mainWnd);
    m_Tray.SetFrame(mainWnd);
    const IconHandle icon = m_Platform.module.LoadIcon(IDI_TRAY);
    // A failed add is made good when the taskbar announces itself.
    m_TrayIcon.Create(mainWnd, IDR_MAINFRAME, m_Strings.Load(IDR_MAINFRAME), icon, wm::kTrayNotify, true);
    {
        // Hundreds of values, each key opened once.
        const platform::ProfileHold hold(m_Platform.profile);
        m_Settings.Load(mainWnd);
        m_Groups.Load(mainWnd);
    }
    m_Tray.ReportFailedKeys();
    m_Commands.TakeBackJournal();
    // After the journal: the windows it took back are listed, so a rule
    // never takes them twice.
    m_AutoHide.SetGroups(m_Groups);
}

bool CAppKernel::ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                std::intptr_t* result) {
    if (result) *result = 0;
    const Route route = RouteMessage(message, wParam);
    switch (route.action) {
        case EngineAction::None: break;
        case EngineAction::Close:
            // A refused password cancels the close: the frame never sees it.
            if (!m_Dialogs.Admit(GateInput::Close) || !m_Commands.ConfirmExit()) return false;
            break;
        case EngineAction::RemoteCommand: {
            const CRemoteCommands::Answer answer =
                m_Remote.OnCopyData(reinterpret_cast<const platform::CopyData*>(lParam));
            if (result) *result = static_cast<std::intptr_t>(answer.result);
            return answer.endProgram;
        }
        case EngineAction::EndSession:
            if (m_Dialogs.Admit(GateInput::EndSession)) m_Commands.OnEndSession();
            // The session really ends, and the frame goes at once when it can:
            // the process may be ended without another message.
            return m_Dialogs.Admit(GateInput::EndFrame);
        case EngineAction::HideTopWindow:
            if (m_Dialogs.Admit(GateInput::HideCommand)) m_Commands.HideTopWindow();
            break;
        case EngineAction::ShowHidden:
            if (m_Dialogs.Admit(GateInput::ShowCommand)) m_Commands.ShowHidden(route.index);
            break;
        case EngineAction::ShowListed:
            if (m_Dialogs.Admit(GateInput::ShowCommand)) m_Commands.ShowWindowOf(m_Tray.ListedWindow(route.index));
            break;
        case EngineAction::HideAll:
            if (m_Dialogs.Admit(GateInput::HideCommand)) m_Commands.HideAllWindows();
            break;
        case EngineAction::ShowAll:
            if (m_Dialogs.Admit(GateInput::ShowCommand)) m_Commands.ShowAllWindows();
            break;
        case EngineAction::ToggleWindow:
            if (m_Dialogs.Admit(GateInput::ShowCommand)) m_Commands.ToggleDesignatedWindow();
            break;
        case EngineAction::Preferences: m_Dialogs.OnPreferences(); break;
        case EngineAction::CheckUpdate: m_Dialogs.OnCheckUpdate(); break;
        case EngineAction::WindowsGroups: m_Dialogs.OnWindowsGroups(); break;
        case EngineAction::About: m_Dialogs.OnAppAbout(); break;
        case EngineAction::Help: m_Dialogs.OnHelp(); break;
        case EngineAction::HotKey: {
            const HotKeyCommand command = ResolveHotKey(wParam);
            const bool hides = command.action == HotKeyAction::HideTopWindow ||
                               command.action == HotKeyAction::HideAll || command.action == HotKeyAction::HideGroup;
            if (command.action == HotKeyAction::None ||
                !m_Dialogs.Admit(hides ? GateInput::HideCommand : GateInput::ShowCommand))
                break;
            switch (command.action) {
                case HotKeyAction::None: break;
                case HotKeyAction::HideTopWindow: m_Commands.HideTopWindow(); break;
                case HotKeyAction::ShowLastHidden: m_Commands.ShowHidden(-1); break;
                case HotKeyAction::HideAll: m_Commands.HideAllWindows(); break;
                case HotKeyAction::ShowAll: m_Commands.ShowAllWindows(); break;
                case HotKeyAction::ToggleWindow: m_Commands.ToggleDesignatedWindow(); break;
                case HotKeyAction::HideGroup: m_Commands.HideGroup(command.group); break;
                case HotKeyAction::ShowGroup: m_Commands.ShowGroup(command.group); break;
            }
            break;
        }
        case EngineAction::TrayNotify: m_Tray.OnTrayNotify(wParam, lParam); break;
    }
    return route.defaultFollows;
}
