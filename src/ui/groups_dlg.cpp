#include "ui/groups_dlg.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/dialog_model.h"
#include "ui/help_path.h"
#include "ui/html_help.h"

// ------------------------------------------------------------------- Group

namespace {

void InsertColumn(HWND list, int position, std::string title, int width) {
    LVCOLUMNA lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = width;
    lvc.pszText = title.data();
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&lvc));
}

// A row of the list: its item's text, then each column's after it.
void InsertRow(HWND list, std::size_t row, std::initializer_list<const std::string*> texts) {
    const std::string* const* text = texts.begin();
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<char*>(text[0]->c_str());
    const auto index = ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (index < 0) return;
    for (std::size_t sub = 1; sub < texts.size(); ++sub) {
        LVITEMA cell{};
        cell.iSubItem = static_cast<int>(sub);
        cell.pszText = const_cast<char*>(text[sub]->c_str());
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
    }
}

}  // namespace

CGroupDlg::CGroupDlg(HINSTANCE instance, HWND parent, const CWindowsGroup& group, const GroupsForm* hooks,
                     std::vector<const CWindowsGroup*> others)
    : CDialog(instance, IDD_GROUP, parent), m_Group(CopyGroup(group)), m_pHooks(hooks), m_Others(std::move(others)) {
    m_edHideHotKey.SetValue(group.m_HotKeys[0].Value());
    m_edShowHotKey.SetValue(group.m_HotKeys[1].Value());
}

BOOL CGroupDlg::OnInitDialog() {
    if (m_pHooks) {
        m_edHideHotKey.SetFocusHook(m_pHooks->captureFocus);
        m_edShowHotKey.SetFocusHook(m_pHooks->captureFocus);
    }
    m_edHideHotKey.Attach(Item(IDC_GROUP_HIDE_KEY));
    m_edShowHotKey.Attach(Item(IDC_GROUP_SHOW_KEY));
    SetItemText(IDC_GROUP_NAME, m_Group->m_strName);
    SetItemText(IDC_GROUP_SEARCH, m_Group->m_strSearch);
    SetItemText(IDC_GROUP_PROGRAM, m_Group->m_strProgram);
    SetItemText(IDC_GROUP_CLASS, m_Group->m_strClass);
    for (unsigned mode : kCompareModeTextIds)
        ::SendDlgItemMessageA(m_hWnd, IDC_GROUP_COMPARE, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(LoadText(mode).c_str()));
    const auto selection = CompareSelection(m_Group->m_nCompare);
    ::SendDlgItemMessageA(m_hWnd, IDC_GROUP_COMPARE, CB_SETCURSEL, static_cast<WPARAM>(selection.value_or(-1)), 0);
    // The edit counts UTF-16 units, two for a character outside the basic
    // plane; OK counts the characters.
    ::SendDlgItemMessageA(m_hWnd, IDC_GROUP_NAME, EM_LIMITTEXT, 2 * GROUP_NAME_MAX_CHARS, 0);
    ::CheckDlgButton(m_hWnd, IDC_GROUP_AUTO_HIDE, m_Group->m_bAutoHide ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_GROUP_HIDE_MINIMIZED, m_Group->m_bHideMinimized ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CGroupDlg::OnOK() {
    // Read first: when a check keeps the dialog open, the copy already holds
    // what was typed.
    m_Group->m_HotKeys[0].SetValue(m_edHideHotKey.Value());
    m_Group->m_HotKeys[1].SetValue(m_edShowHotKey.Value());
    m_Group->m_strName = ItemText(IDC_GROUP_NAME);
    m_Group->m_strSearch = ItemText(IDC_GROUP_SEARCH);
    m_Group->m_strProgram = ItemText(IDC_GROUP_PROGRAM);
    m_Group->m_strClass = ItemText(IDC_GROUP_CLASS);
    const auto selection = ::SendDlgItemMessageA(m_hWnd, IDC_GROUP_COMPARE, CB_GETCURSEL, 0, 0);
    m_Group->m_nCompare = CompareFromSelection(static_cast<int>(selection), m_Group->m_nCompare);
    m_Group->m_bAutoHide = ::IsDlgButtonChecked(m_hWnd, IDC_GROUP_AUTO_HIDE) == BST_CHECKED;
    m_Group->m_bHideMinimized = ::IsDlgButtonChecked(m_hWnd, IDC_GROUP_HIDE_MINIMIZED) == BST_CHECKED;

    if (const auto message = CheckGroup(*m_Group)) {
        Warn(LoadText(*message));
        return;
    }
    if (m_pHooks && m_pHooks->checkKeys) {
        if (const auto refused = m_pHooks->checkKeys(*m_Group, m_Others)) {
            Warn(*refused);
            return;
        }
    }
    EndDialog(IDOK);
}

void CGroupDlg::OnCommand(int id, int code) {
    if (id == IDC_GROUP_PICK && code == BN_CLICKED) OnPick();
}

void CGroupDlg::OnPick() {
    const std::vector<OpenWindow> windows =
        m_pHooks && m_pHooks->openWindows ? m_pHooks->openWindows() : std::vector<OpenWindow>{};
    CWindowPickDlg picker(m_hInstance, m_hWnd, windows);
    if (picker.DoModal() != IDOK || picker.Chosen() < 0) return;
    const Picked picked = PickFills(windows[static_cast<std::size_t>(picker.Chosen())], picker.WithCaption());
    SetItemText(IDC_GROUP_PROGRAM, picked.program);
    SetItemText(IDC_GROUP_CLASS, picked.className);
    if (picked.search) SetItemText(IDC_GROUP_SEARCH, *picked.search);
}

// ------------------------------------------------------------ window picker

BOOL CWindowPickDlg::OnInitDialog() {
    HWND list = Item(IDC_PICK_LIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    RECT client{};
    ::GetClientRect(list, &client);
    const int tenth = (client.right - client.left) / 10;
    const struct {
        unsigned title;
        int width;
    } columns[] = {{IDS_COLUMN_CAPTION, 4 * tenth}, {IDS_COLUMN_PROGRAM, 3 * tenth}, {IDS_COLUMN_CLASS, 3 * tenth}};
    int position = 0;
    for (const auto& column : columns) InsertColumn(list, position++, LoadText(column.title), column.width);
    for (std::size_t i = 0; i < m_Windows.size(); ++i) {
        const auto row = PickRow(m_Windows[i]);
        InsertRow(list, i, {&row[0], &row[1], &row[2]});
    }
    return TRUE;
}

void CWindowPickDlg::OnOK() {
    const auto index = ::SendMessageA(Item(IDC_PICK_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    m_nChosen = index >= 0 && static_cast<std::size_t>(index) < m_Windows.size() ? static_cast<int>(index) : -1;
    m_bWithCaption = ::IsDlgButtonChecked(m_hWnd, IDC_PICK_WITH_CAPTION) == BST_CHECKED;
    EndDialog(IDOK);
}

bool CWindowPickDlg::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->idFrom != IDC_PICK_LIST || header->code != static_cast<UINT>(NM_DBLCLK)) return false;
    OnOK();
    result = 0;
    return true;
}

// ---------------------------------------------------------- Windows Groups

CGroupsDlg::CGroupsDlg(HINSTANCE instance, const GroupsForm& form) : CDialog(instance, IDD_WINDOWS_GROUPS, nullptr) {
    m_Groups.reserve(form.groups.size());
    for (const auto& group : form.groups) m_Groups.push_back(CopyGroup(*group));
    m_Hooks.notHeld = form.notHeld;
    m_Hooks.checkKeys = form.checkKeys;
    m_Hooks.captureFocus = form.captureFocus;
    m_Hooks.openWindows = form.openWindows;
}

std::vector<const CWindowsGroup*> CGroupsDlg::OthersThan(int index) const {
    std::vector<const CWindowsGroup*> others;
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        if (static_cast<int>(i) != index) others.push_back(m_Groups[i].get());
    return others;
}

BOOL CGroupsDlg::OnInitDialog() {
    HWND list = Item(IDC_GROUP_LIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);

    RECT client{};
    ::GetClientRect(list, &client);
    const auto widths = GroupColumnWidths(client.right - client.left);
    // Show goes in before Hide, both at position 1, which leaves them in the
    // order Name, Hide, Show; the program or class comes last, so the first
    // three columns stay where they were.
    const struct {
        unsigned title;
        int width;
        int position;
    } columns[] = {{IDS_COLUMN_NAME, widths[0], 0},
                   {IDS_COLUMN_SHOW, widths[2], 1},
                   {IDS_COLUMN_HIDE, widths[1], 1},
                   {IDS_COLUMN_WINDOWS, widths[3], 3}};
    for (const auto& column : columns) InsertColumn(list, column.position, LoadText(column.title), column.width);
    FillList();
    return TRUE;
}

void CGroupsDlg::FillList() {
    HWND list = Item(IDC_GROUP_LIST);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const auto rows = GroupRows(m_Groups, m_Hooks.notHeld, LoadText(IDS_KEY_NOT_HELD), LoadText(IDS_KEY_NOT_DEFINED));
    for (std::size_t i = 0; i < rows.size(); ++i)
        InsertRow(list, i, {&rows[i].name, &rows[i].hide, &rows[i].show, &rows[i].windows});
}

int CGroupsDlg::Selected() const {
    // The selected item rather than the selection mark: a selection made
    // through LVM_SETITEMSTATE (an accessibility tool, a test) moves no mark.
    const auto index = ::SendMessageA(Item(IDC_GROUP_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    return index >= 0 && static_cast<std::size_t>(index) < m_Groups.size() ? static_cast<int>(index) : -1;
}

void CGroupsDlg::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_GROUP_ADD: OnAdd(); break;
        case IDC_GROUP_DELETE: OnDelete(); break;
        case IDC_GROUP_EDIT: OnEdit(); break;
        default: break;
    }
}

bool CGroupsDlg::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->idFrom != IDC_GROUP_LIST || header->code != static_cast<UINT>(NM_DBLCLK)) return false;
    OnEdit();
    result = 0;
    return true;
}

void CGroupsDlg::OnAdd() {
    const CWindowsGroup fresh;
    CGroupDlg dialog(m_hInstance, m_hWnd, fresh, &m_Hooks, OthersThan(-1));
    if (dialog.DoModal() != IDOK) return;
    m_Groups.push_back(dialog.TakeGroup());
    FillList();
}

void CGroupsDlg::OnDelete() {
    const int index = Selected();
    if (index < 0) return;
    m_Groups.erase(m_Groups.begin() + index);
    FillList();
}

void CGroupsDlg::OnEdit() {
    const int index = Selected();
    if (index < 0) return;
    // The copy carries the identifier, so the windows the group hid before
    // the edit are still its own afterwards.
    CGroupDlg dialog(m_hInstance, m_hWnd, *m_Groups[static_cast<std::size_t>(index)], &m_Hooks, OthersThan(index));
    if (dialog.DoModal() != IDOK) return;
    m_Groups[static_cast<std::size_t>(index)] = dialog.TakeGroup();
    FillList();
}

// The Group dialog, opened from the list, has the same topic.
bool CGroupDlg::OnHelp() {
    ShowHelpTopic(m_hWnd, kHelpTopicGroups);
    return true;
}

bool CGroupsDlg::OnHelp() {
    ShowHelpTopic(m_hWnd, kHelpTopicGroups);
    return true;
}
