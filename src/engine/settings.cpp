#include "engine/app_kernel.h"

// Loading keeps the built-in defaults for now; the profile is read once the
// settings store is built.
void CAppKernel::ExchangeSettings(bool load) {
    if (!load) return;
    m_bShowList = 1;
    m_bShowOnClose = 1;
    m_bInvertMouse = 1;
    m_bAutorun = 1;
    m_bHideIcon = 0;
    m_bShowHiddenInTip = 0;
    m_bPassOnClose = 0;
    m_bPassOnOption = 0;
    m_bPassOnShow = 0;
    m_Password.clear();
    m_bClick = 0;
    m_uAction = 1;
}
