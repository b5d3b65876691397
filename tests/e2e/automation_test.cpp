#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <tuple>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {

std::wstring Widen(const std::string& s) {
    std::wstring out(s.size(), L'\0');
    out.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()),
                                                              out.data(), static_cast<int>(out.size()))));
    return out;
}

// Tarnvell.exe with arguments as UTF-16, which may hold what no code page
// does.
Process StartWide(const std::wstring& arguments) {
    std::wstring command = L"\"" + Widen(Tarnvell::ExePath()) + L"\" " + arguments;
    Process p;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.info))
        p.info = {};
    return p;
}

bool SetWideString(const std::string& section, const wchar_t* name, const std::wstring& value) {
    const std::string path = std::string(kProfileKey) + "\\" + section;
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, Widen(path).c_str(), name, REG_SZ,
                             value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

class Automation : public ProfileTest {};

// Each pair of commands hides both windows, then brings them back; the
// second of each is written with another prefix and letter case.
TEST_F(Automation, HideAllShowAllAndToggleAllFromTheCommandLineDriveTheRunningCopy) {
    const struct {
        const char* hide;
        const char* show;
    } cases[] = {{"/hide-all", "-SHOW-ALL"}, {"/toggle-all", "-Toggle-All"}};
    for (const auto& c : cases) {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        Host host({"win:Scripted One", "win:Scripted Two"});
        HWND one = host.Window("Scripted One"), two = host.Window("Scripted Two");
        ASSERT_TRUE(one && two);
        EXPECT_EQ(RunTarnvell(c.hide), 0u) << c.hide;
        EXPECT_TRUE(WaitVisible(one, false)) << c.hide;
        EXPECT_TRUE(WaitVisible(two, false)) << c.hide;
        EXPECT_EQ(RunTarnvell(c.show), 0u) << c.show;
        EXPECT_TRUE(WaitVisible(one, true)) << c.show;
        EXPECT_TRUE(WaitVisible(two, true)) << c.show;
        EXPECT_TRUE(app.Proc().Running());
    }
}

TEST_F(Automation, AGroupIsNamedInQuotesAndAnUnknownOneIsExitCodeThree) {
    Group(0, "Mail Box", "[mail]");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Inbox [mail]", "win:Editor"});
    HWND inbox = host.Window("Inbox [mail]"), editor = host.Window("Editor");
    ASSERT_TRUE(inbox && editor);

    EXPECT_EQ(RunTarnvell("/hide-group \"Mail Box\""), 0u);
    EXPECT_TRUE(WaitVisible(inbox, false));
    EXPECT_EQ(RunTarnvell("/hide-group \"No Such Group\""), 3u);
    EXPECT_EQ(RunTarnvell("/show-group \"mail box\""), 3u);  // names compare exactly
    EXPECT_TRUE(::IsWindowVisible(editor));
    EXPECT_EQ(RunTarnvell("/show-group \"Mail Box\""), 0u);
    EXPECT_TRUE(WaitVisible(inbox, true));
}

TEST_F(Automation, AUsageErrorShowsTheUsageAndChangesNothing) {
    // A lone surrogate reaches the ANSI side as U+FFFD, and there is a group
    // of that name to hit.
    Group(0, "placeholder", "[adv]");
    ASSERT_TRUE(SetWideString("Groups", L"Name0", L"Adv\uFFFDGrp"));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Untouched [adv]"});
    HWND w = host.Window("Untouched [adv]");
    ASSERT_TRUE(w);
    const wchar_t* const bad[] = {L"/hide-everything", L"/hide-all extra", L"/hide-group",
                                  L"/hide-group Adv\xD800Grp", L"/hide-group \xDC00"};
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        const Process p = StartWide(bad[i]);
        HWND box = WaitDialog(p.Pid(), "Tarnvell", 10s);
        ASSERT_TRUE(box) << i;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(p.WaitExit(10s), 1u) << i;
    }
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_TRUE(app.Proc().Running());
}

TEST_F(Automation, WithNoCopyRunningTheCommandStartsTarnvellAndRunsIt) {
    Host host({"win:Early Bird"});
    HWND w = host.Window("Early Bird");
    ASSERT_TRUE(w);
    const Process p = Start(Tarnvell::ExePath(), "/hide-all");
    EXPECT_TRUE(WaitVisible(w, false, 15s));
    // It stays, as a copy started without arguments does.
    ASSERT_TRUE(p.Running());
    EXPECT_EQ(RunTarnvell("/show-all"), 0u);
    EXPECT_TRUE(WaitVisible(w, true));
    EXPECT_EQ(RunTarnvell("/exit"), 0u);
    EXPECT_NE(p.WaitExit(10s), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(Automation, AGuardWithoutAFrameIsNoAnswer) {
    // Another program holds the single-instance guard but no frame of ours
    // exists: the command is not run anywhere, and the exit code says so.
    HANDLE guard = ::CreateMutexA(nullptr, TRUE, "TARNVELL_RUNNING");
    ASSERT_TRUE(guard);
    Host host({"win:Bystander"});
    HWND w = host.Window("Bystander");
    EXPECT_EQ(RunTarnvell("/hide-all"), 4u);
    EXPECT_TRUE(::IsWindowVisible(w));
    ::ReleaseMutex(guard);
    ::CloseHandle(guard);
}

TEST_F(Automation, AGroupWithTheOptionHidesMatchingWindowsAsTheyAppear) {
    Group(0, "Chat", "[chat]", {}, {}, 1);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Plain editor", "win:Loading"});
    HWND plain = host.Window("Plain editor"), loading = host.Window("Loading");
    ASSERT_TRUE(plain && loading);

    // A window created afterwards with a matching caption.
    ASSERT_TRUE(AskHost(plain, host::kNewWindow, "Team [chat]"));
    HWND team = host.Window("Team [chat]");
    ASSERT_TRUE(team);
    EXPECT_TRUE(WaitVisible(team, false, 1s));
    // One whose caption changes to match.
    ASSERT_TRUE(AskHost(plain, host::kRename, "Loading\nDirect [chat]"));
    EXPECT_TRUE(WaitVisible(loading, false, 1s));
    // One that does not match is left alone, however it is retitled.
    ASSERT_TRUE(AskHost(plain, host::kNewWindow, "Notes"));
    ASSERT_TRUE(AskHost(plain, host::kRename, "Plain editor\nPlain editor 2"));
    ::Sleep(300);
    EXPECT_TRUE(::IsWindowVisible(plain));
    EXPECT_TRUE(::IsWindowVisible(host.Window("Notes")));
}

TEST_F(Automation, ShowWindowBringsAnAutoHiddenWindowBackAndItStaysShown) {
    Group(0, "Chat", "[chat]", {}, {}, 1);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Anchor"});
    HWND anchor = host.Window("Anchor");
    ASSERT_TRUE(anchor);
    ASSERT_TRUE(AskHost(anchor, host::kNewWindow, "Pop [chat]"));
    HWND pop = host.Window("Pop [chat]");
    ASSERT_TRUE(pop);
    ASSERT_TRUE(WaitVisible(pop, false, 1s));

    Command(app.Frame(), ID_SHOW_WINDOW);
    ASSERT_TRUE(WaitVisible(pop, true));
    // Its show raised the event of a window appearing, and its caption
    // changes and still matches: the user's show wins.
    ASSERT_TRUE(AskHost(anchor, host::kRename, "Pop [chat]\nPop [chat] (1)"));
    ::Sleep(500);
    EXPECT_TRUE(::IsWindowVisible(pop));

    // Its program hides and shows it anew: it appears again, and is hidden.
    ::ShowWindow(pop, SW_HIDE);
    ::ShowWindow(pop, SW_SHOW);
    EXPECT_TRUE(WaitVisible(pop, false, 1s));
}

TEST_F(Automation, ShowAllWithTheShowPasswordAsksForItAndARefusalIsExitCodeTwo) {
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
    ASSERT_TRUE(SetString("Settings", "m_Password", "Secret"));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Guarded"});
    HWND w = host.Window("Guarded");
    ASSERT_TRUE(w);
    EXPECT_EQ(RunTarnvell("/hide-all"), 0u);  // hiding never asks
    ASSERT_TRUE(WaitVisible(w, false));

    // The sender waits for the answer however long the prompt stays open:
    // 15 s is longer than the bound of a copy that hangs (about 10 s), so a
    // sender that took a copy waiting for its user for a hung one would have
    // ended.
    const auto answerLate = [&](const Process& p) {
        EXPECT_TRUE(WaitDialog(app.Proc().Pid(), "Enter password", 10s));
        EXPECT_EQ(p.WaitExit(15s), static_cast<DWORD>(STILL_ACTIVE));
    };
    for (const auto& [text, button, late] : {std::tuple{"", IDCANCEL, true}, std::tuple{"secret", IDOK, false}}) {
        const Process p = Start(Tarnvell::ExePath(), "/show-all");
        if (late) answerLate(p);
        ASSERT_TRUE(AnswerPassword(app, text, button)) << text;
        EXPECT_EQ(p.WaitExit(10s), 2u) << text;
        EXPECT_FALSE(::IsWindowVisible(w));
    }
    // The menu's Show All asks the same prompt, and the right password shows.
    ASSERT_TRUE(AnswerPassword(app, "", IDCANCEL, ID_SHOW_ALL));
    const Process p = Start(Tarnvell::ExePath(), "/show-all");
    answerLate(p);
    ASSERT_TRUE(AnswerPassword(app, "Secret", IDOK));
    EXPECT_EQ(p.WaitExit(10s), 0u);
    EXPECT_TRUE(WaitVisible(w, true));
}

TEST_F(Automation, ACopyThatIsHungOrHangsOnTheCommandIsNoAnswerWithinItsBound) {
    // A stand-in for the running copy: it holds the guard, and its frame is
    // a window of our class in the host program, whose thread stops pumping
    // (see window_host.cpp), before the command comes or as it takes it.
    HANDLE guard = ::CreateMutexA(nullptr, TRUE, "TARNVELL_RUNNING");
    ASSERT_TRUE(guard);
    for (const bool hungBefore : {false, true}) {
        Host host({"class:TarnvellFrame:Stand-in"});
        HWND frame = host.Window("Stand-in");
        ASSERT_TRUE(frame);
        if (hungBefore) {
            ::PostMessageA(frame, host::kHang, 120000, 0);
            ASSERT_TRUE(WaitFor([&] { return ::IsHungAppWindow(frame) != FALSE; }, 30s));
        }
        // Its thread sleeps for two minutes: a sender that waited for it
        // would still wait at the end of this generous bound, or answer 0.
        EXPECT_EQ(RunTarnvell("/hide-all", 60s), 4u) << hungBefore;
    }
    ::ReleaseMutex(guard);
    ::CloseHandle(guard);
}

TEST_F(Automation, WhileTarnvellWaitsForTheUserACommandIsRefused) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Bystander"});
    HWND w = host.Window("Bystander");
    ASSERT_TRUE(w);
    Command(app.Frame(), ID_PREFERENCES);
    HWND dialog = WaitDialog(app.Proc().Pid(), "Preferences");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(RunTarnvell("/hide-all"), 2u);
    EXPECT_EQ(RunTarnvell("/exit"), 2u);
    EXPECT_TRUE(::IsWindowVisible(w));
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitGone(dialog));
    EXPECT_EQ(RunTarnvell("/hide-all"), 0u);
    EXPECT_TRUE(WaitVisible(w, false));
}

TEST_F(Automation, ExitAsksTheClosePasswordAndEndsTheCopyOnlyAfterIt) {
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnClose", 1));
    ASSERT_TRUE(SetString("Settings", "m_Password", "Secret"));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Left hidden"});
    HWND w = host.Window("Left hidden");
    ASSERT_TRUE(w);
    EXPECT_EQ(RunTarnvell("/hide-all"), 0u);
    ASSERT_TRUE(WaitVisible(w, false));

    Process refused = Start(Tarnvell::ExePath(), "/exit");
    ASSERT_TRUE(AnswerPassword(app, "", IDCANCEL));
    EXPECT_EQ(refused.WaitExit(10s), 2u);
    EXPECT_EQ(app.Proc().WaitExit(300ms), static_cast<DWORD>(STILL_ACTIVE));

    Process accepted = Start(Tarnvell::ExePath(), "/exit");
    ASSERT_TRUE(AnswerPassword(app, "Secret", IDOK));
    EXPECT_EQ(accepted.WaitExit(10s), 0u);
    EXPECT_EQ(app.Proc().WaitExit(10s), 0u);
    // "Show hidden windows on exit" is on by default.
    EXPECT_TRUE(WaitVisible(w, true));
}

}  // namespace
