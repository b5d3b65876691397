#pragma once

// The password of one command, handed by the runner to the part that carries
// the command out. The part asks at the moment its act needs the password
// (a show asks only once something would be shown), and the user is asked
// at most once per command.
class PasswordCheck {
public:
    virtual ~PasswordCheck() = default;
    // True when the act may go ahead: no password is set for it, or the user
    // gave it, now or earlier in this command.
    virtual bool Confirm() = 0;
};

// For a part's own callers that need no password (tests, the end of the
// session, which never asks).
class NoPassword final : public PasswordCheck {
public:
    bool Confirm() override { return true; }
};
