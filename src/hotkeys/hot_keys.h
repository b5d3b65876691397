#pragma once
#include <string>

#include "platform/platform.h"

// A key combination as the system takes it: modifier bits and a virtual key,
// 0 meaning none.
struct KeyCombination {
    unsigned modifiers = 0;
    unsigned key = 0;
    friend bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

// One global hot-key: a key combination and, once bound, the window and
// identifier under which it is registered with the system and stored in the
// profile. An unbound object (no system, no profile, no target) only carries
// a value and never calls the system.
class CHotKeys {
public:
    explicit CHotKeys(platform::IHotKeySystem* system = nullptr, platform::IProfile* profile = nullptr)
        : m_pSystem(system), m_pProfile(profile) {}
    virtual ~CHotKeys();
    CHotKeys(const CHotKeys&) = delete;
    CHotKeys& operator=(const CHotKeys&) = delete;

    // Takes over source's combination and registers it anew; the result of
    // the registration is not kept.
    virtual CHotKeys& Assign(const CHotKeys& source);

    bool SetTarget(WindowHandle target, int id);
    bool Register();
    void Unregister();
    // Whether the last registration was accepted and is still held.
    bool IsRegistered() const { return m_bRegistered; }
    // Registers again only a combination that is set and not held: another
    // program may have let it go since. True when the key is held afterwards.
    bool RetryIfFailed();
    // Copies the combination only; registration is left alone.
    void Copy(const CHotKeys& source);
    // load: reads "Mod<id>" and "VK<id>" from "HotKeys" and registers again;
    // otherwise writes them.
    bool Exchange(bool load);

    // The display name, e.g. "Ctrl + Alt + H".
    static std::string FormatName(unsigned modifiers, unsigned key);
    std::string GetName() const;

    bool IsSet() const { return m_nKey != 0; }
    KeyCombination Value() const { return {m_nModifiers, m_nKey}; }
    void SetValue(KeyCombination value) {
        m_nModifiers = value.modifiers;
        m_nKey = value.key;
    }
    WindowHandle Target() const { return m_hTarget; }
    int HotKeyID() const { return m_nHotKeyID; }

protected:
    // The value a capture control edits; changing it leaves a registration
    // as it is until Register or Unregister.
    unsigned m_nModifiers = 0;
    unsigned m_nKey = 0;

private:
    static constexpr const char* kSection = "HotKeys";
    static constexpr const char* kModPrefix = "Mod";
    static constexpr const char* kKeyPrefix = "VK";

    WindowHandle m_hTarget;
    int m_nHotKeyID = -1;
    bool m_bRegistered = false;
    platform::IHotKeySystem* m_pSystem;
    platform::IProfile* m_pProfile;
};
