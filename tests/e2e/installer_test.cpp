#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>

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

// The uninstaller copies itself away and runs from there, so its end is seen
// in what it removes.
::testing::AssertionResult Uninstall(const std::string& arguments) {
    if (auto ran = RunsToExitCode(0, InstallDir() + "\\Uninstall.exe", arguments); !ran) return ran;
    if (!WaitFor([] { return !Exists(InstallDir()) && !KeyExists(kUninstallKey); }, 60s))
        return ::testing::AssertionFailure() << "the uninstallation did not finish within 60 s; left: "
                                             << Leftovers();
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

}  // namespace
