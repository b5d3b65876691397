#pragma once
#include <windows.h>

#include <utility>

// Move-only owners of system handles. Copying one must not compile: two
// owners of one handle would close it twice.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : m_h(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(std::exchange(other.m_h, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.m_h, Traits::Invalid()));
        return *this;
    }

    Handle get() const { return m_h; }
    explicit operator bool() const { return m_h != Traits::Invalid(); }
    Handle release() { return std::exchange(m_h, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (m_h != Traits::Invalid()) Traits::Close(m_h);
        m_h = h;
    }

private:
    Handle m_h = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyMenu(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};
struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};

struct WinEventHookTraits {
    using Handle = HWINEVENTHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::UnhookWinEvent(h); }
};
struct WindowsHookTraits {
    using Handle = HHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::UnhookWindowsHookEx(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueWinEventHook = UniqueHandle<WinEventHookTraits>;
using UniqueWindowsHook = UniqueHandle<WindowsHookTraits>;

// The one named mutex that keeps a second copy from starting. Released and
// closed when the owner goes.
class SingleInstanceMutex {
public:
    SingleInstanceMutex() = default;
    ~SingleInstanceMutex() {
        if (m_mutex) ::ReleaseMutex(m_mutex.get());
    }
    SingleInstanceMutex(const SingleInstanceMutex&) = delete;
    SingleInstanceMutex& operator=(const SingleInstanceMutex&) = delete;

    // Creates the mutex with initial ownership; false when it could not be
    // created or another process holds it already.
    bool Acquire(const char* name) {
        HANDLE h = ::CreateMutexA(nullptr, TRUE, name);
        if (!h) return false;
        if (::GetLastError() == ERROR_ALREADY_EXISTS) {
            ::CloseHandle(h);
            return false;
        }
        m_mutex.reset(h);
        return true;
    }
    void Release() {
        if (m_mutex) ::ReleaseMutex(m_mutex.get());
        m_mutex.reset();
    }
    bool Held() const { return static_cast<bool>(m_mutex); }

private:
    UniqueKernelHandle m_mutex;
};
