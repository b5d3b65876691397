#include "platform/win32/message_filter.h"

#include <cstdio>
#include <string>

#include "platform/win32/diagnostics.h"

void AcceptFromLowerRights(HWND window, std::initializer_list<UINT> messages) {
    for (const UINT message : messages) {
        // A registered message whose registration failed has no number.
        if (message == 0) continue;
        // Windows 7 and later, as Tarnvell: linked, not looked up. Per
        // window, unlike ChangeWindowMessageFilter, which would open every
        // window of the process to the message.
        CHANGEFILTERSTRUCT status{};
        status.cbSize = sizeof(status);
        if (::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, &status)) continue;
        const DWORD error = ::GetLastError();
        char number[16];
        std::snprintf(number, sizeof(number), "0x%04X", message);
        diag::Failed(std::string("ChangeWindowMessageFilterEx(") + number + ") of " + diag::Handle(window), error);
    }
}
