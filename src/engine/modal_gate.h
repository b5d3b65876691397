#pragma once
#include <array>
#include <cstddef>

#include "engine/command.h"

// What Tarnvell can be waiting for the user in. Each of them runs a nested
// message loop, and the system goes on delivering hot-keys, tray clicks,
// commands and the end of the session through it.
enum class Waiting {
    Prompt,         // "Enter password"
    Preferences,
    WindowsGroups,  // with the Group dialogs it opens
    About,
    Menu,           // a tracked tray menu
};
inline constexpr std::size_t kWaitingKinds = 5;

// The rows of the policy: what a command does, as far as waiting matters.
// Each command's row is in the commands table; the origin of a command adds
// its own rules (Decide).
enum class GateInput {
    HideCommand,        // a hide
    ShowCommand,        // a show, before any password
    PasswordPrompt,     // a command that must ask for the password
    TrayMenu,           // the main menu or the list of hidden windows
    OpenPreferences,
    OpenWindowsGroups,
    OpenAbout,
    Close,              // Exit and WM_CLOSE
    EndSession,         // WM_ENDSESSION with TRUE: the exit that never asks
    Unguarded,          // help and the update page: nothing of ours waits on them
};

struct GateVerdict {
    enum class Kind {
        Run,     // go ahead
        Refuse,  // drop it silently
        Front,   // drop it and bring the window the user must answer first to the front
    };
    Kind kind = Kind::Run;
    Waiting front = Waiting::Prompt;  // with Front only
    // With Run: the frame may go once the command ends, since no loop of
    // ours still needs the engine.
    bool frameMayGo = false;

    friend bool operator==(const GateVerdict&, const GateVerdict&) = default;
};

// Knows what Tarnvell is waiting for, and decides in one place what may run
// meanwhile (Decide). The nested loops are entered with Wait objects. Only
// the command runner asks it.
class CModalGate {
public:
    CModalGate() = default;
    CModalGate(const CModalGate&) = delete;
    CModalGate& operator=(const CModalGate&) = delete;

    // Open for the life of the object.
    class Wait {
    public:
        Wait(CModalGate& gate, Waiting what) : m_Gate(gate), m_What(what) { ++m_Gate.Count(what); }
        ~Wait() { --m_Gate.Count(m_What); }
        Wait(const Wait&) = delete;
        Wait& operator=(const Wait&) = delete;

    private:
        CModalGate& m_Gate;
        Waiting m_What;
    };

    GateVerdict Decide(GateInput input, Origin origin) const;

    bool IsOpen(Waiting what) const { return m_Open[static_cast<std::size_t>(what)] > 0; }
    bool IsWaiting() const;

private:
    int& Count(Waiting what) { return m_Open[static_cast<std::size_t>(what)]; }
    std::array<int, kWaitingKinds> m_Open{};
};
