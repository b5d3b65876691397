#include "engine/app_kernel.h"

// Group hiding and showing. Not built yet: nothing is hidden or shown.
bool CAppKernel::HideGroup(int) { return false; }
bool CAppKernel::ShowGroup(int) { return false; }
void CAppKernel::ToggleGroup(int index) {
    if (!HideGroup(index)) ShowGroup(index);
}
