#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/window_handle.h"

// The only place where handles cross between the core and the system.
inline HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w.value); }
inline WindowHandle FromHwnd(HWND h) { return WindowHandle{reinterpret_cast<std::uintptr_t>(h)}; }
inline HICON ToHicon(IconHandle i) { return reinterpret_cast<HICON>(i.value); }
inline IconHandle FromHicon(HICON h) { return IconHandle{reinterpret_cast<std::uintptr_t>(h)}; }
