#include "ui/html_help.h"

#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"
#include "ui/help_path.h"

namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr WORD kHtmlHelpOrdinal = 14;  // HtmlHelpA
constexpr const char* kHelpControlKey = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The engine's entry point, looked for once per run: a failure is final, so
// a system without the engine does not search the disk on every F1.
HtmlHelpFn HtmlHelpEntry() {
    static bool tried = false;
    static HtmlHelpFn entry = nullptr;
    if (tried) return entry;
    tried = true;
    HMODULE module = nullptr;
    // Where the HTML Help control is registered, first, but only a full path:
    // a bare name would be looked for along the search path, which starts in
    // a folder the user can write.
    if (const auto registered = ClassesRootDefault(kHelpControlKey, MAX_PATH);
        registered && IsAbsolutePath(*registered))
        module = ::LoadLibraryExA(registered->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) module = LoadSystemLibrary("hhctrl.ocx");
    if (!module) return nullptr;
    entry = reinterpret_cast<HtmlHelpFn>(
        reinterpret_cast<void*>(::GetProcAddress(module, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
    // Kept loaded for the run: the help window lives in it.
    return entry;
}

}  // namespace

CHtmlHelp g_HtmlHelp;

CHtmlHelp::CHtmlHelp() {
    Win32Module module(::GetModuleHandleA(nullptr));
    m_strHelpFile = HelpFilePath(module.ModulePath());
}

int CHtmlHelp::Display(HWND caller, UINT command, DWORD_PTR data) {
    const HtmlHelpFn entry = HtmlHelpEntry();
    if (!entry) return 0;
    if (!caller) caller = m_hMainWnd;
    return static_cast<int>(reinterpret_cast<INT_PTR>(entry(caller, m_strHelpFile.c_str(), command, data)));
}

void ShowHelpTopic(HWND caller, const char* topic) {
    g_HtmlHelp.Display(caller, kDisplayTopic, reinterpret_cast<DWORD_PTR>(topic));
}
