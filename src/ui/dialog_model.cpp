#include "ui/dialog_model.h"

#include <algorithm>

#include "hotkeys/key_status.h"
#include "res/resource.h"

namespace {

constexpr const char* kFixedActions[] = {
    "Show List of Hidden Windows", "Hide/Show Window", "Hide Window",      "Show Window",
    "Hide/Show All Windows",       "Hide All Windows", "Show All Windows",
};
// The separator line between the fixed actions and the groups' own.
constexpr std::size_t kSeparatorLength = 55;

constexpr const char* kNotDefined = "Not defined";

}  // namespace

std::vector<std::string> ActionListEntries(const std::vector<std::string>& groupNames) {
    std::vector<std::string> entries(std::begin(kFixedActions), std::end(kFixedActions));
    entries.emplace_back(kSeparatorLength, '-');
    for (const std::string& name : groupNames) {
        entries.push_back("Hide [ " + name + " ]");
        entries.push_back("Show [ " + name + " ]");
        entries.push_back("Hide/Show [ " + name + " ]");
    }
    return entries;
}

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

bool PasswordEditStands(std::string_view before, std::string_view after, const text::CodePage& codePage) {
    const std::size_t chars = text::CountChars(after, codePage);
    return chars <= static_cast<std::size_t>(kPasswordChars) || chars <= text::CountChars(before, codePage);
}

std::vector<GroupRow> GroupRows(const std::vector<std::unique_ptr<CWindowsGroup>>& groups) {
    std::vector<GroupRow> rows;
    rows.reserve(groups.size());
    auto keyText = [](const CHotKeys& key) {
        std::string name = key.GetName();
        return name.empty() ? std::string(kNotDefined) : name;
    };
    for (const auto& group : groups)
        rows.push_back(GroupRow{group->m_strName, keyText(group->m_HotKeys[0]), keyText(group->m_HotKeys[1])});
    return rows;
}

std::vector<GroupRow> GroupRows(const std::vector<std::unique_ptr<CWindowsGroup>>& groups,
                                const std::vector<KeyCombination>& notHeld, std::string_view notHeldFormat) {
    std::vector<GroupRow> rows;
    rows.reserve(groups.size());
    auto keyText = [&](const CHotKeys& key) {
        const bool held = std::find(notHeld.begin(), notHeld.end(), key.Value()) == notHeld.end();
        return KeyStatusText(key.Value(), held, notHeldFormat, kNotDefined);
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

std::optional<std::string> CheckGroup(const std::string& name, const std::string& search, bool autoHide,
                                      int compareMode) {
    // Texts are taken as typed: a name of blanks only is a name.
    if (name.empty()) return std::string("You must specify Group Name");
    if (autoHide && search.empty())
        return std::string(
            "A group that hides its windows as soon as they appear needs a Search Text: without one it would "
            "hide every new window.");
    if (search.empty()) return std::string("You must specify Text for search in Window Caption");
    if (autoHide && compareMode != GROUP_COMPARE_INCLUDE && compareMode != GROUP_COMPARE_EQUAL)
        return std::string(
            "A group that hides its windows as soon as they appear must include or equal its Search Text.");
    return std::nullopt;
}
