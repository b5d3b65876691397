#include "engine/command_table.h"

#include <limits>

#include "engine/preferences.h"
#include "groups/windows_group.h"

const CommandInfo& RowOf(Verb verb) {
    for (const CommandInfo& row : kCommands)
        if (row.verb == verb) return row;
    // Every verb has a row; a missing one is a fault of the table itself.
    return kCommands[0];
}

const CommandInfo* RowOfHotKey(int hotKey) {
    for (const CommandInfo& row : kCommands)
        if (row.hotKey >= 0 && row.hotKey == hotKey) return &row;
    return nullptr;
}

std::optional<Command> CommandOfMenuId(std::uintptr_t id) {
    for (const CommandInfo& row : kCommands)
        if (row.menuId != 0 && row.menuId == id) return Command{row.verb};
    return std::nullopt;
}

std::optional<Command> CommandOfHotKey(std::uintptr_t id) {
    if (id < static_cast<std::uintptr_t>(kProgramHotKeys)) {
        const CommandInfo* row = RowOfHotKey(static_cast<int>(id));
        if (!row) return std::nullopt;
        return Command{row->verb};
    }
    // The system's own identifiers (IDHOT_SNAPWINDOW and the like) are
    // negative and fall through to nothing here.
    const auto h = static_cast<std::intptr_t>(id);
    if (h < GROUP_HOTKEY_BASE) return std::nullopt;
    const std::intptr_t a = h - GROUP_HOTKEY_BASE;
    // A wParam beyond int would otherwise be cut down to the position of some
    // real group.
    if (a / 2 > std::numeric_limits<int>::max()) return std::nullopt;
    const int key = static_cast<int>(a % 2);
    for (const CommandInfo& row : kCommands)
        if (row.groupKey == key) return Command{row.verb, static_cast<int>(a / 2)};
    return std::nullopt;
}

std::optional<Command> CommandOfClickAction(std::uint32_t stored) {
    if (stored == ClickAction::kSeparator) return std::nullopt;
    if (stored < ClickAction::kSeparator) {
        for (const CommandInfo& row : kCommands)
            if (row.clickAction >= 0 && static_cast<std::uint32_t>(row.clickAction) == stored)
                return Command{row.verb};
        return std::nullopt;
    }
    // Computed unsigned: every value from 8 on names some position, most of
    // them far beyond any real group, which then does nothing.
    const std::uint32_t group = (stored - ClickAction::kFirstGroup) / 3u;
    const int op = static_cast<int>((stored - ClickAction::kFirstGroup) % 3u);
    if (group > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) return std::nullopt;
    for (const CommandInfo& row : kCommands)
        if (row.groupClickOp == op) return Command{row.verb, static_cast<int>(group)};
    return std::nullopt;
}

std::optional<Verb> VerbOfWire(std::uint32_t wire) {
    if (wire == 0) return std::nullopt;
    for (const CommandInfo& row : kCommands)
        if (row.wire == wire) return row.verb;
    return std::nullopt;
}

std::optional<Verb> VerbOfCliName(std::string_view name) {
    for (const CommandInfo& row : kCommands)
        if (row.cliName && name == row.cliName) return row.verb;
    return std::nullopt;
}
