#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// A failed system call that matters is written to the debug output, one
// short line each, so that whoever reports a fault can send what a
// debug-output viewer shows; Tarnvell writes no files. A line names what was
// asked, of which window or key, and the system's error with its text:
//
//   Tarnvell: ShowWindowAsync(SW_HIDE) of 0x000301F4 "Untitled - Notepad" failed: 5 Access is denied.
//
// The caller takes the error right after the failing call (GetLastError, or
// the code a registry function returns), before another call can reset it.
namespace diag {

// A handle as the lines show it: "0x000301F4".
std::string Handle(const void* handle);
// A window of another program: its handle and its caption, cut short, or
// `class "<name>"` when it has no caption.
std::string Window(HWND window);
// A name or address in quotes, cut short.
std::string Quoted(std::string_view text);

// Writes "Tarnvell: <what> failed: <error> <system text>". A call that sets
// no error (error 0) is only said to have failed. The thread's last error is
// left as it was.
void Failed(std::string_view what, DWORD error);

}  // namespace diag
