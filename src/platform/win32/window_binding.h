#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/win32/diagnostics.h"
#include "platform/win32/resources.h"

// Binds a C++ object to the window it drives. The object travels in the
// creation parameters and is stored in the window's own data on the first
// message that carries it (WM_NCCREATE for a window of our class,
// WM_INITDIALOG for a dialog); every later message finds it there. Messages
// that arrive before the binding (WM_GETMINMAXINFO comes before WM_NCCREATE)
// get the default handling.
//
// A window class T has LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM); a
// dialog class INT_PTR DialogProc(HWND, UINT, WPARAM, LPARAM). The object
// must outlive its window.
namespace win32 {

template <class T>
LRESULT CALLBACK WindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    // The last message: the object no longer answers for this window.
    if (message == WM_NCDESTROY) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return self->WindowProc(hwnd, message, wParam, lParam);
}

template <class T>
INT_PTR CALLBACK DialogThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    return self->DialogProc(hwnd, message, wParam, lParam);
}

// A control of a template taken over by T (SetWindowSubclass carries the
// object): T has LRESULT WindowProc(UINT, WPARAM, LPARAM), which passes what
// it does not handle to DefSubclassProc, and Detach(), which removes the
// subclass. The window goes before the object, so the object lets go of it
// on the window's last message.
template <class T>
LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<T*>(self);
    if (message == WM_NCDESTROY) {
        control->Detach();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return control->WindowProc(message, wParam, lParam);
}

// Registers window class name for T once per process; true when it exists.
template <class T>
bool RegisterWindowClass(HINSTANCE instance, const char* name, UINT style, HICON icon = nullptr) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, name, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &WindowThunk<T>;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    if (::RegisterClassExA(&wc)) return true;
    const DWORD error = ::GetLastError();
    diag::Failed("RegisterClassEx(" + diag::Quoted(name) + ")", error);
    return false;
}

// A window's whole text: the buffer is sized from the window, so nothing is
// cut.
inline std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int n = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

// A warning box captioned with the program's name (string captionId).
inline void Warn(HWND owner, HINSTANCE module, UINT captionId, const std::string& text) {
    ::MessageBoxA(owner, text.c_str(), LoadText(module, captionId).c_str(), MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace win32
