#include <gtest/gtest.h>
#include <shlobj.h>
// After shlobj.h, which brings in windows.h.
#include <tlhelp32.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnvell";

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
std::string InstallDir() { return Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Tarnvell"; }
std::string Shortcut() { return Folder(CSIDL_PROGRAMS) + "\\Tarnvell.lnk"; }
std::string SetupPath() { return ExeDirectory() + "\\Tarnvell-2.0-setup.exe"; }
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}
std::optional<std::string> UninstallValue(const char* name) {
    char data[1024] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

// What an unfinished uninstallation left behind, for its failure message.
std::string Leftovers() {
    std::string left;
    if (Exists(InstallDir())) {
        left += InstallDir() + " holding";
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((InstallDir() + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
                    left += std::string(" ") + found.cFileName;
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        left += "; ";
    }
    if (KeyExists(kUninstallKey)) left += "the key HKCU\\" + std::string(kUninstallKey);
    return left;
}

HWND RunningFrame() { return ::FindWindowA(kFrameClass, "Tarnvell"); }

std::string ImageOf(HWND window) {
    DWORD pid = 0, size = MAX_PATH;
    ::GetWindowThreadProcessId(window, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = {};
    if (process) {
        ::QueryFullProcessImageNameA(process, 0, path, &size);
        ::CloseHandle(process);
    }
    return path;
}

// Runs a program to its end within a minute and checks its exit code; a
// program that could not start says why.
::testing::AssertionResult RunsToExitCode(DWORD expected, const std::string& exe, const std::string& arguments) {
    Process p = Start(exe, arguments);
    if (!p.info.hProcess)
        return ::testing::AssertionFailure() << exe << " did not start: " << SystemError(p.startError);
    const DWORD code = p.WaitExit(60s);
    if (code == STILL_ACTIVE) return ::testing::AssertionFailure() << exe << " was still running after 60 s";
    if (code != expected) return ::testing::AssertionFailure() << exe << " exited with " << code;
    return ::testing::AssertionSuccess();
}

// Uninstall.exe copies itself to %TEMP%\~nsu<N>.tmp\Un.exe, starts the copy
// and ends; the copy does the work. Handles of the copies running now.
std::vector<HANDLE> UninstallerCopies() {
    std::vector<HANDLE> copies;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return copies;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (::lstrcmpiA(entry.szExeFile, "Un.exe") != 0) continue;
        HANDLE process =
            ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        char image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        ::QueryFullProcessImageNameA(process, 0, image, &size);
        if (std::strstr(image, "\\~nsu") && std::strstr(image, ".tmp\\"))
            copies.push_back(process);
        else
            ::CloseHandle(process);
    }
    ::CloseHandle(snapshot);
    return copies;
}

// Runs the uninstaller to the real end of its work, then checks that nothing
// of the installation is left. The next test must not start while the copy
// is still at work.
::testing::AssertionResult Uninstall(const std::string& arguments) {
    if (auto ran = RunsToExitCode(0, InstallDir() + "\\Uninstall.exe", arguments); !ran) return ran;
    // Uninstall.exe started its copy before it ended, so the copy is running
    // now or has finished already.
    std::string failure;
    for (HANDLE copy : UninstallerCopies()) {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(copy, 60000) != WAIT_OBJECT_0)
            failure += "the uninstaller's copy was still running after 60 s; ";
        else if (::GetExitCodeProcess(copy, &code) && code != 0)
            failure += "the uninstaller's copy exited with " + std::to_string(code) + "; ";
        ::CloseHandle(copy);
    }
    if (Exists(InstallDir()) || KeyExists(kUninstallKey)) failure += "left: " + Leftovers();
    if (!failure.empty()) return ::testing::AssertionFailure() << failure;
    return ::testing::AssertionSuccess();
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Exists(SetupPath())) GTEST_SKIP() << "no installer was built (makensis missing)";
        ASSERT_EQ(RunningFrame(), nullptr) << "a Tarnvell is already running";
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    }
    void TearDown() override {
        if (HWND frame = RunningFrame()) ::PostMessageA(frame, WM_CLOSE, 0, 0);
        WaitFor([] { return RunningFrame() == nullptr; }, 10s);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    }
};

TEST_F(Installer, InstallsForTheUserStartsAndUninstallsKeepingTheSettings) {
    ASSERT_TRUE(RunsToExitCode(0, SetupPath(), "/S /RUN"));
    for (const char* file : {"Tarnvell.exe", "Tarnvell.chm", "Uninstall.exe"})
        EXPECT_TRUE(Exists(InstallDir() + "\\" + file)) << file;
    EXPECT_TRUE(Exists(Shortcut())) << Shortcut();
    EXPECT_EQ(UninstallValue("DisplayName"), "Tarnvell");
    EXPECT_EQ(UninstallValue("DisplayVersion"), "2.0");
    EXPECT_EQ(UninstallValue("UninstallString"), "\"" + InstallDir() + "\\Uninstall.exe\"");

    // Started at the end of the installation, from where it was installed;
    // its first start enters it in the Run key.
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = RunningFrame()) != nullptr; }, 15s));
    EXPECT_EQ(ImageOf(frame), InstallDir() + "\\Tarnvell.exe");
    ASSERT_TRUE(WaitFor([] { return RunValue().has_value(); }, 10s));
    EXPECT_TRUE(KeyExists(kProfileKey));

    // The uninstaller closes the running copy first; silent, without the
    // switch, it leaves the settings for a later installation.
    ASSERT_TRUE(Uninstall("/S"));
    EXPECT_EQ(RunningFrame(), nullptr);
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_TRUE(KeyExists(kProfileKey));
}

TEST_F(Installer, UninstallingWithTheSwitchRemovesTheSettings) {
    ASSERT_TRUE(RunsToExitCode(0, SetupPath(), "/S"));
    ASSERT_TRUE(Exists(InstallDir() + "\\Tarnvell.exe"));
    EXPECT_EQ(RunningFrame(), nullptr);
    {
        Process app = Start(InstallDir() + "\\Tarnvell.exe");
        ASSERT_TRUE(WaitFor([] { return RunningFrame() != nullptr; }, 15s));
        ASSERT_TRUE(WaitFor([] { return KeyExists(kProfileKey); }, 10s));
        ::PostMessageA(RunningFrame(), WM_CLOSE, 0, 0);
        ASSERT_NE(app.WaitExit(10s), STILL_ACTIVE);
    }
    ASSERT_TRUE(Uninstall("/S /REMOVESETTINGS"));
    EXPECT_FALSE(KeyExists(kProfileKey));
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_FALSE(Exists(Shortcut()));
}

// As a Tarnvell whose frame has closed holds its executable, and the menu
// builder Wine starts for the shortcut holds the folder it works in, until
// their processes end: the uninstaller waits for them instead of leaving the
// files behind.
TEST_F(Installer, TheUninstallerWaitsForProgramsStillEndingThatHoldTheFolder) {
    ASSERT_TRUE(RunsToExitCode(0, SetupPath(), "/S"));
    char ownDirectory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, ownDirectory);
    HANDLE exe = ::CreateFileA((InstallDir() + "\\Tarnvell.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exe, INVALID_HANDLE_VALUE);
    const bool inFolder = ::SetCurrentDirectoryA(InstallDir().c_str());
    if (!inFolder) ::CloseHandle(exe);
    ASSERT_TRUE(inFolder);

    // Still there when both are let go: the uninstaller was waiting, not done.
    bool shortcutWhileHeld = false;
    std::thread release([&] {
        std::this_thread::sleep_for(2s);
        shortcutWhileHeld = Exists(Shortcut());
        ::CloseHandle(exe);
        ::SetCurrentDirectoryA(ownDirectory);
    });
    const auto uninstalled = Uninstall("/S /REMOVESETTINGS");
    release.join();
    EXPECT_TRUE(shortcutWhileHeld);
    EXPECT_TRUE(uninstalled);
    EXPECT_FALSE(Exists(Shortcut()));
}

}  // namespace
