#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr UINT kAbout = 57664;
constexpr UINT kUpdate = 32878;
constexpr UINT kHelp = 57671;
constexpr int kVersionText = 1027;
constexpr int kHomeLink = 1012;
constexpr int kMailLink = 1013;
constexpr const char* kDialogClass = "#32770";
constexpr const char* kHelpTitle = "Tarnvell Help";
constexpr const char* kHomeUrl = "http://www.tarnvell.example";
constexpr const char* kMailUrl = "mailto:support@tarnvell.example";
constexpr const char* kUpdateUrl = "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.0";

std::string TextOfControl(HWND control) {
    char text[512] = {};
    ::SendMessageTimeoutA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    return text;
}

std::vector<HWND> WindowsTitled(DWORD pid, const std::string& title, const std::string& className = {}) {
    std::vector<HWND> found;
    for (HWND w : WindowsOfProcess(pid, className))
        if (TitleOf(w) == title && ::IsWindowVisible(w)) found.push_back(w);
    return found;
}

HWND WaitForWindow(DWORD pid, const std::string& title, const std::string& className = {},
                   std::chrono::milliseconds timeout = 10s) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            const auto windows = WindowsTitled(pid, title, className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeout);
    return found;
}

// The frame still answers: the process runs and its thread pumps. The help
// viewer's first page can keep the thread busy for a few seconds.
bool Responds(const Tarnvell& app) {
    DWORD_PTR result = 0;
    return app.Proc().Running() &&
           ::SendMessageTimeoutA(app.Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
}

// A message box of Tarnvell's whose text contains the given words; null when
// none appears in time.
HWND WaitForMessageBox(DWORD pid, const std::string& words, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : WindowsTitled(pid, "Tarnvell", kDialogClass))
                if (TextOfControl(::GetDlgItem(w, 0xFFFF)).find(words) != std::string::npos) found = w;
            return found != nullptr;
        },
        timeout);
    return found;
}

// Clicks a link of the About dialog as a hand would: the pointer first rests
// on the dialog away from both links, because a link that the pointer is
// over holds the mouse capture until the pointer's next move, and a click
// arriving in that moment goes to it.
void ClickLink(HWND about, int id) {
    ::SetForegroundWindow(about);
    RECT dialog{};
    ::GetWindowRect(about, &dialog);
    ::SetCursorPos(dialog.left + 20, dialog.bottom - 20);
    ::Sleep(300);
    RECT r{};
    ::GetWindowRect(::GetDlgItem(about, id), &r);
    Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, false);
}

// The default value of a key under HKEY_CLASSES_ROOT, set for one test and
// put back (or removed) afterwards.
class ClassCommand {
public:
    ClassCommand(std::string key, const std::optional<std::string>& value) : m_key(std::move(key)) {
        char data[1024] = {};
        LONG size = sizeof(data);
        if (::RegQueryValueA(HKEY_CLASSES_ROOT, m_key.c_str(), data, &size) == ERROR_SUCCESS) m_old = data;
        Set(value);
    }
    ~ClassCommand() { Set(m_old); }
    ClassCommand(const ClassCommand&) = delete;
    ClassCommand& operator=(const ClassCommand&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            HKEY key = nullptr;
            if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, m_key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr) == ERROR_SUCCESS) {
                ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                                 static_cast<DWORD>(value->size() + 1));
                ::RegCloseKey(key);
            }
        } else {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, m_key.c_str());
        }
    }
    std::string m_key;
    std::optional<std::string> m_old;
};

std::string RecordPath() { return ExeDirectory() + "\\shell_record.txt"; }
std::string RecorderCommand() { return "\"" + ExeDirectory() + "\\shell_recorder.exe\" \"%1\""; }

std::string Record() {
    std::ifstream in(RecordPath());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WaitRecorded(const std::string& words) {
    return WaitFor([&] { return Record().find(words) != std::string::npos; }, 10s);
}

class WineHelpEngineDisabled {
public:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\Tarnvell.exe\\DllOverrides";
    WineHelpEngineDisabled() {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            ::RegSetValueExA(key, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            ::RegCloseKey(key);
        }
    }
    ~WineHelpEngineDisabled() { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Tarnvell.exe"); }
    WineHelpEngineDisabled(const WineHelpEngineDisabled&) = delete;
    WineHelpEngineDisabled& operator=(const WineHelpEngineDisabled&) = delete;
};

class AboutHelp : public ::testing::Test {
protected:
    void SetUp() override { ::DeleteFileA(RecordPath().c_str()); }
    void TearDown() override { ::DeleteFileA(RecordPath().c_str()); }

    HWND OpenAbout(const Tarnvell& app) {
        Command(app.Frame(), kAbout);
        return WaitForWindow(app.Proc().Pid(), "About Tarnvell", kDialogClass);
    }
    // F1 on the real keyboard, with the dialog in front.
    void PressF1(HWND dialog) {
        ::SetForegroundWindow(dialog);
        WaitFor([&] { return ::GetForegroundWindow() == dialog; }, 2s);
        PressKeys("F1", {VK_F1});
    }
};

TEST_F(AboutHelp, AboutShowsNameAndVersionAndOpensOnlyOnce) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    const std::string text = TextOfControl(::GetDlgItem(about, kVersionText));
    EXPECT_EQ(text.substr(0, text.find('\n')), "Tarnvell v.2.0");
    EXPECT_NE(text.find("KESTROW SOFTWARE"), std::string::npos);
    EXPECT_EQ(TextOfControl(::GetDlgItem(about, kHomeLink)), kHomeUrl);
    EXPECT_EQ(TextOfControl(::GetDlgItem(about, kMailLink)), kMailUrl);

    Command(app.Frame(), kAbout);
    ::Sleep(1000);
    EXPECT_EQ(WindowsTitled(app.Proc().Pid(), "About Tarnvell", kDialogClass).size(), 1u);

    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(about); }, 5s));
    // Closed, it opens again.
    HWND again = OpenAbout(app);
    EXPECT_NE(again, nullptr);
    ::PostMessageA(again, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(app.Close());
}

TEST_F(AboutHelp, UpdateOpensTheUpdatePageThroughTheShell) {
    ClassCommand http("http\\shell\\open\\command", RecorderCommand());
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), kUpdate);
    EXPECT_TRUE(WaitRecorded(kUpdateUrl)) << Record();
    EXPECT_TRUE(Responds(app));
}

TEST_F(AboutHelp, UpdateWithWinesBrowserShowsNothingAndGoesOn) {
    // Wine's own browser launcher, which finds no browser here: the shell
    // still reports success, and Tarnvell says nothing either way.
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), kUpdate);
    EXPECT_EQ(WaitForMessageBox(app.Proc().Pid(), "", 2s), nullptr);
    EXPECT_TRUE(Responds(app));
}

TEST_F(AboutHelp, ClickingTheHomeLinkOpensItsAddress) {
    ClassCommand http("http\\shell\\open\\command", RecorderCommand());
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ClickLink(about, kHomeLink);
    EXPECT_TRUE(WaitRecorded(kHomeUrl)) << Record();
    EXPECT_EQ(WaitForMessageBox(app.Proc().Pid(), "Can't open link:", 1s), nullptr);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(AboutHelp, WithWinesBrowserLauncherTheLinkCountsAsOpened) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ClickLink(about, kHomeLink);
    // ShellExecute answers 33 although no browser comes up: no message.
    EXPECT_EQ(WaitForMessageBox(app.Proc().Pid(), "Can't open link:", 3s), nullptr);
    EXPECT_TRUE(Responds(app));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(AboutHelp, WithoutMailProgramTheBrowserOfWebPagesGetsTheLink) {
    ClassCommand mail("mailto\\shell\\open\\command", "\"C:\\no such dir\\nomail.exe\" \"%1\"");
    ClassCommand htm(".htm", "TarnvellTestPage");
    ClassCommand page("TarnvellTestPage\\shell\\open\\command", RecorderCommand());
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ClickLink(about, kMailLink);
    EXPECT_TRUE(WaitRecorded(kMailUrl)) << Record();
    EXPECT_EQ(WaitForMessageBox(app.Proc().Pid(), "Can't open link:", 1s), nullptr);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(AboutHelp, ALinkNothingCanOpenSaysWhy) {
    ClassCommand mail("mailto\\shell\\open\\command", "\"C:\\no such dir\\nomail.exe\" \"%1\"");
    ClassCommand htm(".htm", std::nullopt);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ClickLink(about, kMailLink);
    HWND box = WaitForMessageBox(app.Proc().Pid(), "Can't open link:", 10s);
    ASSERT_NE(box, nullptr);
    const std::string text = TextOfControl(::GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(text.rfind("Can't open link:\n\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("Can't open link:\n\n").size());
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5s));
    EXPECT_TRUE(::IsWindow(about));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Responds(app));
}

TEST_F(AboutHelp, HelpOpensTheViewerWithTheHelpFile) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), kHelp);
    HWND viewer = WaitForWindow(app.Proc().Pid(), kHelpTitle);
    ASSERT_NE(viewer, nullptr);
    ::PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Responds(app));
}

TEST_F(AboutHelp, F1InAboutOpensTheViewer) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    PressF1(about);
    HWND viewer = WaitForWindow(app.Proc().Pid(), kHelpTitle);
    EXPECT_NE(viewer, nullptr);
    if (viewer) ::PostMessageA(viewer, WM_CLOSE, 0, 0);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(AboutHelp, WithoutTheHelpEngineHelpAndF1DoNothing) {
    // Wine loads no hhctrl.ocx into Tarnvell.exe while this key says so (an
    // empty value disables a library); Windows ignores the key.
    WineHelpEngineDisabled disabled;
    Tarnvell app;
    ASSERT_TRUE(app.Started());

    Command(app.Frame(), kHelp);
    EXPECT_EQ(WaitForWindow(app.Proc().Pid(), kHelpTitle, {}, 3s), nullptr);
    EXPECT_TRUE(Responds(app));

    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    PressF1(about);
    EXPECT_EQ(WaitForWindow(app.Proc().Pid(), kHelpTitle, {}, 3s), nullptr);
    // A second request is not a new attempt, and does nothing either.
    Command(app.Frame(), kHelp);
    EXPECT_EQ(WaitForWindow(app.Proc().Pid(), kHelpTitle, {}, 2s), nullptr);
    EXPECT_TRUE(::IsWindow(about));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Responds(app));
    EXPECT_TRUE(app.Close());
}

}  // namespace
