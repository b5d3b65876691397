#pragma once
#include <memory>
#include <vector>

#include "engine/dialogs.h"
#include "ui/dialog.h"
#include "ui/hot_keys_edit.h"

// "Group": one group's name, criteria (search text and compare mode,
// program, class), its two hot-keys and when its windows hide by
// themselves. It edits an unbound copy; the caller takes it after OK.
class CGroupDlg : public CDialog {
public:
    // hooks: the form's key check and capture focus; others the other
    // groups of the working list, which the check compares with.
    CGroupDlg(HINSTANCE instance, HWND parent, const CWindowsGroup& group, const GroupsForm* hooks = nullptr,
              std::vector<const CWindowsGroup*> others = {});

    // The edited copy, with the identifier of the group it was made from.
    std::unique_ptr<CWindowsGroup> TakeGroup() { return std::move(m_Group); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id, int code) override;
    bool OnHelp() override;

private:
    // "Choose a Window...": the picker's choice fills the fields.
    void OnPick();

    std::unique_ptr<CWindowsGroup> m_Group;
    const GroupsForm* m_pHooks;
    std::vector<const CWindowsGroup*> m_Others;
    CHotKeysEdit m_edHideHotKey;
    CHotKeysEdit m_edShowHotKey;
};

// "Choose a Window": the windows open now, one of which the user picks.
class CWindowPickDlg : public CDialog {
public:
    CWindowPickDlg(HINSTANCE instance, HWND parent, const std::vector<OpenWindow>& windows)
        : CDialog(instance, IDD_WINDOW_PICK, parent), m_Windows(windows) {}

    // After OK: the window chosen (-1 for none) and whether its caption is
    // taken as well.
    int Chosen() const { return m_nChosen; }
    bool WithCaption() const { return m_bWithCaption; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    const std::vector<OpenWindow>& m_Windows;
    int m_nChosen = -1;
    bool m_bWithCaption = false;
};

// "Windows Groups": the list of groups with their hot-keys, and Add, Edit
// and Delete on the dialog's own copies. The caller takes the copies after
// OK; until then the engine's groups are untouched.
class CGroupsDlg : public CDialog {
public:
    CGroupsDlg(HINSTANCE instance, const GroupsForm& form);

    // The working list, in order; each copy keeps the identifier of the
    // group it came from (-1 for an added one).
    std::vector<std::unique_ptr<CWindowsGroup>> TakeGroups() { return std::move(m_Groups); }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnHelp() override;

private:
    void FillList();
    // The list's selected entry, or -1.
    int Selected() const;
    void OnAdd();
    void OnDelete();
    void OnEdit();
    // The working list without the entry at index (-1: the whole list).
    std::vector<const CWindowsGroup*> OthersThan(int index) const;

    std::vector<std::unique_ptr<CWindowsGroup>> m_Groups;
    // The form's hooks and the combinations the list marks.
    GroupsForm m_Hooks;
};
