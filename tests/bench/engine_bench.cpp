// Window-manager calls per window made by the hide and show commands and a
// group hide (by caption, and by program), on the
// simulated desktop, for the engine and for the plain reference. On Wine every
// such call is a round trip to the server, so the count is what sets the
// speed. Run: build/native/tests/bench/tarnvell_engine_bench
#include <benchmark/benchmark.h>

#include <random>

#include "desktop_generator.h"
#include "engine/app_kernel.h"
#include "literal_engine.h"

namespace {

// N windows in families: a third are owned by an earlier window, a few are
// invisible or of shell classes.
WindowHandle Build(FakeDesktop& desktop, int n) {
    std::mt19937 rng(12345);
    return GenerateDesktop(desktop, rng, DesktopShape{n, 0.33, 0.1, 0.05});
}

enum class Command { HideAll, ShowAll, HideWindow, HideGroup, HideProgramGroup };

template <bool Literal>
void Run(benchmark::State& state, Command command) {
    const int n = static_cast<int>(state.range(0));
    double calls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FakePlatform fake;
        const WindowHandle frame = Build(fake.desktop, n);
        CAppKernel kernel(fake.Set());
        kernel.Init(frame);
        LiteralEngine literal(fake.desktop, frame);
        // A group whose text occurs in about a fifth of the captions ("w<n>");
        // and one that names the program of a fifth of the windows, which
        // come from 50 processes.
        std::vector<std::unique_ptr<CWindowsGroup>> groups;
        groups.push_back(std::make_unique<CWindowsGroup>());
        groups[0]->m_strSearch = "1";
        groups[0]->m_nCompare = GROUP_COMPARE_INCLUDE;
        groups.push_back(std::make_unique<CWindowsGroup>());
        groups[1]->m_strProgram = "app?.exe";
        kernel.Dialogs().ReplaceGroups(groups);
        std::uint32_t k = 0;
        for (WindowHandle w : fake.desktop.ZOrder())
            if (w != frame) fake.desktop.Get(w).pid = 5000 + k++ % 50;
        for (std::uint32_t p = 0; p < 50; ++p)
            fake.desktop.images[5000 + p] = "C:\\Program Files\\Apps\\app" + std::to_string(p) + ".exe";
        if (command == Command::ShowAll) {
            if (Literal)
                literal.HideAllWindows();
            else
                kernel.Run({Verb::HideAll}, Origin::Menu);
        }
        fake.desktop.calls = 0;
        state.ResumeTiming();

        switch (command) {
            case Command::HideAll:
                if (Literal) literal.HideAllWindows(); else kernel.Run({Verb::HideAll}, Origin::Menu);
                break;
            case Command::ShowAll:
                if (Literal) literal.ShowAllWindows(); else kernel.Run({Verb::ShowAll}, Origin::Menu);
                break;
            case Command::HideWindow:
                if (Literal) literal.HideTopWindow(); else kernel.Run({Verb::HideWindow}, Origin::Menu);
                break;
            case Command::HideGroup:
                if (Literal) literal.HideGroup("1", GROUP_COMPARE_INCLUDE, 0); else kernel.Run({Verb::HideGroup, 0}, Origin::Menu);
                break;
            case Command::HideProgramGroup: kernel.Run({Verb::HideGroup, 1}, Origin::Menu); break;
        }
        calls = static_cast<double>(fake.desktop.calls);
    }
    state.counters["calls"] = calls;
    state.counters["calls_per_window"] = calls / n;
}

void EngineHideAll(benchmark::State& s) { Run<false>(s, Command::HideAll); }
void LiteralHideAll(benchmark::State& s) { Run<true>(s, Command::HideAll); }
void EngineShowAll(benchmark::State& s) { Run<false>(s, Command::ShowAll); }
void LiteralShowAll(benchmark::State& s) { Run<true>(s, Command::ShowAll); }
void EngineHideWindow(benchmark::State& s) { Run<false>(s, Command::HideWindow); }
void LiteralHideWindow(benchmark::State& s) { Run<true>(s, Command::HideWindow); }
void EngineHideGroup(benchmark::State& s) { Run<false>(s, Command::HideGroup); }
void LiteralHideGroup(benchmark::State& s) { Run<true>(s, Command::HideGroup); }
void EngineHideProgramGroup(benchmark::State& s) { Run<false>(s, Command::HideProgramGroup); }

}  // namespace

BENCHMARK(EngineHideAll)->Arg(10)->Arg(100)->Arg(1000)->Iterations(3);
BENCHMARK(LiteralHideAll)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1);
BENCHMARK(EngineShowAll)->Arg(10)->Arg(100)->Arg(1000)->Iterations(3);
BENCHMARK(LiteralShowAll)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1);
BENCHMARK(EngineHideWindow)->Arg(10)->Arg(100)->Arg(1000)->Iterations(3);
BENCHMARK(LiteralHideWindow)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1);
BENCHMARK(EngineHideGroup)->Arg(10)->Arg(100)->Arg(1000)->Iterations(3);
BENCHMARK(LiteralHideGroup)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1);
BENCHMARK(EngineHideProgramGroup)->Arg(10)->Arg(100)->Arg(1000)->Iterations(3);

BENCHMARK_MAIN();
