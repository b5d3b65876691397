#include "engine/app_kernel.h"

#include "engine/autorun.h"
#include "engine/hidden_journal.h"
#include "engine/message_routing.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

CHotKeys ProgramHotKey(PlatformSet& platform) { return CHotKeys(&platform.hotKeys, &platform.profile); }

constexpr const char* kFirstStart = "First Start";

}  // namespace

CAppKernel::CAppKernel(PlatformSet platform)
    : m_Platform(platform),
      m_Strings(platform.module),
      m_TrayIcon(platform.notifyShell, text::CodePage::Of(platform.module)),
      m_Hider(platform.windows),
      m_HotKeys{ProgramHotKey(platform), ProgramHotKey(platform), ProgramHotKey(platform), ProgramHotKey(platform),
                ProgramHotKey(platform)},
      m_Groups(platform.hotKeys, platform.profile) {}

CAppKernel::~CAppKernel() {
    // Groups go first so that their hot-keys are unregistered before the
    // program's own; the remaining members then fall in reverse declaration
    // order: preferences, hot-keys, hidden list (no window is shown), tray icon.
    m_Groups.Clear();
}

void CAppKernel::Init(WindowHandle mainWnd) {
    m_hMainWnd = mainWnd;
    m_Hider.SetFrame(mainWnd);
    const IconHandle icon = m_Platform.module.LoadIcon(IDI_TRAY);
    // A failed add is made good when the taskbar announces itself.
    m_TrayIcon.Create(mainWnd, IDR_MAINFRAME, m_Strings.Load(IDR_MAINFRAME), icon, wm::kTrayNotify, true);
    for (int n = 0; n < kHotKeyCount; ++n) m_HotKeys[static_cast<std::size_t>(n)].SetTarget(mainWnd, n);
    LoadSettings();
    TakeBackJournal();
}

void CAppKernel::TakeBackJournal() {
    const auto data = m_Platform.hiddenJournal.Read(journal::kMaxBytes);
    if (!data) return;
    const auto records = journal::Decode(*data);
    if (!records) {
        // Damaged, cut short or of another make: never trusted.
        m_Platform.hiddenJournal.Remove();
        return;
    }
    // A handle may name another window by now: only a window that exists, is
    // still hidden and still belongs to the process that owned it is ours.
    auto& wm = m_Platform.windows;
    const std::uint32_t own = wm.OwnProcessId();
    for (const CWndDes& record : *records) {
        const WindowHandle w = record.m_hWindow;
        if (record.m_nProcessId != own && wm.IsWindow(w) && !wm.IsWindowVisible(w) &&
            wm.ProcessId(w) == record.m_nProcessId)
            m_HiddenList.Append(record);
    }
    m_Journal = *data;
    ListChanged();
}

// The hot-keys first (each read and registered), then the preferences, the
// first-start step and the groups.
void CAppKernel::LoadSettings() {
    // Hundreds of values, each key opened once.
    const platform::ProfileHold hold(m_Platform.profile);
    for (auto& hotKey : m_HotKeys) hotKey.Exchange(true);
    m_Prefs.Load(m_Platform.profile);

    // Only the first start enters the program in the Run key; afterwards the
    // Preferences dialog alone changes the entry.
    auto& profile = m_Platform.profile;
    if (profile.GetProfileInt(Preferences::kSection, kFirstStart, 1) != 0) {
        ApplyAutorun();
        profile.WriteProfileInt(Preferences::kSection, kFirstStart, 0);
    }

    m_Groups.Load(m_hMainWnd);
}

void CAppKernel::ApplyAutorun() {
    if (m_Prefs.m_bAutorun) AddToAutorun(m_Platform.module, m_Platform.runKey, kProductName);
}

bool CAppKernel::ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const Route route = RouteMessage(message, wParam);
    switch (route.action) {
        case EngineAction::None: break;
        case EngineAction::Close:
            // Ending the program inside a dialog's message loop would pull the
            // engine from under the dialog: the close waits for the dialog.
            if (InModalLoop()) return false;
            // A refused password cancels the close: the frame never sees it.
            if (m_Prefs.m_bPassOnClose && !CheckPassword()) return false;
            OnExit();
            break;
        case EngineAction::EndSession:
            OnExit();
            // The session really ends, and the frame goes at once: the process
            // may be ended without another message. Not from inside a dialog's
            // loop, which still needs the engine; the system ends the process
            // anyway.
            if (InModalLoop()) return false;
            break;
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
