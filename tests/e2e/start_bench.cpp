// Start-up of Tarnvell.exe with a large profile: 30,000 stored group slots,
// of which the program loads up to its group cap. Prints how long until the
// main frame exists and until it answers a message, and the process's peak
// memory; asserts nothing. Run through scripts/bench. A search-text length
// pads every group's text to that many characters (4096: about 120 MB of
// text in the profile).
//
//   tarnvell_start_bench [slots [search text bytes]]
#include <windows.h>
#include <psapi.h>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

HWND FrameOf(DWORD pid) {
    const auto frames = WindowsOfProcess(pid, kFrameClass);
    return frames.empty() ? nullptr : frames.front();
}

}  // namespace

int main(int argc, char** argv) {
    const int slots = argc > 1 ? std::atoi(argv[1]) : 30000;
    const int searchBytes = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
    if (!SetDword("Settings", "First Start", 0) || !SeedGroupSlots(slots, static_cast<std::size_t>(searchBytes))) {
        std::printf("could not write the profile\n");
        return 1;
    }

    // The last group that loads carries a hot-key: once it is taken, the
    // whole list is in.
    const int lastId = 25 + 2 * (std::min(slots, 24563) - 1);
    SetDword("HotKeys", ("Mod" + std::to_string(lastId)).c_str(), MOD_CONTROL | MOD_ALT);
    SetDword("HotKeys", ("VK" + std::to_string(lastId)).c_str(), VK_F12);

    // Wine's server writes a changed registry to disk up to 30 s later, and
    // answers nobody while it writes some megabytes: a start in the middle of
    // that would time the write, not us.
    const int settle = std::getenv("START_BENCH_SETTLE_MS") ? std::atoi(std::getenv("START_BENCH_SETTLE_MS")) : 35000;
    ::Sleep(static_cast<DWORD>(settle));

    // What one pass over the stored values costs, one call each: the least a
    // load that reads them all can cost.
    double enumerated = 0;
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\Groups").c_str(), 0, KEY_READ,
                            &key) == ERROR_SUCCESS) {
            const auto t = Clock::now();
            char name[64];
            std::vector<BYTE> data(static_cast<std::size_t>(searchBytes) + 256);
            for (DWORD i = 0;; ++i) {
                DWORD n = sizeof(name), size = static_cast<DWORD>(data.size());
                if (::RegEnumValueA(key, i, name, &n, nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS) break;
            }
            enumerated = Ms(Clock::now() - t);
            ::RegCloseKey(key);
        }
    }

    const auto start = Clock::now();
    Process tarnvell = Start(Tarnvell::ExePath());
    HWND frame = nullptr;
    WaitFor([&] { return (frame = FrameOf(tarnvell.Pid())) != nullptr || !tarnvell.Running(); }, 120s, 5ms);
    const double exists = Ms(Clock::now() - start);
    bool answered = false;
    if (frame) {
        WaitFor(
            [&] {
                DWORD_PTR result = 0;
                answered = ::SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 50, &result) != 0;
                return answered || !tarnvell.Running();
            },
            120s, 5ms);
    }
    const double answers = Ms(Clock::now() - start);
    // The frame may answer from inside a call of the start-up that waits on
    // another process; the start-up is over when the program first waits for
    // input in its own message loop.
    const DWORD idle = ::WaitForInputIdle(tarnvell.info.hProcess, 120000);
    const double ready = Ms(Clock::now() - start);
    const bool loaded = slots > 0 && ProbeHotKey(MOD_CONTROL | MOD_ALT, VK_F12) != 0;

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, tarnvell.Pid());
    const bool haveMemory = process && ::GetProcessMemoryInfo(process, &memory, sizeof(memory));
    if (process) ::CloseHandle(process);

    std::printf("start-up with %d stored group slots (the program loads up to its cap)", slots);
    if (searchBytes > 0) std::printf(", search texts of %d bytes", searchBytes);
    std::printf("\n");
    std::printf("  one pass over the stored group values takes %.1f ms\n", enumerated);
    if (!frame) {
        std::printf("  the main frame did not appear\n");
        return 1;
    }
    std::printf("  main frame exists after     %8.1f ms\n", exists);
    std::printf("  main frame answers after    %8.1f ms%s\n", answers, answered ? "" : " (never answered)");
    std::printf("  start-up over (input idle)  %8.1f ms%s; the last group %s\n", ready, idle == 0 ? "" : " (timed out)",
                loaded ? "loaded" : "did NOT load");
    if (haveMemory)
        std::printf("  peak working set %.1f MB, peak pagefile usage %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0,
                    memory.PeakPagefileUsage / 1048576.0);
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    if (tarnvell.WaitExit(30s) == STILL_ACTIVE) ::TerminateProcess(tarnvell.info.hProcess, 1);
    return 0;
}
