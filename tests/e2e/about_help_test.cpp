#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr const char* kHelpTitle = "Tarnvell Help";
constexpr const char* kHomeUrl = "http://www.tarnvell.example";
constexpr const char* kMailUrl = "mailto:support@tarnvell.example";
constexpr const char* kUpdateUrl = "http://update.tarnvell.example/update.php?name=Tarnvell&version=2.0";
constexpr const char* kCantOpen = "Can't open link:";
constexpr const char* kNoMailProgram = "\"C:\\no such dir\\nomail.exe\" \"%1\"";

// The help viewer's window, once it is shown (null after the timeout).
HWND WaitViewer(const Tarnvell& app, std::chrono::milliseconds timeout = 10s) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(app.Proc().Pid()))
                if (::IsWindowVisible(w) && TitleOf(w) == kHelpTitle) found = w;
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

std::string MessageText(HWND box) { return ControlText(::GetDlgItem(box, 0xFFFF)); }

// A message box of Tarnvell's whose text contains the given words; null when
// none appears in time.
HWND WaitMessageBox(const Tarnvell& app, const std::string& words, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : DialogsOf(app.Proc().Pid(), "Tarnvell"))
                if (MessageText(w).find(words) != std::string::npos) found = w;
            return found != nullptr;
        },
        timeout);
    return found;
}

// Clicks a link of the About dialog as a hand would: the pointer first rests
// on the dialog away from both links, so the click arrives as a fresh entry
// onto the link.
void ClickLink(HWND about, int id) {
    // A click on a dialog that is not yet in front can be taken by the
    // activation under Wine.
    WaitFor([&] {
        ::SetForegroundWindow(about);
        return ::GetForegroundWindow() == about;
    }, 2s, 100ms);
    RECT dialog{}, r{};
    ::GetWindowRect(about, &dialog);
    ::SetCursorPos(dialog.left + 20, dialog.bottom - 20);
    ::Sleep(300);
    ::GetWindowRect(::GetDlgItem(about, id), &r);
    Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, false);
}

// Opens a link from the keyboard: the focus on it, then the space bar.
void SpaceOnLink(HWND about, int id) {
    HWND link = ::GetDlgItem(about, id);
    ::PostMessageA(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
    ::Sleep(100);
    ::PostMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
}

// The default value of a key under HKEY_CLASSES_ROOT, set (or removed) for
// one test and put back (or removed) afterwards.
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
        if (value)
            ::RegSetValueA(HKEY_CLASSES_ROOT, m_key.c_str(), REG_SZ, value->c_str(), 0);
        else
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, m_key.c_str());
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
bool WaitRecorded(const std::string& words, std::chrono::milliseconds timeout = 10s) {
    return WaitFor([&] { return Record().find(words) != std::string::npos; }, timeout);
}

class AboutHelp : public ::testing::Test {
protected:
    void SetUp() override { ::DeleteFileA(RecordPath().c_str()); }
    void TearDown() override { ::DeleteFileA(RecordPath().c_str()); }

    static HWND OpenAbout(const Tarnvell& app) {
        Command(app.Frame(), ID_APP_ABOUT);
        return WaitDialog(app.Proc().Pid(), "About Tarnvell", 10s);
    }
    // F1 on the real keyboard, with the dialog in front.
    static void PressF1(HWND dialog) {
        ::SetForegroundWindow(dialog);
        WaitFor([&] { return ::GetForegroundWindow() == dialog; }, 2s);
        PressKeys("F1", {VK_F1});
    }
};

// Wine's own browser launcher finds no browser here, but the shell still
// reports success (33): Tarnvell says nothing either way and goes on.
TEST_F(AboutHelp, AboutShowsNameAndVersionOpensOnceAndWithWinesBrowserLinkAndUpdateCountAsOpened) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    const std::string text = ControlText(::GetDlgItem(about, IDC_VERSION));
    EXPECT_EQ(text.substr(0, text.find('\n')), "Tarnvell v.2.0");
    EXPECT_NE(text.find("KESTROW SOFTWARE"), std::string::npos);
    EXPECT_EQ(ControlText(::GetDlgItem(about, IDC_HOME_LINK)), kHomeUrl);
    EXPECT_EQ(ControlText(::GetDlgItem(about, IDC_MAIL_LINK)), kMailUrl);

    Command(app.Frame(), ID_APP_ABOUT);
    ::Sleep(1000);
    EXPECT_EQ(DialogsOf(app.Proc().Pid(), "About Tarnvell").size(), 1u);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(about));
    about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ClickLink(about, IDC_HOME_LINK);
    EXPECT_EQ(WaitMessageBox(app, kCantOpen, 3s), nullptr);
    EXPECT_TRUE(Responds(app));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);

    Command(app.Frame(), ID_CHECK_UPDATE);
    EXPECT_EQ(WaitMessageBox(app, "", 2s), nullptr);
    EXPECT_TRUE(Responds(app));
    EXPECT_TRUE(app.Close());
}

TEST_F(AboutHelp, UpdateAndTheHomeLinkOpenTheirAddressesThroughTheShell) {
    ClassCommand http("http\\shell\\open\\command", RecorderCommand());
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_CHECK_UPDATE);
    EXPECT_TRUE(WaitRecorded(kUpdateUrl)) << Record();
    EXPECT_TRUE(Responds(app));

    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ClickLink(about, IDC_HOME_LINK);
    // Under load Wine now and then loses a synthesized click on the freshly
    // opened dialog; the link must open on the next one.
    if (!WaitRecorded(kHomeUrl, 5s)) ClickLink(about, IDC_HOME_LINK);
    EXPECT_TRUE(WaitRecorded(kHomeUrl)) << Record();
    EXPECT_EQ(WaitMessageBox(app, kCantOpen, 1s), nullptr);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(AboutHelp, WithoutMailProgramTheWebBrowserGetsTheLinkAndWithoutOneTooTarnvellSaysWhy) {
    ClassCommand mail("mailto\\shell\\open\\command", kNoMailProgram);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    {
        ClassCommand htm(".htm", "TarnvellTestPage");
        ClassCommand page("TarnvellTestPage\\shell\\open\\command", RecorderCommand());
        SpaceOnLink(about, IDC_MAIL_LINK);
        // The browser gets the address whole, as its one argument.
        EXPECT_TRUE(WaitRecorded(std::string("  [1] ") + kMailUrl + "\n")) << Record();
        EXPECT_EQ(Record().find("  [2] "), std::string::npos) << Record();
        EXPECT_EQ(WaitMessageBox(app, kCantOpen, 1s), nullptr);
    }
    ClassCommand htm(".htm", std::nullopt);
    SpaceOnLink(about, IDC_MAIL_LINK);
    HWND box = WaitMessageBox(app, kCantOpen, 10s);
    ASSERT_NE(box, nullptr);
    const std::string text = MessageText(box);
    EXPECT_EQ(text.rfind("Can't open link:\n\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("Can't open link:\n\n").size());
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(box));
    EXPECT_TRUE(::IsWindow(about));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Responds(app));
}

// The keyboard alone, on the real input path: Tab from OK reaches the home
// link, then the mail link; Space opens one, Enter the other, and Enter on a
// link is the link's, not the default button's.
TEST_F(AboutHelp, TabReachesBothLinksWhichOpenWithSpaceAndEnter) {
    ClassCommand http("http\\shell\\open\\command", RecorderCommand());
    ClassCommand mail("mailto\\shell\\open\\command", RecorderCommand());
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    HWND ok = ::GetDlgItem(about, IDOK);
    HWND home = ::GetDlgItem(about, IDC_HOME_LINK);
    HWND mailLink = ::GetDlgItem(about, IDC_MAIL_LINK);
    EXPECT_TRUE(::GetWindowLongA(home, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(::GetWindowLongA(mailLink, GWL_STYLE) & WS_TABSTOP);
    // Presses Tab until the focus reaches the control: the order is OK, the
    // home link, the mail link; true when it got there. A press is made
    // again only when the last one moved nothing: on a busy machine a Tab
    // lands late, and one more would carry the focus past the target.
    auto tabTo = [&](HWND target) {
        for (int presses = 0; presses < 3; ++presses) {
            if (::GetForegroundWindow() != about) {
                ::SetForegroundWindow(about);
                WaitFor([&] { return ::GetForegroundWindow() == about; }, 2s);
            }
            const HWND before = FocusOf(about);
            PressKeys("Tab", {VK_TAB});
            WaitFor([&] { return FocusOf(about) != before; }, 3s);
            if (FocusOf(about) == target) return true;
        }
        return false;
    };
    ::SetForegroundWindow(about);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == about; }, 2s));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(about) == ok; }, 2s));

    ASSERT_TRUE(tabTo(home)) << FocusOf(about);
    PressKeys("space", {VK_SPACE});
    EXPECT_TRUE(WaitRecorded(kHomeUrl)) << Record();
    EXPECT_EQ(Record().find(kMailUrl), std::string::npos) << Record();

    ASSERT_TRUE(tabTo(mailLink)) << FocusOf(about);
    PressKeys("Return", {VK_RETURN});
    EXPECT_TRUE(WaitRecorded(kMailUrl)) << Record();
    EXPECT_TRUE(::IsWindowVisible(about)) << "Enter on a link pressed OK";
    EXPECT_EQ(WaitMessageBox(app, kCantOpen, 1s), nullptr);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(about));
}

// A pointer resting on a link leaves the mouse free: the next click elsewhere
// reaches what it lands on.
TEST_F(AboutHelp, HoveringALinkHoldsNoCaptureAndTheNextClickReachesOk) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    ::SetForegroundWindow(about);
    WaitFor([&] { return ::GetForegroundWindow() == about; }, 2s);
    RECT r{};
    ::GetWindowRect(::GetDlgItem(about, IDC_HOME_LINK), &r);
    MovePointer(POINT{r.left + 5, (r.top + r.bottom) / 2});
    ::Sleep(300);
    MovePointer(POINT{r.left + 8, (r.top + r.bottom) / 2});
    ::Sleep(300);
    EXPECT_EQ(CaptureOf(about), nullptr);
    ClickControl(::GetDlgItem(about, IDOK));
    EXPECT_TRUE(WaitGone(about));
}

TEST_F(AboutHelp, HelpAndF1InAboutOpenTheViewerWithTheHelpFile) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_DEFAULT_HELP);
    HWND viewer = WaitViewer(app);
    ASSERT_NE(viewer, nullptr);
    ::PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Responds(app));
    ASSERT_TRUE(WaitGone(viewer));

    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    PressF1(about);
    viewer = WaitViewer(app);
    EXPECT_NE(viewer, nullptr);
    if (viewer) ::PostMessageA(viewer, WM_CLOSE, 0, 0);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(AboutHelp, WithoutTheHelpEngineHelpAndF1DoNothing) {
    // Wine loads no hhctrl.ocx into Tarnvell.exe while this key says so (an
    // empty value disables a library); Windows ignores the key.
    const char* key = "Software\\Wine\\AppDefaults\\Tarnvell.exe";
    ::RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(key) + "\\DllOverrides").c_str(), "hhctrl.ocx", REG_SZ, "", 1);
    struct Restore {
        const char* key;
        ~Restore() { ::RegDeleteTreeA(HKEY_CURRENT_USER, key); }
    } restore{key};
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_DEFAULT_HELP);
    EXPECT_EQ(WaitViewer(app, 3s), nullptr);
    EXPECT_TRUE(Responds(app));

    HWND about = OpenAbout(app);
    ASSERT_NE(about, nullptr);
    PressF1(about);
    EXPECT_EQ(WaitViewer(app, 3s), nullptr);
    // A second request is not a new attempt, and does nothing either.
    Command(app.Frame(), ID_DEFAULT_HELP);
    EXPECT_EQ(WaitViewer(app, 2s), nullptr);
    EXPECT_TRUE(::IsWindow(about));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Responds(app));
    EXPECT_TRUE(app.Close());
}

}  // namespace
