#pragma once
#include <cstdint>

// Which of the icon's callbacks carry a new request. Once the icon has set
// its version the shell adds its own messages to the mouse's: NIN_SELECT
// after a left click, WM_CONTEXTMENU after a right click, and some shells
// send NIN_KEYSELECT twice for one Enter. One click or one key must run one
// action and open one menu, so the echoes are dropped here.
//
// An echo is posted while the first message is being handled (a menu may be
// open for a long time), so it arrives right after that handling ends: the
// window is measured from Finished, not from the first message.
class CTrayInputFilter {
public:
    // How soon after the previous request ended an echo still counts as one.
    static constexpr std::uint64_t kEchoMs = 500;

    // The callback's message (the low word of its lParam, before any button
    // swap) at time now; true when it is a request to act on.
    bool Accept(unsigned message, std::uint64_t now);
    // The request accepted last has been carried out (its menu closed);
    // without this call the window runs from the request's arrival.
    void Finished(std::uint64_t now) { m_endedAt = now; }

private:
    unsigned m_last = 0;
    std::uint64_t m_endedAt = 0;
};
