#include "engine/app_kernel.h"

// The hide and show commands. They do nothing yet; the hiding engine comes next.
void CAppKernel::HideTopWindow() {}
void CAppKernel::ShowHidden(int) {}
void CAppKernel::HideAllWindows() {}
void CAppKernel::ShowAllWindows() {}
void CAppKernel::ToggleAllWindows() {}
void CAppKernel::ToggleDesignatedWindow() {}
void CAppKernel::OnExit() {}
void CAppKernel::OnTrayNotify(std::uintptr_t, std::intptr_t) {}
