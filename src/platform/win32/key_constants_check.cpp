// The virtual-key codes of the hot-key code, checked against the system
// headers like the other constants.
#include <windows.h>

#include "hotkeys/key_names.h"

static_assert(vk::kBack == VK_BACK);
static_assert(vk::kShift == VK_SHIFT);
static_assert(vk::kControl == VK_CONTROL);
static_assert(vk::kMenu == VK_MENU);
static_assert(vk::kEscape == VK_ESCAPE);
static_assert(vk::kSpace == VK_SPACE);
static_assert(vk::kPrior == VK_PRIOR);
static_assert(vk::kNext == VK_NEXT);
static_assert(vk::kEnd == VK_END);
static_assert(vk::kHome == VK_HOME);
static_assert(vk::kLeft == VK_LEFT);
static_assert(vk::kUp == VK_UP);
static_assert(vk::kRight == VK_RIGHT);
static_assert(vk::kDown == VK_DOWN);
static_assert(vk::kInsert == VK_INSERT);
static_assert(vk::kDelete == VK_DELETE);
static_assert(vk::kLWin == VK_LWIN);
static_assert(vk::kRWin == VK_RWIN);
static_assert(vk::kNumpad0 == VK_NUMPAD0);
static_assert(vk::kNumpad9 == VK_NUMPAD9);
static_assert(vk::kMultiply == VK_MULTIPLY);
static_assert(vk::kAdd == VK_ADD);
static_assert(vk::kSeparator == VK_SEPARATOR);
static_assert(vk::kSubtract == VK_SUBTRACT);
static_assert(vk::kDecimal == VK_DECIMAL);
static_assert(vk::kDivide == VK_DIVIDE);
static_assert(vk::kF1 == VK_F1);
static_assert(vk::kF12 == VK_F12);
