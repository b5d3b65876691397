#include "engine/app_kernel.h"

// Commands that open dialogs or the browser. They do nothing yet.
void CAppKernel::OnPreferences() {}
void CAppKernel::OnWindowsGroups() {}
void CAppKernel::OnCheckUpdate() {}
void CAppKernel::OnAppAbout() {}
void CAppKernel::OnHelp() {}
