#pragma once
#include <windows.h>

#include <functional>

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
    // Told true when the field gains the keyboard focus and false when it
    // loses it: while a field has it, the program gives up its own hot-keys,
    // which the system would otherwise take before the field sees the keys.
    void SetFocusHook(std::function<void(bool)> hook) { m_OnFocus = std::move(hook); }

private:
    void UpdateText(const CaptureText& shown);

    HWND m_hWnd = nullptr;
    std::function<void(bool)> m_OnFocus;
};
