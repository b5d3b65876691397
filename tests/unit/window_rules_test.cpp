#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine/hidden_journal.h"
#include "engine_test.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

using platform::WindowEventKind;

constexpr std::uint32_t kChrome = 2000, kEditor = 3000;

// Groups that name their windows by program and class, and hide them when
// they are minimized, as the engine runs them over the fakes.
class WindowRules : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        desk.images[kChrome] = "C:\\Program Files\\Google\\Chrome\\chrome.exe";
        desk.images[kEditor] = "C:\\Tools\\editor.exe";
    }
    // Slot n: a group named name with these criteria and flags.
    void Group(int n, const std::string& name, const std::string& search, const std::string& program,
               const std::string& cls, unsigned flags = 0) {
        GroupSlot slot{name, search};
        slot.program = program;
        slot.className = cls;
        slot.flags = flags;
        WriteGroupSlot(fake.profile, n, slot);
        EndGroupSlots(fake.profile, n + 1);
    }
    // The engine, started at the first use, without a frame window of its
    // own on the desktop the walks count.
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    WindowHandle Window(const std::string& cls, const std::string& caption, std::uint32_t pid,
                        WindowHandle owner = {}) {
        const WindowHandle w = desk.Add(cls, caption, true, owner);
        desk.Get(w).pid = pid;
        return w;
    }
    // The user minimizes w: it stays visible, iconic, and the event comes.
    void Minimize(WindowHandle w, bool fromMaximized = false) {
        desk.Get(w).minimized = true;
        desk.Get(w).maximized = fromMaximized;
        fake.minimizeEvents.Raise(WindowEventKind::Minimized, w);
    }
    const CHiddenList& List() { return Kernel().Commands().HiddenList(); }
    // The last show of w: "show", "restore" or "maximize".
    std::string LastAction(WindowHandle w) {
        for (auto it = desk.actions.rbegin(); it != desk.actions.rend(); ++it)
            if (it->second == w && (it->first == "show" || it->first == "restore" || it->first == "maximize"))
                return it->first;
        return {};
    }

    FakeDesktop& desk = fake.desktop;
};

TEST_F(WindowRules, AProgramGroupTakesOnlyThatProgramsWindowsAskingEachProcessOnce) {
    Group(0, "Chrome", "", "CHROME.exe", "");
    std::vector<WindowHandle> chrome;
    for (int i = 0; i < 5; ++i) chrome.push_back(Window("Chrome_WidgetWin_1", "Same caption", kChrome));
    const WindowHandle editor = Window("Chrome_WidgetWin_1", "Same caption", kEditor);
    const WindowHandle unasked = Window("Chrome_WidgetWin_1", "Same caption", 4000);  // cannot be asked
    auto& k = Kernel();
    desk.imageQueries = desk.captionReads = 0;
    EXPECT_EQ(k.Run({Verb::HideGroup, -1, "Chrome"}, Origin::CommandLine), Outcome{});
    for (WindowHandle w : chrome) EXPECT_FALSE(Visible(w));
    EXPECT_TRUE(Visible(editor) && Visible(unasked));
    // Once per process, not per window; and no caption is read.
    EXPECT_EQ(desk.imageQueries, 3u);
    EXPECT_EQ(desk.captionReads, 0u);
    EXPECT_EQ(List().size(), 5u);
}

TEST_F(WindowRules, AClassGroupWithASearchTextNeedsBoth) {
    Group(0, "Notes", "Draft", "", "notepad*");
    const WindowHandle draft = Window("Notepad", "Draft - Notepad", kEditor);
    const WindowHandle plus = Window("Notepad++", "Draft - Notepad++", kEditor);
    const WindowHandle other = Window("Notepad", "Letter - Notepad", kEditor);
    const WindowHandle wordpad = Window("WordPadClass", "Draft - WordPad", kEditor);
    Kernel().Run({Verb::HideGroup, 0}, Origin::Menu);
    EXPECT_FALSE(Visible(draft) || Visible(plus));
    EXPECT_TRUE(Visible(other) && Visible(wordpad));
}

TEST_F(WindowRules, AProgramRuleTakesAWindowAsItAppearsAndNeverReadsItsCaption) {
    Group(0, "Chrome", "", "chrome.exe", "", GROUP_HIDE_ON_APPEAR);
    auto& k = Kernel();
    ASSERT_TRUE(fake.windowEvents.Running());
    EXPECT_FALSE(fake.minimizeEvents.Running());
    const WindowHandle editor = Window("Edit", "Chrome notes", kEditor);
    fake.windowEvents.Raise(WindowEventKind::Shown, editor);
    desk.captionReads = 0;
    // A retitle cannot make a window another program's.
    for (int i = 0; i < 50; ++i) fake.windowEvents.Raise(WindowEventKind::CaptionChanged, editor);
    const WindowHandle page = Window("Chrome_WidgetWin_1", "New Tab", kChrome);
    fake.windowEvents.Raise(WindowEventKind::Shown, page);
    EXPECT_FALSE(Visible(page));
    EXPECT_TRUE(Visible(editor));
    EXPECT_EQ(desk.captionReads, 0u);
    ASSERT_EQ(List().size(), 1u);
    EXPECT_EQ(List()[0].m_nGroupId, k.Groups().At(0)->Id());
}

// The minimize hook is set only while a group hides its windows when they
// are minimized, and then only it: the other hooks follow "as they appear".
TEST_F(WindowRules, TheMinimizeHookFollowsTheGroupsWithTheFlag) {
    Group(0, "All", "", "", "", GROUP_HIDE_ON_MINIMIZE);
    auto& k = Kernel();
    EXPECT_TRUE(fake.minimizeEvents.Running());
    EXPECT_FALSE(fake.windowEvents.Running());
    fake.prompts.windowsGroups = [](GroupsForm& form) {
        form.groups[0]->m_bHideMinimized = false;
        return true;
    };
    k.ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_FALSE(fake.minimizeEvents.Running());
    EXPECT_EQ(fake.minimizeEvents.starts, 1);
    EXPECT_EQ(fake.minimizeEvents.stops, 1);
}

// "Every window I minimize": a group with no criterion and flag 2.
TEST_F(WindowRules, AMinimizedWindowIsHiddenWithItsGroupAndEveryShowRestoresIt) {
    Group(0, "Minimized", "", "", "", GROUP_HIDE_ON_MINIMIZE);
    auto& k = Kernel();
    const std::int32_t id = k.Groups().At(0)->Id();
    const auto listItem = [&](WindowHandle w) { k.Run({Verb::ShowListed, -1, {}, w}, Origin::Menu); };
    const struct {
        const char* how;
        std::function<void(WindowHandle)> show;
    } shows[] = {
        {"Show Window", [&](WindowHandle) { k.Run({Verb::ShowWindow}, Origin::Menu); }},
        {"the group's show", [&](WindowHandle) { k.Run({Verb::ShowGroup, 0}, Origin::Menu); }},
        {"the list and a window's own icon", listItem},
        {"Show All", [&](WindowHandle) { k.Run({Verb::ShowAll}, Origin::Menu); }},
    };
    for (const auto& show : shows) {
        for (const bool maximized : {false, true}) {
            SCOPED_TRACE(std::string(show.how) + (maximized ? ", maximized before" : ""));
            const WindowHandle w = Window("App", "Report", kEditor);
            const WindowHandle tool = Window("Tool", "Palette", kEditor, w);
            desk.Get(tool).visible = false;  // the system hides owned windows with their owner
            Minimize(w, maximized);
            ASSERT_FALSE(Visible(w));
            ASSERT_EQ(List().size(), 1u);
            EXPECT_EQ(List()[0].m_Show, maximized ? ShowAs::Maximized : ShowAs::Restored);
            EXPECT_EQ(List()[0].m_nGroupId, id);
            show.show(w);
            EXPECT_TRUE(Visible(w));
            EXPECT_FALSE(desk.Get(w).minimized);
            EXPECT_EQ(desk.Get(w).maximized, maximized);
            EXPECT_EQ(LastAction(w), maximized ? "maximize" : "restore");
            desk.Destroy(w);
        }
    }
}

TEST_F(WindowRules, OnlyMinimizedWindowsOfTheGroupAreTakenAndOtherHidesShowAsBefore) {
    Group(0, "Editor", "", "editor.exe", "", GROUP_HIDE_ON_MINIMIZE);
    auto& k = Kernel();
    const WindowHandle chrome = Window("Chrome_WidgetWin_1", "Mail", kChrome);
    Minimize(chrome);
    EXPECT_TRUE(Visible(chrome));
    // An event whose window was restored again before the step comes back
    // as it is.
    const WindowHandle quick = Window("Edit", "Quick", kEditor);
    fake.minimizeEvents.holdLoop = true;
    Minimize(quick);
    desk.Get(quick).minimized = false;
    fake.minimizeEvents.holdLoop = false;
    desk.RunTimers();
    ASSERT_EQ(List().size(), 1u);
    EXPECT_EQ(List()[0].m_Show, ShowAs::Shown);
    // Hide All of a minimized window shows it as it was: minimized.
    k.Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_EQ(LastAction(quick), "show");
}

// A window hidden as it was minimized still comes back restored after a
// kill: the journal says how.
TEST_F(WindowRules, AWindowTakenBackAfterAKillIsStillRestored) {
    Group(0, "Minimized", "", "", "", GROUP_HIDE_ON_MINIMIZE);
    const WindowHandle frame = desk.Add("TarnvellFrame", "Tarnvell", false);
    desk.Get(frame).pid = FakeDesktop::kOwnProcess;
    kernel = StartKernel(fake, frame);
    const WindowHandle w = Window("App", "Report", kEditor);
    Minimize(w, true);
    ASSERT_FALSE(Visible(w));
    ASSERT_TRUE(fake.hiddenJournal.value);
    EXPECT_EQ((*fake.hiddenJournal.value)[4], journal::kVersion);
    kernel.reset();
    kernel = StartKernel(fake, frame);
    ASSERT_EQ(List().size(), 1u);
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_EQ(LastAction(w), "maximize");
    EXPECT_TRUE(Visible(w));
}

// ------------------------------------------------------------ the burst

class Burst : public WindowRules {
protected:
    void SetUp() override {
        WindowRules::SetUp();
        Group(0, "Burst", "[burst]", "", "", GROUP_HIDE_ON_APPEAR);
        for (int i = 0; i < 40; ++i) Window("Other", "Other " + std::to_string(i), kEditor);
    }
    // count windows shown at once: every event arrives before the loop runs
    // the timer.
    std::vector<WindowHandle> ShowBurst(int count) {
        std::vector<WindowHandle> burst;
        fake.windowEvents.holdLoop = true;
        for (int i = 0; i < count; ++i) {
            burst.push_back(Window("App", "Window " + std::to_string(i) + " [burst]", kChrome));
            fake.windowEvents.Raise(WindowEventKind::Shown, burst.back());
        }
        fake.windowEvents.holdLoop = false;
        return burst;
    }
};

TEST_F(Burst, WindowsThatAppearTogetherAreHiddenWithOneWalk) {
    Kernel();
    const std::vector<WindowHandle> burst = ShowBurst(100);
    desk.zOrderSteps = 0;
    desk.RunTimers();
    for (WindowHandle w : burst) EXPECT_FALSE(Visible(w));
    EXPECT_EQ(List().size(), burst.size());
    // One walk down the z-order of its 140 windows and ours, not one a window.
    EXPECT_LT(desk.zOrderSteps, 2 * (burst.size() + 42));
    EXPECT_TRUE(desk.timers.empty());
}

// A program that keeps showing windows is not answered with a walk of the
// whole desktop for every one: its windows are gathered while they come.
TEST_F(Burst, WindowsThatKeepComingAreGatheredIntoFewWalks) {
    auto& k = Kernel();
    fake.windowEvents.holdLoop = true;
    desk.zOrderSteps = 0;
    std::vector<WindowHandle> burst;
    for (int i = 0; i < 100; ++i) {
        burst.push_back(Window("App", "Window " + std::to_string(i) + " [burst]", kChrome));
        fake.windowEvents.Raise(WindowEventKind::Shown, burst.back());
        desk.now += CAppKernel::kRuleStepMs;
        k.ProcessMessage(wm::kTimer, CAppKernel::kRuleTimer, 0);
    }
    fake.windowEvents.holdLoop = false;
    desk.RunTimers();
    for (WindowHandle w : burst) EXPECT_FALSE(Visible(w));
    // A second of windows, one every step: a walk every kGatherMaxMs, not
    // a hundred walks.
    const std::size_t walk = burst.size() + 42;
    EXPECT_LT(desk.zOrderSteps, 8 * walk);
}

// Every step asks a bounded number of questions, however many windows the
// desktop holds: the walk of a batch is spread over several steps.
TEST_F(Burst, NoStepWalksTheWholeOfALargeDesktop) {
    for (int i = 0; i < 600; ++i) Window("Other", "More " + std::to_string(i), kEditor);
    auto& k = Kernel();
    const std::vector<WindowHandle> burst = ShowBurst(50);
    std::size_t longest = 0;
    int steps = 0;
    while (!desk.timers.empty() && steps < 1000) {
        const std::size_t before = desk.calls;
        desk.now += CAppKernel::kRuleStepMs;
        k.ProcessMessage(wm::kTimer, CAppKernel::kRuleTimer, 0);
        longest = std::max(longest, desk.calls - before);
        ++steps;
    }
    for (WindowHandle w : burst) EXPECT_FALSE(Visible(w));
    // One walk of the 700 windows asks at least two questions of each.
    EXPECT_LT(longest, 700u);
    EXPECT_GT(steps, 700 / static_cast<int>(CHider::kWalkStep));
}

// The rules' waits go on at the steps of the timer: no step sleeps, however
// long the windows take, and the end of each wait is judged as a command's.
TEST_F(Burst, NoStepSleepsAndTheWaitsEndAsACommandsDo) {
    Kernel();
    fake.windowEvents.holdLoop = true;
    const WindowHandle slow = Window("App", "Slow [burst]", kChrome);
    desk.Get(slow).hideDelay = 10;
    const WindowHandle hung = Window("App", "Hung [burst]", kEditor);
    desk.Get(hung).hung = true;
    const WindowHandle stubborn = Window("App", "Stubborn [burst]", 5000);
    desk.Get(stubborn).refusesHide = true;
    for (WindowHandle w : {slow, hung, stubborn}) fake.windowEvents.Raise(WindowEventKind::Shown, w);
    fake.windowEvents.holdLoop = false;
    desk.RunTimers();
    EXPECT_EQ(desk.sleptMs, 0u);
    EXPECT_TRUE(desk.timers.empty());
    EXPECT_FALSE(Visible(slow));
    // The hung window's hide waits in its queue: it stays listed. The one
    // that kept itself on screen is dropped and named.
    EXPECT_NE(List().Find(hung), -1);
    EXPECT_NE(List().Find(slow), -1);
    EXPECT_EQ(List().Find(stubborn), -1);
    const auto& balloons = fake.notifyShell.icons.begin()->second.balloons;
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_NE(balloons[0].second.find("Stubborn [burst]"), std::string::npos);
}

// Commands run between the steps: a window the user shows while its wait
// goes on is the user's, and a later hide takes over what it tries.
TEST_F(Burst, AWindowShownWhileItsWaitGoesOnIsNeitherNamedNorForgotten) {
    auto& k = Kernel();
    fake.windowEvents.holdLoop = true;
    const WindowHandle stubborn = Window("App", "Stubborn [burst]", 5000);
    desk.Get(stubborn).refusesHide = true;
    fake.windowEvents.Raise(WindowEventKind::Shown, stubborn);
    const WindowHandle late = Window("App", "Late [burst]", kChrome);
    desk.Get(late).hideDelay = 60;
    fake.windowEvents.Raise(WindowEventKind::Shown, late);
    // Two steps: the batch is asked to hide, and its wait begins.
    for (int step = 0; step < 2; ++step) {
        desk.now += CAppKernel::kRuleStepMs;
        k.ProcessMessage(wm::kTimer, CAppKernel::kRuleTimer, 0);
    }
    ASSERT_FALSE(desk.timers.empty());
    k.Run({Verb::ShowListed, -1, {}, stubborn}, Origin::Menu);
    EXPECT_TRUE(Visible(stubborn));
    // Hide All tries the window still waited for: it is its own now.
    k.Run({Verb::HideAll}, Origin::Menu);
    const std::size_t balloonsAfterHideAll = fake.notifyShell.icons.begin()->second.balloons.size();
    fake.windowEvents.holdLoop = false;
    desk.RunTimers();
    EXPECT_TRUE(desk.timers.empty());
    // No step named the stubborn window a second time after Hide All did.
    EXPECT_EQ(fake.notifyShell.icons.begin()->second.balloons.size(), balloonsAfterHideAll);
    EXPECT_NE(List().Find(late), -1);
    EXPECT_EQ(List()[static_cast<std::size_t>(List().Find(late))].m_nGroupId, -1);
}

}  // namespace
