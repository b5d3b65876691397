#pragma once
#include <windows.h>

#include <initializer_list>

// Tarnvell started as administrator runs with a higher integrity level than
// the shell and the user's other programs, and the system (User Interface
// Privilege Isolation) drops most messages they send its windows: the
// taskbar's "TaskbarCreated", the tray icon's callbacks, another copy's
// command. Lets window receive exactly these messages from them, whatever
// its rights; every other message stays refused. A refusal is written to
// the debug output. Without those rights the call changes nothing.
void AcceptFromLowerRights(HWND window, std::initializer_list<UINT> messages);
