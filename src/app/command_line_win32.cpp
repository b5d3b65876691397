#include "app/command_line_win32.h"

#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/window_binding.h"
#include "res/resource.h"

bool ValidInCodePage(std::string_view text) {
    if (text.empty()) return true;
    // MB_ERR_INVALID_CHARS makes the conversion fail on a byte sequence the
    // code page does not define (invalid UTF-8 when the code page is UTF-8),
    // where it would otherwise put a replacement character.
    return ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                 0) > 0;
}

namespace {

// Whether each argument as typed (UTF-16) survives the conversion to the code
// page whole. GetCommandLineA has already put '?' or a look-alike for every
// character the code page lacks, and such a name could name another group.
// The arguments are split from a UTF-8 copy (no character is lost there, and
// the split rules act on ASCII only), so the program's own path, whatever it
// holds, is never judged.
bool ArgumentsFitCodePage() {
    // UTF-8 holds every character; a lone surrogate, which no code page
    // holds, was refused before.
    if (::GetACP() == CP_UTF8) return true;
    const wchar_t* wide = ::GetCommandLineW();
    if (!wide || !*wide) return true;
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size - 1));
    for (const std::string& arg : SplitCommandLine(utf8)) {
        if (arg.empty()) continue;
        const int n = ::MultiByteToWideChar(CP_UTF8, 0, arg.data(), static_cast<int>(arg.size()), nullptr, 0);
        std::wstring back(static_cast<std::size_t>(n), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, arg.data(), static_cast<int>(arg.size()), back.data(), n);
        BOOL lossy = FALSE;
        if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, back.data(), n, nullptr, 0, nullptr, &lossy) <= 0 ||
            lossy)
            return false;
    }
    return true;
}

}  // namespace

ParsedCommandLine ParseOwnCommandLine() {
    // Judged on the wide line: by the time the ANSI line exists, a lone
    // surrogate has become U+FFFD, which is valid UTF-8.
    if (const wchar_t* wide = ::GetCommandLineW(); wide) {
        const std::u16string line(wide, wide + std::wcslen(wide));
        if (!ArgumentsAreValidUtf16(line)) {
            ParsedCommandLine invalid;
            invalid.kind = ParsedCommandLine::Kind::Usage;
            invalid.error = UsageError::InvalidText;
            return invalid;
        }
    }
    const char* line = ::GetCommandLineA();
    const bool fits = ArgumentsFitCodePage();
    return ParseCommandLine(SplitCommandLine(line ? line : ""),
                            [fits](std::string_view text) { return fits && ValidInCodePage(text); });
}

void ShowUsage(HINSTANCE instance, std::optional<UsageError> error) {
    const auto load = [instance](unsigned id) { return win32::LoadText(instance, id); };
    std::string text;
    if (error) text = load(UsageErrorStringId(*error)) + "\n\n";
    text += UsageText(load);
    ::MessageBoxA(nullptr, text.c_str(), win32::LoadText(instance, IDR_MAINFRAME).c_str(),
                  (error ? MB_ICONEXCLAMATION : MB_ICONINFORMATION) | MB_OK | MB_SETFOREGROUND);
}

namespace {

// The running copy's frame, by the window class it registers for itself: it
// exists exactly while that copy can take commands, and unlike a handle
// published in shared memory it cannot outlive a copy that crashed. A title
// could be any program's.
HWND FindFrame(const char* frameClass) {
    HWND frame = ::FindWindowExA(nullptr, nullptr, frameClass, nullptr);
    // Never this process's own (it creates none before handing over, but a
    // stray one must not answer itself).
    while (frame) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(frame, &process);
        if (process != ::GetCurrentProcessId()) return frame;
        frame = ::FindWindowExA(nullptr, frame, frameClass, nullptr);
    }
    return nullptr;
}

}  // namespace

CommandResult HandToRunningCopy(const Command& command, const char* frameClass) {
    // The guard is taken before the frame exists: a copy that is starting
    // gets a moment to create it.
    const ULONGLONG searchEnd = ::GetTickCount64() + kFrameSearchBoundMs;
    HWND frame = FindFrame(frameClass);
    while (!frame && ::GetTickCount64() < searchEnd) {
        ::Sleep(50);
        frame = FindFrame(frameClass);
    }
    if (!frame) return CommandResult::NoAnswer;

    std::vector<std::uint8_t> record = EncodeRemoteCommand(command);
    COPYDATASTRUCT data{};
    data.dwData = kCopyDataMagic;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = record.data();
    DWORD_PTR answer = static_cast<DWORD_PTR>(CommandResult::NoAnswer);
    // SMTO_ABORTIFHUNG: a copy that has pumped no message for seconds is not
    // waited for at all.
    if (!::SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kRemoteAnswerBoundMs, &answer))
        return CommandResult::NoAnswer;
    // Only the answers a copy of ours gives; anything else is no answer.
    if (answer > static_cast<DWORD_PTR>(CommandResult::NothingHidden) ||
        answer == static_cast<DWORD_PTR>(CommandResult::NoAnswer))
        return CommandResult::NoAnswer;
    return static_cast<CommandResult>(answer);
}
