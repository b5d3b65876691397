#include "e2e_support.h"

#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <thread>

namespace e2e {

bool WaitFor(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(step);
    }
}

std::string ExeDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of("\\/"));
}

std::string ClassOf(HWND w) {
    char name[256] = {};
    ::GetClassNameA(w, name, sizeof(name));
    return name;
}

std::string TitleOf(HWND w) {
    char text[256] = {};
    ::GetWindowTextA(w, text, sizeof(text));
    return text;
}

std::vector<HWND> WindowsOfProcess(DWORD pid, const std::string& className) {
    struct Search {
        DWORD pid;
        const std::string* className;
        std::vector<HWND> found;
    } search{pid, &className, {}};
    ::EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            if (owner == s->pid && (s->className->empty() || ClassOf(w) == *s->className)) s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Process::~Process() {
    if (info.hProcess) {
        if (Running()) ::TerminateProcess(info.hProcess, 99);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }
}

bool Process::Running() const { return info.hProcess && ::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }

DWORD Process::WaitExit(std::chrono::milliseconds timeout) const {
    if (::WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(info.hProcess, &code);
    return code;
}

Process Start(const std::string& exe, const std::string& arguments) {
    Process p;
    std::string command = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.info))
        p.info = {};
    return p;
}

std::string Tarnvell::ExePath() { return ExeDirectory() + "\\Tarnvell.exe"; }

Tarnvell::Tarnvell() : m_process(Start(ExePath())) {
    if (!m_process.info.hProcess) return;
    WaitFor(
        [&] {
            const auto frames = WindowsOfProcess(m_process.Pid(), kFrameClass);
            if (!frames.empty()) m_frame = frames.front();
            return m_frame != nullptr || !m_process.Running();
        },
        15s);
}

Tarnvell::~Tarnvell() {
    if (m_process.Running()) Close();
}

bool Tarnvell::Close(std::chrono::milliseconds timeout) {
    if (!m_process.Running()) return true;
    if (m_frame) ::PostMessageA(m_frame, WM_CLOSE, 0, 0);
    return m_process.WaitExit(timeout) != STILL_ACTIVE;
}

bool ShellHasIcon(HWND owner, UINT id) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner;
    nid.uID = id;
    nid.uFlags = 0;
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

bool TrayShowsRed() {
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) return false;
    RECT r{};
    ::GetWindowRect(taskbar, &r);
    HDC screen = ::GetDC(nullptr);
    bool red = false;
    // The notification area is the right end of the taskbar.
    for (int y = r.top; y < r.bottom && !red; ++y)
        for (int x = r.right - 200; x < r.right && !red; ++x) {
            const COLORREF c = ::GetPixel(screen, x, y);
            red = GetRValue(c) >= 0x80 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40;
        }
    ::ReleaseDC(nullptr, screen);
    return red;
}

bool DeleteIconFromOutside(HWND owner, UINT id) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner;
    nid.uID = id;
    return ::Shell_NotifyIconA(NIM_DELETE, &nid) != FALSE;
}

void BroadcastTaskbarCreated() {
    ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
}

bool TrayIconCentre(POINT& centre) {
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) return false;
    RECT r{};
    ::GetWindowRect(taskbar, &r);
    HDC screen = ::GetDC(nullptr);
    LONG left = LONG_MAX, right = LONG_MIN, top = LONG_MAX, bottom = LONG_MIN;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.right - 200; x < r.right; ++x) {
            const COLORREF c = ::GetPixel(screen, x, y);
            if (GetRValue(c) >= 0x80 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40) {
                left = std::min<LONG>(left, x);
                right = std::max<LONG>(right, x);
                top = std::min<LONG>(top, y);
                bottom = std::max<LONG>(bottom, y);
            }
        }
    ::ReleaseDC(nullptr, screen);
    if (left > right) return false;
    centre = POINT{(left + right) / 2, (top + bottom) / 2};
    return true;
}

namespace {
std::string Quoted(const std::vector<std::string>& items) {
    std::string arguments;
    for (const auto& item : items) arguments += "\"" + item + "\" ";
    return arguments;
}
}  // namespace

Host::Host(const std::vector<std::string>& items)
    : m_process(Start(ExeDirectory() + "\\window_host.exe", Quoted(items))) {}

Host::~Host() {
    for (HWND w : WindowsOfProcess(m_process.Pid())) ::PostMessageA(w, WM_CLOSE, 0, 0);
    m_process.WaitExit(3s);
}

HWND Host::Window(const std::string& title) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(m_process.Pid()))
                if (TitleOf(w) == title) found = w;
            return found != nullptr;
        },
        10s);
    return found;
}

bool WaitVisible(HWND w, bool visible, std::chrono::milliseconds timeout) {
    return WaitFor([&] { return (::IsWindowVisible(w) != FALSE) == visible; }, timeout);
}

void Command(HWND frame, UINT id) { ::PostMessageA(frame, WM_COMMAND, id, 0); }

void Click(POINT at, bool right) {
    ::SetCursorPos(at.x, at.y);
    ::Sleep(50);
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input[0], sizeof(INPUT));
    ::Sleep(50);
    ::SendInput(1, &input[1], sizeof(INPUT));
}

HWND PopupMenu() {
    HWND menu = ::FindWindowA("#32768", nullptr);
    return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

void PressKeys(const std::string& xdotoolKeys, const std::vector<WORD>& virtualKeys) {
    // Wine starts a Unix program given by its path on the Z: drive. Its exit
    // code does not come back reliably, so only its end is waited for.
    const char* xdotool = "Z:\\usr\\bin\\xdotool";
    if (::GetFileAttributesA(xdotool) != INVALID_FILE_ATTRIBUTES) {
        Process p = Start(xdotool, "key " + xdotoolKeys);
        if (p.info.hProcess) {
            p.WaitExit(5s);
            return;
        }
    }
    std::vector<INPUT> inputs;
    for (WORD vk : virtualKeys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        inputs.push_back(in);
    }
    for (auto it = virtualKeys.rbegin(); it != virtualKeys.rend(); ++it) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace e2e
