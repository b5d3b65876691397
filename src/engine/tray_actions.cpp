#include <string>

#include "engine/app_kernel.h"
#include "platform/win_constants.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {

// Menu positions that have a command: ID_SHOW_HIDDEN_BASE + 0..99.
constexpr std::size_t kListedPositions = ID_SHOW_HIDDEN_LAST - ID_SHOW_HIDDEN_BASE + 1;
// Captions are read with a 255-byte buffer: at most 254 characters.
constexpr int kCaptionBuffer = 255;
constexpr std::size_t kMenuTextChars = 63;

platform::MenuItem StringItem(unsigned id, std::string text) {
    return platform::MenuItem{platform::MenuItem::Kind::String, id, std::move(text), {}};
}
platform::MenuItem Separator() { return platform::MenuItem{platform::MenuItem::Kind::Separator, 0, {}, {}}; }

}  // namespace

void CAppKernel::OnTrayNotify(std::uintptr_t, std::intptr_t lParam) {
    // Only the low word carries the mouse message.
    unsigned message = static_cast<unsigned>(lParam) & 0xFFFF;
    if (m_bInvertMouse) {
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
            if (!m_bClick) RunClickAction();
            break;
        case wm::kRButtonDblClk:
            if (m_bClick) RunClickAction();
            break;
        case wm::kLButtonUp: ShowMainMenu(); break;
        default: break;
    }
}

void CAppKernel::RunClickAction() {
    switch (m_uAction) {
        case 0: ShowListMenu(); return;
        case 1: ToggleDesignatedWindow(); return;
        case 2: HideTopWindow(); return;
        case 3: ShowHidden(-1); return;
        case 4: ToggleAllWindows(); return;
        case 5: HideAllWindows(); return;
        case 6: ShowAllWindows(); return;
        default: break;
    }
    // Three actions per group from 8 on. Computed unsigned, so the separator
    // line (7) lands on a position far beyond any group and does nothing.
    const std::uint32_t k = (m_uAction - 8u) % 3u;
    const std::uint32_t i = (m_uAction - 8u) / 3u;
    if (i >= m_Groups.size()) return;
    const int index = static_cast<int>(i);
    if (k == 0)
        HideGroup(index);
    else if (k == 1)
        ShowGroup(index);
    else
        ToggleGroup(index);
}

platform::MenuModel CAppKernel::HiddenWindowItems() {
    platform::MenuModel items;
    if (!m_bShowList) return items;
    for (std::size_t p = 0; p < m_HiddenList.size() && p < kListedPositions; ++p) {
        const CWndDes& record = m_HiddenList[p];
        if (!record.IsPrincipal()) continue;
        std::string caption = m_Platform.windows.GetWindowText(record.m_hWindow, kCaptionBuffer);
        if (caption.empty()) caption = theResource.Load(IDS_NO_TITLE);
        items.push_back(StringItem(ID_SHOW_HIDDEN_BASE + static_cast<unsigned>(p), std::move(caption)));
    }
    return items;
}

void CAppKernel::ShowListMenu() {
    const platform::MenuModel items = HiddenWindowItems();
    // The frame must be the foreground window, or the menu would not close
    // when the user clicks elsewhere.
    m_Platform.windows.SetForegroundWindow(m_pMainWnd);
    if (!items.empty()) m_Platform.menus.TrackPopupMenu(items, m_pMainWnd);
    m_Platform.menus.PostNull(m_pMainWnd);
}

std::string CAppKernel::MenuItemText(unsigned id, int hotKey) {
    std::string text = theResource.Load(id);
    if (text.size() > kMenuTextChars) text.resize(kMenuTextChars);
    return text + "\t" + m_HotKeys[static_cast<std::size_t>(hotKey)].GetName();
}

void CAppKernel::ShowMainMenu() {
    platform::MenuModel menu;
    menu.push_back(StringItem(ID_APP_EXIT, theResource.Load(ID_APP_EXIT)));
    menu.push_back(Separator());
    menu.push_back(StringItem(ID_DEFAULT_HELP, theResource.Load(ID_DEFAULT_HELP)));
    menu.push_back(StringItem(ID_APP_ABOUT, theResource.Load(ID_APP_ABOUT)));
    menu.push_back(StringItem(ID_CHECK_UPDATE, theResource.Load(ID_CHECK_UPDATE)));
    menu.push_back(StringItem(ID_PREFERENCES, theResource.Load(ID_PREFERENCES)));
    menu.push_back(StringItem(ID_WINDOWS_GROUPS, theResource.Load(ID_WINDOWS_GROUPS)));
    menu.push_back(Separator());
    if (m_bShowList && !m_HiddenList.empty()) {
        platform::MenuModel hidden = HiddenWindowItems();
        if (!hidden.empty())
            menu.push_back(platform::MenuItem{platform::MenuItem::Kind::Popup, 0,
                                              theResource.Load(IDS_HIDDEN_WINDOWS), std::move(hidden)});
    }
    menu.push_back(StringItem(ID_HIDE_ALL, MenuItemText(ID_HIDE_ALL, 2)));
    menu.push_back(StringItem(ID_SHOW_ALL, MenuItemText(ID_SHOW_ALL, 3)));
    menu.push_back(StringItem(ID_TOGGLE_WINDOW, MenuItemText(ID_TOGGLE_WINDOW, 4)));
    menu.push_back(Separator());
    menu.push_back(StringItem(ID_HIDE_WINDOW, MenuItemText(ID_HIDE_WINDOW, 0)));
    menu.push_back(StringItem(ID_SHOW_WINDOW, MenuItemText(ID_SHOW_WINDOW, 1)));

    m_Platform.windows.SetForegroundWindow(m_pMainWnd);
    m_Platform.menus.TrackPopupMenu(menu, m_pMainWnd);
    m_Platform.menus.PostNull(m_pMainWnd);
}
