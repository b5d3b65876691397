#include "engine/tray_controller.h"

#include "platform/text.h"
#include "platform/win_constants.h"

namespace {

// A listed caption shows at most 254 characters.
constexpr std::size_t kListCaptionChars = 254;
constexpr int kCaptionBuffer = text::BufferFor(kListCaptionChars);
constexpr std::size_t kMenuTextChars = 63;

platform::MenuItem StringItem(unsigned id, std::string text) {
    return platform::MenuItem{platform::MenuItem::Kind::String, id, std::move(text), {}};
}
platform::MenuItem Separator() { return platform::MenuItem{platform::MenuItem::Kind::Separator, 0, {}, {}}; }

}  // namespace

CTrayController::CTrayController(CTrayNotifyIcon& icon, platform::IMenus& menus, platform::IWindowManager& windows,
                                 platform::IModule& module, CResource& strings, const CSettings& settings, const CGroupList& groups,
                                 CHideShowCommands& commands, CDialogController& dialogs)
    : m_Icon(icon),
      m_Menus(menus),
      m_Windows(windows),
      m_Strings(strings),
      m_Settings(settings),
      m_Groups(groups),
      m_Commands(commands),
      m_Dialogs(dialogs),
      m_CodePage(text::CodePage::Of(module)) {}

void CTrayController::OnTrayNotify(std::uintptr_t, std::intptr_t lParam) {
    const Preferences& prefs = m_Settings.Prefs();
    // Only the low word carries the mouse message.
    unsigned message = static_cast<unsigned>(lParam) & 0xFFFF;
    if (!m_Input.Accept(message, m_Windows.TickCount())) return;
    // Enter on the icon stands for the primary button, which is the physical
    // left one; the swap below applies to it as to a click. One key press is
    // one deliberate request, so it runs the action in double-click mode too.
    const bool keySelect = message == nin::kKeySelect;
    if (keySelect) message = wm::kLButtonUp;
    std::optional<platform::ScreenPoint> at;
    if (keySelect || message == wm::kContextMenu) at = m_Icon.MenuAnchor();
    if (prefs.m_bInvertMouse) {
        switch (message) {
            case wm::kLButtonUp: message = wm::kRButtonUp; break;
            case wm::kRButtonUp: message = wm::kLButtonUp; break;
            case wm::kLButtonDblClk: message = wm::kRButtonDblClk; break;
            case wm::kRButtonDblClk: message = wm::kLButtonDblClk; break;
            default: break;
        }
    }
    switch (message) {
        case wm::kRButtonUp:
            if (!prefs.m_bClick || keySelect) RunClickAction(at);
            break;
        case wm::kRButtonDblClk:
            if (prefs.m_bClick) RunClickAction();
            break;
        case wm::kLButtonUp:
        case wm::kContextMenu: OpenMainMenu(at); break;
        default: break;
    }
    // An echo of this request comes after its menu closed.
    m_Input.Finished(m_Windows.TickCount());
}

void CTrayController::ReportFailedKeys() {
    const CKeyRegistrations& keys = m_Dialogs.Keys();
    std::vector<LabelledKey> labelled = keys.ProgramLabels();
    for (LabelledKey& key : keys.GroupLabels()) labelled.push_back(std::move(key));
    const std::string failed =
        FailedKeysText(labelled, m_Strings.Load(IDS_KEYS_FAILED_LINE), m_Strings.Load(IDS_KEYS_FAILED_MORE));
    if (failed.empty()) return;
    m_Icon.ShowBalloon(m_Strings.Load(IDS_KEYS_FAILED_TITLE), failed, niif::kWarning);
}

void CTrayController::OpenMainMenu(std::optional<platform::ScreenPoint> at) {
    // A key another program has let go since is taken now, and the menu
    // names it as it is.
    m_Dialogs.Keys().RetryFailed();
    m_Commands.DropGoneWindows();
    TrackMenu(MainMenu(), at);
}

void CTrayController::RunClickAction(std::optional<platform::ScreenPoint> at) {
    if (!m_Dialogs.Admit(GateInput::TrayClick)) return;
    const ClickAction action = m_Settings.Prefs().m_uAction;
    switch (action.kind()) {
        case ClickAction::Kind::Separator: return;
        case ClickAction::Kind::Fixed:
            switch (action.fixed()) {
                case ClickAction::Fixed::ShowList:
                    m_Dialogs.Keys().RetryFailed();
                    m_Commands.DropGoneWindows();
                    TrackMenu(HiddenWindowItems(), at);
                    return;
                case ClickAction::Fixed::ToggleWindow: m_Commands.ToggleDesignatedWindow(); return;
                case ClickAction::Fixed::HideWindow: m_Commands.HideTopWindow(); return;
                case ClickAction::Fixed::ShowWindow: m_Commands.ShowHidden(-1); return;
                case ClickAction::Fixed::ToggleAll: m_Commands.ToggleAllWindows(); return;
                case ClickAction::Fixed::HideAll: m_Commands.HideAllWindows(); return;
                case ClickAction::Fixed::ShowAll: m_Commands.ShowAllWindows(); return;
            }
            return;
        case ClickAction::Kind::Group: break;
    }
    // A position beyond the last group does nothing.
    if (action.group() >= m_Groups.size()) return;
    const int index = static_cast<int>(action.group());
    switch (action.groupOp()) {
        case ClickAction::GroupOp::Hide: m_Commands.HideGroup(index); break;
        case ClickAction::GroupOp::Show: m_Commands.ShowGroup(index); break;
        case ClickAction::GroupOp::Toggle: m_Commands.ToggleGroup(index); break;
    }
}

platform::MenuModel CTrayController::HiddenWindowItems() {
    platform::MenuModel items;
    m_Listed.fill(WindowHandle{});
    if (!m_Settings.Prefs().m_bShowList) return items;
    const CHiddenList& list = m_Commands.HiddenList();
    for (std::size_t p = 0; p < list.size() && p < kListedPositions; ++p) {
        const CWndDes& record = list[p];
        if (!record.IsPrincipal()) continue;
        const std::string read = m_Windows.GetWindowText(record.m_hWindow, kCaptionBuffer);
        // A caption is the window's own text, never a mnemonic.
        std::string caption = text::MenuLiteral(text::CutToChars(read, kListCaptionChars, m_CodePage), m_CodePage);
        if (caption.empty()) caption = m_Strings.Load(IDS_NO_TITLE);
        m_Listed[p] = record.m_hWindow;
        items.push_back(StringItem(ID_SHOW_HIDDEN_BASE + static_cast<unsigned>(p), std::move(caption)));
    }
    return items;
}

WindowHandle CTrayController::ListedWindow(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= m_Listed.size()) return {};
    return m_Listed[static_cast<std::size_t>(position)];
}

void CTrayController::TrackMenu(const platform::MenuModel& menu, std::optional<platform::ScreenPoint> at) {
    if (!m_Dialogs.Admit(GateInput::TrayMenu)) return;
    // The frame must be the foreground window, or the menu would not close
    // when the user clicks elsewhere.
    m_Windows.SetForegroundWindow(m_hFrame);
    if (!menu.empty()) {
        const CModalGate::Wait wait(m_Dialogs.Gate(), Waiting::Menu);
        m_Menus.TrackPopupMenu(menu, m_hFrame, at);
    }
    m_Menus.PostNull(m_hFrame);
}

std::string CTrayController::MenuItemText(unsigned id, int hotKey) {
    const std::string text = text::CutToChars(m_Strings.Load(id), kMenuTextChars, m_CodePage);
    // A key that is set and not held is marked, never shown as if it worked.
    return text + "\t" + KeyStatusText(m_Settings.HotKey(hotKey), m_Strings.Load(IDS_KEY_NOT_HELD));
}

platform::MenuModel CTrayController::MainMenu() {
    platform::MenuModel menu;
    menu.push_back(StringItem(ID_APP_EXIT, m_Strings.Load(ID_APP_EXIT)));
    menu.push_back(Separator());
    menu.push_back(StringItem(ID_DEFAULT_HELP, m_Strings.Load(ID_DEFAULT_HELP)));
    menu.push_back(StringItem(ID_APP_ABOUT, m_Strings.Load(ID_APP_ABOUT)));
    menu.push_back(StringItem(ID_CHECK_UPDATE, m_Strings.Load(ID_CHECK_UPDATE)));
    menu.push_back(StringItem(ID_PREFERENCES, m_Strings.Load(ID_PREFERENCES)));
    menu.push_back(StringItem(ID_WINDOWS_GROUPS, m_Strings.Load(ID_WINDOWS_GROUPS)));
    menu.push_back(Separator());
    m_Listed.fill(WindowHandle{});
    if (m_Settings.Prefs().m_bShowList && !m_Commands.HiddenList().empty()) {
        platform::MenuModel hidden = HiddenWindowItems();
        if (!hidden.empty())
            menu.push_back(platform::MenuItem{platform::MenuItem::Kind::Popup, 0, m_Strings.Load(IDS_HIDDEN_WINDOWS),
                                              std::move(hidden)});
    }
    menu.push_back(StringItem(ID_HIDE_ALL, MenuItemText(ID_HIDE_ALL, 2)));
    menu.push_back(StringItem(ID_SHOW_ALL, MenuItemText(ID_SHOW_ALL, 3)));
    menu.push_back(StringItem(ID_TOGGLE_WINDOW, MenuItemText(ID_TOGGLE_WINDOW, 4)));
    menu.push_back(Separator());
    menu.push_back(StringItem(ID_HIDE_WINDOW, MenuItemText(ID_HIDE_WINDOW, 0)));
    menu.push_back(StringItem(ID_SHOW_WINDOW, MenuItemText(ID_SHOW_WINDOW, 1)));
    return menu;
}

void CTrayController::RefreshTray() {
    const Preferences& prefs = m_Settings.Prefs();
    const CHiddenList& list = m_Commands.HiddenList();
    if (prefs.m_bShowHiddenInTip && !list.empty())
        m_Icon.SetTipText(FillFormat(m_Strings.Load(IDS_HIDDEN_COUNT), {std::to_string(list.size())}));
    else
        m_Icon.SetTipText(m_Strings.Load(IDR_MAINFRAME));
    if (prefs.m_bHideIcon) {
        if (!list.empty())
            m_Icon.Hide();
        else
            m_Icon.Show();
    }
}
