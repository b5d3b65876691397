#pragma once
#include <windows.h>

#include <string>

// The program's compiled help file, shown by the system's HTML Help engine.
// The engine is loaded on the first request; when it cannot be had, that
// request and every later one of the run do nothing.
class CHtmlHelp {
public:
    CHtmlHelp();
    virtual ~CHtmlHelp() = default;
    CHtmlHelp(const CHtmlHelp&) = delete;
    CHtmlHelp& operator=(const CHtmlHelp&) = delete;

    // HtmlHelpA(caller, help file, command, data); a null caller means the
    // main window. The engine's result, or 0 when there is no engine.
    int Display(HWND caller, UINT command, DWORD_PTR data);
    const std::string& HelpFile() const { return m_strHelpFile; }
    // The window that stands in for a null caller.
    void SetMainWindow(HWND window) { m_hMainWnd = window; }

private:
    std::string m_strHelpFile;
    HWND m_hMainWnd = nullptr;
};

extern CHtmlHelp g_HtmlHelp;

// Opens a topic of the help file ("html\\about.html"), or its default topic
// when topic is null, on behalf of the caller window.
void ShowHelpTopic(HWND caller, const char* topic);
