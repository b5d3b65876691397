// Every system number the core keeps as a constant is checked here against the
// system headers, so a typo cannot survive a Windows build.
#include <windows.h>

#include "platform/win_constants.h"

static_assert(wm::kNull == WM_NULL);
static_assert(wm::kCreate == WM_CREATE);
static_assert(wm::kDestroy == WM_DESTROY);
static_assert(wm::kClose == WM_CLOSE);
static_assert(wm::kEndSession == WM_ENDSESSION);
static_assert(wm::kContextMenu == WM_CONTEXTMENU);
static_assert(wm::kCopyData == WM_COPYDATA);
static_assert(wm::kCommand == WM_COMMAND);
static_assert(wm::kTimer == WM_TIMER);
static_assert(wm::kInitMenuPopup == WM_INITMENUPOPUP);
static_assert(wm::kHotKey == WM_HOTKEY);
static_assert(wm::kMouseMove == WM_MOUSEMOVE);
static_assert(wm::kLButtonDown == WM_LBUTTONDOWN);
static_assert(wm::kLButtonUp == WM_LBUTTONUP);
static_assert(wm::kLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(wm::kRButtonDown == WM_RBUTTONDOWN);
static_assert(wm::kRButtonUp == WM_RBUTTONUP);
static_assert(wm::kRButtonDblClk == WM_RBUTTONDBLCLK);
static_assert(wm::kUser == WM_USER);
static_assert(wm::kApp == WM_APP);
static_assert(wm::kTrayNotify == 0x800A);

static_assert(mod::kAlt == MOD_ALT);
static_assert(mod::kControl == MOD_CONTROL);
static_assert(mod::kShift == MOD_SHIFT);
static_assert(mod::kWin == MOD_WIN);

static_assert(nim::kAdd == NIM_ADD);
static_assert(nim::kModify == NIM_MODIFY);
static_assert(nim::kDelete == NIM_DELETE);
static_assert(nim::kSetVersion == NIM_SETVERSION);
static_assert(nif::kMessage == NIF_MESSAGE);
static_assert(nif::kIcon == NIF_ICON);
static_assert(nif::kTip == NIF_TIP);
static_assert(nif::kState == NIF_STATE);
static_assert(nif::kInfo == NIF_INFO);
static_assert(niif::kNone == NIIF_NONE);
static_assert(niif::kInfo == NIIF_INFO);
static_assert(niif::kWarning == NIIF_WARNING);
static_assert(niif::kError == NIIF_ERROR);
static_assert(nin::kSelect == NIN_SELECT);
static_assert(nin::kKeySelect == NIN_KEYSELECT);
static_assert(nin::kSelect == 0x400 && nin::kKeySelect == 0x401);
static_assert(nis::kHidden == NIS_HIDDEN);
static_assert(kNotifyIconVersion == NOTIFYICON_VERSION);

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
static_assert(reg::kSz == REG_SZ);
static_assert(reg::kBinary == REG_BINARY);
static_assert(reg::kDword == REG_DWORD);

// The engine reads WM_COPYDATA's lParam as platform::CopyData.
#include <cstddef>

#include "platform/copy_data.h"
static_assert(sizeof(platform::CopyData) == sizeof(COPYDATASTRUCT));
static_assert(offsetof(platform::CopyData, dwData) == offsetof(COPYDATASTRUCT, dwData));
static_assert(offsetof(platform::CopyData, cbData) == offsetof(COPYDATASTRUCT, cbData));
static_assert(offsetof(platform::CopyData, lpData) == offsetof(COPYDATASTRUCT, lpData));
