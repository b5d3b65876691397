#include "platform/win32/convert.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_platform.h"

namespace {

// Appends the items to a new popup menu. A submenu belongs to its parent once
// appended, and goes with it when the parent is destroyed.
HMENU Build(const platform::MenuModel& items) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return nullptr;
    for (const auto& item : items) {
        switch (item.kind) {
            case platform::MenuItem::Kind::String:
                ::AppendMenuA(menu.get(), MF_STRING, item.id, item.text.c_str());
                break;
            case platform::MenuItem::Kind::Separator: ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr); break;
            case platform::MenuItem::Kind::Popup: {
                UniqueMenu sub(Build(item.submenu));
                if (sub && ::AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), item.text.c_str()))
                    sub.release();
                break;
            }
        }
    }
    return menu.release();
}

}  // namespace

unsigned Win32Menus::TrackPopupMenu(const platform::MenuModel& model, WindowHandle owner,
                                    std::optional<platform::ScreenPoint> at, bool selectFirst) {
    UniqueMenu menu(Build(model));
    if (!menu) return 0;
    for (const auto& item : model)
        if (item.isDefault) ::SetMenuDefaultItem(menu.get(), item.id, FALSE);
    POINT where{};
    if (at)
        where = {at->x, at->y};
    else
        ::GetCursorPos(&where);
    // Menus drop to the side the user's system drops them to (right-handed
    // pen and touch settings flip it); either button chooses, since the
    // menu may have been opened with the right one. The choice comes back
    // here rather than as a message, so what an item names is known only
    // while its menu is open.
    const UINT align = ::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    // The menu's loop reads the thread's queue, keys included: a Down
    // waiting there when it starts selects the first item, as the user's
    // own first press of it would.
    if (selectFirst) ::PostMessageA(ToHwnd(owner), WM_KEYDOWN, VK_DOWN, 0);
    const BOOL chosen = ::TrackPopupMenu(menu.get(), align | TPM_RIGHTBUTTON | TPM_RETURNCMD, where.x, where.y, 0,
                                         ToHwnd(owner), nullptr);
    return chosen > 0 ? static_cast<unsigned>(chosen) : 0;
}

void Win32Menus::PostNull(WindowHandle owner) { ::PostMessageA(ToHwnd(owner), WM_NULL, 0, 0); }
