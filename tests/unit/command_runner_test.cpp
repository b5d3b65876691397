#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/command_line.h"
#include "engine_steps.h"
#include "engine_test.h"
#include "fake_platform.h"
#include "platform/copy_data.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

// ------------------------------------------- every command, gate and password

// What a command did, as the fakes saw it.
struct Footprint {
    std::size_t hidden = 0;
    std::size_t menus = 0;
    int dialogs = 0;
    std::size_t help = 0;
    std::size_t pages = 0;
    bool ends = false;
    friend bool operator==(const Footprint&, const Footprint&) = default;
};

struct Desk {
    FakePlatform fake;
    WindowHandle shown, hidden;
    std::unique_ptr<CAppKernel> kernel;

    // Group 0's window hidden by the group and another of its windows
    // shown; the designated window hidden, and one more shown: every hide
    // and every show has something to take.
    // guarded: a password, asked on every occasion.
    explicit Desk(bool guarded = false) {
        fake.profile.Set("Settings", "First Start", 0u);
        if (guarded) {
            PlantPassword(fake, "pw");
            for (const char* flag : {"m_bPassOnShow", "m_bPassOnOption", "m_bPassOnClose"})
                fake.profile.Set("Settings", flag, 1u);
        }
        WriteGroupSlot(fake.profile, 0, {"Mail Box", "Inbox"});
        EndGroupSlots(fake.profile, 1);
        fake.desktop.Add("App", "Inbox - Mail");
        hidden = fake.desktop.Add("App", "Editor");
        shown = fake.desktop.Add("App", "Notes");
        kernel = StartKernel(fake);
        kernel->Run({Verb::HideGroup, 0}, Origin::Menu);
        kernel->Run({Verb::ToggleWindow}, Origin::Menu);
        fake.desktop.Add("App", "Inbox - Second");
    }
    Footprint Now(bool ends) const {
        return {kernel->Commands().HiddenList().size(),
                fake.menus.tracked.size(),
                fake.prompts.preferencesRuns + fake.prompts.groupsRuns + static_cast<int>(fake.prompts.aboutVersions.size()),
                fake.prompts.helpShown.size(),
                fake.shell.opened.size(),
                ends};
    }
    Command Of(Verb verb) {
        if (RowOf(verb).takesGroup) return Command{verb, 0};
        // A rule's step hides what a rule took, once no more came meanwhile.
        if (verb == Verb::HideTaken) {
            kernel->Commands().Take(shown, kernel->Groups().At(0)->Id(), false);
            fake.desktop.now += CHideShowCommands::kGatherQuietMs;
        }
        if (verb == Verb::ShowListed || verb == Verb::CloseListed || verb == Verb::WindowMenu)
            return Command{verb, -1, {}, hidden};
        if (verb == Verb::HideWindow) return Command{verb, -1, {}, shown};
        return Command{verb};
    }
};

enum class WhileAbout { Acts, Front, Refused };

// Each command against the two policies it meets, observed from outside:
// whether a guarded profile asks the password before it acts (and, refused,
// nothing happens), and what it does while the About dialog waits.
TEST(EveryCommand, AsksThePasswordOfItsOccasionAndMeetsTheGateOfItsRow) {
    const struct {
        Verb verb;
        bool asks;
        WhileAbout whileAbout;
    } rows[] = {
        {Verb::HideWindow, false, WhileAbout::Acts},   {Verb::ShowWindow, true, WhileAbout::Acts},
        {Verb::HideAll, false, WhileAbout::Acts},      {Verb::ShowAll, true, WhileAbout::Acts},
        {Verb::ToggleWindow, true, WhileAbout::Acts},  {Verb::ToggleAll, true, WhileAbout::Acts},
        {Verb::HideGroup, false, WhileAbout::Acts},    {Verb::ShowGroup, true, WhileAbout::Acts},
        // A group's toggle hides what it can first, and asks only to show.
        {Verb::ToggleGroup, false, WhileAbout::Acts},  {Verb::ShowListed, true, WhileAbout::Acts},
        {Verb::ShowList, false, WhileAbout::Acts},     {Verb::MainMenu, false, WhileAbout::Acts},
        {Verb::Preferences, true, WhileAbout::Acts},   {Verb::WindowsGroups, true, WhileAbout::Acts},
        {Verb::About, false, WhileAbout::Front},       {Verb::Help, false, WhileAbout::Acts},
        {Verb::CheckUpdate, false, WhileAbout::Acts},  {Verb::Exit, true, WhileAbout::Front},
        {Verb::EndSession, false, WhileAbout::Acts},   {Verb::CloseListed, true, WhileAbout::Acts},
        {Verb::WindowMenu, false, WhileAbout::Acts},   {Verb::HideTaken, false, WhileAbout::Acts},
    };
    ASSERT_EQ(std::size(rows), std::size(kCommands));
    for (const auto& row : rows) {
        const std::string name = "verb " + std::to_string(static_cast<int>(row.verb));
        {
            Desk d(true);
            const Footprint before = d.Now(false);
            const int asked = d.fake.prompts.asked;
            const Outcome outcome = d.kernel->Run(d.Of(row.verb), Origin::Menu);
            EXPECT_EQ(d.fake.prompts.asked - asked, row.asks ? 1 : 0) << name;
            if (row.asks) {
                EXPECT_EQ(outcome.result, CommandResult::Refused) << name;
                EXPECT_EQ(d.Now(outcome.endProgram), before) << name;
            } else {
                EXPECT_NE(d.Now(outcome.endProgram), before) << name;
            }
        }
        {
            Desk d;
            Footprint before, after;
            d.fake.prompts.whileAboutOpen = [&] {
                before = d.Now(false);
                after = d.Now(d.kernel->Run(d.Of(row.verb), Origin::Menu).endProgram);
            };
            d.kernel->Run({Verb::About}, Origin::Menu);
            const bool fronted = d.fake.prompts.fronted == std::vector<Waiting>{Waiting::About};
            EXPECT_EQ(fronted, row.whileAbout == WhileAbout::Front) << name;
            EXPECT_EQ(after != before, row.whileAbout == WhileAbout::Acts) << name;
            // Nothing ends the program while a dialog still runs.
            EXPECT_FALSE(after.ends) << name;
        }
    }
}

// A rule, a command line and a hot-key that ask for the same command get the
// same outcome: the same records, tagged with the group, and the same journal.
TEST(EveryCommand, ARuleACommandLineAndAHotKeyReachTheSameHide) {
    std::vector<std::vector<std::uint8_t>> journals;
    std::vector<std::vector<CWndDes>> records;
    for (int way = 0; way < 3; ++way) {
        FakePlatform fake;
        fake.profile.Set("Settings", "First Start", 0u);
        WriteGroupSlot(fake.profile, 0, {"Chat", "Chat", GROUP_COMPARE_INCLUDE, way == 0});
        EndGroupSlots(fake.profile, 1);
        auto kernel = StartKernel(fake);
        const WindowHandle chat = fake.desktop.Add("App", "Team Chat");
        fake.desktop.Add("#32770", "Settings", true, chat);
        switch (way) {
            case 0: fake.windowEvents.Raise(platform::WindowEventKind::Shown, chat); break;
            case 1:
                EXPECT_EQ(kernel->Run({Verb::HideGroup, -1, "Chat"}, Origin::CommandLine), Outcome{});
                break;
            default: kernel->ProcessMessage(wm::kHotKey, 25, 0); break;
        }
        records.push_back(kernel->Commands().HiddenList().Records());
        journals.push_back(fake.hiddenJournal.value.value_or(std::vector<std::uint8_t>{}));
        ASSERT_EQ(records.back().size(), 2u) << way;
        EXPECT_EQ(records.back()[0].m_nGroupId, kernel->Groups().At(0)->Id()) << way;
    }
    for (int way = 1; way < 3; ++way) {
        EXPECT_EQ(journals[way], journals[0]) << way;
        EXPECT_EQ(records[way].size(), records[0].size());
        for (std::size_t i = 0; i < records[0].size(); ++i) {
            EXPECT_EQ(records[way][i].m_hWindow, records[0][i].m_hWindow);
            EXPECT_EQ(records[way][i].m_hPrincipal, records[0][i].m_hPrincipal);
        }
    }
}

// A press with nothing to do asks the shell and the journal nothing, as an
// ignored one does.
TEST(EveryCommand, ACommandWithNothingToDoTouchesNeitherTheTrayNorTheJournal) {
    FakePlatform fake;
    fake.profile.Set("Settings", "First Start", 0u);
    fake.profile.Set("Settings", "m_bShowHiddenInTip", 1u);
    fake.desktop.Add("App", "Editor");
    auto kernel = StartKernel(fake);
    fake.journal.clear();
    kernel->ProcessMessage(wm::kHotKey, 1, 0);    // Show Window, nothing hidden
    kernel->ProcessMessage(wm::kHotKey, 3, 0);    // Show All
    kernel->ProcessMessage(wm::kHotKey, 25, 0);   // the built-in group, nothing matching
    kernel->ProcessMessage(wm::kHotKey, 26, 0);
    kernel->ProcessMessage(wm::kHotKey, 999, 0);  // an unknown identifier
    kernel->ProcessMessage(wm::kCommand, ID_SHOW_WINDOW, 0);
    EXPECT_TRUE(fake.journal.empty()) << fake.journal.front();
    // A change is published once: the journal first, then the tip.
    kernel->ProcessMessage(wm::kHotKey, 0, 0);
    EXPECT_EQ(fake.journal, (Journal{"journal write", "notify 1"}));
}

// ------------------------------------------------------------ command line

class CommandLine : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        WriteGroupSlot(fake.profile, 0, {"Mail Box", "Inbox"});
        EndGroupSlots(fake.profile, 1);
    }
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    Outcome Run(Verb verb, const std::string& group = {}) {
        return Kernel().Run({verb, -1, group}, Origin::CommandLine);
    }
    void Password(bool onShow, bool onClose) {
        ChangePreferences(fake, Kernel(), [&](PreferencesForm& form) {
            form.newPassword = "secret";
            form.prefs.m_bPassOnShow = onShow;
            form.prefs.m_bPassOnClose = onClose;
        });
    }
    // WM_COPYDATA as the frame hands it to the engine: the result and
    // whether the program ends.
    std::pair<std::intptr_t, bool> CopyData(std::uintptr_t magic, const std::vector<std::uint8_t>& record) {
        const MessageReply reply = SendCopyData(Kernel(), record, magic);
        return {reply.result, reply.endProgram};
    }

    FakeDesktop& desk = fake.desktop;
};

TEST_F(CommandLine, EachCommandRunsAsItsMenuCommandAndAnswersDone) {
    const WindowHandle editor = desk.Add("App", "Editor");
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    auto& k = Kernel();
    EXPECT_EQ(Run(Verb::HideAll), Outcome{});
    EXPECT_FALSE(Visible(editor) || Visible(mail));
    // The list's change reached the journal, as after the menu's Hide All.
    EXPECT_TRUE(fake.hiddenJournal.value.has_value());
    EXPECT_EQ(Run(Verb::ShowAll), Outcome{});
    EXPECT_TRUE(Visible(editor) && Visible(mail));
    EXPECT_FALSE(fake.hiddenJournal.value.has_value());

    EXPECT_EQ(Run(Verb::HideGroup, "Mail Box"), Outcome{});
    EXPECT_FALSE(Visible(mail));
    EXPECT_TRUE(Visible(editor));
    EXPECT_EQ(k.Commands().HiddenList()[0].m_nGroupId, k.Groups().At(0)->Id());
    EXPECT_EQ(Run(Verb::ToggleGroup, "Mail Box"), Outcome{});
    EXPECT_TRUE(Visible(mail));

    EXPECT_EQ(Run(Verb::HideWindow), Outcome{});
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
    EXPECT_EQ(Run(Verb::ShowWindow), Outcome{});
    EXPECT_TRUE(k.Commands().HiddenList().empty());
    EXPECT_EQ(Run(Verb::ToggleWindow), Outcome{});
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
    EXPECT_EQ(Run(Verb::ToggleWindow), Outcome{});
    EXPECT_TRUE(Visible(editor) && Visible(mail));
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(CommandLine, AGroupIsNamedExactlyAndAnUnknownNameChangesNothing) {
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    for (const char* name : {"mail box", "Mail", "Mail Box ", "Nobody"}) {
        EXPECT_EQ(Run(Verb::HideGroup, name), Outcome{CommandResult::NoSuchGroup}) << name;
        EXPECT_EQ(Run(Verb::ShowGroup, name), Outcome{CommandResult::NoSuchGroup}) << name;
        EXPECT_EQ(Run(Verb::ToggleGroup, name), Outcome{CommandResult::NoSuchGroup}) << name;
    }
    EXPECT_TRUE(Visible(mail));
    EXPECT_TRUE(Kernel().Commands().HiddenList().empty());
}

TEST_F(CommandLine, WhileTarnvellWaitsForTheUserEveryCommandIsRefusedAndNothingComesToTheFront) {
    const WindowHandle editor = desk.Add("App", "Editor");
    auto& k = Kernel();
    std::vector<Outcome> answers;
    const auto tryAll = [&] {
        for (Verb verb : {Verb::HideAll, Verb::HideWindow, Verb::ShowAll, Verb::Exit})
            answers.push_back(Run(verb));
        answers.push_back(Run(Verb::HideGroup, "Mail Box"));
    };
    fake.prompts.whilePreferencesOpen = tryAll;
    k.ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
    fake.prompts.whilePreferencesOpen = nullptr;
    // The password prompt of a show is a wait of its own.
    Run(Verb::HideAll);
    Password(true, false);
    fake.prompts.whilePromptOpen = tryAll;
    fake.prompts.answers.push_back({false, ""});
    EXPECT_EQ(Run(Verb::ShowAll), Outcome{CommandResult::Refused});

    ASSERT_EQ(answers.size(), 10u);
    for (const Outcome& a : answers) EXPECT_EQ(a, Outcome{CommandResult::Refused});
    EXPECT_TRUE(fake.prompts.fronted.empty());
    EXPECT_EQ(fake.prompts.asked, 1);
    EXPECT_FALSE(Visible(editor));
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
}

TEST_F(CommandLine, ARefusedShowPasswordAnswersRefusedAndShowsNothing) {
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    auto& k = Kernel();
    Password(true, false);
    Run(Verb::HideGroup, "Mail Box");
    ASSERT_FALSE(Visible(mail));
    // Cancelled, then a wrong password, for each way of showing.
    for (Verb verb : {Verb::ShowAll, Verb::ShowWindow, Verb::ShowGroup,
                            Verb::ToggleGroup}) {
        const std::string group = RowOf(verb).takesGroup ? "Mail Box" : "";
        fake.prompts.answers.push_back({false, ""});
        fake.prompts.answers.push_back({true, "wrong"});
        // A group with nothing left to hide shows, so its toggle asks too.
        EXPECT_EQ(Run(verb, group), Outcome{CommandResult::Refused}) << static_cast<int>(verb);
        EXPECT_EQ(Run(verb, group), Outcome{CommandResult::Refused}) << static_cast<int>(verb);
        EXPECT_FALSE(Visible(mail));
    }
    EXPECT_EQ(fake.prompts.asked, 8);
    fake.prompts.answers.push_back({true, "secret"});
    EXPECT_EQ(Run(Verb::ShowAll), Outcome{});
    EXPECT_TRUE(Visible(mail));
    EXPECT_TRUE(k.Commands().HiddenList().empty());
    // Hides never ask.
    EXPECT_EQ(Run(Verb::HideAll), Outcome{});
    EXPECT_EQ(fake.prompts.asked, 9);
}

TEST_F(CommandLine, ExitAsksTheClosePasswordShowsTheWindowsAndOnlyThenEndsTheProgram) {
    const WindowHandle editor = desk.Add("App", "Editor");
    Kernel();
    Password(false, true);
    Run(Verb::HideAll);
    fake.prompts.answers.push_back({false, ""});
    EXPECT_EQ(Run(Verb::Exit), Outcome{CommandResult::Refused});
    EXPECT_FALSE(Visible(editor));
    fake.prompts.answers.push_back({true, "secret"});
    EXPECT_EQ(Run(Verb::Exit), (Outcome{CommandResult::Done, true}));
    // "Show hidden windows on exit" is on by default.
    EXPECT_TRUE(Visible(editor));
    EXPECT_EQ(fake.prompts.asked, 2);
}

TEST_F(CommandLine, TheCopyDataRecordIsCheckedAgainByTheEngineAndAnsweredAsTheExitCode) {
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    const auto hide = EncodeRemoteCommand({Verb::HideGroup, -1, "Mail Box"});
    // Another program's WM_COPYDATA, or a damaged record: a usage error, handled.
    EXPECT_EQ(CopyData(kCopyDataMagic + 1, hide), std::make_pair(std::intptr_t{1}, false));
    auto cut = hide;
    cut.pop_back();
    EXPECT_EQ(CopyData(kCopyDataMagic, cut), std::make_pair(std::intptr_t{1}, false));
    auto unterminated = hide;
    unterminated.back() = 'x';
    EXPECT_EQ(CopyData(kCopyDataMagic, unterminated), std::make_pair(std::intptr_t{1}, false));
    auto unknown = hide;
    unknown[4] = 0x7F;
    EXPECT_EQ(CopyData(kCopyDataMagic, unknown), std::make_pair(std::intptr_t{1}, false));
    EXPECT_EQ(CopyData(kCopyDataMagic, {}), std::make_pair(std::intptr_t{1}, false));
    EXPECT_EQ(Kernel().ProcessMessage(wm::kCopyData, 0, 0), (MessageReply{true, 1}));
    EXPECT_TRUE(Visible(mail));

    EXPECT_EQ(CopyData(kCopyDataMagic, hide), std::make_pair(std::intptr_t{0}, false));
    EXPECT_FALSE(Visible(mail));
    EXPECT_EQ(CopyData(kCopyDataMagic, EncodeRemoteCommand({Verb::ShowGroup, -1, "Other"})),
              std::make_pair(std::intptr_t{3}, false));
    // Only an accepted /exit lets the frame's handling follow: it goes.
    EXPECT_EQ(CopyData(kCopyDataMagic, EncodeRemoteCommand({Verb::Exit})),
              std::make_pair(std::intptr_t{0}, true));
    EXPECT_TRUE(Visible(mail));
}

TEST_F(CommandLine, OtherMessagesStillAnswerZero) {
    EXPECT_EQ(Kernel().ProcessMessage(wm::kCommand, ID_HIDE_ALL, 0), (MessageReply{true, 0}));
}

}  // namespace
