// A hook procedure that reads a popup menu inside the process that owns it.
// Menu handles cannot be read from another process, so e2e::MenuTexts loads
// this library into Tarnvell's user-interface thread with a WH_CALLWNDPROC
// hook and sends the frame a registered message with the menu's handle; the
// hook writes every item's text, as the menu keeps it in UTF-16, into a
// named file mapping that the test created:
//
//   UINT32 count, then per item UINT32 state (MFS_*), UINT32 length and that
//   many WCHARs.
//
// Separators are left out; a submenu's items follow its own item.
#include <windows.h>

#include "menu_probe.h"

namespace {

struct Out {
    BYTE* at;
    BYTE* end;
    UINT32* count;
};

void Put(Out* out, UINT32 state, const WCHAR* text, UINT32 length) {
    const SIZE_T need = 2 * sizeof(UINT32) + length * sizeof(WCHAR);
    if ((SIZE_T)(out->end - out->at) < need) return;
    CopyMemory(out->at, &state, sizeof(UINT32));
    CopyMemory(out->at + sizeof(UINT32), &length, sizeof(UINT32));
    CopyMemory(out->at + 2 * sizeof(UINT32), text, length * sizeof(WCHAR));
    out->at += need;
    ++*out->count;
}

void ReadMenu(HMENU menu, Out* out, int depth) {
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        WCHAR text[4096];
        MENUITEMINFOW item;
        ZeroMemory(&item, sizeof(item));
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = sizeof(text) / sizeof(text[0]);
        if (!GetMenuItemInfoW(menu, (UINT)i, TRUE, &item)) continue;
        if (item.fType & MFT_SEPARATOR) continue;
        Put(out, item.fState, text, item.cch);
        if (item.hSubMenu && depth < 8) ReadMenu(item.hSubMenu, out, depth + 1);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* message = (const CWPSTRUCT*)lParam;
        if (message->message == RegisterWindowMessageW(MENU_PROBE_MESSAGE)) {
            HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, MENU_PROBE_MAPPING);
            if (mapping) {
                BYTE* view = (BYTE*)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, MENU_PROBE_SIZE);
                if (view) {
                    Out out = {view + sizeof(UINT32), view + MENU_PROBE_SIZE, (UINT32*)view};
                    *out.count = 0;
                    ReadMenu((HMENU)message->wParam, &out, 0);
                    UnmapViewOfFile(view);
                }
                CloseHandle(mapping);
            }
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
