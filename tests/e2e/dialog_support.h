// Helpers of the end-to-end tests that drive Tarnvell's dialogs and message
// boxes from outside, by control identifier.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"

namespace e2e {

inline constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
// What RegisterHotKey says of a combination another registration holds.
inline constexpr DWORD kHeld = ERROR_HOTKEY_ALREADY_REGISTERED;

inline HWND Control(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
// Posted: the click may open a modal box, which a sent message would wait for.
inline void Press(HWND dialog, int id) { ::PostMessageA(Control(dialog, id), BM_CLICK, 0, 0); }
inline bool Dismiss(HWND dialog, int button) {
    Press(dialog, button);
    return WaitGone(dialog);
}
// The program's message box, once it is open, when it says text; it is then
// closed with OK.
inline bool Warned(const Tarnvell& app, const std::string& text) {
    HWND box = WaitDialog(app.Proc().Pid(), "Tarnvell");
    if (!box) return false;
    const std::string said = ControlText(Control(box, 0xFFFF));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    const bool gone = WaitGone(box);
    EXPECT_EQ(said, text);
    return gone && said == text;
}
// The dialog a menu command opens, once it is there.
inline HWND Open(const Tarnvell& app, UINT command, const char* title) {
    Command(app.Frame(), command);
    return WaitDialog(app.Proc().Pid(), title);
}
// Program hot-key id as the profile stores it.
inline void SeedKey(int id, UINT modifiers, UINT key) {
    SetDword("HotKeys", ("Mod" + std::to_string(id)).c_str(), modifiers);
    SetDword("HotKeys", ("VK" + std::to_string(id)).c_str(), key);
}

}  // namespace e2e
