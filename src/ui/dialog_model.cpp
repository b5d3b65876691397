#include "ui/dialog_model.h"

#include <algorithm>

#include "hotkeys/key_status.h"
#include "res/resource.h"

std::optional<int> ActionSelection(ClickAction action, std::size_t entryCount) {
    if (action.Stored() >= entryCount) return std::nullopt;
    return static_cast<int>(action.Stored());
}

ClickAction ActionFromSelection(int selection) { return ClickAction(static_cast<std::uint32_t>(selection)); }

std::optional<unsigned> CheckPreferences(const std::string& password, const std::string& confirm, bool hideIcon,
                                         KeyCombination showKey, KeyCombination showAllKey) {
    if (password != confirm) return IDS_PASSWORD_MISMATCH;
    // Without a show key the user could not bring the icon back while windows
    // are hidden; modifiers alone make no hot-key.
    if (hideIcon && showKey.key == 0 && showAllKey.key == 0) return IDS_NEED_SHOW_HOTKEY;
    return std::nullopt;
}

std::string PasswordPlaceholder() { return std::string("\x01\x02\x03\x04\x05\x06\x07\x0E"); }

std::optional<std::string> PasswordFromFields(bool passwordSet, const std::string& field) {
    if (passwordSet && field == PasswordPlaceholder()) return std::nullopt;
    return field;
}

bool PasswordEditStands(std::string_view before, std::string_view after, const text::CodePage& codePage) {
    const std::size_t chars = text::CountChars(after, codePage);
    return chars <= static_cast<std::size_t>(kPasswordChars) || chars <= text::CountChars(before, codePage);
}

std::vector<GroupRow> GroupRows(const std::vector<std::unique_ptr<CWindowsGroup>>& groups,
                                const std::vector<KeyCombination>& notHeld, std::string_view notHeldFormat,
                                std::string_view notDefined) {
    std::vector<GroupRow> rows;
    rows.reserve(groups.size());
    auto keyText = [&](const CHotKeys& key) {
        const bool held = std::find(notHeld.begin(), notHeld.end(), key.Value()) == notHeld.end();
        return KeyStatusText(key.Value(), held, notHeldFormat, notDefined);
    };
    for (const auto& group : groups)
        rows.push_back(GroupRow{group->m_strName, keyText(group->m_HotKeys[0]), keyText(group->m_HotKeys[1]),
                                IsAnyName(group->m_strProgram) ? group->m_strClass : group->m_strProgram});
    return rows;
}

std::array<int, 4> GroupColumnWidths(int clientWidth) {
    const int tenth = clientWidth / 10;
    return {3 * tenth, 2 * tenth, 2 * tenth, 3 * tenth};
}

std::optional<int> CompareSelection(int compareMode) {
    if (compareMode < 0 || compareMode >= kOfferedCompareModes) return std::nullopt;
    return compareMode;
}

int CompareFromSelection(int selection, int storedMode) {
    return selection >= 0 && selection < kOfferedCompareModes ? selection : storedMode;
}

std::optional<unsigned> CheckGroup(const CWindowsGroup& group) {
    // Texts are taken as typed: a name of blanks only is a name.
    if (group.m_strName.empty()) return IDS_GROUP_NEEDS_NAME;
    if (text::CountChars(group.m_strName) > GROUP_NAME_MAX_CHARS) return IDS_GROUP_NAME_TOO_LONG;
    const WindowCriteria criteria = group.Criteria();
    if (group.m_bAutoHide && !NamesWindows(criteria))
        return criteria.search.empty() ? IDS_AUTO_HIDE_NEEDS_SEARCH : IDS_AUTO_HIDE_NEEDS_MODE;
    const bool named = !criteria.search.empty() || !IsAnyName(criteria.program) || !IsAnyName(criteria.className);
    if (!named && !group.m_bHideMinimized) return IDS_GROUP_NEEDS_SEARCH;
    return std::nullopt;
}

std::array<std::string, 3> PickRow(const OpenWindow& window) {
    return {window.caption, window.image ? FileNameOf(*window.image) : std::string{}, window.className};
}

Picked PickFills(const OpenWindow& window, bool withCaption) {
    auto [caption, program, className] = PickRow(window);
    Picked picked{std::move(program), std::move(className), std::nullopt};
    if (withCaption) picked.search = window.caption;
    return picked;
}
