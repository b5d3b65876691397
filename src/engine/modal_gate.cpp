#include "engine/modal_gate.h"

namespace {

constexpr GateVerdict Run() { return {GateVerdict::Kind::Run, Waiting::Prompt}; }
constexpr GateVerdict Refuse() { return {GateVerdict::Kind::Refuse, Waiting::Prompt}; }
constexpr GateVerdict Front(Waiting what) { return {GateVerdict::Kind::Front, what}; }

}  // namespace

bool CModalGate::IsWaiting() const {
    for (int open : m_Open)
        if (open > 0) return true;
    return false;
}

// The policy, row by row. The open prompt is answered first: whatever would
// ask the user something else brings it to the front instead. A dialog is
// never opened twice, and the two configuration dialogs never together, since
// each works on a copy of what the other changes. The engine must outlive
// every nested loop, so the program ends only when none runs.
GateVerdict CModalGate::Decide(GateInput input) const {
    const bool prompt = IsOpen(Waiting::Prompt);
    switch (input) {
        // Our own windows are never taken, so hiding is safe in any loop, and
        // a show that needs no password asks nothing.
        case GateInput::HideCommand:
        case GateInput::ShowCommand: return Run();

        case GateInput::PasswordPrompt: return prompt ? Front(Waiting::Prompt) : Run();

        // A click that reaches us while a menu is tracked is the click that
        // closes it.
        case GateInput::TrayClick: return IsOpen(Waiting::Menu) ? Refuse() : Run();
        case GateInput::TrayMenu:
            if (IsOpen(Waiting::Menu)) return Refuse();
            return prompt ? Front(Waiting::Prompt) : Run();

        case GateInput::OpenPreferences:
        case GateInput::OpenWindowsGroups:
            if (prompt) return Front(Waiting::Prompt);
            if (IsOpen(Waiting::Preferences)) return Front(Waiting::Preferences);
            if (IsOpen(Waiting::WindowsGroups)) return Front(Waiting::WindowsGroups);
            return Run();
        case GateInput::OpenAbout:
            if (prompt) return Front(Waiting::Prompt);
            return IsOpen(Waiting::About) ? Front(Waiting::About) : Run();

        // The user closes the dialog first, then exits.
        case GateInput::Close:
            if (prompt) return Front(Waiting::Prompt);
            for (Waiting dialog : {Waiting::Preferences, Waiting::WindowsGroups, Waiting::About})
                if (IsOpen(dialog)) return Front(dialog);
            return IsOpen(Waiting::Menu) ? Refuse() : Run();

        // The session's end asks nothing, so it may run inside any loop; the
        // frame, though, stays while a loop still needs the engine (the
        // system ends the process anyway).
        case GateInput::EndSession: return Run();
        case GateInput::EndFrame: return IsWaiting() ? Refuse() : Run();

        // Another program cannot answer our questions for the user.
        case GateInput::RemoteCommand: return IsWaiting() ? Refuse() : Run();
    }
    return Refuse();
}
