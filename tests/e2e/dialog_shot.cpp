// Opens one of Tarnvell's dialogs in the running program and
// prints where it is on the screen, so that a script can take its picture
// (scripts/screenshots). Not a test.
//
//   dialog_shot preferences   "Preferences"
//   dialog_shot groups        "Windows Groups"
//   dialog_shot group         "Group", editing the first group, over an open
//                             "Windows Groups"
//   dialog_shot about         "About Tarnvell"
//   dialog_shot cancel        cancels every open dialog, innermost first
//   dialog_shot exit          closes Tarnvell
//   dialog_shot tray N        Hide All, once N icons of hidden windows are
//                             in the notification area: the taskbar's right
//                             end, where they are
//   dialog_shot show-all      Show All
//
// Prints "x y width height" of the dialog's window (or of the taskbar's
// part); exits 1 when there is no Tarnvell or the dialog did not open.
// Dialogs are told by being new, not by their captions, which Tarnvell
// speaks in its language.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

// The first icon of a hidden window.
constexpr UINT kFirstWindowIcon = 1000;

int Report(HWND dialog) {
    if (!dialog) return 1;
    // Painted once the opening message has been handled.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    RECT r{};
    ::GetWindowRect(dialog, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    HWND frame = ::FindWindowA(kFrameClass, nullptr);
    if (!frame) {
        std::fprintf(stderr, "dialog_shot: Tarnvell is not running\n");
        return 1;
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(frame, &pid);

    const std::set<HWND> open = VisibleDialogsOf(pid);
    if (what == "preferences") {
        Command(frame, ID_PREFERENCES);
        return Report(NewDialogOf(pid, open));
    }
    if (what == "groups" || what == "group") {
        // The group is edited over Windows Groups, opened by "groups" before.
        HWND groups = open.empty() ? nullptr : *open.begin();
        if (!groups) {
            Command(frame, ID_WINDOWS_GROUPS);
            groups = NewDialogOf(pid, open);
        }
        if (what == "groups" || !groups) return Report(groups);
        HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        const bool selected = process && RemoteList(::GetDlgItem(groups, IDC_GROUP_LIST), process).Select(0);
        if (process) ::CloseHandle(process);
        if (!selected) return 1;
        ::PostMessageA(groups, WM_COMMAND, MAKEWPARAM(IDC_GROUP_EDIT, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(groups, IDC_GROUP_EDIT)));
        return Report(NewDialogOf(pid, open));
    }
    if (what == "about") {
        Command(frame, ID_APP_ABOUT);
        return Report(NewDialogOf(pid, open));
    }
    if (what == "cancel") {
        // The innermost is the one that is not disabled by another.
        for (int round = 0; round < 8; ++round) {
            HWND innermost = nullptr;
            for (HWND dialog : VisibleDialogsOf(pid))
                if (::IsWindowEnabled(dialog)) innermost = dialog;
            if (!innermost) break;
            ::PostMessageA(innermost, WM_COMMAND, IDCANCEL, 0);
            WaitFor([&] { return !::IsWindow(innermost); }, 5s);
        }
        return 0;
    }
    if (what == "exit") {
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
        return 0;
    }
    if (what == "tray" && argc > 2) {
        const UINT icons = static_cast<UINT>(std::atoi(argv[2]));
        Command(frame, ID_HIDE_ALL);
        if (!WaitFor([&] { return ShellHasIcon(frame, kFirstWindowIcon + icons - 1); }, 10s)) return 1;
        // Let the taskbar paint the icons.
        ::Sleep(1000);
        HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
        RECT r{};
        if (!taskbar || !::GetWindowRect(taskbar, &r)) return 1;
        // Tarnvell's icon and three more, with a margin.
        const LONG width = 100;
        std::printf("%ld %ld %ld %ld\n", r.right - width, r.top, width, r.bottom - r.top);
        return 0;
    }
    if (what == "show-all") {
        Command(frame, ID_SHOW_ALL);
        return 0;
    }
    std::fprintf(stderr, "usage: dialog_shot preferences|groups|group|about|cancel|exit|tray N|show-all\n");
    return 2;
}
