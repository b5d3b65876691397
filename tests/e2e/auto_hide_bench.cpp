// Not a test: the cost to Tarnvell of the window-event hooks when a program
// retitles a window that matches no rule, thousands of times in a row (a
// browser that shows a counter in its caption). Prints Tarnvell's CPU time
// per event, with a group that hides its windows as they appear (hooks set)
// and without one (no hooks), for the same storm.
//
//   tarnvell_auto_hide_bench.exe [events]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr ULONG_PTR kHostRenameStorm = 3;

// Under Wine, GetProcessTimes of another process answers (next to) nothing;
// the host's own accounting of the Unix process that runs Tarnvell.exe is
// read instead, through Wine's Z: drive (utime and stime, in 1/100 s).
std::optional<double> UnixCpuSeconds() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<double> seconds;
    unsigned long long newest = 0;
    char prefixBuffer[1024] = {};
    const DWORD prefixLength = ::GetEnvironmentVariableA("WINEPREFIX", prefixBuffer, sizeof(prefixBuffer));
    const std::string prefix(prefixBuffer, prefixLength < sizeof(prefixBuffer) ? prefixLength : 0);
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
        const std::string path = std::string("Z:\\proc\\") + found.cFileName + "\\stat";
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) continue;
        char line[1024] = {};
        const std::size_t n = std::fread(line, 1, sizeof(line) - 1, file);
        std::fclose(file);
        const std::string stat(line, n);
        const auto close = stat.rfind(')');
        if (stat.find("(Tarnvell.exe)") == std::string::npos || close == std::string::npos) continue;
        // Other Wine instances of the machine run their own Tarnvell.exe:
        // only the one of this prefix counts.
        if (!prefix.empty()) {
            const std::string environPath = std::string("Z:\\proc\\") + found.cFileName + "\\environ";
            std::FILE* env = std::fopen(environPath.c_str(), "rb");
            if (!env) continue;
            std::string variables;
            char chunk[4096];
            std::size_t got;
            while ((got = std::fread(chunk, 1, sizeof(chunk), env)) > 0) variables.append(chunk, got);
            std::fclose(env);
            if (variables.find(std::string("WINEPREFIX=") + prefix + '\0') == std::string::npos) continue;
        }
        // Fields after the name: state is the 3rd, utime the 14th, stime the
        // 15th, the start time the 22nd. A copy that has ended may linger as
        // a zombie; the newest living one is the one measured.
        std::istringstream rest(stat.substr(close + 2));
        std::string field;
        unsigned long long utime = 0, stime = 0, start = 0;
        bool living = true;
        for (int i = 3; i <= 22 && rest >> field; ++i) {
            if (i == 3) living = field != "Z" && field != "X";
            if (i == 14) utime = std::stoull(field);
            if (i == 15) stime = std::stoull(field);
            if (i == 22) start = std::stoull(field);
        }
        if (!living || start < newest) continue;
        newest = start;
        seconds = static_cast<double>(utime + stime) / 100.0;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return seconds;
}

double CpuSeconds(HANDLE process) {
    if (const auto unix = UnixCpuSeconds()) return *unix;
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

void Profile(bool autoHide) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    SetDword("Settings", "First Start", 0);
    SetString("Groups", "Name0", "Chat");
    SetString("Groups", "Search0", "[chat]");
    SetDword("Groups", "Compare0", 0);
    SetDword("Groups", "AutoHide0", autoHide ? 1 : 0);
    SetDword("Groups", "Compare1", 0xFFFFFFFF);
}

bool Storm(int events, bool autoHide) {
    Profile(autoHide);
    Tarnvell app;
    if (!app.Started()) return false;
    Host host({"win:Storm page"});
    HWND page = host.Window("Storm page");
    if (!page) return false;
    ::Sleep(500);  // start-up's own work is over

    const std::string request = "Storm page\n" + std::to_string(events);
    COPYDATASTRUCT data{kHostRenameStorm, static_cast<DWORD>(request.size()), const_cast<char*>(request.data())};
    const double before = CpuSeconds(app.Proc().info.hProcess);
    const DWORD start = ::GetTickCount();
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(page, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 600000,
                               &answer) ||
        answer != 1)
        return false;
    const DWORD wall = ::GetTickCount() - start;
    // Events still queued are delivered after the host is done; wait until
    // Tarnvell's CPU time stops growing.
    double after = CpuSeconds(app.Proc().info.hProcess), previous = -1;
    while (after != previous) {
        previous = after;
        ::Sleep(500);
        after = CpuSeconds(app.Proc().info.hProcess);
    }
    const int raised = events + 1;  // the storm and the retitle back
    std::printf("%-22s %6d events  Tarnvell CPU %8.3f s = %7.1f us/event  storm wall %6lu ms  visible %s\n",
                autoHide ? "hooks set (group on):" : "no hooks (group off):", raised, after - before,
                (after - before) * 1e6 / raised, static_cast<unsigned long>(wall),
                ::IsWindowVisible(page) ? "yes" : "NO");
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int events = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool ok = Storm(events, false) && Storm(events, true);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    return ok ? 0 : 1;
}
