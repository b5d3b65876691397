#include <gtest/gtest.h>

#include "hotkeys/hot_key_capture.h"
#include "hotkeys/key_names.h"
#include "platform/win_constants.h"

namespace {

class KeyCapture : public ::testing::Test {
protected:
    CHotKeyCapture control;

    std::string Down(unsigned key) { return control.KeyDown(key).text; }
    std::string Up(unsigned key) { return control.KeyUp(key).text; }
    void Press(std::initializer_list<unsigned> keys) {
        for (unsigned k : keys) control.KeyDown(k);
    }
    void Release(std::initializer_list<unsigned> keys) {
        for (unsigned k : keys) control.KeyUp(k);
    }
};

TEST_F(KeyCapture, BuildsACombinationAndKeepsItAfterTheRelease) {
    EXPECT_EQ(control.Text().text, "No");
    EXPECT_EQ(Down(vk::kControl), "Ctrl + ");
    EXPECT_EQ(Down(vk::kMenu), "Ctrl + Alt + ");
    EXPECT_EQ(Down('H'), "Ctrl + Alt + H");
    EXPECT_EQ(Up('H'), "Ctrl + Alt + H");
    EXPECT_EQ(Up(vk::kControl), "Ctrl + Alt + H");
    EXPECT_EQ(Up(vk::kMenu), "Ctrl + Alt + H");
    EXPECT_EQ(control.Value().modifiers, 3u);
    EXPECT_EQ(control.Value().key, 0x48u);

    // The released modifiers drop out at the next key-down.
    EXPECT_EQ(Down('J'), "J");
    Release({'J'});
    // A new modifier set starts while the key stays.
    EXPECT_EQ(Down(vk::kShift), "Shift + J");
    EXPECT_EQ(Up(vk::kShift), "Shift + J");
    EXPECT_EQ(control.Value().modifiers, mod::kShift);
}

TEST_F(KeyCapture, AnAssignedValueKeepsItsModifiersUntilOneIsReleased) {
    CHotKeys engine;
    engine.SetValue({mod::kControl | mod::kAlt, 'H'});
    control.Assign(engine);
    EXPECT_EQ(Down('J'), "Ctrl + Alt + J");
}

TEST_F(KeyCapture, ModifiersAloneNeverMakeAValue) {
    EXPECT_EQ(Down(vk::kControl), "Ctrl + ");
    EXPECT_EQ(Up(vk::kControl), "No");

    // The Windows keys are not tracked on the way up.
    EXPECT_EQ(Down(vk::kLWin), "Win + ");
    EXPECT_EQ(Up(vk::kLWin), "Win + ");
    EXPECT_EQ(control.KillFocus().text, "No");
    EXPECT_EQ(control.Value().modifiers, 0u);
}

TEST_F(KeyCapture, BackspaceAndDeleteClearWhateverIsHeld) {
    for (unsigned clear : {vk::kBack, vk::kDelete}) {
        Press({vk::kControl, vk::kShift, 'K'});
        ASSERT_EQ(control.Text().text, "Ctrl + Shift + K");
        EXPECT_EQ(Down(clear), "No");
        EXPECT_EQ(control.Value().modifiers, 0u);
        EXPECT_EQ(control.Value().key, 0u);
        Release({'K', vk::kShift, vk::kControl, clear});
    }
}

TEST_F(KeyCapture, AKeyWithoutANameClearsTheKeyButKeepsTheModifiers) {
    Press({'A'});
    Release({'A'});
    EXPECT_EQ(Down(vk::kControl), "Ctrl + A");
    for (unsigned unnamed : {0xBAu, 0x14u, 0x13u, 0x7Cu, 0x5Du}) {  // ;  Caps  Pause  F13  Apps
        EXPECT_EQ(Down(unnamed), "Ctrl + ") << std::hex << unnamed;
    }
    EXPECT_EQ(control.KillFocus().text, "No");
}

TEST_F(KeyCapture, KeypadAndMainDigitsLookAlikeButAreStoredApart) {
    EXPECT_EQ(Down(0x65), "5");
    EXPECT_EQ(control.Value().key, 0x65u);
    EXPECT_EQ(Down(0x35), "5");
    EXPECT_EQ(control.Value().key, 0x35u);
    EXPECT_EQ(Down(vk::kSeparator), "?");
    // F10 and Alt combinations come as system keys and are taken alike.
    Press({vk::kMenu});
    EXPECT_EQ(Down(0x79), "Alt + F10");
}

TEST_F(KeyCapture, FocusLossKeepsACompleteValueAndTheCaretSitsAt32) {
    Press({vk::kControl, vk::kShift, vk::kMenu, vk::kRWin, vk::kNext});
    const CaptureText shown = control.KillFocus();
    EXPECT_EQ(shown.text, "Ctrl + Shift + Alt + Win + PageDown");
    EXPECT_EQ(shown.caret, 32);
    EXPECT_EQ(control.KeyUp(vk::kShift).caret, 32);
}

}  // namespace
