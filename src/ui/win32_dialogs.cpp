#include "ui/win32_dialogs.h"

#include "platform/win32/convert.h"
#include "ui/about_dlg.h"
#include "ui/html_help.h"

void Win32Dialogs::RunAbout(unsigned version) { RunAboutDialog(m_hInstance, version); }

void Win32Dialogs::ShowHelp(WindowHandle caller, const char* topic) { ShowHelpTopic(ToHwnd(caller), topic); }
