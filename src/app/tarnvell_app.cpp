#include "app/tarnvell_app.h"

#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "platform/win32/system_library.h"
#include "app/command_line_win32.h"
#include "engine/languages.h"
#include "platform/text.h"
#include "ui/html_help.h"

namespace {

// The executable's file name without directory and extension.
std::string ApplicationName(const std::string& modulePath) {
    const auto slash = modulePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

CTarnvellApp::CTarnvellApp(HINSTANCE instance)
    : m_hInstance(instance), m_Module(instance), m_NotifyShell(instance), m_Dialogs(instance) {}

BOOL CTarnvellApp::InitInstance() {
    // A second copy ends here without a window, an icon or a message; with a
    // command, it hands the command to the running copy first.
    if (!m_Mutex.Acquire(kMutexName)) {
        if (m_Command)
            m_nHandOverResult = static_cast<int>(HandToRunningCopy(*m_Command, CMainFrame::kClassName));
        return FALSE;
    }

    // ShellExecute may hand a link or a mail address to a handler that is a
    // COM object (a browser's or mail program's delegate): the thread that
    // calls it must be in a single-threaded apartment. Without DDE for OLE 1,
    // as the documentation of ShellExecute asks. A refusal (another mode
    // already chosen) leaves the links to work where they can.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    m_bComInitialized = SUCCEEDED(com);

    ::InitCommonControls();
    m_Profile.SetRegistryKey(kCompany, ApplicationName(m_Module.ModulePath()));

    const PlatformSet platform{m_Windows,      m_HotKeys,       m_Profile.Profile(), m_RunKey,
                               m_Module,       m_NotifyShell,   m_Dialogs,          m_Shell,
                               m_Menus,        m_HiddenJournal, m_WindowEvents,     m_Crypto,
                               m_IconEvents,   m_MinimizeGesture, m_MinimizeEvents};
    m_pMainWnd = std::make_unique<CMainFrame>(platform);
    if (m_Command) m_pMainWnd->SetStartCommand(*m_Command);
    // A frame that cannot be created leaves nothing to receive commands.
    if (!m_pMainWnd->LoadFrame(m_hInstance)) return FALSE;
    // Help asked for without a window of its own is shown for the frame.
    g_HtmlHelp.SetMainWindow(m_pMainWnd->Handle());
    return TRUE;
}

int CTarnvellApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CTarnvellApp::ExitInstance() {
    g_HtmlHelp.SetMainWindow(nullptr);
    m_pMainWnd.reset();
    if (m_bComInitialized) ::CoUninitialize();
    m_bComInitialized = false;
    m_Mutex.Release();
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything loads a library by name.
    RestrictLibrarySearch();
    // The command line's limits count characters of the process's code page.
    {
        Win32Module module(instance);
        text::SetProcessCodePage(text::CodePage::Of(module));
    }
    // Before anything else: a malformed command line changes nothing.
    const ParsedCommandLine parsed = ParseOwnCommandLine();
    if (parsed.kind == ParsedCommandLine::Kind::Help || parsed.kind == ParsedCommandLine::Kind::Usage) {
        // The usage box speaks the language the running copy would.
        Win32Module module(instance);
        Win32Profile profile;
        profile.SetRegistryKey(CTarnvellApp::kCompany, ApplicationName(module.ModulePath()));
        SpeakStoredLanguage(profile.Profile(), module);
    }
    switch (parsed.kind) {
        case ParsedCommandLine::Kind::Help: ShowUsage(instance, std::nullopt); return 0;
        case ParsedCommandLine::Kind::Usage:
            ShowUsage(instance, parsed.error);
            return static_cast<int>(CommandResult::Usage);
        case ParsedCommandLine::Kind::Run:
        case ParsedCommandLine::Kind::None: break;
    }
    CTarnvellApp app(instance);
    if (parsed.kind == ParsedCommandLine::Kind::Run) app.SetCommand(parsed.command);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return app.HandOverResult();
    }
    return app.Run();
}
