// Wall time of Hide All and Show All over the windows of another process,
// under the real window manager: the engine against the plain reference.
// Prints figures; asserts nothing. Run through scripts/bench.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "engine/app_kernel.h"
#include "literal_engine.h"
#include "platform/win32/convert.h"
#include "platform/win32/win32_platform.h"
#include "tray/resource_loader.h"

using namespace e2e;
using Clock = std::chrono::steady_clock;

namespace {

int CountVisible(const std::vector<HWND>& windows) {
    int n = 0;
    for (HWND w : windows) n += ::IsWindowVisible(w) ? 1 : 0;
    return n;
}

// The benchmark never shows anything that would need a password.
class NoPrompts final : public platform::IPrompts {
public:
    bool AskPassword(std::string& entered) override {
        entered.clear();
        return false;
    }
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Figures {
    double hide = 0, show = 0;
};

template <typename Hide, typename Show>
Figures Measure(const std::vector<HWND>& windows, Hide hide, Show show) {
    Figures f;
    auto start = Clock::now();
    hide();
    WaitFor([&] { return CountVisible(windows) == 0; }, 60s, 1ms);
    f.hide = Ms(Clock::now() - start);
    start = Clock::now();
    show();
    WaitFor([&] { return CountVisible(windows) == static_cast<int>(windows.size()); }, 60s, 1ms);
    f.show = Ms(Clock::now() - start);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 200;
    Host host({"many:" + std::to_string(n) + ":Bench"});
    std::vector<HWND> windows;
    for (int i = 0; i < n; ++i) windows.push_back(host.Window("Bench" + std::to_string(i)));
    WaitFor([&] { return CountVisible(windows) == n; }, 30s);
    if (CountVisible(windows) != n) {
        std::printf("the helper's windows did not appear\n");
        return 1;
    }

    // The engine as the program builds it, with a hidden window of ours as
    // its frame, but no tray icon and no settings.
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HWND frame = ::CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance,
                                   nullptr);
    Win32WindowManager wm;
    Win32HotKeySystem hotKeys;
    Win32Profile profile;
    Win32RunKey runKey;
    Win32Module module(instance);
    Win32NotifyShell notifyShell(instance);
    NoPrompts prompts;
    Win32Shell shell;
    Win32Menus menus;
    theResource.SetModule(&module);
    CAppKernel kernel(PlatformSet{wm, hotKeys, profile, runKey, module, notifyShell, prompts, shell, menus});
    kernel.m_pMainWnd = FromHwnd(frame);
    LiteralEngine literal(wm, FromHwnd(frame));

    // The engine runs before and after the reference, and its better run
    // counts, so that a warm-up of the window manager favours neither.
    std::size_t engineRecords = 0;
    auto engineRun = [&] {
        return Measure(
            windows,
            [&] {
                kernel.HideAllWindows();
                engineRecords = kernel.m_HiddenList.size();
            },
            [&] { kernel.ShowAllWindows(); });
    };
    Figures engine = engineRun();
    const Figures plain = Measure(windows, [&] { literal.HideAllWindows(); }, [&] { literal.ShowAllWindows(); });
    const Figures again = engineRun();
    engine.hide = std::min(engine.hide, again.hide);
    engine.show = std::min(engine.show, again.show);

    std::printf("windows of another process: %d\n", n);
    std::printf("engine:    hide all %8.1f ms   show all %8.1f ms\n", engine.hide, engine.show);
    std::printf("reference: hide all %8.1f ms   show all %8.1f ms\n", plain.hide, plain.show);
    std::printf("reference / engine: hide %.1fx, show %.1fx\n", plain.hide / engine.hide, plain.show / engine.show);
    std::printf("records per hide all: %zu\n", engineRecords);
    ::DestroyWindow(frame);
    return 0;
}
