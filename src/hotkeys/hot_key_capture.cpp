#include "hotkeys/hot_key_capture.h"

#include "hotkeys/key_names.h"
#include "platform/win_constants.h"

namespace {

// The modifier a modifier key stands for; 0 for any other key. The Windows
// keys count on the way down only: their release is not tracked.
unsigned ModifierOfKey(unsigned key, bool down) {
    switch (key) {
        case vk::kShift: return mod::kShift;
        case vk::kControl: return mod::kControl;
        case vk::kMenu: return mod::kAlt;
        case vk::kLWin:
        case vk::kRWin: return down ? mod::kWin : 0;
        default: return 0;
    }
}

}  // namespace

CHotKeys& CHotKeyCapture::Assign(const CHotKeys& source) {
    Copy(source);
    return *this;
}

CaptureText CHotKeyCapture::KeyDown(unsigned key) {
    // Modifiers let go since the last key-down leave the combination only
    // now, so that releasing the keys one by one keeps the finished value.
    m_nModifiers &= ~m_nReleased;
    m_nReleased = 0;

    if (const unsigned modifier = ModifierOfKey(key, true))
        m_nModifiers |= modifier;
    else
        m_nKey = IsCapturableKey(key) ? key : 0;

    if (key == vk::kBack || key == vk::kDelete) {
        m_nModifiers = 0;
        m_nKey = 0;
    }
    return Text();
}

CaptureText CHotKeyCapture::KeyUp(unsigned key) {
    const unsigned modifier = ModifierOfKey(key, false);
    // Modifiers released without a key never make a value.
    if (modifier && m_nKey == 0) m_nModifiers = 0;
    m_nReleased |= modifier;
    return Text();
}

CaptureText CHotKeyCapture::KillFocus() {
    if (m_nKey == 0) m_nModifiers = 0;
    return Text();
}

CaptureText CHotKeyCapture::Text() {
    std::string name = GetName();
    if (name.empty()) name = KeyWordText(KeyWord::NoKey);
    return CaptureText{std::move(name), kCaretPosition};
}
