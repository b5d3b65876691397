#pragma once
#include <string>

#include "platform/platform.h"

// One global hot-key: a key combination and, once bound, the window and
// identifier under which it is registered with the system. An unbound object
// only carries a value and never calls the system.
class CHotKeys {
public:
    explicit CHotKeys(platform::IHotKeySystem* system = nullptr) : m_pSystem(system) {}
    virtual ~CHotKeys();
    CHotKeys(const CHotKeys&) = delete;
    CHotKeys& operator=(const CHotKeys&) = delete;

    bool SetTarget(WindowHandle target, int id);
    bool Register();
    void Unregister();

    bool IsSet() const { return m_nKey != 0; }
    // The display name of the combination, such as Ctrl + Alt + H.
    std::string GetName();
    WindowHandle Target() const { return m_hTarget; }
    int HotKeyID() const { return m_nHotKeyID; }

    unsigned m_nModifiers = 0;
    unsigned m_nKey = 0;
    std::string m_strName;

private:
    platform::IHotKeySystem* m_pSystem;
    WindowHandle m_hTarget;
    int m_nHotKeyID = -1;
};
