#pragma once
#include <cstdint>

namespace platform {

// WM_COPYDATA's record (COPYDATASTRUCT) as the system lays it out: the frame
// hands the message's lParam to the engine unchanged, so the engine reads it
// through this mirror, whose layout is checked against windows.h in
// constants_check.cpp. The system copies the sender's bytes into this
// process; they stay valid until the message is answered.
struct CopyData {
    std::uintptr_t dwData;
    std::uint32_t cbData;
    const void* lpData;
};

}  // namespace platform
