// What the test-window program (window_host.exe) is asked through
// WM_COPYDATA (dwData, each record answered 1 when done) and the messages
// posted to its windows. Shared by the program and the tests that drive it.
#pragma once
#include <windows.h>

namespace host {

inline constexpr ULONG_PTR kNewWindow = 1;    // "Title": a new window
inline constexpr ULONG_PTR kRename = 2;       // "Old\nNew"
inline constexpr ULONG_PTR kRenameStorm = 3;  // "Title\nN"
inline constexpr ULONG_PTR kDestroy = 4;      // "Title"
inline constexpr ULONG_PTR kPrepareBurst = 5; // "Prefix\nN"
inline constexpr UINT kHang = WM_APP + 1;     // posted, wParam ms
inline constexpr UINT kShowBurst = WM_APP + 2;

}  // namespace host
