#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/window_handle.h"

namespace platform {

// Relations of GetWindow used to walk the top-level z-order.
enum class WindowRelation { First, Last, Next, Prev };

// How a window comes back from the taskbar: it is not minimized, or it is and
// comes back at its place, or maximized again.
enum class RestoreState { NotMinimized, ToNormal, ToMaximized };

// The window manager as the engine sees other applications' windows. Every
// call may meet a window that has just vanished: it then answers null, false
// or an empty text and does nothing.
class IWindowManager {
public:
    virtual ~IWindowManager() = default;

    // GetWindow: the first top-level window (reference may be null), the last
    // one (the bottom of the z-order), or the window above or below the
    // reference.
    virtual WindowHandle GetWindow(WindowHandle reference, WindowRelation relation) = 0;
    virtual bool IsWindow(WindowHandle w) = 0;
    virtual bool IsWindowVisible(WindowHandle w) = 0;
    // At most maxCount - 1 characters of the class name; empty when unreadable.
    virtual std::string GetClassName(WindowHandle w, int maxCount) = 0;
    // At most maxCount - 1 characters of the caption; never waits on the
    // window's thread.
    virtual std::string GetWindowText(WindowHandle w, int maxCount) = 0;
    // The parent of a child window or the owner of a top-level window.
    virtual WindowHandle GetParent(WindowHandle w) = 0;
    // The process that owns w; 0 when w is gone.
    virtual std::uint32_t ProcessId(WindowHandle w) = 0;
    // The full path of the process's executable, in the process's code page;
    // nothing when the process cannot be asked (one of higher rights, one
    // that has ended).
    virtual std::optional<std::string> ProcessImage(std::uint32_t processId) = 0;
    // This program's own process.
    virtual std::uint32_t OwnProcessId() = 0;
    // The desktop window manager keeps w out of sight although its style says
    // visible: a window of another virtual desktop, a suspended store app, a
    // hidden surface of the shell. False where no such manager answers.
    virtual bool IsCloaked(WindowHandle w) = 0;
    // Hide and show never wait on a window of another thread: a hung
    // application must not freeze the caller. The request is carried out
    // when the window's thread pumps; false when the system refused it at
    // once (a window of a process with higher rights).
    virtual bool HideWindow(WindowHandle w) = 0;
    virtual void ShowWindow(WindowHandle w) = 0;
    // Shows a window that was hidden while minimized as its taskbar button
    // would: restored, or maximized again.
    virtual void RestoreWindow(WindowHandle w, bool maximized) = 0;
    // Whether w is minimized, and how it would come back. Where the system
    // does not say whether a minimized window was maximized before (Wine,
    // for another process's window), ToNormal; restoring it then still
    // maximizes it again.
    virtual RestoreState RestoreStateOf(WindowHandle w) = 0;
    // Whether w's thread answers a message within a short bound: a window
    // that is still visible then has kept itself on screen, while one whose
    // thread does not answer has its request still queued.
    virtual bool Answers(WindowHandle w) = 0;
    // Whether w's process runs with a higher integrity level than this one,
    // or will not say (which only a process of higher rights refuses).
    virtual bool RunsAbove(WindowHandle w) = 0;
    // Asks w to close as its own close button would (WM_SYSCOMMAND,
    // SC_CLOSE, posted): its program may ask about unsaved work first.
    virtual void RequestClose(WindowHandle w) = 0;
    virtual bool SetForegroundWindow(WindowHandle w) = 0;
    virtual void SetActiveWindow(WindowHandle w) = 0;
    // Pauses the calling thread; used only for bounded waits.
    virtual void Sleep(unsigned milliseconds) = 0;
    // A monotonic millisecond clock for those waits.
    virtual std::uint64_t TickCount() = 0;
    // A timer of this program's window w: WM_TIMER with id about every
    // milliseconds until it is killed (setting it again restarts it). The
    // waits that must not keep the thread from its messages go on there.
    virtual bool SetTimer(WindowHandle w, unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(WindowHandle w, unsigned id) = 0;
};

// Opens an address (a web page, a mail link, a file) with the shell.
class IShell {
public:
    virtual ~IShell() = default;
    virtual bool Open(const std::string& address) = 0;
};

}  // namespace platform
