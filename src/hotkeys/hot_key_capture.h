#pragma once
#include <string>

#include "hotkeys/hot_keys.h"

// What the capture edit control shows: the text and where the caret goes.
struct CaptureText {
    std::string text;
    int caret = 0;
};

// The keyboard logic of the hot-key capture edit control, free of any window:
// the control feeds it the key messages it receives and applies the text it
// returns. Its value is the CHotKeys part, which is never bound, so capturing
// registers nothing.
class CHotKeyCapture : public CHotKeys {
public:
    // The caret goes here after every change; it is past the end of every name
    // but the longest (35 characters), which the control scrolls to show.
    static constexpr int kCaretPosition = 32;

    CHotKeyCapture() = default;

    // A plain copy: the value is only shown, never registered, and the text
    // is refreshed when the control is attached.
    CHotKeys& Assign(const CHotKeys& source) override;

    // WM_KEYDOWN and WM_SYSKEYDOWN alike.
    CaptureText KeyDown(unsigned key);
    // WM_KEYUP and WM_SYSKEYUP alike.
    CaptureText KeyUp(unsigned key);
    // After the edit control's own handling of WM_KILLFOCUS.
    CaptureText KillFocus();
    // The text for the current value (KeyWord::NoKey, "No", when nothing is
    // set).
    CaptureText Text();

private:
    // Modifiers let go since the last key-down.
    unsigned m_nReleased = 0;
};
