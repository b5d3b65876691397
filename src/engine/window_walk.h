#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/window_manager.h"

// The window classes of the shell and of system pop-ups that are never hidden:
// among them the taskbar of every monitor and the desktop's wallpaper and
// icon hosts. Compared whole and case-exact.
bool IsSystemWindowClass(std::string_view className);

// Class names are at most 256 characters; they are read whole, for the
// groups that name their windows by class.
inline constexpr int kClassNameBuffer = 257;

// One command's view of the top-level windows. Every fact about a window
// (visible and of an allowed class, its root) is asked of the window manager
// once per command, and every fact about a process (its executable) once per
// process, so that a command over N windows makes a number of calls that
// grows with N and not with its square. Facts are taken to hold for the
// length of one command.
class WindowWalk {
public:
    // Eligible windows grouped by root: roots in the order in which their
    // first member appears, members top to bottom.
    struct Families {
        std::vector<WindowHandle> roots;
        std::unordered_map<WindowHandle, std::vector<WindowHandle>> members;
    };

    explicit WindowWalk(platform::IWindowManager& windows)
        : m_windows(windows), m_ownProcess(windows.OwnProcessId()) {}

    // The eligible windows from first down the z-order, top to bottom. A
    // window that vanishes during the walk ends it.
    std::vector<WindowHandle> CollectEligible(WindowHandle first);
    // The same walk, made a few windows at a time.
    struct Descent {
        WindowHandle next;
        std::unordered_set<WindowHandle> seen;
        std::vector<WindowHandle> eligible;
    };
    // Goes on down by at most count windows; true once the walk has ended.
    bool Descend(Descent& descent, std::size_t count);
    // The same list, found from last up the z-order, with each eligible
    // window handed to met as soon as the walk finds it.
    std::vector<WindowHandle> CollectEligibleUpwards(WindowHandle last,
                                                     const std::function<void(WindowHandle)>& met);

    Families GroupByRoot(const std::vector<WindowHandle>& eligible);

    // A window the hide commands may take: visible, of no system class, of
    // another process than ours (never our own menus or prompts) and not kept
    // out of sight by the desktop window manager. A class name that cannot be
    // read is no system class: such a window is usually just vanishing, and
    // hiding a vanished window does nothing.
    bool IsEligible(WindowHandle w);
    // The end of w's parent and owner chain (w itself when it has neither).
    WindowHandle Root(WindowHandle w);
    // The process of an eligible window, as the eligibility check saw it.
    std::uint32_t ProcessId(WindowHandle w);
    // w's class name, as the eligibility check read it.
    const std::string& ClassName(WindowHandle w);
    // The executable of w's process, asked once per process.
    const std::optional<std::string>& Image(WindowHandle w);
    // The next walk asks every window's visibility afresh; class, process and
    // owner chains are kept.
    void ForgetVisibility();

private:
    platform::IWindowManager& m_windows;
    std::uint32_t m_ownProcess;
    std::unordered_map<WindowHandle, bool> m_eligible;
    std::unordered_map<WindowHandle, bool> m_kind;  // of an allowed class and process, not cloaked
    std::unordered_map<WindowHandle, std::uint32_t> m_process;
    std::unordered_map<WindowHandle, std::string> m_class;
    std::unordered_map<std::uint32_t, std::optional<std::string>> m_image;
    std::unordered_map<WindowHandle, WindowHandle> m_root;
};
