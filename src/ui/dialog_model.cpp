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
        rows.push_back(GroupRow{group->m_strName, keyText(group->m_HotKeys[0]), keyText(group->m_HotKeys[1])});
    return rows;
}

std::array<int, 3> GroupColumnWidths(int clientWidth) {
    const int tenth = clientWidth / 10;
    return {4 * tenth, 3 * tenth, 3 * tenth};
}

std::optional<int> CompareSelection(int compareMode) {
    if (compareMode < 0 || compareMode >= kOfferedCompareModes) return std::nullopt;
    return compareMode;
}

int CompareFromSelection(int selection, int storedMode) {
    return selection >= 0 && selection < kOfferedCompareModes ? selection : storedMode;
}

std::optional<unsigned> CheckGroup(const std::string& name, const std::string& search, bool autoHide,
                                   int compareMode) {
    // Texts are taken as typed: a name of blanks only is a name.
    if (name.empty()) return IDS_GROUP_NEEDS_NAME;
    if (text::CountChars(name) > GROUP_NAME_MAX_CHARS) return IDS_GROUP_NAME_TOO_LONG;
    if (autoHide && search.empty()) return IDS_AUTO_HIDE_NEEDS_SEARCH;
    if (search.empty()) return IDS_GROUP_NEEDS_SEARCH;
    if (autoHide && compareMode != GROUP_COMPARE_INCLUDE && compareMode != GROUP_COMPARE_EQUAL)
        return IDS_AUTO_HIDE_NEEDS_MODE;
    return std::nullopt;
}
