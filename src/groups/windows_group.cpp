#include "groups/windows_group.h"

CWindowsGroup::CWindowsGroup() : m_HotKeys{CHotKeys(nullptr), CHotKeys(nullptr)} {}

CWindowsGroup::CWindowsGroup(platform::IHotKeySystem& system, int index, WindowHandle target)
    : m_HotKeys{CHotKeys(&system), CHotKeys(&system)} {
    m_HotKeys[0].SetTarget(target, GROUP_HOTKEY_BASE + 2 * index);
    m_HotKeys[1].SetTarget(target, GROUP_HOTKEY_BASE + 2 * index + 1);
}

CWindowsGroup::~CWindowsGroup() {
    // Hide key before show key; each does something only when bound.
    m_HotKeys[0].Unregister();
    m_HotKeys[1].Unregister();
}
