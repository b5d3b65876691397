#include <gtest/gtest.h>
#include <shlobj.h>

#include <optional>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnvell";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSettingsKey = "Software\\KESTROW SOFTWARE\\Tarnvell";

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

std::optional<std::string> StringValue(const char* key, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof(data), type = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, &type, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

HWND RunningFrame() { return ::FindWindowA(kFrameClass, "Tarnvell"); }

std::string ImageOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    ::QueryFullProcessImageNameA(process, 0, path, &size);
    ::CloseHandle(process);
    return path;
}

// Runs a program to its end; its exit code, or STILL_ACTIVE after a minute.
DWORD RunToEnd(const std::string& exe, const std::string& arguments) {
    Process p = Start(exe, arguments);
    if (!p.info.hProcess) return STILL_ACTIVE;
    return p.WaitExit(60s);
}

// The uninstaller copies itself away and runs from there, so its end is seen
// in what it removes.
bool Uninstall(const std::string& arguments) {
    if (RunToEnd(InstallDir() + "\\Uninstall.exe", arguments) == STILL_ACTIVE) return false;
    return WaitFor([] { return !Exists(InstallDir()) && !KeyExists(kUninstallKey); }, 60s);
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Exists(SetupPath())) GTEST_SKIP() << "no installer was built (makensis missing)";
        ASSERT_EQ(RunningFrame(), nullptr) << "a Tarnvell is already running";
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }
    void TearDown() override {
        if (HWND frame = RunningFrame()) ::PostMessageA(frame, WM_CLOSE, 0, 0);
        WaitFor([] { return RunningFrame() == nullptr; }, 10s);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }
};

TEST_F(Installer, InstallsForTheUserStartsAndUninstallsKeepingTheSettings) {
    ASSERT_EQ(RunToEnd(SetupPath(), "/S /RUN"), 0u);
    EXPECT_TRUE(Exists(InstallDir() + "\\Tarnvell.exe"));
    EXPECT_TRUE(Exists(InstallDir() + "\\Tarnvell.chm"));
    EXPECT_TRUE(Exists(InstallDir() + "\\Uninstall.exe"));
    EXPECT_TRUE(Exists(Shortcut())) << Shortcut();
    EXPECT_EQ(StringValue(kUninstallKey, "DisplayName"), "Tarnvell");
    EXPECT_EQ(StringValue(kUninstallKey, "DisplayVersion"), "2.0");
    EXPECT_EQ(StringValue(kUninstallKey, "UninstallString"), "\"" + InstallDir() + "\\Uninstall.exe\"");

    // Started at the end of the installation, from where it was installed;
    // its first start enters it in the Run key.
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = RunningFrame()) != nullptr; }, 15s));
    EXPECT_EQ(ImageOf(frame), InstallDir() + "\\Tarnvell.exe");
    ASSERT_TRUE(WaitFor([] { return StringValue(kRunKey, "Tarnvell").has_value(); }, 10s));
    EXPECT_TRUE(KeyExists(kSettingsKey));

    // The uninstaller closes the running copy first.
    ASSERT_TRUE(Uninstall("/S"));
    EXPECT_EQ(RunningFrame(), nullptr);
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(StringValue(kRunKey, "Tarnvell").has_value());
    // Silent, without the switch: the settings stay for a later installation.
    EXPECT_TRUE(KeyExists(kSettingsKey));
}

TEST_F(Installer, UninstallingWithTheSwitchRemovesTheSettings) {
    ASSERT_EQ(RunToEnd(SetupPath(), "/S"), 0u);
    ASSERT_TRUE(Exists(InstallDir() + "\\Tarnvell.exe"));
    EXPECT_EQ(RunningFrame(), nullptr);
    {
        Process app = Start(InstallDir() + "\\Tarnvell.exe");
        ASSERT_TRUE(WaitFor([] { return RunningFrame() != nullptr; }, 15s));
        ASSERT_TRUE(WaitFor([] { return KeyExists(kSettingsKey); }, 10s));
        ::PostMessageA(RunningFrame(), WM_CLOSE, 0, 0);
        ASSERT_NE(app.WaitExit(10s), STILL_ACTIVE);
    }
    ASSERT_TRUE(Uninstall("/S /REMOVESETTINGS"));
    EXPECT_FALSE(KeyExists(kSettingsKey));
    EXPECT_FALSE(StringValue(kRunKey, "Tarnvell").has_value());
    EXPECT_FALSE(Exists(Shortcut()));
}

}  // namespace
