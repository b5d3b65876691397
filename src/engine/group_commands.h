#pragma once
#include <cstdint>

#include "engine/hider.h"
#include "groups/caption_match.h"
#include "groups/windows_group.h"

// Hides the family of every eligible window that matches the group's
// criteria, tagging the records with the group's identifier; true when any
// was hidden.
bool HideMatching(const CWindowsGroup& group, CHider& hider, CHiddenList& list);

// Shows every record tagged with groupId, with its dependents, activating
// none; true when any was shown.
bool ShowTagged(std::int32_t groupId, CHider& hider, CHiddenList& list);
