#pragma once
#include "platform/dialogs.h"

// Where the About and Help commands find the program's dialogs; the program
// sets it once at start-up, tests may leave it unset (the commands then do
// nothing).
void SetDialogSeam(platform::IDialogs* dialogs);
