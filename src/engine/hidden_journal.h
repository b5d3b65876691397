#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/wnd_des.h"

// The hidden-window list as it is kept between runs: one binary value in the
// profile's volatile key, which the system holds in memory only and drops at
// logoff, as it drops the window handles it names. Little-endian:
//
//   "TVHJ"  version (u32)  count (u32)
//   count x { window (u64)  principal (u64)  flags (u32)  process id (u32) }
//
// In version 1 the flags are the aimed window's 1 alone. Version 2 adds how
// the window comes back, in bits 1 and 2 (ShowAs: 0 shown, 1 restored,
// 2 maximized again). A journal whose windows all come back shown is
// written in version 1, so an earlier version that takes over after a kill
// still reads it; one with a window hidden as it was minimized needs 2.
//
// Group tags are not kept: group identifiers live for one run only.
namespace journal {

inline constexpr std::uint32_t kVersion = 2;
inline constexpr std::uint32_t kFirstVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kRecordSize = 24;
// More records than a session can have windows: a larger journal is damaged.
inline constexpr std::size_t kMaxRecords = 65536;
inline constexpr std::size_t kMaxBytes = kHeaderSize + kMaxRecords * kRecordSize;

std::vector<std::uint8_t> Encode(const std::vector<CWndDes>& records);

// The records of a journal of either version; nothing when it is damaged,
// truncated, of another version, holds unknown flags or names a null
// window. Records come back with no group tag.
std::optional<std::vector<CWndDes>> Decode(const std::vector<std::uint8_t>& data);

}  // namespace journal
