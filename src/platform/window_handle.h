#pragma once
#include <cstdint>
#include <functional>

// An opaque top-level window handle. The core compares, copies and stores
// handles but never looks inside one; only the Win32 layer converts them to
// and from HWND.
struct WindowHandle {
    std::uintptr_t value = 0;

    constexpr WindowHandle() = default;
    constexpr explicit WindowHandle(std::uintptr_t v) : value(v) {}

    constexpr explicit operator bool() const { return value != 0; }
    friend constexpr bool operator==(WindowHandle, WindowHandle) = default;
};

template <>
struct std::hash<WindowHandle> {
    std::size_t operator()(WindowHandle w) const noexcept { return std::hash<std::uintptr_t>{}(w.value); }
};

// An icon loaded by the platform; the core only passes it along.
struct IconHandle {
    std::uintptr_t value = 0;
    constexpr explicit operator bool() const { return value != 0; }
    friend constexpr bool operator==(IconHandle, IconHandle) = default;
};
