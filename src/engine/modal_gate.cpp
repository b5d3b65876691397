#include "engine/modal_gate.h"

namespace {

constexpr GateVerdict Run(bool frameMayGo = false) { return {GateVerdict::Kind::Run, Waiting::Prompt, frameMayGo}; }
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
GateVerdict CModalGate::Decide(GateInput input, Origin origin) const {
    // Another program cannot answer our questions for the user, and must not
    // end the program under an open dialog.
    if (origin == Origin::CommandLine && IsWaiting()) return Refuse();
    // A click that reaches us while a menu is tracked is the click that
    // closes it; a key on an icon then is the menu's. The same holds for the
    // icons of hidden windows. The gesture is no click on ours: the hook
    // kept it from the window it hides, which is never one of ours.
    if ((origin == Origin::TrayClick || origin == Origin::Keyboard || origin == Origin::WindowIcon) &&
        IsOpen(Waiting::Menu))
        return Refuse();

    const bool prompt = IsOpen(Waiting::Prompt);
    switch (input) {
        // Our own windows are never taken, so hiding is safe in any loop, and
        // a show that needs no password asks nothing.
        case GateInput::HideCommand:
        case GateInput::ShowCommand:
        case GateInput::Unguarded: return Run();

        case GateInput::PasswordPrompt: return prompt ? Front(Waiting::Prompt) : Run();

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
            return IsOpen(Waiting::Menu) ? Refuse() : Run(true);

        // The session's end asks nothing, so it may run inside any loop; the
        // frame, though, stays while a loop still needs the engine (the
        // system ends the process anyway).
        case GateInput::EndSession: return Run(!IsWaiting());
    }
    return Refuse();
}
