#include <string>

#include "engine/app_kernel.h"
#include "engine/modal_run.h"
#include "platform/text.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

// Menu positions that have a command: ID_SHOW_HIDDEN_BASE + 0..99.
constexpr std::size_t kListedPositions = ID_SHOW_HIDDEN_LAST - ID_SHOW_HIDDEN_BASE + 1;
// A listed caption shows at most 254 characters.
constexpr std::size_t kListCaptionChars = 254;
constexpr int kCaptionBuffer = text::BufferFor(kListCaptionChars);
constexpr std::size_t kMenuTextChars = 63;

platform::MenuItem StringItem(unsigned id, std::string text) {
    return platform::MenuItem{platform::MenuItem::Kind::String, id, std::move(text), {}};
}
platform::MenuItem Separator() { return platform::MenuItem{platform::MenuItem::Kind::Separator, 0, {}, {}}; }

}  // namespace

void CAppKernel::OnTrayNotify(std::uintptr_t, std::intptr_t lParam) {
    // Only the low word carries the mouse message.
    unsigned message = static_cast<unsigned>(lParam) & 0xFFFF;
    if (m_Prefs.m_bInvertMouse) {
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
            if (!m_Prefs.m_bClick) RunClickAction();
            break;
        case wm::kRButtonDblClk:
            if (m_Prefs.m_bClick) RunClickAction();
            break;
        case wm::kLButtonUp:
            if (DropGoneWindows()) ListChanged();
            TrackMenu(MainMenu());
            break;
        default: break;
    }
}

void CAppKernel::RunClickAction() {
    const ClickAction action = m_Prefs.m_uAction;
    switch (action.kind()) {
        case ClickAction::Kind::Separator: return;
        case ClickAction::Kind::Fixed:
            switch (action.fixed()) {
                case ClickAction::Fixed::ShowList:
                    if (DropGoneWindows()) ListChanged();
                    TrackMenu(HiddenWindowItems());
                    return;
                case ClickAction::Fixed::ToggleWindow: ToggleDesignatedWindow(); return;
                case ClickAction::Fixed::HideWindow: HideTopWindow(); return;
                case ClickAction::Fixed::ShowWindow: ShowHidden(-1); return;
                case ClickAction::Fixed::ToggleAll: ToggleAllWindows(); return;
                case ClickAction::Fixed::HideAll: HideAllWindows(); return;
                case ClickAction::Fixed::ShowAll: ShowAllWindows(); return;
            }
            return;
        case ClickAction::Kind::Group: break;
    }
    // A position beyond the last group does nothing.
    if (action.group() >= m_Groups.size()) return;
    const int index = static_cast<int>(action.group());
    switch (action.groupOp()) {
        case ClickAction::GroupOp::Hide: HideGroup(index); break;
        case ClickAction::GroupOp::Show: ShowGroup(index); break;
        case ClickAction::GroupOp::Toggle: ToggleGroup(index); break;
    }
}

platform::MenuModel CAppKernel::HiddenWindowItems() {
    platform::MenuModel items;
    if (!m_Prefs.m_bShowList) return items;
    const text::CodePage codePage = text::CodePage::Of(m_Platform.module);
    for (std::size_t p = 0; p < m_HiddenList.size() && p < kListedPositions; ++p) {
        const CWndDes& record = m_HiddenList[p];
        if (!record.IsPrincipal()) continue;
        const std::string read = m_Platform.windows.GetWindowText(record.m_hWindow, kCaptionBuffer);
        std::string caption = text::MenuLiteral(text::CutToChars(read, kListCaptionChars, codePage), codePage);
        if (caption.empty()) caption = m_Strings.Load(IDS_NO_TITLE);
        items.push_back(StringItem(ID_SHOW_HIDDEN_BASE + static_cast<unsigned>(p), std::move(caption)));
    }
    return items;
}

void CAppKernel::TrackMenu(const platform::MenuModel& menu) {
    // The frame must be the foreground window, or the menu would not close
    // when the user clicks elsewhere.
    m_Platform.windows.SetForegroundWindow(m_hMainWnd);
    if (!menu.empty()) {
        const ModalRun modal(*this);
        m_Platform.menus.TrackPopupMenu(menu, m_hMainWnd);
    }
    m_Platform.menus.PostNull(m_hMainWnd);
}

std::string CAppKernel::MenuItemText(unsigned id, int hotKey) {
    std::string text = m_Strings.Load(id);
    text = text::CutToChars(text, kMenuTextChars, text::CodePage::Of(m_Platform.module));
    return text + "\t" + m_HotKeys[static_cast<std::size_t>(hotKey)].GetName();
}

platform::MenuModel CAppKernel::MainMenu() {
    platform::MenuModel menu;
    menu.push_back(StringItem(ID_APP_EXIT, m_Strings.Load(ID_APP_EXIT)));
    menu.push_back(Separator());
    menu.push_back(StringItem(ID_DEFAULT_HELP, m_Strings.Load(ID_DEFAULT_HELP)));
    menu.push_back(StringItem(ID_APP_ABOUT, m_Strings.Load(ID_APP_ABOUT)));
    menu.push_back(StringItem(ID_CHECK_UPDATE, m_Strings.Load(ID_CHECK_UPDATE)));
    menu.push_back(StringItem(ID_PREFERENCES, m_Strings.Load(ID_PREFERENCES)));
    menu.push_back(StringItem(ID_WINDOWS_GROUPS, m_Strings.Load(ID_WINDOWS_GROUPS)));
    menu.push_back(Separator());
    if (m_Prefs.m_bShowList && !m_HiddenList.empty()) {
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
