// Every system number the core keeps as a constant is checked here against the
// system headers, so a typo cannot survive a Windows build.
#include <windows.h>

#include "platform/win_constants.h"
#include "tray/tray_notify_icon.h"

static_assert(wm::kNull == WM_NULL);
static_assert(wm::kCreate == WM_CREATE);
static_assert(wm::kDestroy == WM_DESTROY);
static_assert(wm::kClose == WM_CLOSE);
static_assert(wm::kEndSession == WM_ENDSESSION);
static_assert(wm::kCommand == WM_COMMAND);
static_assert(wm::kInitMenuPopup == WM_INITMENUPOPUP);
static_assert(wm::kHotKey == WM_HOTKEY);
static_assert(wm::kMouseMove == WM_MOUSEMOVE);
static_assert(wm::kLButtonDown == WM_LBUTTONDOWN);
static_assert(wm::kLButtonUp == WM_LBUTTONUP);
static_assert(wm::kLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(wm::kRButtonDown == WM_RBUTTONDOWN);
static_assert(wm::kRButtonUp == WM_RBUTTONUP);
static_assert(wm::kRButtonDblClk == WM_RBUTTONDBLCLK);
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
static_assert(nis::kHidden == NIS_HIDDEN);
static_assert(kNotifyIconVersion == NOTIFYICON_VERSION);

static_assert(notify_size::kV1 == NOTIFYICONDATAA_V1_SIZE);
static_assert(notify_size::kV2 == NOTIFYICONDATAA_V2_SIZE);
static_assert(notify_size::kV3 == NOTIFYICONDATAA_V3_SIZE);
static_assert(notify_size::kFull == sizeof(NOTIFYICONDATAA));
