// The engine's single-pass hide and show commands against the plain
// reference, on many generated desktops: both must leave the same records in
// the same order and the same windows hidden.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "desktop_generator.h"
#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "literal_engine.h"

namespace {

template <typename List>
std::string Describe(const List& list) {
    std::ostringstream out;
    for (const auto& r : list)
        out << "(" << std::hex << r.m_hWindow.value << " p=" << r.m_hPrincipal.value << std::dec
            << " a=" << r.m_bActivate << " g=" << r.m_nGroupId << ") ";
    return out.str();
}

bool SameRecords(const CHiddenList& a, const std::vector<CWndDes>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].m_hWindow != b[i].m_hWindow || a[i].m_hPrincipal != b[i].m_hPrincipal ||
            a[i].m_bActivate != b[i].m_bActivate || a[i].m_nGroupId != b[i].m_nGroupId)
            return false;
    return true;
}

std::vector<bool> Visibility(FakeDesktop& d) {
    std::vector<bool> v;
    for (auto w : d.ZOrder()) v.push_back(d.Get(w).visible);
    return v;
}

std::vector<WindowHandle> Shows(const FakeDesktop& d) {
    std::vector<WindowHandle> shown;
    for (const auto& [what, w] : d.actions)
        if (what == "show") shown.push_back(w);
    return shown;
}

// One generated desktop in two copies, one driven by the engine and one by
// the reference.
struct Pair {
    FakePlatform fake;
    std::unique_ptr<CAppKernel> kernel;
    FakeDesktop reference;
    std::unique_ptr<LiteralEngine> literal;
    WindowHandle frame;

    Pair(unsigned seed, const DesktopShape& shape, double refuseShare = 0.0) {
        std::mt19937 rng(seed);
        frame = GenerateDesktop(fake.desktop, rng, shape);
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        for (auto w : fake.desktop.ZOrder()) {
            if (chance(rng) < refuseShare) fake.desktop.Get(w).refusesHide = true;
            // Some applications take a few checks to disappear.
            fake.desktop.Get(w).hideDelay = chance(rng) < 0.2 ? 2 : 0;
        }
        reference = fake.desktop;
        kernel = StartKernel(fake, frame);
        literal = std::make_unique<LiteralEngine>(reference, frame);
    }
};

// The same records in the same order, and the same windows hidden.
::testing::AssertionResult SameOutcome(Pair& p, unsigned seed, const CHiddenList& list) {
    if (!SameRecords(list, p.literal->list))
        return ::testing::AssertionFailure() << "seed " << seed << "\nengine:    " << Describe(list)
                                             << "\nreference: " << Describe(p.literal->list);
    if (Visibility(p.fake.desktop) != Visibility(p.reference))
        return ::testing::AssertionFailure() << "seed " << seed << ": other windows hidden";
    return ::testing::AssertionSuccess();
}
::testing::AssertionResult SameOutcome(Pair& p, unsigned seed) { return SameOutcome(p, seed, p.kernel->Commands().HiddenList()); }

const DesktopShape kShapes[] = {
    {8, 0.5, 0.2, 0.1}, {30, 0.4, 0.15, 0.1}, {60, 0.7, 0.3, 0.05}, {40, 0.0, 0.1, 0.2}, {25, 0.9, 0.5, 0.1},
};

TEST(HideEquivalence, HideAllMatchesTheReference) {
    for (unsigned seed = 1; seed <= 400; ++seed) {
        Pair p(seed, kShapes[seed % std::size(kShapes)]);
        p.kernel->Run({Verb::HideAll}, Origin::Menu);
        p.literal->HideAllWindows();
        ASSERT_TRUE(SameOutcome(p, seed));
    }
}

TEST(HideEquivalence, HideAllWithWindowsThatRefuseMatchesTheReference) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Pair p(seed, kShapes[seed % std::size(kShapes)], 0.2);
        p.kernel->Run({Verb::HideAll}, Origin::Menu);
        p.literal->HideAllWindows();
        ASSERT_TRUE(SameOutcome(p, seed));
    }
}

TEST(HideEquivalence, RepeatedHideWindowMatchesTheReference) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Pair p(seed, kShapes[seed % std::size(kShapes)]);
        for (int i = 0; i < 4; ++i) {
            p.kernel->Run({Verb::HideWindow}, Origin::Menu);
            p.literal->HideTopWindow();
            ASSERT_TRUE(SameRecords(p.kernel->Commands().HiddenList(), p.literal->list))
                << "seed " << seed << " step " << i << "\nengine:    " << Describe(p.kernel->Commands().HiddenList())
                << "\nreference: " << Describe(p.literal->list);
            ASSERT_EQ(p.fake.desktop.foreground, p.reference.foreground) << "seed " << seed;
        }
        ASSERT_EQ(Visibility(p.fake.desktop), Visibility(p.reference)) << "seed " << seed;
    }
}

TEST(HideEquivalence, FamilyOfAnyEligibleWindowMatchesTheReference) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Pair p(seed, kShapes[seed % std::size(kShapes)]);
        std::vector<WindowHandle> eligible;
        for (auto w = p.literal->GetFirstEligible(); w; w = p.literal->GetNextEligible(w)) eligible.push_back(w);
        if (eligible.empty()) continue;
        const WindowHandle target = eligible[seed % eligible.size()];
        // The engine's hider on the engine's desktop, with a list of its own.
        CHider hider(p.fake.desktop);
        hider.SetFrame(p.frame);
        CHiddenList list;
        EXPECT_EQ(hider.HideFamilyOf(target, 7, list), p.literal->HideWithOwned(target, 7));
        ASSERT_TRUE(SameOutcome(p, seed, list));
    }
}

TEST(HideEquivalence, GroupHideMatchesTheReference) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Pair p(seed, kShapes[seed % std::size(kShapes)], seed % 3 == 0 ? 0.15 : 0.0);
        // Captions are "w<n>": "1" picks a scattered set of windows, some in
        // the same family, with all three modes.
        const int compare = static_cast<int>(seed % 3);
        const std::string search = compare == 0 ? "1" : "w" + std::to_string(seed % 7);
        std::vector<std::unique_ptr<CWindowsGroup>> groups;
        groups.push_back(std::make_unique<CWindowsGroup>());
        groups[0]->m_strSearch = search;
        groups[0]->m_nCompare = compare;
        p.kernel->Dialogs().ReplaceGroups(groups);
        const int id = p.kernel->Groups().At(0)->Id();

        EXPECT_EQ(p.kernel->Commands().HideGroup(0), p.literal->HideGroup(search, compare, id)) << "seed " << seed;
        ASSERT_TRUE(SameOutcome(p, seed));
    }
}

TEST(HideEquivalence, ShowAllBringsBackTheSameWindowsInTheSameOrder) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Pair p(seed, kShapes[seed % std::size(kShapes)]);
        p.kernel->Run({Verb::HideAll}, Origin::Menu);
        p.literal->HideAllWindows();
        // Hide a few more, one family at a time, to mix in later records.
        p.kernel->Run({Verb::HideWindow}, Origin::Menu);
        p.literal->HideTopWindow();
        p.fake.desktop.actions.clear();
        p.reference.actions.clear();

        p.kernel->Run({Verb::ShowAll}, Origin::Menu);
        p.literal->ShowAllWindows();
        EXPECT_TRUE(p.kernel->Commands().HiddenList().empty());
        ASSERT_EQ(Shows(p.fake.desktop), Shows(p.reference)) << "seed " << seed;
        ASSERT_EQ(Visibility(p.fake.desktop), Visibility(p.reference)) << "seed " << seed;
        ASSERT_EQ(p.fake.desktop.foreground, p.reference.foreground) << "seed " << seed;
    }
}

}  // namespace
