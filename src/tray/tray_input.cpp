#include "tray/tray_input.h"

#include "platform/win_constants.h"

bool CTrayInputFilter::Accept(unsigned message, std::uint64_t now) {
    // The mouse move that the shell reports all the time is no request and
    // must not break the pairs below.
    if (message == wm::kMouseMove) return false;
    const unsigned previous = m_last;
    m_last = message;
    const bool soon = now >= m_endedAt && now - m_endedAt <= kEchoMs;
    bool accept = true;
    switch (message) {
        // The button messages have carried the click already.
        case nin::kSelect: accept = false; break;
        case nin::kKeySelect: accept = !(previous == nin::kKeySelect && soon); break;
        case wm::kContextMenu: accept = !(previous == wm::kRButtonUp && soon); break;
        default: break;
    }
    // Until Finished says otherwise, the request ends where it starts.
    m_endedAt = now;
    return accept;
}
