#pragma once
#include <random>

#include "fake_platform.h"

// Random desktops for comparing the engine with the plain reference: owner
// forests of several depths, invisible roots, system classes, the program's
// own hidden frame somewhere in the z-order.
struct DesktopShape {
    int windows = 30;
    double ownedShare = 0.4;      // windows owned by an earlier one
    double invisibleShare = 0.15;
    double systemShare = 0.1;
};

// Builds the desktop and returns the frame's handle.
inline WindowHandle GenerateDesktop(FakeDesktop& desktop, std::mt19937& rng, const DesktopShape& shape) {
    static const char* const kSystem[] = {"Shell_TrayWnd", "tooltips_class32", "Progman", "SysShadow", "BaseBar"};
    static const char* const kPlain[] = {"Notepad", "#32770", "Chrome_WidgetWin_1", "tooltips_class32x",
                                         "Shell_traywnd", "MozillaWindowClass"};
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::vector<WindowHandle> created;
    std::vector<WindowHandle> order;
    const int frameAt = std::uniform_int_distribution<int>(0, shape.windows)(rng);
    WindowHandle frame;
    for (int i = 0; i <= shape.windows; ++i) {
        if (i == frameAt) {
            frame = desktop.Add("TarnvellFrame", "Tarnvell", false);
            continue;
        }
        WindowHandle owner;
        if (!created.empty() && chance(rng) < shape.ownedShare)
            owner = created[std::uniform_int_distribution<std::size_t>(0, created.size() - 1)(rng)];
        const bool system = chance(rng) < shape.systemShare;
        const char* cls = system ? kSystem[std::uniform_int_distribution<int>(0, 4)(rng)]
                                 : kPlain[std::uniform_int_distribution<int>(0, 5)(rng)];
        const bool visible = chance(rng) >= shape.invisibleShare;
        created.push_back(desktop.Add(cls, "w" + std::to_string(i), visible, owner));
    }
    // Mix the z-order: owned windows often, but not always, sit above owners.
    desktop.Shuffle(rng);
    return frame;
}
