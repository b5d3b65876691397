#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dialogs.h"
#include "platform/text.h"
#include "res/resource.h"

// What the configuration dialogs decide, apart from their windows: the lists
// they show, the checks OK makes and the values they read back.

// --------------------------------------------------------------- Preferences

// Both password fields take at most this many characters: what is typed is
// exactly what is stored and asked for later.
inline constexpr int kPasswordChars = 30;
// An edit control counts UTF-16 units, two for a character outside the basic
// plane: its own limit lets 30 characters of any script in, and the
// character count is kept by PasswordEditStands.
inline constexpr int kPasswordEditUnits = 2 * kPasswordChars;
// What both password fields show while a password is set: a text no keyboard
// types (control characters), so that it is never the password, and that
// means "as it was" when it comes back unchanged.
std::string PasswordPlaceholder();
// The password the fields give: nothing when a set password's placeholder
// stands unchanged in the first field, the text otherwise (empty: none).
std::optional<std::string> PasswordFromFields(bool passwordSet, const std::string& field);

// Whether an edit of a password field stands: it does while the field holds
// at most kPasswordChars characters of the code page, or when it did not
// lengthen the text (a longer password put into the registry by hand can be
// shortened, not lengthened). An edit that does not stand is undone.
bool PasswordEditStands(std::string_view before, std::string_view after,
                        const text::CodePage& codePage = text::ProcessCodePage());

// The selection to show for a stored action: its position, or none when the
// list has no such entry.
std::optional<int> ActionSelection(ClickAction action, std::size_t entryCount);
// The action for a list selection; no selection (-1) stores all bits set,
// which names no action.
ClickAction ActionFromSelection(int selection);

// The checks OK makes, in order: the string id of the message to show, or
// nothing when the dialog may close. showKey and showAllKey are the "Show
// window" and "Show all windows" hot-keys; only their key counts.
std::optional<unsigned> CheckPreferences(const std::string& password, const std::string& confirm, bool hideIcon,
                                         KeyCombination showKey, KeyCombination showAllKey);

// ------------------------------------------------------------------- Groups

// The Windows Groups list: Name, Hide, Show.
struct GroupRow {
    std::string name;
    std::string hide;
    std::string show;
    friend bool operator==(const GroupRow&, const GroupRow&) = default;
};
// A key without a combination shows as notDefined ("Not defined"); a key
// whose combination is in notHeld (Tarnvell could not register it) in
// notHeldFormat ("%s (in use)"). The list shows copies, which hold no
// registration of their own.
std::vector<GroupRow> GroupRows(const std::vector<std::unique_ptr<CWindowsGroup>>& groups,
                                const std::vector<KeyCombination>& notHeld, std::string_view notHeldFormat,
                                std::string_view notDefined);

// Column widths for a list of this client width: 40 %, 30 % and 30 %, each
// a whole number of tenths.
std::array<int, 3> GroupColumnWidths(int clientWidth);

// The compare modes the Group dialog offers, in its list order (the entry's
// position is the mode): "Title Text must" [Include | be Equal to] "the
// Search Text", their texts in the string table.
inline constexpr int kOfferedCompareModes = 2;
inline constexpr unsigned kCompareModeTextIds[kOfferedCompareModes] = {IDS_COMPARE_INCLUDE, IDS_COMPARE_EQUAL};
// The list selection for a stored mode; none for a mode the list lacks.
std::optional<int> CompareSelection(int compareMode);
// The mode to keep after OK: the chosen one, or the stored one when nothing
// was chosen (a stored mode the list does not offer is never lost, and never
// becomes -1, which would end the stored list at its slot).
int CompareFromSelection(int selection, int storedMode);

// The Group dialog's check: the string id of the message to show, or
// nothing. A group that hides its windows as they appear must name them:
// with no search text, or a mode that matches whatever differs from it, it
// would hide nearly every window that opens.
std::optional<unsigned> CheckGroup(const std::string& name, const std::string& search, bool autoHide = false,
                                   int compareMode = GROUP_COMPARE_INCLUDE);
