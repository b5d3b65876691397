#include "platform/win32/diagnostics.h"

#include <cstdint>
#include <cstdio>

#include "platform/text.h"

namespace {

// Long enough to recognise a window or an address, short enough that a line
// stays one line in a viewer.
constexpr std::size_t kQuotedChars = 64;

const text::CodePage& ProcessCodePage() {
    static const text::CodePage codePage =
        ::GetACP() == text::kUtf8CodePage
            ? text::CodePage::Utf8()
            : text::CodePage([](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
    return codePage;
}

// The system's text for an error, on one line; empty when it has none.
std::string SystemText(DWORD error) {
    char buffer[512] = {};
    // MAX_WIDTH_MASK drops the line breaks inside the message.
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr, error, 0,
        buffer, sizeof(buffer), nullptr);
    std::string message(buffer, n < sizeof(buffer) ? n : 0);
    for (char& c : message)
        if (c == '\r' || c == '\n') c = ' ';
    while (!message.empty() && message.back() == ' ') message.pop_back();
    return message;
}

}  // namespace

namespace diag {

std::string Handle(const void* handle) {
    char text[2 + 16 + 1];
    std::snprintf(text, sizeof(text), "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
    return text;
}

std::string Quoted(std::string_view value) {
    return '"' + text::CutToChars(value, kQuotedChars, ProcessCodePage()) + '"';
}

std::string Window(HWND window) {
    // Neither call waits for the window's program: the caption of another
    // process's window is read from the system's copy.
    char buffer[text::BufferFor(kQuotedChars)] = {};
    std::string line = Handle(window);
    if (const int n = ::GetWindowTextA(window, buffer, sizeof(buffer)); n > 0)
        return line + ' ' + Quoted(std::string_view(buffer, static_cast<std::size_t>(n)));
    if (const int n = ::GetClassNameA(window, buffer, sizeof(buffer)); n > 0)
        return line + " class " + Quoted(std::string_view(buffer, static_cast<std::size_t>(n)));
    return line;
}

void Failed(std::string_view what, DWORD error) {
    const DWORD last = ::GetLastError();
    std::string line = "Tarnvell: ";
    line += what;
    if (error == ERROR_SUCCESS) {
        line += " failed.";
    } else {
        line += " failed: " + std::to_string(error);
        if (const std::string message = SystemText(error); !message.empty()) line += ' ' + message;
    }
    // A debugger's output pane runs the strings together; a viewer shows
    // each as its own line anyway.
    line += '\n';
    ::OutputDebugStringA(line.c_str());
    ::SetLastError(last);
}

}  // namespace diag
