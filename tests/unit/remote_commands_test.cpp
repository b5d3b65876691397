#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/command_line.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/copy_data.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

using Answer = CRemoteCommands::Answer;

class RemoteCommands : public ::testing::Test {
protected:
    void SetUp() override {
        fake.profile.Set("Settings", "First Start", 0u);
        fake.profile.Set("Groups", "Name0", "Mail Box");
        fake.profile.Set("Groups", "Search0", "Inbox");
        fake.profile.Set("Groups", "Compare0", 0u);
        fake.profile.Set("Groups", "Compare1", 0xFFFFFFFFu);
    }
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    Answer Run(RemoteVerb verb, const std::string& group = {}) { return Kernel().Remote().Run({verb, group}); }
    void Password(bool onShow, bool onClose) {
        ChangePreferences(Kernel(), [&](Preferences& p) {
            p.m_Password = "secret";
            p.m_bPassOnShow = onShow;
            p.m_bPassOnClose = onClose;
        });
    }
    bool Visible(WindowHandle w) { return desk.Get(w).visible; }
    // WM_COPYDATA as the frame hands it to the engine: the result and
    // whether the frame's own handling follows.
    std::pair<std::intptr_t, bool> CopyData(std::uintptr_t magic, const std::vector<std::uint8_t>& record) {
        const platform::CopyData data{magic, static_cast<std::uint32_t>(record.size()),
                                      record.empty() ? nullptr : record.data()};
        std::intptr_t result = -1;
        const bool follows =
            Kernel().ProcessMessage(wm::kCopyData, 0, reinterpret_cast<std::intptr_t>(&data), &result);
        return {result, follows};
    }

    FakePlatform fake;
    FakeDesktop& desk = fake.desktop;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(RemoteCommands, EachCommandRunsAsItsMenuCommandAndAnswersDone) {
    const WindowHandle editor = desk.Add("App", "Editor");
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    auto& k = Kernel();
    EXPECT_EQ(Run(RemoteVerb::HideAll), Answer{});
    EXPECT_FALSE(Visible(editor) || Visible(mail));
    // The list's change reached the journal, as after the menu's Hide All.
    EXPECT_TRUE(fake.hiddenJournal.value.has_value());
    EXPECT_EQ(Run(RemoteVerb::ShowAll), Answer{});
    EXPECT_TRUE(Visible(editor) && Visible(mail));
    EXPECT_FALSE(fake.hiddenJournal.value.has_value());

    EXPECT_EQ(Run(RemoteVerb::HideGroup, "Mail Box"), Answer{});
    EXPECT_FALSE(Visible(mail));
    EXPECT_TRUE(Visible(editor));
    EXPECT_EQ(k.Commands().HiddenList()[0].m_nGroupId, k.Groups().At(0)->m_nID);
    EXPECT_EQ(Run(RemoteVerb::ToggleGroup, "Mail Box"), Answer{});
    EXPECT_TRUE(Visible(mail));

    EXPECT_EQ(Run(RemoteVerb::HideWindow), Answer{});
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
    EXPECT_EQ(Run(RemoteVerb::ShowWindow), Answer{});
    EXPECT_TRUE(k.Commands().HiddenList().empty());
    EXPECT_EQ(Run(RemoteVerb::ToggleWindow), Answer{});
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
    EXPECT_EQ(Run(RemoteVerb::ToggleWindow), Answer{});
    EXPECT_TRUE(Visible(editor) && Visible(mail));
    EXPECT_EQ(fake.prompts.asked, 0);
}

TEST_F(RemoteCommands, AGroupIsNamedExactlyAndAnUnknownNameChangesNothing) {
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    for (const char* name : {"mail box", "Mail", "Mail Box ", "Nobody"}) {
        EXPECT_EQ(Run(RemoteVerb::HideGroup, name), Answer{RemoteResult::NoSuchGroup}) << name;
        EXPECT_EQ(Run(RemoteVerb::ShowGroup, name), Answer{RemoteResult::NoSuchGroup}) << name;
        EXPECT_EQ(Run(RemoteVerb::ToggleGroup, name), Answer{RemoteResult::NoSuchGroup}) << name;
    }
    EXPECT_TRUE(Visible(mail));
    EXPECT_TRUE(Kernel().Commands().HiddenList().empty());
}

TEST_F(RemoteCommands, WhileTarnvellWaitsForTheUserEveryCommandIsRefusedAndNothingComesToTheFront) {
    const WindowHandle editor = desk.Add("App", "Editor");
    auto& k = Kernel();
    std::vector<Answer> answers;
    const auto tryAll = [&] {
        for (RemoteVerb verb : {RemoteVerb::HideAll, RemoteVerb::HideWindow, RemoteVerb::ShowAll, RemoteVerb::Exit})
            answers.push_back(Run(verb));
        answers.push_back(Run(RemoteVerb::HideGroup, "Mail Box"));
    };
    fake.prompts.whilePreferencesOpen = tryAll;
    k.ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
    // The password prompt of a show is a wait of its own.
    Run(RemoteVerb::HideAll);
    Password(true, false);
    fake.prompts.whilePromptOpen = tryAll;
    fake.prompts.answers.push_back({false, ""});
    EXPECT_EQ(Run(RemoteVerb::ShowAll), Answer{RemoteResult::Refused});

    ASSERT_EQ(answers.size(), 10u);
    for (const Answer& a : answers) EXPECT_EQ(a, Answer{RemoteResult::Refused});
    EXPECT_TRUE(fake.prompts.fronted.empty());
    EXPECT_EQ(fake.prompts.asked, 1);
    EXPECT_FALSE(Visible(editor));
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
}

TEST_F(RemoteCommands, ARefusedShowPasswordAnswersRefusedAndShowsNothing) {
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    auto& k = Kernel();
    Password(true, false);
    Run(RemoteVerb::HideGroup, "Mail Box");
    ASSERT_FALSE(Visible(mail));
    // Cancelled, then a wrong password, for each way of showing.
    for (RemoteVerb verb : {RemoteVerb::ShowAll, RemoteVerb::ShowWindow, RemoteVerb::ShowGroup,
                            RemoteVerb::ToggleGroup}) {
        const std::string group = TakesGroup(verb) ? "Mail Box" : "";
        fake.prompts.answers.push_back({false, ""});
        fake.prompts.answers.push_back({true, "wrong"});
        // A group with nothing left to hide shows, so its toggle asks too.
        EXPECT_EQ(Run(verb, group), Answer{RemoteResult::Refused}) << static_cast<int>(verb);
        EXPECT_EQ(Run(verb, group), Answer{RemoteResult::Refused}) << static_cast<int>(verb);
        EXPECT_FALSE(Visible(mail));
    }
    EXPECT_EQ(fake.prompts.asked, 8);
    fake.prompts.answers.push_back({true, "secret"});
    EXPECT_EQ(Run(RemoteVerb::ShowAll), Answer{});
    EXPECT_TRUE(Visible(mail));
    EXPECT_TRUE(k.Commands().HiddenList().empty());
    // Hides never ask.
    EXPECT_EQ(Run(RemoteVerb::HideAll), Answer{});
    EXPECT_EQ(fake.prompts.asked, 9);
}

TEST_F(RemoteCommands, ExitAsksTheClosePasswordShowsTheWindowsAndOnlyThenEndsTheProgram) {
    const WindowHandle editor = desk.Add("App", "Editor");
    Kernel();
    Password(false, true);
    Run(RemoteVerb::HideAll);
    fake.prompts.answers.push_back({false, ""});
    EXPECT_EQ(Run(RemoteVerb::Exit), Answer{RemoteResult::Refused});
    EXPECT_FALSE(Visible(editor));
    fake.prompts.answers.push_back({true, "secret"});
    EXPECT_EQ(Run(RemoteVerb::Exit), (Answer{RemoteResult::Done, true}));
    // "Show hidden windows on exit" is on by default.
    EXPECT_TRUE(Visible(editor));
    EXPECT_EQ(fake.prompts.asked, 2);
}

TEST_F(RemoteCommands, TheCopyDataRecordIsCheckedAgainByTheEngineAndAnsweredAsTheExitCode) {
    const WindowHandle mail = desk.Add("App", "Inbox - Mail");
    const auto hide = EncodeRemoteCommand({RemoteVerb::HideGroup, "Mail Box"});
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
    std::intptr_t result = -1;
    EXPECT_FALSE(Kernel().ProcessMessage(wm::kCopyData, 0, 0, &result));
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Visible(mail));

    EXPECT_EQ(CopyData(kCopyDataMagic, hide), std::make_pair(std::intptr_t{0}, false));
    EXPECT_FALSE(Visible(mail));
    EXPECT_EQ(CopyData(kCopyDataMagic, EncodeRemoteCommand({RemoteVerb::ShowGroup, "Other"})),
              std::make_pair(std::intptr_t{3}, false));
    // Only an accepted /exit lets the frame's handling follow: it goes.
    EXPECT_EQ(CopyData(kCopyDataMagic, EncodeRemoteCommand({RemoteVerb::Exit, ""})),
              std::make_pair(std::intptr_t{0}, true));
    EXPECT_TRUE(Visible(mail));
}

TEST_F(RemoteCommands, OtherMessagesStillAnswerZero) {
    std::intptr_t result = -1;
    EXPECT_FALSE(Kernel().ProcessMessage(wm::kCommand, ID_HIDE_ALL, 0, &result));
    EXPECT_EQ(result, 0);
}

}  // namespace
