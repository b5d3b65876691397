#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine/hidden_journal.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

CWndDes Record(std::uintptr_t window, int activate, std::uintptr_t principal, std::uint32_t pid) {
    CWndDes r(WindowHandle{window}, activate, WindowHandle{principal}, 7);
    r.m_nProcessId = pid;
    return r;
}

TEST(JournalFormat, RoundTripKeepsEverythingButTheGroupTag) {
    const std::vector<CWndDes> records = {Record(0x10, 1, 0, 100), Record(0x20, 0, 0x10, 100),
                                          Record(0xFFFFFFFF00000030u, 0, 0, 0xFFFFFFFFu)};
    const auto data = journal::Encode(records);
    EXPECT_EQ(data.size(), journal::kHeaderSize + 3 * journal::kRecordSize);
    const auto back = journal::Decode(data);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ((*back)[i].m_hWindow, records[i].m_hWindow);
        EXPECT_EQ((*back)[i].m_hPrincipal, records[i].m_hPrincipal);
        EXPECT_EQ((*back)[i].m_bActivate, records[i].m_bActivate);
        EXPECT_EQ((*back)[i].m_nProcessId, records[i].m_nProcessId);
        EXPECT_EQ((*back)[i].m_nGroupId, -1);
    }
    EXPECT_EQ(journal::Decode(journal::Encode({}))->size(), 0u);
}

TEST(JournalFormat, DamagedJournalsAreNeverTrusted) {
    const auto good = journal::Encode({Record(0x10, 1, 0, 100), Record(0x20, 0, 0x10, 100)});
    auto with = [&](std::size_t at, std::uint8_t value) {
        auto d = good;
        d[at] = value;
        return d;
    };
    EXPECT_FALSE(journal::Decode({}));
    EXPECT_FALSE(journal::Decode(std::vector<std::uint8_t>(good.begin(), good.end() - 1)));  // truncated
    auto longer = good;
    longer.push_back(0);
    EXPECT_FALSE(journal::Decode(longer));
    EXPECT_FALSE(journal::Decode(with(0, 'X')));  // another format
    EXPECT_FALSE(journal::Decode(with(4, 3)));    // unknown version
    EXPECT_FALSE(journal::Decode(with(11, 0x7F)));  // an absurd count
    EXPECT_FALSE(journal::Decode(with(9, 1)));    // a count the data does not hold
    EXPECT_FALSE(journal::Decode(with(12 + 16, 5)));  // an activate flag that is no flag
    auto nullWindow = good;
    std::fill(nullWindow.begin() + 12, nullWindow.begin() + 20, 0);
    EXPECT_FALSE(journal::Decode(nullWindow));
}

// A window hidden as it was minimized comes back restored, after a kill too;
// a journal without one stays in the first version, which an earlier
// version taking over still reads.
TEST(JournalFormat, HowAWindowComesBackNeedsTheSecondVersionAndOnlyThen) {
    CWndDes restored = Record(0x30, 1, 0, 100);
    restored.m_Show = ShowAs::Restored;
    CWndDes maximized = Record(0x40, 0, 0, 100);
    maximized.m_Show = ShowAs::Maximized;
    const auto plain = journal::Encode({Record(0x10, 1, 0, 100)});
    EXPECT_EQ(plain[4], journal::kFirstVersion);
    const auto data = journal::Encode({Record(0x10, 1, 0, 100), restored, maximized});
    EXPECT_EQ(data[4], journal::kVersion);
    const auto back = journal::Decode(data);
    ASSERT_TRUE(back);
    EXPECT_EQ((*back)[0].m_Show, ShowAs::Shown);
    EXPECT_EQ((*back)[1].m_Show, ShowAs::Restored);
    EXPECT_TRUE((*back)[1].m_bActivate);
    EXPECT_EQ((*back)[2].m_Show, ShowAs::Maximized);
    EXPECT_FALSE((*back)[2].m_bActivate);

    const std::size_t flags = journal::kHeaderSize + 16;
    auto unknown = data;
    unknown[flags] = 7;  // a way back that is none
    EXPECT_FALSE(journal::Decode(unknown));
    auto firstWithRestore = plain;
    firstWithRestore[flags] = 2;  // the first version knows no such flag
    EXPECT_FALSE(journal::Decode(firstWithRestore));
}

class Journalled : public ::testing::Test {
protected:
    void SetUp() override { fake.profile.Set("Settings", "First Start", 0u); }
    CAppKernel& Start() {
        kernel.reset();
        if (!frame) frame = desk.Add("TarnvellFrame", "Tarnvell", false);
        desk.Get(frame).pid = FakeDesktop::kOwnProcess;
        kernel = StartKernel(fake, frame);
        return *kernel;
    }
    bool Visible(WindowHandle w) { return desk.Get(w).visible; }
    int JournalCalls() const {
        return static_cast<int>(std::count_if(fake.journal.begin(), fake.journal.end(),
                                              [](const auto& e) { return e.rfind("journal", 0) == 0; }));
    }

    FakePlatform fake;
    FakeDesktop& desk = fake.desktop;
    WindowHandle frame;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(Journalled, NothingIsWrittenBeforeTheFirstHideAndOneWritePerCommand) {
    Start();
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    kernel->Run({Verb::ShowAll}, Origin::Menu);
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kRButtonUp);
    EXPECT_EQ(JournalCalls(), 1);  // the read at start
    EXPECT_EQ(fake.hiddenJournal.writes, 0);

    for (int i = 0; i < 300; ++i) desk.Add("W", "w" + std::to_string(i));
    kernel->Run({Verb::HideAll}, Origin::Menu);
    EXPECT_EQ(fake.hiddenJournal.writes, 1);
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_EQ(fake.hiddenJournal.writes, 2);
    kernel->Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_EQ(fake.hiddenJournal.writes, 2);
    EXPECT_EQ(fake.hiddenJournal.removes, 1);
    EXPECT_FALSE(fake.hiddenJournal.value);
}

// A kill while a hide waits for its windows to go loses none of them: the
// journal names them before the wait, and a window that then stays visible
// is not taken back by the next run.
TEST_F(Journalled, AHideIsJournalledBeforeItsWaitAndAWindowThatStaysIsNotTakenBack) {
    WriteGroupSlot(fake.profile, 0, {"slow group", "slow", GROUP_COMPARE_EQUAL});
    for (const Command& command : {Command{Verb::HideWindow}, Command{Verb::HideAll}, Command{Verb::HideGroup, 0}}) {
        SCOPED_TRACE(static_cast<int>(command.verb));
        const WindowHandle slow = desk.Add("S", "slow");
        desk.Get(slow).hideDelay = 3;
        Start();
        bool journalledDuringWait = false;
        desk.whileSleeping = [&] {
            const auto records = fake.hiddenJournal.value ? journal::Decode(*fake.hiddenJournal.value) : std::nullopt;
            if (Visible(slow) && records)
                for (const CWndDes& r : *records) journalledDuringWait |= r.m_hWindow == slow;
        };
        kernel->Run(command, Origin::Menu);
        desk.whileSleeping = nullptr;
        EXPECT_TRUE(journalledDuringWait);
        EXPECT_FALSE(Visible(slow));

        // Killed in the wait: the window had not gone yet.
        kernel.reset();
        desk.Get(slow).visible = true;
        Start();
        EXPECT_TRUE(kernel->Commands().HiddenList().empty());
        desk.Destroy(slow);
    }
}

TEST_F(Journalled, ANewRunTakesBackExactlyTheWindowsStillHiddenByTheSameProcess) {
    const WindowHandle a = desk.Add("A", "a");
    const WindowHandle b = desk.Add("B", "b");
    const WindowHandle gone = desk.Add("C", "c");
    const WindowHandle shownAgain = desk.Add("D", "d");
    const WindowHandle reused = desk.Add("E", "e");
    WriteGroupSlot(fake.profile, 0, {"b group", "b", GROUP_COMPARE_EQUAL});
    desk.Get(reused).pid = 77;
    Start();
    for (WindowHandle w : {reused, shownAgain, gone}) {
        desk.Raise(w);
        kernel->Run({Verb::HideWindow}, Origin::Menu);
    }
    kernel->Run({Verb::HideGroup, 0}, Origin::Menu);
    desk.Raise(a);
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    ASSERT_EQ(kernel->Commands().HiddenList().size(), 5u);

    // Tarnvell is killed; meanwhile one window goes, one is shown by its
    // application, and one handle comes to belong to another process.
    kernel.reset();
    desk.Destroy(gone);
    desk.Get(shownAgain).visible = true;
    desk.Get(reused).pid = 78;
    fake.desktop.actions.clear();
    fake.profile.Set("Settings", "m_bShowHiddenInTip", 1u);
    fake.module.strings[IDS_HIDDEN_COUNT] = "%u hidden windows";
    Start();

    std::vector<WindowHandle> back;
    for (const CWndDes& r : kernel->Commands().HiddenList()) back.push_back(r.m_hWindow);
    EXPECT_EQ(back, (std::vector<WindowHandle>{b, a}));
    EXPECT_TRUE(fake.desktop.actions.empty());  // nothing is shown at start
    EXPECT_EQ(fake.notifyShell.icons.begin()->second.tip, "2 hidden windows");
    // The journal now holds only what was taken back.
    EXPECT_EQ(journal::Decode(*fake.hiddenJournal.value)->size(), 2u);

    // The group's record lost its tag: the group's show leaves it alone...
    kernel->Run({Verb::ShowGroup, 0}, Origin::Menu);
    EXPECT_FALSE(Visible(b));
    // ...while Show Window takes the last family, then the earlier one.
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(a));
    EXPECT_FALSE(Visible(b));
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(b));
}

TEST_F(Journalled, ADamagedJournalIsRemovedAndNothingIsTakenBack) {
    const WindowHandle a = desk.Add("A", "a", false);
    fake.hiddenJournal.value = journal::Encode({Record(a.value, 1, 0, FakeDesktop::kOtherProcess)});
    fake.hiddenJournal.value->push_back(0);
    Start();
    EXPECT_TRUE(kernel->Commands().HiddenList().empty());
    EXPECT_FALSE(fake.hiddenJournal.value);
    EXPECT_EQ(fake.hiddenJournal.removes, 1);
}

TEST_F(Journalled, ExitWithoutShowingKeepsTheJournalAndACancelledLogoffDoesNothing) {
    const WindowHandle a = desk.Add("A", "a");
    Start();
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_FALSE(kernel->ProcessMessage(wm::kEndSession, 0, 0).endProgram);
    EXPECT_FALSE(Visible(a));
    EXPECT_EQ(kernel->Commands().HiddenList().size(), 1u);

    fake.profile.Set("Settings", "m_bShowOnClose", 0u);
    Start();  // took the window back
    EXPECT_TRUE(kernel->ProcessMessage(wm::kClose, 0, 0).endProgram);
    kernel.reset();
    EXPECT_TRUE(fake.hiddenJournal.value);

    fake.profile.Set("Settings", "m_bShowOnClose", 1u);
    Start();
    EXPECT_TRUE(kernel->ProcessMessage(wm::kEndSession, 1, 0).endProgram);  // the session ends
    EXPECT_TRUE(Visible(a));
    EXPECT_FALSE(fake.hiddenJournal.value);
}

TEST_F(Journalled, CloakedShellAndOwnWindowsAreNeverTaken) {
    const WindowHandle menu = desk.Add("#32768", "");  // our own tracked menu, topmost
    desk.Get(menu).pid = FakeDesktop::kOwnProcess;
    const WindowHandle prompt = desk.Add("#32770", "Enter password");
    desk.Get(prompt).pid = FakeDesktop::kOwnProcess;
    const WindowHandle cloaked = desk.Add("App", "other desktop");
    desk.Get(cloaked).cloaked = true;
    const WindowHandle secondTaskbar = desk.Add("Shell_SecondaryTrayWnd");
    const WindowHandle wallpaper = desk.Add("WorkerW");
    const WindowHandle app = desk.Add("App", "app");
    // Every caption differs from "zzz".
    WriteGroupSlot(fake.profile, 0, {"all", "zzz", GROUP_COMPARE_NOT_EQUAL});
    Start();
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_FALSE(Visible(app));
    kernel->Run({Verb::ShowAll}, Origin::Menu);
    kernel->Run({Verb::HideAll}, Origin::Menu);
    kernel->Run({Verb::ShowAll}, Origin::Menu);
    kernel->Run({Verb::HideGroup, 0}, Origin::Menu);
    kernel->Run({Verb::ToggleWindow}, Origin::Menu);
    for (WindowHandle w : {menu, prompt, cloaked, secondTaskbar, wallpaper}) EXPECT_TRUE(Visible(w));
    for (const CWndDes& r : kernel->Commands().HiddenList()) EXPECT_EQ(r.m_hWindow, app);
}

TEST_F(Journalled, AWindowHiddenAgainKeepsOneRecordAndComesBackWithOnePress) {
    const WindowHandle a = desk.Add("A", "a");
    const WindowHandle b = desk.Add("B", "b");
    Start();
    kernel->Run({Verb::HideWindow}, Origin::Menu);  // a
    desk.Get(a).visible = true;  // its application shows it again
    desk.Raise(a);
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    ASSERT_EQ(kernel->Commands().HiddenList().size(), 1u);
    kernel->Run({Verb::HideWindow}, Origin::Menu);  // b
    desk.Raise(a);
    desk.Get(a).visible = true;
    kernel->Run({Verb::HideWindow}, Origin::Menu);  // a moves to the end
    ASSERT_EQ(kernel->Commands().HiddenList().size(), 2u);
    EXPECT_EQ(kernel->Commands().HiddenList()[1].m_hWindow, a);
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(a));
    EXPECT_FALSE(Visible(b));
    EXPECT_EQ(kernel->Tray().HiddenWindowItems().size(), 1u);
}

TEST_F(Journalled, GoneWindowsCostNoPressInAnyShowPathNorAMenuEntry) {
    fake.profile.Set("Settings", "m_uAction", 0u);  // the click lists hidden windows
    Start();
    // Hides a fresh a, then a fresh b, and b's application destroys it.
    auto hideTwoThenLoseTheLast = [&] {
        const WindowHandle a = desk.Add("A", "a");
        const WindowHandle b = desk.Add("B", "b");
        desk.Raise(b);
        desk.Raise(a);
        kernel->Run({Verb::HideWindow}, Origin::Menu);
        kernel->Run({Verb::HideWindow}, Origin::Menu);
        desk.Destroy(b);
        return a;
    };
    WindowHandle a = hideTwoThenLoseTheLast();
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(a));

    // The designated window goes while hidden: its record goes with it.
    const WindowHandle c = desk.Add("C", "c");
    desk.Raise(c);
    kernel->Run({Verb::ToggleWindow}, Origin::Menu);
    desk.Destroy(c);
    kernel->Run({Verb::ToggleWindow}, Origin::Menu);
    for (const CWndDes& r : kernel->Commands().HiddenList()) EXPECT_NE(r.m_hWindow, c);
    kernel->Run({Verb::ShowAll}, Origin::Menu);
    ASSERT_TRUE(kernel->Commands().HiddenList().empty());

    a = hideTwoThenLoseTheLast();
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kLButtonUp);  // the list menu
    ASSERT_FALSE(fake.menus.tracked.empty());
    EXPECT_EQ(fake.menus.tracked.back().size(), 1u);
    EXPECT_EQ(kernel->Commands().HiddenList().size(), 1u);
}

}  // namespace
