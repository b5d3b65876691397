#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/auto_hide_rules.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

using platform::WindowEventKind;
constexpr WindowHandle kFrame{0x42};

class AutoHide : public ::testing::Test {
protected:
    AutoHide() : groups(fake.hotKeys, fake.profile) {}

    // Slots as the profile would hold them; autoHide per slot.
    void Groups(std::vector<std::tuple<std::string, std::string, unsigned, bool>> slots) {
        fake.profile.sections.erase("Groups");
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const auto& [name, search, compare, autoHide] = slots[i];
            WriteGroupSlot(fake.profile, static_cast<int>(i), {name, search, compare, autoHide});
        }
        EndGroupSlots(fake.profile, static_cast<int>(slots.size()));
        groups.Clear();
        groups.Load(kFrame);
        rules.SetGroups(groups);
    }
    // A window that has just appeared, as its program would show it.
    WindowHandle Appear(const std::string& caption, const std::string& cls = "AppWindow") {
        const WindowHandle w = fake.desktop.Add(cls, caption);
        events.Raise(WindowEventKind::Shown, w);
        return w;
    }
    void Retitle(WindowHandle w, const std::string& caption) {
        fake.desktop.Get(w).caption = caption;
        events.Raise(WindowEventKind::CaptionChanged, w);
    }

    FakePlatform fake;
    FakeWindowEvents events;
    FakeWindowEvents minimizes;
    CGroupList groups;
    std::vector<std::pair<WindowHandle, std::int32_t>> hidden;
    AutoHideRules rules{fake.desktop, events, minimizes, [this](WindowHandle w, std::int32_t id, bool) {
                            hidden.emplace_back(w, id);
                            fake.desktop.Get(w).visible = false;
                            rules.NoteHiddenByUs(w);
                            return true;
                        }};
};

TEST_F(AutoHide, TheHooksAreSetOnlyWhileAGroupHasTheOption) {
    Groups({{"Mail", "Inbox", 0, false}});
    EXPECT_FALSE(events.Running());
    EXPECT_EQ(events.starts, 0);
    Groups({{"Mail", "Inbox", 0, false}, {"Chat", "Chat", 0, true}});
    EXPECT_TRUE(events.Running());
    // A second list with the option keeps the same hooks.
    Groups({{"Chat", "Chat", 1, true}});
    EXPECT_EQ(events.starts, 1);
    Groups({{"Chat", "Chat", 1, false}});
    EXPECT_FALSE(events.Running());
    EXPECT_EQ(events.stops, 1);
    // Options no rule may act on set no hooks either.
    Groups({{"All", "", 0, true}, {"Not", "x", 2, true}, {"Odd", "x", 9, true}});
    EXPECT_FALSE(events.Running());
    EXPECT_FALSE(rules.Active());
}

TEST_F(AutoHide, RulesRemoveTheirHooksWhenTheyEnd) {
    Groups({{"Chat", "Chat", 0, true}});
    FakeWindowEvents local, localMinimizes;
    {
        AutoHideRules scoped(fake.desktop, local, localMinimizes, nullptr);
        scoped.SetGroups(groups);
        EXPECT_TRUE(local.Running());
    }
    // No event can reach rules that are gone.
    EXPECT_FALSE(local.Running());
    EXPECT_EQ(local.stops, 1);
}

TEST_F(AutoHide, AMatchingWindowIsHiddenForTheFirstGroupThatMatchesAsItAppears) {
    Groups({{"Plain", "Chat", 0, false}, {"Exact", "Chat", 1, true}, {"Any", "Chat", 0, true}});
    const std::int32_t exactId = groups.At(1)->Id();
    const std::int32_t anyId = groups.At(2)->Id();
    const WindowHandle exact = Appear("Chat");
    const WindowHandle partial = Appear("Team Chat - 3 new");
    const WindowHandle other = Appear("Editor");
    EXPECT_EQ(hidden, (std::vector<std::pair<WindowHandle, std::int32_t>>{{exact, exactId}, {partial, anyId}}));
    EXPECT_TRUE(fake.desktop.Get(other).visible);
}

TEST_F(AutoHide, ACaptionThatChangesToMatchIsHiddenThenAndOnlyThen) {
    Groups({{"Chat", "Inbox", 0, true}});
    const WindowHandle w = Appear("Loading...");
    EXPECT_TRUE(hidden.empty());
    Retitle(w, "Still loading");
    EXPECT_TRUE(hidden.empty());
    Retitle(w, "Inbox (2)");
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0].first, w);
    // Hidden now: further retitles ask nothing of it.
    Retitle(w, "Inbox (3)");
    EXPECT_EQ(hidden.size(), 1u);
}

TEST_F(AutoHide, OurOwnSystemAndCloakedWindowsAreLeftAlone) {
    Groups({{"Chat", "Chat", 0, true}});
    const WindowHandle own = fake.desktop.Add("#32770", "Chat password");
    fake.desktop.Get(own).pid = FakeDesktop::kOwnProcess;
    events.Raise(WindowEventKind::Shown, own);
    Appear("Chat", "Shell_TrayWnd");
    const WindowHandle cloaked = fake.desktop.Add("AppWindow", "Chat");
    fake.desktop.Get(cloaked).cloaked = true;
    events.Raise(WindowEventKind::Shown, cloaked);
    // Shown, then hidden again before the event arrived.
    const WindowHandle gone = fake.desktop.Add("AppWindow", "Chat", false);
    events.Raise(WindowEventKind::Shown, gone);
    // Destroyed before the event arrived.
    const WindowHandle dead = fake.desktop.Add("AppWindow", "Chat");
    fake.desktop.Destroy(dead);
    events.Raise(WindowEventKind::Shown, dead);
    events.Raise(WindowEventKind::Shown, WindowHandle{});
    EXPECT_TRUE(hidden.empty());
}

TEST_F(AutoHide, AWindowTheUserShowedIsNotHiddenAgainUntilItsProgramShowsItAnew) {
    Groups({{"Chat", "Chat", 0, true}});
    const WindowHandle w = Appear("Chat");
    ASSERT_EQ(hidden.size(), 1u);
    events.Raise(WindowEventKind::Hidden, w);  // the event of our own hide
    // The user's Show Window brings it back.
    rules.NoteShownByUs(w);
    fake.desktop.Get(w).visible = true;
    events.Raise(WindowEventKind::Shown, w);
    Retitle(w, "Chat - 1 new");
    Retitle(w, "Chat");
    EXPECT_EQ(hidden.size(), 1u);
    // Its program hides it and shows it again: a new appearance.
    fake.desktop.Get(w).visible = false;
    events.Raise(WindowEventKind::Hidden, w);
    fake.desktop.Get(w).visible = true;
    events.Raise(WindowEventKind::Shown, w);
    EXPECT_EQ(hidden.size(), 2u);
}

TEST_F(AutoHide, OurOwnHidesEventArrivingLateDoesNotEndTheProtection) {
    Groups({{"Chat", "Chat", 0, true}});
    const WindowHandle w = Appear("Chat");
    // The user shows it before the event of our hide was delivered.
    rules.NoteShownByUs(w);
    fake.desktop.Get(w).visible = true;
    events.Raise(WindowEventKind::Hidden, w);
    events.Raise(WindowEventKind::Shown, w);
    EXPECT_EQ(hidden.size(), 1u);
}

TEST_F(AutoHide, AReusedHandleOfAnotherProgramIsNoLongerProtected) {
    Groups({{"Chat", "Chat", 0, true}});
    const WindowHandle w = fake.desktop.Add("AppWindow", "Other");
    rules.NoteShownByUs(w);
    fake.desktop.Get(w).pid = 777;
    Retitle(w, "Chat");
    EXPECT_EQ(hidden.size(), 1u);
}

TEST_F(AutoHide, ARetitlingStormOfAWindowThatMatchesNothingCostsThreeQuestionsAnEvent) {
    Groups({{"Chat", "Inbox", 0, true}});
    const WindowHandle browser = Appear("Page 0 - Browser");
    const std::size_t before = fake.desktop.calls;
    for (int i = 1; i <= 1000; ++i) Retitle(browser, "Page " + std::to_string(i) + " - Browser");
    // Its process, its visibility and its caption: the class is known.
    EXPECT_EQ(fake.desktop.calls - before, 3u * 1000u);
    EXPECT_EQ(rules.Count().captionsRead, 1001u);
    EXPECT_TRUE(hidden.empty());

    // Without a rule nothing is asked at all, and no event arrives.
    Groups({{"Chat", "Inbox", 0, false}});
    const std::size_t idle = fake.desktop.calls;
    Retitle(browser, "Inbox");
    rules.OnEvent(WindowEventKind::CaptionChanged, browser);
    EXPECT_EQ(fake.desktop.calls, idle);
}

// The rules as the engine owns them: the groups they read, the hide they ask
// for, and what the commands tell them.
class AutoHideInTheEngine : public ::testing::Test {
protected:
    void SetUp() override {
        fake.profile.Set("Settings", "First Start", 0u);
        WriteGroupSlot(fake.profile, 0, {"Mail", "Inbox"});
        WriteGroupSlot(fake.profile, 1, {"Chat", "Chat", GROUP_COMPARE_INCLUDE, true});
        EndGroupSlots(fake.profile, 2);
    }
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    WindowHandle Appear(const std::string& caption, WindowHandle owner = {}) {
        const WindowHandle w = desk.Add("AppWindow", caption, true, owner);
        fake.windowEvents.Raise(WindowEventKind::Shown, w);
        return w;
    }
    // The events the system raises for what the engine asked, as they reach
    // the rules later from the message loop.
    void DeliverEventsOf(const std::vector<WindowHandle>& windows) {
        for (WindowHandle w : windows)
            fake.windowEvents.Raise(desk.Get(w).visible ? WindowEventKind::Shown : WindowEventKind::Hidden, w);
    }
    bool Visible(WindowHandle w) { return desk.Get(w).visible; }

    FakePlatform fake;
    FakeDesktop& desk = fake.desktop;
    std::unique_ptr<CAppKernel> kernel;
};

// A window that keeps itself on screen is tried once and named once: every
// further caption of it would only refuse again.
TEST_F(AutoHideInTheEngine, AWindowThatRefusesIsTriedOnceAndNamedOnce) {
    Kernel();
    const WindowHandle chat = desk.Add("AppWindow", "Chat");
    desk.Get(chat).refusesHide = true;
    fake.windowEvents.Raise(WindowEventKind::Shown, chat);
    for (int n = 0; n < 5; ++n) {
        desk.Get(chat).caption = "Chat " + std::to_string(n);
        fake.windowEvents.Raise(WindowEventKind::CaptionChanged, chat);
    }
    EXPECT_EQ(std::count(desk.actions.begin(), desk.actions.end(), std::make_pair(std::string("hide"), chat)), 1);
    EXPECT_EQ(fake.notifyShell.icons.begin()->second.balloons.size(), 1u);
    EXPECT_TRUE(Kernel().Commands().HiddenList().empty());
}

TEST_F(AutoHideInTheEngine, AnAppearingWindowIsHiddenWithItsFamilyTaggedJournaledAndShownByItsGroup) {
    auto& k = Kernel();
    EXPECT_TRUE(fake.windowEvents.Running());
    const WindowHandle other = desk.Add("AppWindow", "Team Chat");  // there before: left alone
    const WindowHandle chat = desk.Add("AppWindow", "Loading");
    const WindowHandle tool = desk.Add("AppWindow", "Tools", true, chat);
    fake.windowEvents.Raise(WindowEventKind::Shown, chat);
    EXPECT_TRUE(Visible(chat));
    desk.Get(chat).caption = "Chat - Room";
    fake.windowEvents.Raise(WindowEventKind::CaptionChanged, chat);
    EXPECT_FALSE(Visible(chat) || Visible(tool));
    EXPECT_TRUE(Visible(other));
    const std::int32_t chatId = k.Groups().At(1)->Id();
    ASSERT_EQ(k.Commands().HiddenList().size(), 2u);
    for (const auto& r : k.Commands().HiddenList()) EXPECT_EQ(r.m_nGroupId, chatId);
    EXPECT_EQ(k.Commands().HiddenList()[0].m_hWindow, chat);
    EXPECT_TRUE(fake.hiddenJournal.value.has_value());
    // The events of our own hide end nothing.
    DeliverEventsOf({chat, tool});

    k.Run({Verb::ShowGroup, 1}, Origin::Menu);
    EXPECT_TRUE(Visible(chat) && Visible(tool));
    EXPECT_FALSE(fake.hiddenJournal.value.has_value());
}

TEST_F(AutoHideInTheEngine, AWindowTheUserShowedStaysShownUntilItsProgramShowsItAnew) {
    auto& k = Kernel();
    const WindowHandle chat = Appear("Chat");
    ASSERT_FALSE(Visible(chat));
    DeliverEventsOf({chat});
    for (const auto show : {+[](CAppKernel& kk) { kk.Run({Verb::ShowWindow}, Origin::Menu); },
                            +[](CAppKernel& kk) { kk.Run({Verb::ShowAll}, Origin::Menu); },
                            +[](CAppKernel& kk) { kk.Run({Verb::ShowGroup, 1}, Origin::Menu); },
                            +[](CAppKernel& kk) { kk.ProcessMessage(wm::kCommand, ID_SHOW_WINDOW, 0); }}) {
        show(k);
        ASSERT_TRUE(Visible(chat));
        DeliverEventsOf({chat});
        desk.Get(chat).caption = "Chat - 1 new";
        fake.windowEvents.Raise(WindowEventKind::CaptionChanged, chat);
        EXPECT_TRUE(Visible(chat));
        EXPECT_TRUE(k.Commands().HiddenList().empty());
        // Its program hides and shows it: a new appearance.
        desk.Get(chat).visible = false;
        DeliverEventsOf({chat});
        desk.Get(chat).visible = true;
        DeliverEventsOf({chat});
        EXPECT_FALSE(Visible(chat));
        DeliverEventsOf({chat});
    }
}

TEST_F(AutoHideInTheEngine, ARuleHidesEvenWhileADialogIsOpenButNeverAListedOrOwnWindow) {
    auto& k = Kernel();
    WindowHandle chat;
    fake.prompts.whilePreferencesOpen = [&] { chat = Appear("Chat"); };
    k.ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
    EXPECT_FALSE(Visible(chat));
    // Listed already: a late event takes it no second time.
    desk.Get(chat).visible = true;
    fake.windowEvents.Raise(WindowEventKind::CaptionChanged, chat);
    EXPECT_EQ(k.Commands().HiddenList().size(), 1u);
    const WindowHandle own = desk.Add("#32770", "Chat");
    desk.Get(own).pid = FakeDesktop::kOwnProcess;
    fake.windowEvents.Raise(WindowEventKind::Shown, own);
    EXPECT_TRUE(Visible(own));
}

TEST_F(AutoHideInTheEngine, TheHooksFollowTheGroupsAfterWindowsGroupsOk) {
    WriteGroupSlot(fake.profile, 1, {"Chat", "Chat", GROUP_COMPARE_INCLUDE, false});
    auto& k = Kernel();
    EXPECT_FALSE(fake.windowEvents.Running());
    bool option = true;
    fake.prompts.windowsGroups = [&](GroupsForm& form) {
        form.groups[0]->m_bAutoHide = option;
        return true;
    };
    k.ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_TRUE(fake.windowEvents.Running());
    const WindowHandle mail = Appear("Inbox (3)");
    EXPECT_FALSE(Visible(mail));
    option = false;
    k.ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_FALSE(fake.windowEvents.Running());
    EXPECT_EQ(fake.windowEvents.starts, 1);
    EXPECT_EQ(fake.windowEvents.stops, 1);
    // A cancelled dialog changes nothing.
    fake.prompts.windowsGroups = nullptr;
    k.ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_FALSE(fake.windowEvents.Running());
    kernel.reset();
    EXPECT_EQ(fake.windowEvents.stops, 1);
}

TEST_F(AutoHideInTheEngine, TheEngineRemovesTheHooksWhenItEnds) {
    Kernel();
    ASSERT_TRUE(fake.windowEvents.Running());
    kernel.reset();
    EXPECT_FALSE(fake.windowEvents.Running());
}

}  // namespace
