#include "engine/hidden_journal.h"

#include <cstring>

namespace journal {

namespace {

constexpr std::uint8_t kMagic[4] = {'T', 'V', 'H', 'J'};

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t Get(const std::uint8_t* in, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

}  // namespace

std::vector<std::uint8_t> Encode(const std::vector<CWndDes>& records) {
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.reserve(kHeaderSize + records.size() * kRecordSize);
    bool restores = false;
    for (const CWndDes& r : records) restores = restores || r.m_Show != ShowAs::Shown;
    Put(out, restores ? kVersion : kFirstVersion, 4);
    Put(out, records.size(), 4);
    for (const CWndDes& r : records) {
        Put(out, r.m_hWindow.value, 8);
        Put(out, r.m_hPrincipal.value, 8);
        Put(out, (r.m_bActivate ? 1u : 0u) | (static_cast<std::uint32_t>(r.m_Show) << 1), 4);
        Put(out, r.m_nProcessId, 4);
    }
    return out;
}

std::optional<std::vector<CWndDes>> Decode(const std::vector<std::uint8_t>& data) {
    if (data.size() < kHeaderSize || std::memcmp(data.data(), kMagic, sizeof(kMagic)) != 0) return std::nullopt;
    const std::uint64_t version = Get(data.data() + 4, 4);
    if (version != kFirstVersion && version != kVersion) return std::nullopt;
    // Version 1 knows the aimed bit alone; 2 adds how the window comes back.
    const std::uint64_t maxFlags = version == kFirstVersion ? 1 : (static_cast<std::uint64_t>(ShowAs::Maximized) << 1) | 1;
    const std::uint64_t count = Get(data.data() + 8, 4);
    // The size must match the count exactly: a count is never trusted to
    // size an allocation on its own.
    if (count > kMaxRecords || data.size() != kHeaderSize + count * kRecordSize) return std::nullopt;

    std::vector<CWndDes> records;
    records.reserve(static_cast<std::size_t>(count));
    for (const std::uint8_t* p = data.data() + kHeaderSize; p != data.data() + data.size(); p += kRecordSize) {
        const WindowHandle window{static_cast<std::uintptr_t>(Get(p, 8))};
        const std::uint64_t flags = Get(p + 16, 4);
        if (!window || flags > maxFlags) return std::nullopt;
        CWndDes record(window, static_cast<std::int32_t>(flags & 1), WindowHandle{static_cast<std::uintptr_t>(Get(p + 8, 8))},
                       -1);
        record.m_nProcessId = static_cast<std::uint32_t>(Get(p + 20, 4));
        record.m_Show = static_cast<ShowAs>(flags >> 1);
        records.push_back(record);
    }
    return records;
}

}  // namespace journal
