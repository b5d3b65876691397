#pragma once
#include "platform/window_handle.h"

namespace platform {

// The program's own dialogs and its help viewer, as the engine asks for them.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // The About dialog for the version (times 100); returns when it closes.
    virtual void RunAbout(unsigned version) = 0;
    // A topic of the help file, or its default topic when topic is null, on
    // behalf of the caller window.
    virtual void ShowHelp(WindowHandle caller, const char* topic) = 0;
};

}  // namespace platform
