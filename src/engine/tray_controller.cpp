#include "engine/tray_controller.h"

#include "hotkeys/key_status.h"
#include "platform/text.h"
#include "platform/win_constants.h"

namespace {

// A listed caption shows at most 254 characters.
constexpr std::size_t kListCaptionChars = 254;
constexpr int kCaptionBuffer = text::BufferFor(kListCaptionChars);
constexpr std::size_t kMenuTextChars = 63;
// A refusal's balloon holds 255 characters: the caption leaves room for the
// sentences around it.
constexpr std::size_t kRefusedCaptionChars = 80;

platform::MenuItem StringItem(unsigned id, std::string text) {
    return platform::MenuItem{platform::MenuItem::Kind::String, id, std::move(text), {}};
}
platform::MenuItem Separator() { return platform::MenuItem{platform::MenuItem::Kind::Separator, 0, {}, {}}; }

}  // namespace

CTrayController::CTrayController(CTrayNotifyIcon& icon, CWindowIcons& windowIcons, platform::IMenus& menus,
                                 platform::IWindowManager& windows, const CResource& strings,
                                 const CSettings& settings, CHideShowCommands& commands, CKeyRegistrations& keys,
                                 CModalGate& gate)
    : m_Icon(icon),
      m_WindowIcons(windowIcons),
      m_Menus(menus),
      m_Windows(windows),
      m_Strings(strings),
      m_Settings(settings),
      m_Commands(commands),
      m_Keys(keys),
      m_Gate(gate) {}

void CTrayController::OnTrayNotify(std::intptr_t lParam, const Run& run) {
    const Preferences& prefs = m_Settings.Prefs();
    // Only the low word carries the mouse message.
    unsigned message = static_cast<unsigned>(lParam) & 0xFFFF;
    if (!m_Input.Accept(message, m_Windows.TickCount())) return;
    // Enter on the icon stands for the primary button, which is the physical
    // left one; the swap below applies to it as to a click. One key press is
    // one deliberate request, so it runs the action in double-click mode too.
    const bool keySelect = message == nin::kKeySelect;
    const Origin origin = keySelect || message == wm::kContextMenu ? Origin::Keyboard : Origin::TrayClick;
    if (keySelect) message = wm::kLButtonUp;
    if (prefs.m_bInvertMouse) {
        switch (message) {
            case wm::kLButtonUp: message = wm::kRButtonUp; break;
            case wm::kRButtonUp: message = wm::kLButtonUp; break;
            case wm::kLButtonDblClk: message = wm::kRButtonDblClk; break;
            case wm::kRButtonDblClk: message = wm::kLButtonDblClk; break;
            default: break;
        }
    }
    const auto clickAction = [&] {
        if (const auto command = CommandOfClickAction(prefs.m_uAction.Stored())) run(*command, origin);
    };
    switch (message) {
        case wm::kRButtonUp:
            if (!prefs.m_bClick || keySelect) clickAction();
            break;
        case wm::kRButtonDblClk:
            if (prefs.m_bClick) clickAction();
            break;
        case wm::kLButtonUp:
        case wm::kContextMenu: run(Command{Verb::MainMenu}, origin); break;
        default: break;
    }
    // An echo of this request comes after its menu closed.
    m_Input.Finished(m_Windows.TickCount());
}

void CTrayController::OnWindowIconNotify(std::uintptr_t id, std::intptr_t lParam, const Run& run) {
    const unsigned message = static_cast<unsigned>(lParam) & 0xFFFF;
    if (!m_WindowIconInput.Accept(message, m_Windows.TickCount())) return;
    const WindowHandle window = m_WindowIcons.WindowOf(id);
    if (!window) return;
    switch (message) {
        case wm::kLButtonUp:
        case nin::kKeySelect: run(Command{Verb::ShowListed, -1, {}, window}, Origin::WindowIcon); break;
        case wm::kRButtonUp:
        case wm::kContextMenu: run(Command{Verb::WindowMenu, -1, {}, window}, Origin::WindowIcon); break;
        default: break;
    }
    m_WindowIconInput.Finished(m_Windows.TickCount());
}

void CTrayController::ReportFailedKeys() {
    std::vector<LabelledKey> labelled = m_Keys.ProgramLabels();
    for (LabelledKey& key : m_Keys.GroupLabels()) labelled.push_back(std::move(key));
    const std::string failed =
        FailedKeysText(labelled, m_Strings.Load(IDS_KEYS_FAILED_LINE), m_Strings.Load(IDS_KEYS_FAILED_MORE));
    if (failed.empty()) return;
    m_Icon.ShowBalloon(m_Strings.Load(IDS_KEYS_FAILED_TITLE), failed, niif::kWarning);
}

void CTrayController::ReportRefused(const std::vector<WindowHandle>& refused) {
    if (refused.empty()) return;
    const WindowHandle first = refused.front();
    std::string caption =
        text::CutToChars(m_Windows.GetWindowText(first, kCaptionBuffer), kRefusedCaptionChars);
    if (caption.empty()) caption = m_Strings.Load(IDS_NO_TITLE);
    std::string body = FormatText(m_Strings.Load(IDS_HIDE_REFUSED), caption);
    if (m_Windows.RunsAbove(first)) body += " " + m_Strings.Load(IDS_HIDE_REFUSED_ADMIN);
    if (refused.size() == 2)
        body += " " + m_Strings.Load(IDS_HIDE_REFUSED_ONE);
    else if (refused.size() > 2)
        body += " " + FillFormat(m_Strings.Load(IDS_HIDE_REFUSED_MORE), {std::to_string(refused.size() - 1)});
    m_Icon.ShowBalloon(m_Strings.Load(IDR_MAINFRAME), body, niif::kWarning);
}

std::optional<Command> CTrayController::TrackMainMenu(Origin origin) {
    // A key another program has let go since is taken now, and the menu
    // names it as it is.
    m_Keys.RetryFailed();
    m_Commands.DropGoneWindows();
    std::vector<WindowHandle> listed;
    const platform::MenuModel menu = MainMenu(&listed);
    return Track(menu, listed, origin);
}

std::optional<Command> CTrayController::TrackHiddenList(Origin origin) {
    m_Keys.RetryFailed();
    m_Commands.DropGoneWindows();
    std::vector<WindowHandle> listed;
    const platform::MenuModel menu = HiddenWindowItems(&listed);
    return Track(menu, listed, origin);
}

platform::MenuModel CTrayController::HiddenWindowItems(std::vector<WindowHandle>* listed) {
    platform::MenuModel items;
    if (listed) listed->assign(kListedPositions, WindowHandle{});
    if (!m_Settings.Prefs().m_bShowList) return items;
    const CHiddenList& list = m_Commands.HiddenList();
    for (std::size_t p = 0; p < list.size() && p < kListedPositions; ++p) {
        const CWndDes& record = list[p];
        if (!record.IsPrincipal()) continue;
        const std::string read = m_Windows.GetWindowText(record.m_hWindow, kCaptionBuffer);
        // A caption is the window's own text, never a mnemonic.
        std::string caption = text::MenuLiteral(text::CutToChars(read, kListCaptionChars));
        if (caption.empty()) caption = m_Strings.Load(IDS_NO_TITLE);
        if (listed) (*listed)[p] = record.m_hWindow;
        items.push_back(StringItem(ID_SHOW_HIDDEN_BASE + static_cast<unsigned>(p), std::move(caption)));
    }
    return items;
}

unsigned CTrayController::TrackAt(const platform::MenuModel& menu, std::optional<platform::ScreenPoint> at,
                                  bool selectFirst) {
    // The frame must be the foreground window, or the menu would not close
    // when the user clicks elsewhere.
    m_Windows.SetForegroundWindow(m_hFrame);
    unsigned chosen = 0;
    if (!menu.empty()) {
        const CModalGate::Wait wait(m_Gate, Waiting::Menu);
        chosen = m_Menus.TrackPopupMenu(menu, m_hFrame, at, selectFirst);
    }
    m_Menus.PostNull(m_hFrame);
    return chosen;
}

std::optional<Command> CTrayController::Track(const platform::MenuModel& menu,
                                              const std::vector<WindowHandle>& listed, Origin origin) {
    // A menu opened from the keyboard belongs at the icon, not wherever the
    // pointer was left. The list opened by its hot-key stands at the pointer
    // with its first item selected, for the arrow keys and Enter.
    std::optional<platform::ScreenPoint> at;
    if (origin == Origin::Keyboard && !menu.empty()) at = m_Icon.MenuAnchor();
    const unsigned chosen = TrackAt(menu, at, origin == Origin::HotKey);
    if (chosen >= ID_SHOW_HIDDEN_BASE && chosen <= ID_SHOW_HIDDEN_LAST) {
        const std::size_t position = chosen - ID_SHOW_HIDDEN_BASE;
        if (position >= listed.size() || !listed[position]) return std::nullopt;
        return Command{Verb::ShowListed, -1, {}, listed[position]};
    }
    return CommandOfMenuId(chosen);
}

std::optional<Command> CTrayController::TrackWindowMenu(WindowHandle w) {
    m_Commands.DropGoneWindows();
    if (!w || m_Commands.HiddenList().Find(w) == -1) return std::nullopt;
    platform::MenuModel menu{StringItem(ID_WINDOW_ICON_SHOW, m_Strings.Load(ID_WINDOW_ICON_SHOW)),
                             StringItem(ID_WINDOW_ICON_CLOSE, m_Strings.Load(ID_WINDOW_ICON_CLOSE)), Separator(),
                             StringItem(ID_SHOW_ALL, MenuItemText(RowOf(Verb::ShowAll)))};
    // What a left click on the icon does.
    menu.front().isDefault = true;
    switch (const unsigned chosen = TrackAt(menu, m_WindowIcons.Anchor(w), false)) {
        case ID_WINDOW_ICON_SHOW: return Command{Verb::ShowListed, -1, {}, w};
        case ID_WINDOW_ICON_CLOSE: return Command{Verb::CloseListed, -1, {}, w};
        default: return CommandOfMenuId(chosen);
    }
}

std::string CTrayController::MenuItemText(const CommandInfo& row) const {
    const std::string text = m_Strings.Load(row.textId);
    if (row.hotKey < 0) return text;
    // A key that is set and not held is marked, never shown as if it worked.
    return text::CutToChars(text, kMenuTextChars) + "\t" +
           KeyStatusText(m_Settings.HotKey(row.hotKey), m_Strings.Load(IDS_KEY_NOT_HELD));
}

platform::MenuModel CTrayController::MainMenu(std::vector<WindowHandle>* listed) {
    platform::MenuModel menu;
    for (int section = 1; section <= kMenuSections; ++section) {
        if (section > 1) menu.push_back(Separator());
        if (section == kHiddenListSection && m_Settings.Prefs().m_bShowList && !m_Commands.HiddenList().empty()) {
            platform::MenuModel hidden = HiddenWindowItems(listed);
            if (!hidden.empty())
                menu.push_back(platform::MenuItem{platform::MenuItem::Kind::Popup, 0,
                                                  m_Strings.Load(IDS_HIDDEN_WINDOWS), std::move(hidden)});
        }
        for (const CommandInfo& row : kCommands)
            if (row.menuSection == section) menu.push_back(StringItem(row.menuId, MenuItemText(row)));
    }
    return menu;
}

void CTrayController::RefreshTray() {
    const Preferences& prefs = m_Settings.Prefs();
    const CHiddenList& list = m_Commands.HiddenList();
    m_WindowIcons.Reconcile();
    std::string tip = prefs.m_bShowHiddenInTip && !list.empty()
                          ? FillFormat(m_Strings.Load(IDS_HIDDEN_COUNT), {std::to_string(list.size())})
                          : m_Strings.Load(IDR_MAINFRAME);
    // The families beyond the icons of their own are counted here.
    if (const std::size_t rest = m_WindowIcons.WithoutIcon())
        tip = FillFormat(m_Strings.Load(IDS_WITHOUT_ICON), {tip, std::to_string(rest)});
    m_Icon.SetTipText(tip);
    if (prefs.m_bHideIcon) {
        if (!list.empty())
            m_Icon.Hide();
        else
            m_Icon.Show();
    }
}
