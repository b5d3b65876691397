#include "app/command_line_win32.h"

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/diagnostics.h"
#include "platform/win32/resources.h"
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
    const std::string utf8 = win32::Narrow(CP_UTF8, wide);
    if (utf8.empty()) return false;
    for (const std::string& arg : SplitCommandLine(utf8)) {
        if (arg.empty()) continue;
        const std::wstring back = win32::Widen(CP_UTF8, arg);
        const int n = static_cast<int>(back.size());
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

// What the sending thread and the waiting one share. The sending thread may
// outlive the wait (it stays blocked in a copy that hung until this process
// ends), so it holds a share of its own.
struct Handover {
    HWND frame = nullptr;
    std::vector<std::uint8_t> record;
    bool answered = false;
    DWORD_PTR answer = static_cast<DWORD_PTR>(CommandResult::NoAnswer);
};

// The longest time-out SendMessageTimeout surely takes as one, 24.8 days: no
// prompt waits that long. INFINITE is not documented for the call, and Wine
// takes a larger value (0xFFFFFFFE was measured) as a time already past.
constexpr UINT kNoBound = 0x7FFFFFFF;

DWORD WINAPI SendRecord(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Handover>> share(static_cast<std::shared_ptr<Handover>*>(parameter));
    Handover& handover = **share;
    COPYDATASTRUCT data{};
    data.dwData = kCopyDataMagic;
    data.cbData = static_cast<DWORD>(handover.record.size());
    data.lpData = handover.record.data();
    // SMTO_ABORTIFHUNG: a copy that is hung already is not given the command
    // at all, so it cannot run it when it wakes. The flag is looked at as the
    // message goes: Wine 8 keeps waiting for a receiver that hangs after it
    // took the message (measured), and Windows promises nothing else. The
    // waiting thread watches for that.
    handover.answered = ::SendMessageTimeoutA(handover.frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                              SMTO_ABORTIFHUNG, kNoBound, &handover.answer) != 0;
    return 0;
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

    // The command may open the password prompt, a window of the running
    // copy, which the system lets come to the front only if the foreground
    // is handed to it: this process may have it (the user just started it),
    // and passes it on. Refused when this process has none to give (started
    // by a scheduled task): the prompt then may open behind.
    DWORD process = 0;
    ::GetWindowThreadProcessId(frame, &process);
    if (process && !::AllowSetForegroundWindow(process)) {
        const DWORD error = ::GetLastError();
        diag::Failed("AllowSetForegroundWindow(" + std::to_string(process) + ")", error);
    }

    // The message is sent once and waited for without a bound, on a thread of
    // its own, while this one looks every kHungCheckMs whether the copy is
    // hung. A second send after a bounded wait would deliver the command a
    // second time. SMTO_NOTIMEOUTIFNOTHUNG would ask Windows for this wait in
    // one call, but Wine 8 ignores it and ends the wait at the time-out
    // (measured), so the same code could not be tested there.
    auto handover = std::make_shared<Handover>();
    handover->frame = frame;
    handover->record = EncodeRemoteCommand(command);
    auto* share = new std::shared_ptr<Handover>(handover);
    HANDLE sender = ::CreateThread(nullptr, 0, SendRecord, share, 0, nullptr);
    if (!sender) {
        const DWORD error = ::GetLastError();
        diag::Failed("CreateThread", error);
        // Without a watch: a copy that hangs during the wait keeps this
        // process waiting.
        SendRecord(share);
    } else {
        HungCopyWatch watch;
        while (::WaitForSingleObject(sender, kHungCheckMs) == WAIT_TIMEOUT) {
            if (!watch.GiveUp(::GetTickCount64(), ::IsHungAppWindow(frame) != FALSE)) continue;
            // The answer may have come between the wait and the look.
            if (::WaitForSingleObject(sender, 0) != WAIT_TIMEOUT) break;
            ::CloseHandle(sender);
            return CommandResult::NoAnswer;
        }
        ::CloseHandle(sender);
    }
    if (!handover->answered) return CommandResult::NoAnswer;
    const DWORD_PTR answer = handover->answer;
    // Only the answers a copy of ours gives; anything else is no answer.
    if (answer > static_cast<DWORD_PTR>(CommandResult::NothingHidden) ||
        answer == static_cast<DWORD_PTR>(CommandResult::NoAnswer))
        return CommandResult::NoAnswer;
    return static_cast<CommandResult>(answer);
}
