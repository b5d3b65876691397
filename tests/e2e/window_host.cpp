// A program of test windows for the end-to-end tests. Its one thread pumps
// messages, as an ordinary application's does, until it is told to hang.
//
//   window_host.exe item...
//     win:Title              an ordinary visible window
//     top:Title              the same, always on top
//     owned:Title:Owner      a visible pop-up owned by the window titled Owner
//     class:Name:Title       a visible window of a class registered as Name
//     many:N:Prefix          N ordinary windows titled Prefix0 .. PrefixN-1
//     wide:Title             an always-on-top window of a Unicode class, titled
//                            as the wide command line spells it (any script)
//     stubborn:Title         an always-on-top window that keeps itself on
//                            screen: it takes the hide out of every change
//                            of its place, as some programs do
//
// Posting WM_APP + 1 with a number of milliseconds in wParam to any of its
// windows makes the thread sleep that long, as a hung application does.
//
// Sending WM_COPYDATA to any of its windows asks for more, later:
//   dwData 1, "Title"            a new ordinary window
//   dwData 2, "Old\nNew"         the window titled Old retitled New
//   dwData 3, "Title\nN"          the window titled Title retitled N times,
//                                "Title #1" .. "Title #N", then back to Title
//   dwData "TVLC", a record       Tarnvell's command: the thread stops pumping
//                                for two minutes, as a running copy of
//                                Tarnvell that hangs while it runs one
//                                (a window of class TarnvellFrame stands in
//                                for its frame: "class:TarnvellFrame:Title")
//   dwData 4, "Title"            the window titled Title destroyed
//   dwData 5, "Prefix\nN"         N hidden windows titled Prefix0 .. PrefixN-1,
//                                shown all at once, one after the other
//                                without pumping, when WM_APP + 2 is posted
//
// Every show, hide, retitle and destruction also raises EVENT_OBJECT_SHOW,
// _HIDE, _NAMECHANGE or _DESTROY with NotifyWinEvent, and every minimize
// EVENT_SYSTEM_MINIMIZESTART, as Windows' own user32 does: Wine 8 raises
// none of them by itself, and out-of-context hooks of other programs
// (Tarnvell's) only see them so.
#include <windows.h>

#include <shellapi.h>

#include "host_records.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace host;
constexpr ULONG_PTR kTarnvellCommand = 0x54564C43;
constexpr DWORD kHungOnCommandMs = 120000;
constexpr const char* kClass = "TarnvellTestWindow";
constexpr const char* kStubbornClass = "TarnvellTestStubborn";
std::map<std::string, HWND> g_byTitle;
std::vector<HWND> g_burst;
int g_count = 0;

HWND Make(HINSTANCE instance, const std::string& cls, const std::string& title, DWORD style, DWORD exStyle,
          HWND owner, bool show = true);

void Retitle(HWND w, const std::string& title) {
    ::SetWindowTextA(w, title.c_str());
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, w, OBJID_WINDOW, CHILDID_SELF);
}

LRESULT OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || !data->lpData) return 0;
    const std::string text(static_cast<const char*>(data->lpData), data->cbData);
    const auto cut = text.find('\n');
    switch (data->dwData) {
        case kNewWindow:
            Make(::GetModuleHandleA(nullptr), kClass, text, WS_OVERLAPPEDWINDOW, 0, nullptr);
            return 1;
        case kRename: {
            if (cut == std::string::npos) return 0;
            const auto it = g_byTitle.find(text.substr(0, cut));
            if (it == g_byTitle.end()) return 0;
            const HWND w = it->second;
            g_byTitle.erase(it);
            g_byTitle[text.substr(cut + 1)] = w;
            Retitle(w, text.substr(cut + 1));
            return 1;
        }
        case kRenameStorm: {
            if (cut == std::string::npos) return 0;
            const std::string title = text.substr(0, cut);
            const auto it = g_byTitle.find(title);
            if (it == g_byTitle.end()) return 0;
            const int n = std::atoi(text.c_str() + cut + 1);
            for (int k = 1; k <= n; ++k) Retitle(it->second, title + " #" + std::to_string(k));
            Retitle(it->second, title);
            return 1;
        }
        case kTarnvellCommand: ::Sleep(kHungOnCommandMs); return 0;
        case kDestroy: {
            const auto it = g_byTitle.find(text);
            if (it == g_byTitle.end()) return 0;
            const HWND w = it->second;
            g_byTitle.erase(it);
            ::DestroyWindow(w);
            return 1;
        }
        case kPrepareBurst: {
            if (cut == std::string::npos) return 0;
            const int n = std::atoi(text.c_str() + cut + 1);
            for (int k = 0; k < n; ++k)
                g_burst.push_back(Make(::GetModuleHandleA(nullptr), kClass, text.substr(0, cut) + std::to_string(k),
                                       WS_OVERLAPPEDWINDOW, 0, nullptr, false));
            return 1;
        }
        default: return 0;
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kHang: ::Sleep(static_cast<DWORD>(wParam)); return 0;
        case kShowBurst:
            for (HWND w : g_burst) ::ShowWindow(w, SW_SHOW);
            g_burst.clear();
            return 0;
        case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) ::NotifyWinEvent(EVENT_SYSTEM_MINIMIZESTART, hwnd, OBJID_WINDOW, CHILDID_SELF);
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_WINDOWPOSCHANGED: {
            // Every show and hide, whoever asked for it (Tarnvell's among them).
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (pos->flags & SWP_SHOWWINDOW) ::NotifyWinEvent(EVENT_OBJECT_SHOW, hwnd, OBJID_WINDOW, CHILDID_SELF);
            if (pos->flags & SWP_HIDEWINDOW) ::NotifyWinEvent(EVENT_OBJECT_HIDE, hwnd, OBJID_WINDOW, CHILDID_SELF);
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
        case WM_DESTROY: ::NotifyWinEvent(EVENT_OBJECT_DESTROY, hwnd, OBJID_WINDOW, CHILDID_SELF); return 0;
        case WM_CLOSE: ::PostQuitMessage(0); return 0;
        default: return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK StubbornProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_HIDEWINDOW;
    return WindowProc(hwnd, message, wParam, lParam);
}

void RegisterClassNamed(HINSTANCE instance, const std::string& name, WNDPROC proc = WindowProc) {
    WNDCLASSA existing{};
    if (::GetClassInfoA(instance, name.c_str(), &existing)) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name.c_str();
    ::RegisterClassA(&wc);
}

HWND Make(HINSTANCE instance, const std::string& cls, const std::string& title, DWORD style, DWORD exStyle,
          HWND owner, bool show) {
    // Small windows in the upper part of the screen, clear of the taskbar.
    const int offset = 20 * (g_count++ % 20);
    HWND w = ::CreateWindowExA(exStyle, cls.c_str(), title.c_str(), style, 40 + offset, 40 + offset, 220, 140, owner,
                               nullptr, instance, nullptr);
    if (show) {
        ::ShowWindow(w, SW_SHOW);
        ::UpdateWindow(w);
    }
    g_byTitle[title] = w;
    return w;
}

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> parts;
    std::string::size_type start = 0, at;
    while ((at = s.find(':', start)) != std::string::npos) {
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(s.substr(start));
    return parts;
}

// ---- wide: a window of a Unicode class, so that its title never passes
// through the ANSI code page on its way to the system.
LRESULT CALLBACK WideWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kHang: ::Sleep(static_cast<DWORD>(wParam)); return 0;
        case WM_CLOSE: ::PostQuitMessage(0); return 0;
        default: return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void MakeWideWindows(HINSTANCE instance) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) return;
    for (int i = 1; i < argc; ++i) {
        if (::wcsncmp(argv[i], L"wide:", 5) != 0) continue;
        WNDCLASSW wc{};
        wc.lpfnWndProc = WideWindowProc;
        wc.hInstance = instance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TarnvellTestWideWindow";
        ::RegisterClassW(&wc);
        const int offset = 20 * (g_count++ % 20);
        HWND w = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, argv[i] + 5, WS_OVERLAPPEDWINDOW, 40 + offset, 40 + offset, 220,
                                   140, nullptr, nullptr, instance, nullptr);
        ::ShowWindow(w, SW_SHOW);
    }
    ::LocalFree(argv);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** argv = __argv;
    RegisterClassNamed(instance, kClass);
    for (int i = 1; i < argc; ++i) {
        const auto p = Split(argv[i]);
        if (p[0] == "win" && p.size() == 2) {
            Make(instance, kClass, p[1], WS_OVERLAPPEDWINDOW, 0, nullptr);
        } else if (p[0] == "top" && p.size() == 2) {
            Make(instance, kClass, p[1], WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST, nullptr);
        } else if (p[0] == "owned" && p.size() == 3) {
            Make(instance, kClass, p[1], WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, g_byTitle[p[2]]);
        } else if (p[0] == "class" && p.size() == 3) {
            RegisterClassNamed(instance, p[1]);
            Make(instance, p[1], p[2], WS_OVERLAPPEDWINDOW, 0, nullptr);
        } else if (p[0] == "stubborn" && p.size() == 2) {
            RegisterClassNamed(instance, kStubbornClass, StubbornProc);
            Make(instance, kStubbornClass, p[1], WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST, nullptr);
        } else if (p[0] == "many" && p.size() == 3) {
            const int n = std::stoi(p[1]);
            for (int k = 0; k < n; ++k) Make(instance, kClass, p[2] + std::to_string(k), WS_OVERLAPPEDWINDOW, 0, nullptr);
        }
    }
    MakeWideWindows(instance);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
