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

void Win32Menus::TrackPopupMenu(const platform::MenuModel& model, WindowHandle owner) {
    UniqueMenu menu(Build(model));
    if (!menu) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, ToHwnd(owner), nullptr);
}

void Win32Menus::PostNull(WindowHandle owner) { ::PostMessageA(ToHwnd(owner), WM_NULL, 0, 0); }
