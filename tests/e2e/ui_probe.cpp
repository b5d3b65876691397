// A hook procedure that reads Tarnvell's user interface inside its own
// process, where handles and fonts are at hand. e2e helpers load this library
// into Tarnvell's user-interface thread with a WH_CALLWNDPROC hook and send a
// registered message; the hook writes what it read into a named file mapping
// that the test created, starting with a UINT32 count:
//
//  - the menu message (wParam a menu handle): per item, a ProbeMenuItem and
//    its text, as the menu keeps it (UTF-16). Separators are left out;
//    a submenu's items follow its own item.
//  - the fit message, sent to a dialog: per control with a text, a ProbeFit
//    and its text: the room the text needs in the control's own font,
//    measured as the control lays it out, the room the control has, and how
//    many of its characters no font draws; then the same count for the
//    dialog's caption in the caption font.
#include <windows.h>

#include "ui_probe.h"

namespace {

struct Out {
    BYTE* at;
    BYTE* end;
    UINT32* count;
};

bool Put(Out* out, const void* head, SIZE_T headSize, const WCHAR* text, UINT32 length) {
    const SIZE_T need = headSize + length * sizeof(WCHAR);
    if ((SIZE_T)(out->end - out->at) < need) return false;
    CopyMemory(out->at, head, headSize);
    CopyMemory(out->at + headSize, text, length * sizeof(WCHAR));
    out->at += need;
    ++*out->count;
    return true;
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
        const ProbeMenuItem head = {item.fState, item.cch};
        Put(out, &head, sizeof(head), text, item.cch);
        if (item.hSubMenu && depth < 8) ReadMenu(item.hSubMenu, out, depth + 1);
    }
}

// What a control shows of text: an "&" marks the next letter and is not
// drawn, "&&" draws one, unless the control shows prefixes as text.
int Shown(const WCHAR* text, int n, bool prefix, WCHAR* shown) {
    int m = 0;
    for (int i = 0; i < n; ++i) {
        if (prefix && text[i] == L'&' && i + 1 < n) ++i;
        shown[m++] = text[i];
    }
    return m;
}

// The widest line of a text without wrapping, and its lines' height.
SIZE Lines(HDC dc, const WCHAR* text, int n, int lineHeight) {
    SIZE whole = {0, 0};
    for (int start = 0; start <= n;) {
        int end = start;
        while (end < n && text[end] != L'\n') ++end;
        SIZE line = {0, 0};
        GetTextExtentPoint32W(dc, text + start, end - start, &line);
        if (line.cx > whole.cx) whole.cx = line.cx;
        whole.cy += lineHeight;
        start = end + 1;
    }
    return whole;
}

int Extent(HDC dc, const WCHAR* text, int n) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, n, &size);
    return size.cx;
}

// Chinese, Japanese and Korean characters a line may break before or after,
// as between words.
bool BreaksAround(WCHAR c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// The room a text needs in a control that wraps it within width, laid out
// as the control does: lines break at spaces and around CJK characters, a
// word wider than the control stays whole on a line of its own (and makes
// the text wider), and "\n" always breaks.
SIZE Wrapped(HDC dc, const WCHAR* text, int n, int width, int lineHeight) {
    SIZE need = {0, 0};
    for (int at = 0; at <= n;) {
        int end = at;
        while (end < n && text[end] != L'\n') ++end;
        int line = at, lineEnd = at;
        for (int i = at;;) {
            while (i < end && text[i] == L' ') ++i;
            if (i >= end) break;
            int piece = i + 1;
            if (!BreaksAround(text[i]))
                while (piece < end && text[piece] != L' ' && !BreaksAround(text[piece])) ++piece;
            if (lineEnd > line && Extent(dc, text + line, piece - line) > width) {
                const int used = Extent(dc, text + line, lineEnd - line);
                if (used > need.cx) need.cx = used;
                need.cy += lineHeight;
                line = i;
            }
            lineEnd = i = piece;
        }
        const int used = Extent(dc, text + line, lineEnd - line);
        if (used > need.cx) need.cx = used;
        need.cy += lineHeight;
        at = end + 1;
    }
    return need;
}

// How many characters of text the font selected into dc draws as the box of
// a missing glyph, with the fonts the system links to it for other scripts:
// each character is drawn alone and compared with a noncharacter, which no
// font has. An extent cannot tell, since a missing glyph has a width too.
UINT32 Missing(HDC dc, const WCHAR* text, int n) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 2 * metrics.tmMaxCharWidth + 8;
    info.bmiHeader.biHeight = -metrics.tmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC drawn = CreateCompatibleDC(dc);
    if (!bitmap || !drawn) {
        if (bitmap) DeleteObject(bitmap);
        if (drawn) DeleteDC(drawn);
        return (UINT32)n;  // counted as missing, so that the test says so
    }
    HGDIOBJ oldBitmap = SelectObject(drawn, bitmap);
    HGDIOBJ oldFont = SelectObject(drawn, GetCurrentObject(dc, OBJ_FONT));
    const RECT all = {0, 0, info.bmiHeader.biWidth, metrics.tmHeight};
    const SIZE_T size = (SIZE_T)info.bmiHeader.biWidth * metrics.tmHeight * 4;
    BYTE* box = (BYTE*)HeapAlloc(GetProcessHeap(), 0, size);
    const auto draw = [&](const WCHAR* c, UINT units) {
        ExtTextOutW(drawn, 0, 0, ETO_OPAQUE, &all, c, units, NULL);
        GdiFlush();
    };
    const WCHAR none = 0xFDD0;
    draw(&none, 1);
    if (box) CopyMemory(box, bits, size);
    UINT32 missing = 0;
    for (int i = 0; i < n; ++i) {
        const UINT units = IS_HIGH_SURROGATE(text[i]) && i + 1 < n ? 2 : 1;
        if (text[i] > L' ') {
            draw(text + i, units);
            if (!box || memcmp(bits, box, size) == 0) ++missing;
        }
        i += (int)units - 1;
    }
    if (box) HeapFree(GetProcessHeap(), 0, box);
    SelectObject(drawn, oldFont);
    SelectObject(drawn, oldBitmap);
    DeleteDC(drawn);
    DeleteObject(bitmap);
    return missing;
}

void Measure(HWND dialog, Out* out) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        WCHAR type[64] = L"";
        GetClassNameW(control, type, 64);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        const bool isStatic = lstrcmpiW(type, L"Static") == 0, isButton = lstrcmpiW(type, L"Button") == 0;
        if (!isStatic && !isButton) continue;
        const LONG kind = isStatic ? (style & SS_TYPEMASK) : (style & BS_TYPEMASK);
        if (isStatic && kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP &&
            kind != SS_SIMPLE)
            continue;  // icons, frames and lines
        WCHAR text[2048];
        const int n = GetWindowTextW(control, text, 2048);
        if (n <= 0) continue;
        const bool prefix = !(isStatic && (style & SS_NOPREFIX));
        WCHAR shown[2048];
        const int m = Shown(text, n, prefix, shown);

        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(control, WM_GETFONT, 0, 0));
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
        RECT client;
        GetClientRect(control, &client);
        ProbeFit fit = {GetDlgCtrlID(control), 0, 0, client.right, client.bottom, 0, (unsigned)n};
        const bool check = isButton && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                                        kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE);
        SIZE need;
        if (isStatic) {
            need = kind == SS_LEFTNOWORDWRAP || kind == SS_SIMPLE
                       ? Lines(dc, shown, m, metrics.tmHeight)
                       : Wrapped(dc, shown, m, client.right, metrics.tmHeight);
        } else if (check) {
            // The box and the gap before the text, as the system draws them:
            // the menu check mark's size, which follows the dpi, and a few
            // pixels.
            const int box = GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(4, dpi, 96);
            need = (style & BS_MULTILINE) ? Wrapped(dc, shown, m, client.right - box, metrics.tmHeight)
                                          : Lines(dc, shown, m, metrics.tmHeight);
            need.cx += box;
        } else if (kind == BS_GROUPBOX) {
            // The caption sits in the frame's top line, inset from its ends.
            need = Lines(dc, shown, m, metrics.tmHeight);
            need.cx += 2 * metrics.tmAveCharWidth;
        } else {
            // A push button draws its text inside a raised edge and a margin.
            need = Lines(dc, shown, m, metrics.tmHeight);
            need.cx += 2 * (GetSystemMetrics(SM_CXEDGE) + MulDiv(3, dpi, 96));
            need.cy += 2 * GetSystemMetrics(SM_CYEDGE);
        }
        fit.needWidth = need.cx;
        fit.needHeight = need.cy;
        fit.missing = Missing(dc, shown, m);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        Put(out, &fit, sizeof(fit), text, (UINT32)n);
    }

    WCHAR caption[512];
    const int n = GetWindowTextW(dialog, caption, 512);
    NONCLIENTMETRICSW nonClient;
    ZeroMemory(&nonClient, sizeof(nonClient));
    nonClient.cbSize = sizeof(nonClient);
    if (n <= 0 || !SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(nonClient), &nonClient, 0)) return;
    HDC dc = GetDC(dialog);
    HFONT font = CreateFontIndirectW(&nonClient.lfCaptionFont);
    HGDIOBJ old = SelectObject(dc, font);
    ProbeFit fit = {PROBE_CAPTION_ID, 0, 0, 0, 0, Missing(dc, caption, n), (unsigned)n};
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(dialog, dc);
    Put(out, &fit, sizeof(fit), caption, (UINT32)n);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* message = (const CWPSTRUCT*)lParam;
        const bool menu = message->message == RegisterWindowMessageW(PROBE_MENU_MESSAGE);
        const bool fit = message->message == RegisterWindowMessageW(PROBE_FIT_MESSAGE);
        HANDLE mapping = menu || fit ? OpenFileMappingW(FILE_MAP_WRITE, FALSE, PROBE_MAPPING) : NULL;
        BYTE* view = mapping ? (BYTE*)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, PROBE_SIZE) : NULL;
        if (view) {
            Out out = {view + sizeof(UINT32), view + PROBE_SIZE, (UINT32*)view};
            *out.count = 0;
            if (menu)
                ReadMenu((HMENU)message->wParam, &out, 0);
            else
                Measure(message->hwnd, &out);
            UnmapViewOfFile(view);
        }
        if (mapping) CloseHandle(mapping);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
