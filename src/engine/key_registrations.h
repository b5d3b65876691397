#pragma once
#include <vector>

#include "engine/settings.h"
#include "groups/group_list.h"
#include "hotkeys/key_status.h"
#include "platform/platform.h"
#include "tray/resource_loader.h"

// Tarnvell's own hot-key registrations as one set: the six program keys and
// every group's two. The system hands a registered combination to its owner
// as WM_HOTKEY, never to the focused control, so while a capture field has
// the focus the whole set is given up and the field can receive any
// combination Tarnvell itself holds. What the menu, the groups list, the
// start-up balloon and OK's check say about the keys is read from here.
class CKeyRegistrations {
public:
    // The identifier of OK's test registration: between the program's 0..4
    // and the groups' 25 on, so it never replaces a real one.
    static constexpr int kProbeId = 24;

    CKeyRegistrations(platform::IHotKeySystem& system, CSettings& settings, CGroupList& groups,
                      const CResource& strings);
    CKeyRegistrations(const CKeyRegistrations&) = delete;
    CKeyRegistrations& operator=(const CKeyRegistrations&) = delete;

    // A capture field gained (true) or lost (false) the focus. Repeated
    // reports change nothing, so focus moving from one field to the next
    // (false, then true) costs one release and one registration.
    void OnCaptureFocus(bool focused);
    // A dialog ended: whatever field had the focus has none now, and every
    // key that is set and not held is registered again (a Cancel gets the
    // keys from before the dialog back; a key another program let go
    // meanwhile is taken).
    void OnDialogEnded();
    // Registers again each key that is set and not held. Nothing while a
    // capture field has the focus: the keys are given up on purpose then.
    void RetryFailed();
    bool GivenUp() const { return m_bGivenUp; }

    // The program's keys under the names of their commands (index = hot-key
    // identifier), and each group's hide and show keys.
    std::vector<LabelledKey> ProgramLabels() const;
    std::vector<LabelledKey> GroupLabels() const;
    // The labels of any group's two keys (a dialog's working copy too).
    std::vector<LabelledKey> LabelsOf(const CWindowsGroup& group) const;
    // Combinations of the groups' keys that are set and not held.
    std::vector<KeyCombination> GroupKeysNotHeld() const;

    // OK's check of a dialog's keys against the rest of Tarnvell's and the
    // system: a test registration on frame for each new combination, given
    // back at once.
    std::optional<std::string> Check(const std::vector<LabelledKey>& edited, const std::vector<LabelledKey>& others,
                                     WindowHandle frame) const;

private:
    // The combinations Tarnvell holds now: free to the check, since applying
    // gives back every old registration before the first new one.
    std::vector<KeyCombination> Held() const;

    platform::IHotKeySystem& m_System;
    CSettings& m_Settings;
    CGroupList& m_Groups;
    const CResource& m_Strings;
    bool m_bGivenUp = false;
};
