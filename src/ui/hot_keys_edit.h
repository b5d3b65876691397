#pragma once
#include <windows.h>

#include "hotkeys/hot_key_capture.h"

// The edit control in which the user sets a hot-key by pressing it. The
// object is the captured value (a CHotKeys that is never bound, so nothing
// is registered while the user types); the window is an edit control of a
// dialog template, taken over with Attach. It always shows the value's name,
// never typed text.
class CHotKeysEdit : public CHotKeyCapture {
public:
    CHotKeysEdit() = default;
    ~CHotKeysEdit() override;

    // Takes over the edit control and shows the value at once.
    void Attach(HWND edit);
    void Detach();
    // The subclassed edit's messages.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void UpdateText(const CaptureText& shown);

    HWND m_hWnd = nullptr;
};
