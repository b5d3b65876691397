#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/crypto.h"
#include "platform/menus.h"
#include "platform/win32/handles.h"
#include "platform/notify_shell.h"
#include "platform/platform.h"
#include "platform/registry_profile.h"
#include "platform/window_manager.h"

// The registered "TaskbarCreated" message. Its number changes from session
// to session, so it is asked for once, before any window exists.
extern const UINT WM_TASKBARCREATED;

// The default value of a key under HKEY_CLASSES_ROOT, read up to maxChars
// characters (a class registration: an association, a command, a server's
// location); nothing when the key or its value is missing or longer.
std::optional<std::string> ClassesRootDefault(const std::string& key, std::size_t maxChars);

// The full path of a process's executable; nothing when the process cannot
// be asked. With report, a failure other than a refusal (higher rights) or
// an ended process goes to the debug output.
std::optional<std::string> ProcessImagePath(std::uint32_t processId, bool report);

class Win32WindowManager final : public platform::IWindowManager {
public:
    WindowHandle GetWindow(WindowHandle reference, platform::WindowRelation relation) override;
    bool IsWindow(WindowHandle w) override;
    bool IsWindowVisible(WindowHandle w) override;
    std::string GetClassName(WindowHandle w, int maxCount) override;
    std::string GetWindowText(WindowHandle w, int maxCount) override;
    WindowHandle GetParent(WindowHandle w) override;
    std::uint32_t ProcessId(WindowHandle w) override;
    std::optional<std::string> ProcessImage(std::uint32_t processId) override;
    std::uint32_t OwnProcessId() override;
    bool IsCloaked(WindowHandle w) override;
    bool HideWindow(WindowHandle w) override;
    void ShowWindow(WindowHandle w) override;
    void RestoreWindow(WindowHandle w, bool maximized) override;
    platform::RestoreState RestoreStateOf(WindowHandle w) override;
    bool Answers(WindowHandle w) override;
    bool RunsAbove(WindowHandle w) override;
    void RequestClose(WindowHandle w) override;
    bool SetForegroundWindow(WindowHandle w) override;
    void SetActiveWindow(WindowHandle w) override;
    void Sleep(unsigned milliseconds) override;
    std::uint64_t TickCount() override;
    bool SetTimer(WindowHandle w, unsigned id, unsigned milliseconds) override;
    void KillTimer(WindowHandle w, unsigned id) override;
};

class Win32HotKeySystem final : public platform::IHotKeySystem {
public:
    bool Register(WindowHandle target, int id, unsigned modifiers, unsigned key) override;
    bool Unregister(WindowHandle target, int id) override;
};

class Win32Registry final : public platform::IRegistry {
public:
    std::unique_ptr<platform::IRegistryKey> CreateKey(const std::string& path) override;
};

// The profile below HKEY_CURRENT_USER\Software\<company>\<application>:
// the registry profile over the real registry. It is handed on as the
// interface only: windows.h renames GetProfileInt, GetProfileString and
// WriteProfileString in every file that includes it, so code here must not
// call the core class's members by those names (a virtual call finds them
// by place, not by name).
class Win32Profile {
public:
    // The application key is named after the executable without extension,
    // so a renamed executable has a profile of its own.
    void SetRegistryKey(const std::string& company, const std::string& application);
    platform::IProfile& Profile() { return m_Profile; }
    const std::string& Root() const { return m_Profile.Root(); }

private:
    Win32Registry m_Registry;
    platform::RegistryProfile m_Profile{m_Registry};
};

// The value "Records" of the volatile key "Hidden Windows" below the profile.
// The key is created only by the first write.
class Win32VolatileStore final : public platform::IVolatileStore {
public:
    explicit Win32VolatileStore(const Win32Profile& profile) : m_Profile(profile) {}
    bool Write(const std::vector<std::uint8_t>& data) override;
    std::optional<std::vector<std::uint8_t>> Read(std::size_t maxBytes) override;
    void Remove() override;

private:
    std::string KeyPath() const;
    const Win32Profile& m_Profile;
};

class Win32RunKey final : public platform::IRunKey {
public:
    bool WriteValue(std::string_view name, std::string_view data) override;
    bool DeleteValue(std::string_view name) override;
};

class Win32Module final : public platform::IModule {
public:
    explicit Win32Module(HINSTANCE instance) : m_instance(instance) {}
    std::string ModulePath() override;
    int LoadString(unsigned id, char* buffer, int size) override;
    IconHandle LoadIcon(unsigned id) override;
    bool IsLeadByte(unsigned char c) override;
    unsigned AnsiCodePage() override { return ::GetACP(); }
    void SetLanguage(unsigned langId) override;
    std::vector<std::string> PreferredLanguages() override;
    HINSTANCE Instance() const { return m_instance; }

private:
    HINSTANCE m_instance;
};

class IconWindow;

class Win32NotifyShell final : public platform::INotifyShell {
public:
    explicit Win32NotifyShell(HINSTANCE instance);
    ~Win32NotifyShell() override;
    bool NotifyIcon(unsigned message, const platform::NotifyIconData& data) override;
    std::optional<platform::ScreenRect> IconRect(WindowHandle owner, unsigned id) override;
    IconHandle CopyWindowIcon(WindowHandle window) override;
    void DestroyIconCopy(IconHandle icon) override;
    WindowHandle CreateIconWindow(std::function<void()> onTaskbarCreated) override;
    void CloseIconWindow(WindowHandle window) override;

private:
    HINSTANCE m_instance;
    std::vector<std::unique_ptr<IconWindow>> m_IconWindows;
};

class Win32Crypto final : public platform::ICrypto {
public:
    std::vector<std::uint8_t> Random(std::size_t count) override;
    std::vector<std::uint8_t> Pbkdf2Sha256(std::string_view password, const std::vector<std::uint8_t>& salt,
                                           std::uint32_t iterations, std::size_t length) override;
};

class Win32Shell final : public platform::IShell {
public:
    bool Open(const std::string& address) override;
};

class Win32Menus final : public platform::IMenus {
public:
    unsigned TrackPopupMenu(const platform::MenuModel& menu, WindowHandle owner,
                            std::optional<platform::ScreenPoint> at = std::nullopt,
                            bool selectFirst = false) override;
    void PostNull(WindowHandle owner) override;
};
