#include "platform/win32/convert.h"
#include "platform/win32/diagnostics.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"

#include <dwmapi.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/win32/handles.h"

namespace {

// Only other processes' windows are ever hidden or shown, and they are asked
// asynchronously, so that an application that stopped pumping messages cannot
// block us: the request runs when its thread pumps again.
bool Show(HWND h, int command, const char* commandName) {
    ::SetLastError(ERROR_SUCCESS);
    if (::ShowWindowAsync(h, command)) return true;
    const DWORD error = ::GetLastError();
    // A window of the calling thread is shown at once, as by ShowWindow, whose
    // FALSE only says that the window was hidden before. For another thread's
    // window the request is posted, and FALSE means it could not be.
    if (::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId()) return true;
    diag::Failed(std::string("ShowWindowAsync(") + commandName + ") of " + diag::Window(h), error);
    return false;
}

// How long a window's thread may take to answer before it counts as busy:
// long enough for a thread that pumps, short enough that no command waits.
constexpr UINT kAnswerBoundMs = 50;

// The integrity level of a process's token: the last sub-authority of its
// mandatory label; nothing when the token cannot be asked.
std::optional<DWORD> IntegrityOf(HANDLE process) {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &raw)) return std::nullopt;
    UniqueKernelHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    const UCHAR count = *::GetSidSubAuthorityCount(label->Label.Sid);
    if (count == 0) return std::nullopt;
    return *::GetSidSubAuthority(label->Label.Sid, count - 1);
}

// dwmapi is loaded at run time: where it is missing (or answers nothing, as
// under Wine), no window is cloaked.
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

DwmGetWindowAttributeFn DwmAttribute() {
    static const DwmGetWindowAttributeFn fn = [] {
        HMODULE dwm = LoadSystemLibrary("dwmapi.dll");
        return dwm ? reinterpret_cast<DwmGetWindowAttributeFn>(
                         reinterpret_cast<void (*)()>(::GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    return fn;
}

// Class names by class atom. A question about another process's window is a
// round trip to the window server (under Wine); its class atom is one, its
// class name two, and a desktop has few classes for many windows. An atom
// names one class while that class is registered, and may name another only
// after it is gone, so a name is trusted for about the length of one command.
class ClassNames {
public:
    std::string Get(HWND h, int maxCount) {
        const auto atom = static_cast<ATOM>(::GetClassLongPtrA(h, GCW_ATOM));
        const std::uint64_t now = ::GetTickCount64();
        std::lock_guard lock(m_Mutex);
        if (atom) {
            if (auto it = m_Names.find(atom); it != m_Names.end() && now - it->second.when < kTrustMs)
                return it->second.name.substr(0, static_cast<std::size_t>(maxCount > 0 ? maxCount - 1 : 0));
        }
        char buffer[kFullName] = {};
        const int n = ::GetClassNameA(h, buffer, kFullName);
        std::string name(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
        if (atom && n > 0) m_Names[atom] = {name, now};
        return name.substr(0, static_cast<std::size_t>(maxCount > 0 ? maxCount - 1 : 0));
    }

private:
    static constexpr std::uint64_t kTrustMs = 1000;
    // Class names are at most 256 characters.
    static constexpr int kFullName = 257;
    struct Entry {
        std::string name;
        std::uint64_t when = 0;
    };
    std::mutex m_Mutex;
    std::unordered_map<ATOM, Entry> m_Names;
};

ClassNames& Classes() {
    static ClassNames names;
    return names;
}

}  // namespace

WindowHandle Win32WindowManager::GetWindow(WindowHandle reference, platform::WindowRelation relation) {
    UINT command = GW_HWNDFIRST;
    switch (relation) {
        case platform::WindowRelation::First: command = GW_HWNDFIRST; break;
        case platform::WindowRelation::Last: command = GW_HWNDLAST; break;
        case platform::WindowRelation::Next: command = GW_HWNDNEXT; break;
        case platform::WindowRelation::Prev: command = GW_HWNDPREV; break;
    }
    return FromHwnd(::GetWindow(ToHwnd(reference), command));
}

bool Win32WindowManager::IsWindow(WindowHandle w) { return ::IsWindow(ToHwnd(w)) != FALSE; }

// A window that is not a child has the desktop as its parent, which is always
// visible, so its own style answers in one question where IsWindowVisible,
// which also asks about every parent, needs two. (Message-only windows are
// not in the z-order, so the engine never asks about them.)
bool Win32WindowManager::IsWindowVisible(WindowHandle w) {
    const HWND h = ToHwnd(w);
    const LONG_PTR style = ::GetWindowLongPtrA(h, GWL_STYLE);
    if (!(style & WS_VISIBLE)) return false;
    if (!(style & WS_CHILD)) return true;
    return ::IsWindowVisible(h) != FALSE;
}

std::string Win32WindowManager::GetClassName(WindowHandle w, int maxCount) { return Classes().Get(ToHwnd(w), maxCount); }

std::string Win32WindowManager::GetWindowText(WindowHandle w, int maxCount) {
    std::string text(static_cast<std::size_t>(maxCount), '\0');
    const int n = ::GetWindowTextA(ToHwnd(w), text.data(), maxCount);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

WindowHandle Win32WindowManager::GetParent(WindowHandle w) { return FromHwnd(::GetParent(ToHwnd(w))); }

std::uint32_t Win32WindowManager::ProcessId(WindowHandle w) {
    DWORD pid = 0;
    return ::GetWindowThreadProcessId(ToHwnd(w), &pid) ? pid : 0;
}

std::optional<std::string> Win32WindowManager::ProcessImage(std::uint32_t processId) {
    return ProcessImagePath(processId, true);
}

std::optional<std::string> ProcessImagePath(std::uint32_t processId, bool report) {
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        const DWORD error = ::GetLastError();
        // A process of higher rights refuses (access denied), one that has
        // ended is no process (invalid parameter): neither is a failure, the
        // window simply matches no program.
        if (report && error != ERROR_ACCESS_DENIED && error != ERROR_INVALID_PARAMETER)
            diag::Failed("OpenProcess(" + std::to_string(processId) + ")", error);
        return std::nullopt;
    }
    // Paths may be longer than MAX_PATH: then once more with room for the
    // longest path there is, in characters of up to four bytes each.
    std::string path;
    for (DWORD limit : {static_cast<DWORD>(MAX_PATH * 4), DWORD{32768 * 4}}) {
        path.resize(limit);
        DWORD size = limit;
        if (::QueryFullProcessImageNameA(process.get(), 0, path.data(), &size)) {
            path.resize(size);
            return path;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER) {
            if (report) diag::Failed("QueryFullProcessImageName(" + std::to_string(processId) + ")", error);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::uint32_t Win32WindowManager::OwnProcessId() { return ::GetCurrentProcessId(); }

bool Win32WindowManager::IsCloaked(WindowHandle w) {
    const auto get = DwmAttribute();
    if (!get) return false;
    DWORD cloaked = 0;
    return SUCCEEDED(get(ToHwnd(w), DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

bool Win32WindowManager::HideWindow(WindowHandle w) { return Show(ToHwnd(w), SW_HIDE, "SW_HIDE"); }

bool Win32WindowManager::Answers(WindowHandle w) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(ToHwnd(w), WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerBoundMs, &ignored) !=
           0;
}

bool Win32WindowManager::RunsAbove(WindowHandle w) {
    DWORD pid = 0;
    if (!::GetWindowThreadProcessId(ToHwnd(w), &pid) || pid == 0) return false;
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    static const std::optional<DWORD> own = IntegrityOf(::GetCurrentProcess());
    // Without a level of our own there is nothing to compare with.
    if (!own) return false;
    const std::optional<DWORD> theirs = process ? IntegrityOf(process.get()) : std::nullopt;
    return !theirs || *theirs > *own;
}

void Win32WindowManager::ShowWindow(WindowHandle w) { Show(ToHwnd(w), SW_SHOW, "SW_SHOW"); }

// SW_RESTORE brings a minimized window back at its place, or maximized when
// it was; where the system did not say so, the window still knows.
// SW_SHOWMAXIMIZED maximizes it whatever it did meanwhile, where SW_RESTORE
// would take a maximized window down to its place.
void Win32WindowManager::RestoreWindow(WindowHandle w, bool maximized) {
    if (maximized)
        Show(ToHwnd(w), SW_SHOWMAXIMIZED, "SW_SHOWMAXIMIZED");
    else
        Show(ToHwnd(w), SW_RESTORE, "SW_RESTORE");
}

// Wine answers another process's window from its style alone, with no
// WPF_RESTORETOMAXIMIZED; Windows knows it for every window.
platform::RestoreState Win32WindowManager::RestoreStateOf(WindowHandle w) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(ToHwnd(w), &placement) || placement.showCmd != SW_SHOWMINIMIZED)
        return platform::RestoreState::NotMinimized;
    return (placement.flags & WPF_RESTORETOMAXIMIZED) ? platform::RestoreState::ToMaximized
                                                      : platform::RestoreState::ToNormal;
}

// Posted, as the close button's own request is: the window's program may
// ask about unsaved work, and nothing here waits for it.
void Win32WindowManager::RequestClose(WindowHandle w) {
    const HWND h = ToHwnd(w);
    if (::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0)) return;
    const DWORD error = ::GetLastError();
    diag::Failed("PostMessage(WM_SYSCOMMAND, SC_CLOSE) to " + diag::Window(h), error);
}

bool Win32WindowManager::SetForegroundWindow(WindowHandle w) {
    const HWND h = ToHwnd(w);
    // A refusal (another program keeps the foreground) may set no error; the
    // line then says only that it failed.
    ::SetLastError(ERROR_SUCCESS);
    if (::SetForegroundWindow(h)) return true;
    const DWORD error = ::GetLastError();
    diag::Failed("SetForegroundWindow of " + diag::Window(h), error);
    return false;
}

// Not reported: for another thread's window the call changes nothing by
// design (the active window is a thread's own), and its NULL answer also
// means that no window was active before.
void Win32WindowManager::SetActiveWindow(WindowHandle w) { ::SetActiveWindow(ToHwnd(w)); }

void Win32WindowManager::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

std::uint64_t Win32WindowManager::TickCount() { return ::GetTickCount64(); }

bool Win32WindowManager::SetTimer(WindowHandle w, unsigned id, unsigned milliseconds) {
    const HWND h = ToHwnd(w);
    if (::SetTimer(h, id, milliseconds, nullptr)) return true;
    const DWORD error = ::GetLastError();
    diag::Failed("SetTimer(id " + std::to_string(id) + ") for " + diag::Handle(h), error);
    return false;
}

void Win32WindowManager::KillTimer(WindowHandle w, unsigned id) { ::KillTimer(ToHwnd(w), id); }

bool Win32HotKeySystem::Register(WindowHandle target, int id, unsigned modifiers, unsigned key) {
    const HWND h = ToHwnd(target);
    if (::RegisterHotKey(h, id, modifiers, key)) return true;
    const DWORD error = ::GetLastError();
    char what[96];
    std::snprintf(what, sizeof(what), "RegisterHotKey(id %d, modifiers 0x%X, key 0x%X) for %s", id, modifiers, key,
                  diag::Handle(h).c_str());
    diag::Failed(what, error);
    return false;
}

bool Win32HotKeySystem::Unregister(WindowHandle target, int id) {
    const HWND h = ToHwnd(target);
    if (::UnregisterHotKey(h, id)) return true;
    const DWORD error = ::GetLastError();
    diag::Failed("UnregisterHotKey(id " + std::to_string(id) + ") for " + diag::Handle(h), error);
    return false;
}

bool Win32Shell::Open(const std::string& address) {
    // ShellExecute reports success with a value above 32; its own codes
    // below that are coarser than the error it leaves behind.
    ::SetLastError(ERROR_SUCCESS);
    const auto result = ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const auto code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) return true;
    const DWORD error = ::GetLastError();
    diag::Failed("ShellExecute(open " + diag::Quoted(address) + ") = " + std::to_string(code), error);
    return false;
}
