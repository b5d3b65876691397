#pragma once
#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host_records.h"
#include "platform/win_constants.h"
#include "res/resource.h"

// Helpers for driving the real Tarnvell.exe from another process, as a user
// or another program would: windows are found by process and class, the tray
// is asked through the shell, and nothing is taken on Tarnvell's word.
namespace e2e {

using namespace std::chrono_literals;

// Polls until the predicate holds or the time is up; sleeps between tries
// because every question about another process's window is a round trip.
bool WaitFor(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step = 50ms);

std::string ExeDirectory();

// Top-level windows of a process with the given class (every window when
// className is empty).
std::vector<HWND> WindowsOfProcess(DWORD pid, const std::string& className = {});
std::string ClassOf(HWND w);
std::string TitleOf(HWND w);
// The caption as the window keeps it, in UTF-16 whatever the code page.
std::wstring WideTitleOf(HWND w);
std::string Utf8(const std::wstring& wide);

struct Process {
    PROCESS_INFORMATION info{};
    // GetLastError of a CreateProcess that failed (info is empty then).
    DWORD startError = 0;
    ~Process();
    Process() = default;
    Process(Process&& other) noexcept : info(other.info), startError(other.startError) { other.info = {}; }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Pid() const { return info.dwProcessId; }
    bool Running() const;
    // Waits for the end of the process; its exit code, or STILL_ACTIVE.
    DWORD WaitExit(std::chrono::milliseconds timeout) const;
};

Process Start(const std::string& exe, const std::string& arguments = {});
// "error N (the system's text for it)", for failure messages.
std::string SystemError(DWORD code);

// A running Tarnvell whose frame has appeared; closed (and if need be ended)
// when it goes out of scope.
class Tarnvell {
public:
    Tarnvell();
    // Started by a Wine of its own under the Unix locale lang (LANG), as a
    // user of that language starts it. Wine takes a program's display
    // language from its locale, which a program started from Windows code
    // has from its parent, whatever its environment says.
    explicit Tarnvell(const std::string& lang);
    ~Tarnvell();
    Tarnvell(const Tarnvell&) = delete;
    Tarnvell& operator=(const Tarnvell&) = delete;

    static std::string ExePath();
    bool Started() const { return m_frame != nullptr; }
    HWND Frame() const { return m_frame; }
    const Process& Proc() const { return m_process; }
    // Posts WM_CLOSE and waits for the process to end; true when it did.
    bool Close(std::chrono::milliseconds timeout = 10s);

private:
    Process m_launcher;
    Process m_process;
    HWND m_frame = nullptr;
};

inline constexpr const char* kFrameClass = "TarnvellFrame";
inline constexpr const char* kIconWindowClass = "TrayNotifyIconClass";
inline constexpr UINT kTrayIconId = IDR_MAINFRAME;
// The message of Tarnvell's own notification-area icon.
inline constexpr UINT kTrayNotify = wm::kTrayNotify;

// Asks the shell whether an icon (owner, id) is in the notification area: a
// modification of an icon the shell does not have is refused.
bool ShellHasIcon(HWND owner, UINT id);
// Whether the icon can be seen: its red slash appears in the taskbar's
// notification area (the taskbar itself has no red).
bool TrayShowsRed();
bool DeleteIconFromOutside(HWND owner, UINT id);
void BroadcastTaskbarCreated();
// The middle of our icon in the notification area, found by its red slash;
// false when it is not on the screen.
bool TrayIconCentre(POINT& centre);

// The test-window program, with the windows named by its arguments; as
// window_host.exe, or as the copy of it under another file name
// (other_host.exe), another program for a group that names its program.
// Asks the test-window program for a record of host_records.h (through any of
// its windows); true when it answered that it was done.
bool AskHost(HWND anyHostWindow, ULONG_PTR record, const std::string& text, std::chrono::milliseconds timeout = 5s);
// Tarnvell.exe with arguments, as a script would run it; its exit code.
DWORD RunTarnvell(const std::string& arguments, std::chrono::milliseconds timeout = 20s);

class Host {
public:
    explicit Host(const std::vector<std::string>& items, const std::string& exe = "window_host.exe");
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The window with that title, once it exists (null after a few seconds).
    HWND Window(const std::string& title);
    // Destroys the window with that title, as its program would.
    bool Destroy(const std::string& title);
    const Process& Proc() const { return m_process; }

private:
    Process m_process;
};

// The bound is for a loaded bench: a passing wait ends as soon as w is so.
bool WaitVisible(HWND w, bool visible, std::chrono::milliseconds timeout = 10s);
// Puts w above every other visible top-level window, so that Hide Window
// takes it; true once it is there. Under load the window manager may
// reorder a window that another process has just shown, so it tries again.
bool Raise(HWND w);
// Raises w and runs Hide Window from the menu; true once w is hidden.
bool HideTop(const Tarnvell& app, HWND w);
void Command(HWND frame, UINT id);
// A mouse click of the real input queue at a screen position.
void Click(POINT at, bool right);
// The open popup menu window, if any.
HWND PopupMenu();
// Presses a key combination on the real keyboard: under Wine through the X
// server with xdotool (keys named as xdotool names them, e.g. "ctrl+alt+h"),
// elsewhere through SendInput with the given virtual keys.
void PressKeys(const std::string& xdotoolKeys, const std::vector<WORD>& virtualKeys);
// Moves the real pointer (xdotool under Wine, SetCursorPos elsewhere), so the
// window below it gets the mouse moves a hand would give it.
void MovePointer(POINT at);
// Clicks the middle of a control (an edit of a dialog, a link) with the real
// mouse, as a hand would: under Wine the desktop window is focused first and
// xdotool moves and clicks, which gives an edit the keyboard focus; elsewhere
// SendInput clicks.
void ClickControl(HWND control);
// The window that has the keyboard focus in the thread that owns window (a
// window of another process: GetFocus sees only its own thread's).
HWND FocusOf(HWND window);
// Clicks a control of a dialog until it has the keyboard focus, at most three
// times: on a busy machine the X server may drop a click before Wine sees it.
bool ClickToFocus(HWND dialog, HWND control);
// The window that holds the mouse capture in that thread, if any.
HWND CaptureOf(HWND window);

// Holds a combination for as long as it lives, as another program would:
// registered by this thread (this test process, never Tarnvell's), and let
// go on Release or at the end of the scope. Held() is false when the system
// refused it.
class HeldHotKey {
public:
    HeldHotKey(UINT modifiers, UINT key);
    ~HeldHotKey() { Release(); }
    HeldHotKey(const HeldHotKey&) = delete;
    HeldHotKey& operator=(const HeldHotKey&) = delete;
    bool Held() const { return m_held; }
    void Release();

private:
    bool m_held = false;
};

// The text of the balloon the notification area shows now (its body, without
// the title), read from the taskbar's visible tooltip; empty when none is
// shown within the timeout. Under Wine the taskbar's balloon is a
// tooltips_class32 window of the shell's process, and WM_GETTEXT from another
// process returns its body.
std::string BalloonText(std::chrono::milliseconds timeout = 5s);
// Takes Tarnvell's balloon down: left on the screen it would stand over the
// desktop of the next test.
void TakeBalloonDown(const Tarnvell& app);
// Shows a balloon over an icon of this process and reads it back, then takes
// both down; true when its text was read within the timeout. The shell shows
// a balloon only once it has worked through what came before: after a test
// that made it work hard (hundreds of windows, each a taskbar button), the
// next test waits here until it is ready.
bool ShellShowsABalloon(std::chrono::milliseconds timeout);

// Sends WM_NULL to a window back to back, from a thread of its own, for as
// long as it lives, and keeps the longest time the window took to answer:
// how long its thread left its messages waiting. A send unanswered for 10 s
// counts as 10 s.
class Pinger {
public:
    explicit Pinger(HWND window);
    ~Pinger();
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;
    double LongestMs() const;
    long Sends() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// ---- The profile, as another program sees it in the registry.
inline constexpr const char* kProfileKey = "Software\\KESTROW SOFTWARE\\Tarnvell";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Tarnvell";

// Writes a value into a section of the profile; false when it could not.
bool SetDword(const std::string& section, const char* name, DWORD value);
bool SetString(const std::string& section, const char* name, const std::string& value);
// Fills group slots 0..slots-1 with "Group <n>", searching for "[<n>]"
// anywhere in a caption, through one open key. A searchBytes above that
// text's length pads it to that many characters.
bool SeedGroupSlots(int slots, std::size_t searchBytes = 0);
bool SectionExists(const std::string& section);
std::optional<DWORD> GetDword(const std::string& section, const char* name);
std::optional<std::string> GetString(const std::string& section, const char* name);
// The value names of a section, sorted.
std::vector<std::string> ValueNames(const std::string& section);
// Whether any value anywhere in the profile, of any type, holds text.
bool ProfileHolds(const std::string& text);
std::optional<std::string> RunValue();
void DeleteRunValue();

// Whether this process could take the combination: 0 when it could (it is
// let go at once), otherwise the system's error.
DWORD ProbeHotKey(UINT modifiers, UINT key);

// ---- Dialogs of another process.

// The visible dialog windows of a process with this title.
std::vector<HWND> DialogsOf(DWORD pid, const std::string& title);
// The dialog of the process that opened after those already open: in any
// language, where captions are translated, a dialog is told by being new.
HWND NewDialogOf(DWORD pid, const std::set<HWND>& open, std::chrono::milliseconds timeout = 5s);
// The process's visible dialogs.
std::set<HWND> VisibleDialogsOf(DWORD pid);
// The first of them once one exists (null after the timeout).
HWND WaitDialog(DWORD pid, const std::string& title, std::chrono::milliseconds timeout = 5s);
bool WaitGone(HWND w, std::chrono::milliseconds timeout = 5s);
// Answers Tarnvell's password prompt, first brought up by command unless it
// is 0; false when no prompt came or it stayed open.
bool AnswerPassword(const Tarnvell& app, const char* text, WPARAM button, UINT command = 0);
// A control's text, asked of the control itself (GetWindowText of another
// process's control reads only its caption).
std::string ControlText(HWND control);

// A list view of another process in report view. Its messages carry
// pointers, so they point into memory allocated in the owner's process.
class RemoteList {
public:
    using Row = std::array<std::string, 3>;

    RemoteList(HWND list, HANDLE process);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const;
    // The texts of the first three columns of every item; a long list reads
    // quicker with fewer (a text costs a few round trips), the rest stay empty.
    std::vector<Row> Rows(int columns = 3);
    std::vector<std::string> Columns();
    bool Select(int index);
    // A double click on the item's label, as the mouse delivers it.
    void DoubleClick(int index);

private:
    bool Put(const void* data, std::size_t size, std::size_t at = 0);
    std::string Text(UINT message, int index, int column);

    HWND m_list;
    HANDLE m_process;
    BYTE* m_memory;
};

// ---- Tarnvell's menus and dialogs, read inside Tarnvell. A menu handle or
// a control's font cannot be used from another process: a hook library
// (ui_probe.dll) reads them inside Tarnvell's thread.

// Opens Tarnvell's tray menu with a tray mouse message (with the default
// settings the right button's WM_RBUTTONUP opens the main menu), reads the
// text of every item as the menu keeps it, in UTF-16 (a submenu's items
// follow its own; no separators; "&&" is how a menu shows one "&"), and
// closes the menu. Empty when no menu opened or it could not be read.
std::vector<std::wstring> MenuTexts(const Tarnvell& app, UINT mouseMessage = WM_RBUTTONUP);

// An item of a menu as MenuLines reads it: its text and whether it is
// selected (highlighted) and the default (bold).
struct MenuLine {
    std::wstring text;
    bool selected = false;
    bool isDefault = false;
};
// The items of the menu that open opens in Tarnvell (a key press, a click),
// read as MenuTexts reads them, once the menu is on the screen; the menu is
// closed afterwards. Empty when no menu opened.
std::vector<MenuLine> MenuLines(const Tarnvell& app, const std::function<void()>& open);

// A text of a dialog's static, button, check box, radio button or group box,
// with the room it needs in the control's font, laid out as the control lays
// it out, and the room the control's client area has (pixels).
struct ControlFit {
    int id;
    std::wstring text;
    int needWidth, needHeight;
    int haveWidth, haveHeight;
    // Characters that no font draws (shown as boxes).
    unsigned missing;
    bool Fits() const { return needWidth <= haveWidth && needHeight <= haveHeight; }
};
// Every visible control of an open dialog of Tarnvell's that shows a text,
// then the dialog's caption (id PROBE_CAPTION_ID, nothing to fit).
std::vector<ControlFit> DialogFits(const Tarnvell& app, HWND dialog);

// ---- Measures.

// The CPU time, in seconds, that the running Tarnvell.exe of this Wine
// prefix has taken, as the host system counts it (GetProcessTimes of another
// process answers next to nothing under Wine); elsewhere the system's count
// for process.
double TarnvellCpuSeconds(HANDLE process);
// The same, once it has stopped growing from one look to the next, step
// apart: the events still queued when a test is done are handled by then.
double SettledCpuSeconds(HANDLE process, std::chrono::milliseconds step);
// How many of the windows are visible.
int CountVisible(const std::vector<HWND>& windows);

// ---- Real mouse input, and windows' own parts.

// A click of the real mouse at a screen position: under Wine through the X
// server with xdotool (as a hand gives it, so that low-level mouse hooks and
// the window under the pointer see it), elsewhere through SendInput.
void RealClick(POINT at, bool right);
// A point of w where the window itself answers WM_NCHITTEST with hit
// (HTMINBUTTON, HTCAPTION, ...), found by asking along its caption: the
// system gives no rectangles of the caption's buttons (Wine leaves them
// empty). Nothing when no such point was found.
std::optional<POINT> HitPoint(HWND w, LRESULT hit);

}  // namespace e2e
