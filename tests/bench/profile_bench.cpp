// Registry calls of the start-up load of a large profile, over the fake
// registry: the engine's whole load (hot-keys, preferences, groups) through
// the registry profile. Under Wine every call is a round trip to its server,
// so the count is what sets the time. Prints figures; asserts nothing.
//
//   tarnvell_profile_bench [slots [search text bytes]]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/app_kernel.h"
#include "fake_platform.h"
#include "fake_registry.h"
#include "platform/registry_profile.h"
#include "platform/win_constants.h"

int main(int argc, char** argv) {
    const int slots = argc > 1 ? std::atoi(argv[1]) : 30000;
    const int searchBytes = argc > 2 ? std::atoi(argv[2]) : 16;
    const std::string root = "Software\\KESTROW SOFTWARE\\Tarnvell";

    FakeRegistry registry;
    for (int i = 0; i < slots; ++i) {
        const auto s = std::to_string(i);
        registry.SetString(root + "\\Groups", "Name" + s, "Group " + s);
        registry.SetString(root + "\\Groups", "Search" + s, std::string(static_cast<std::size_t>(searchBytes), 'x'));
        registry.SetDword(root + "\\Groups", "Compare" + s, 0);
    }
    registry.SetDword(root + "\\Settings", "First Start", 0);
    // The last group that loads has a hot-key; the others have none.
    const int last = std::min(slots, GROUP_MAX_COUNT) - 1;
    registry.SetDword(root + "\\HotKeys", "Mod" + std::to_string(CWindowsGroup::HideHotKeyId(last)),
                      mod::kControl | mod::kAlt);
    registry.SetDword(root + "\\HotKeys", "VK" + std::to_string(CWindowsGroup::HideHotKeyId(last)), vk::kF12);
    std::size_t stored = 0;
    for (const auto& [path, key] : registry.keys) stored += key.values.size();

    platform::RegistryProfile profile(registry);
    profile.SetRoot(root);
    FakePlatform fake;
    const auto start = std::chrono::steady_clock::now();
    CAppKernel kernel(fake.Set(profile));
    kernel.Init(WindowHandle{0x42});
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    const auto& c = registry.calls;
    std::printf("start-up load of %d stored group slots (%zu groups load, the cap is %d), %d-byte search texts\n",
                slots, kernel.Groups().size(), GROUP_MAX_COUNT, searchBytes);
    std::printf("  stored values          %zu in %zu sections\n", stored, registry.keys.size());
    std::printf("  registry calls         %d (open %d, key sizes %d, enumerate %d, query %d, write %d)\n", c.Total(),
                c.create, c.info, c.enumerate, c.query, c.set);
    std::printf("  calls per stored value %.4f (the limit: 1 each)\n", static_cast<double>(c.Total()) / stored);
    std::printf("  load over the fake     %.1f ms (the fake answers at once; Wine's server does not)\n", ms);
    return 0;
}
