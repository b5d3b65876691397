#include "engine/app_kernel.h"

#include "engine/languages.h"

#include "engine/command_line.h"
#include "engine/command_table.h"
#include "platform/copy_data.h"
#include "platform/text.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

// The process runs in one code page for its whole life; every cut of text
// takes it from here on.
PlatformSet TellCodePage(PlatformSet platform) {
    text::SetProcessCodePage(text::CodePage::Of(platform.module));
    return platform;
}

}  // namespace

CAppKernel::CAppKernel(PlatformSet platform)
    : m_Platform(TellCodePage(platform)),
      m_Strings(platform.module),
      m_TrayIcon(platform.notifyShell),
      m_Settings(platform.hotKeys, platform.profile, platform.runKey, platform.module, platform.crypto),
      m_Groups(platform.hotKeys, platform.profile),
      m_Keys(platform.hotKeys, m_Settings, m_Groups, m_Strings),
      m_Dialogs(platform.dialogs, platform.shell, platform.profile, m_Strings, m_Gate, m_Settings, m_Groups, m_Keys),
      m_Commands(platform.windows, platform.hiddenJournal, m_Settings, m_Groups),
      m_WindowIcons(platform.notifyShell, platform.windows, platform.iconEvents, m_Strings, m_Settings,
                    m_Commands.HiddenList()),
      m_Tray(m_TrayIcon, m_WindowIcons, platform.menus, platform.windows, m_Strings, m_Settings, m_Commands, m_Keys,
             m_Gate),
      m_Runner(m_Gate, platform.dialogs, m_Settings, m_Groups, m_Commands, m_Dialogs, m_Tray),
      m_AutoHide(platform.windows, platform.windowEvents, platform.minimizeEvents,
                 [this](WindowHandle w, std::int32_t groupId, bool minimized) {
                     // Only taken here: a burst of events is hidden together,
                     // at the next step of the timer.
                     m_Commands.Take(w, groupId, minimized);
                     ArmRuleTimer();
                     return true;
                 }) {
    // A window that kept itself on screen is left alone while it lives, as
    // one the user brought back is: its next caption would only refuse again.
    m_Commands.OnRuleRefused([this](WindowHandle w) { m_AutoHide.NoteShownByUs(w); });
    m_Commands.OnWindowRequest([this](WindowHandle w, bool show) {
        if (show) {
            m_AutoHide.NoteShownByUs(w);
        } else {
            m_AutoHide.NoteHiddenByUs(w);
            m_WindowIcons.NoteHiddenByUs(w);
        }
    });
    m_Dialogs.OnGroupsReplaced([this] { m_AutoHide.SetGroups(m_Groups); });
    m_Dialogs.ListWindowsWith([this] { return m_Commands.OpenWindows(); });
    // A destroyed window leaves the list (and the journal); one its program
    // showed only loses its icon, which changes no revision.
    m_WindowIcons.OnStale([this](WindowHandle destroyed) {
        if (destroyed) m_Commands.DropDestroyed(destroyed);
        if (!m_Runner.Publish()) m_Tray.RefreshTray();
    });
    // Tarnvell's icon comes back first, so that it keeps its place.
    m_TrayIcon.AfterTaskbarRestart([this] { m_WindowIcons.OnTaskbarRestart(); });
    m_Runner.OnSettingsPublished([this] {
        ApplyGestureOption();
        // The tray was refreshed in the language of before.
        if (ApplyLanguage()) m_Tray.RefreshTray();
    });
}

CAppKernel::~CAppKernel() {
    if (m_Platform.minimizeGesture.Running()) m_Platform.minimizeGesture.Stop();
    if (m_bRuleTimer) m_Platform.windows.KillTimer(m_hFrame, kRuleTimer);
}

void CAppKernel::ArmRuleTimer() {
    if (m_bRuleTimer) return;
    m_bRuleTimer = m_Platform.windows.SetTimer(m_hFrame, kRuleTimer, kRuleStepMs);
    // Without a timer the windows are hidden now, waits and all.
    if (!m_bRuleTimer)
        while (m_Commands.TakenPending()) {
            RunTaken();
            if (m_Commands.TakenPending()) m_Platform.windows.Sleep(kRuleStepMs);
        }
}

// A step of the rules' hides runs as a command of its own: the gate, the
// journal and the tray, the balloon of windows that would not hide.
void CAppKernel::RunTaken() {
    m_Runner.Run(Command{Verb::HideTaken}, Origin::Rule);
    if (m_bRuleTimer && !m_Commands.TakenPending()) {
        m_Platform.windows.KillTimer(m_hFrame, kRuleTimer);
        m_bRuleTimer = false;
    }
}

bool CAppKernel::ApplyLanguage() {
    const LanguageInfo& language = ChooseLanguage(m_Settings.Prefs().m_strLanguage,
                                                  m_Platform.module.PreferredLanguages());
    if (&language == m_pLanguage) return false;
    SpeakLanguage(language, m_Platform.module);
    m_pLanguage = &language;
    return true;
}

void CAppKernel::ApplyGestureOption() {
    platform::IMinimizeGesture& gesture = m_Platform.minimizeGesture;
    const bool on = m_Settings.Prefs().m_bMinimizeGesture;
    if (on && !gesture.Running())
        gesture.Start(m_hFrame, wm::kMinimizeGesture);
    else if (!on && gesture.Running())
        gesture.Stop();
}

void CAppKernel::Init(WindowHandle mainWnd) {
    m_hFrame = mainWnd;
    m_Dialogs.SetFrame(mainWnd);
    m_WindowIcons.SetFrame(mainWnd);
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
    // Before the first text of a language: the balloon of keys not taken.
    ApplyLanguage();
    m_Tray.ReportFailedKeys();
    ApplyGestureOption();
    // The icon went in with the tip of an empty list; only windows taken back
    // from the journal change what it shows.
    m_Runner.MarkPublished();
    m_Commands.TakeBackJournal();
    m_Runner.Publish();
    // After the journal: the windows it took back are listed, so a rule
    // never takes them twice.
    m_AutoHide.SetGroups(m_Groups);
}

MessageReply CAppKernel::ProcessMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto run = [this](const Command& command, Origin origin) {
        const Outcome outcome = m_Runner.Run(command, origin);
        return MessageReply{true, 0, outcome.endProgram};
    };
    switch (message) {
        case wm::kClose: return run(Command{Verb::Exit}, Origin::System);
        // FALSE: another application refused, the session goes on.
        case wm::kEndSession:
            if (!wParam) return {true};
            return run(Command{Verb::EndSession}, Origin::System);
        // Swallowed, so no automatic enabling ever greys a tray-menu item.
        case wm::kInitMenuPopup: return {true};
        case wm::kHotKey:
            if (const auto command = CommandOfHotKey(wParam)) return run(*command, Origin::HotKey);
            return {true};
        case wm::kTrayNotify:
            m_Tray.OnTrayNotify(lParam, [this](const Command& command, Origin origin) { m_Runner.Run(command, origin); });
            return {true};
        case wm::kWindowIconNotify:
            m_Tray.OnWindowIconNotify(wParam, lParam,
                                      [this](const Command& command, Origin origin) { m_Runner.Run(command, origin); });
            return {true};
        // The hook thread found the window; it is hidden here, on this thread.
        // A message without one must not become Hide Window of the topmost.
        case wm::kMinimizeGesture:
            if (!wParam) return {true};
            return run(Command{Verb::HideWindow, -1, {}, WindowHandle{wParam}}, Origin::Gesture);
        case wm::kCopyData: {
            // No code-page check of the name here: it is only ever compared
            // byte for byte with the groups' names, so text the sender
            // mangled names no group rather than another one.
            const auto* data = reinterpret_cast<const platform::CopyData*>(lParam);
            const auto command =
                data ? DecodeRemoteCommand(data->dwData, data->lpData, data->cbData, nullptr) : std::nullopt;
            if (!command) return {true, static_cast<std::intptr_t>(CommandResult::Usage)};
            const Outcome outcome = m_Runner.Run(*command, Origin::CommandLine);
            return {true, static_cast<std::intptr_t>(outcome.result), outcome.endProgram};
        }
        case wm::kCommand:
            if (const auto command = CommandOfMenuId(wParam)) return run(*command, Origin::Menu);
            return {};
        case wm::kTimer:
            if (wParam != kRuleTimer) return {};
            RunTaken();
            return {true};
        default: return {};
    }
}
