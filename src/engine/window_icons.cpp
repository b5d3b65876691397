#include "engine/window_icons.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {
// The tip holds at most 127 characters; the icon cuts the caption to whole
// characters that fit its field.
constexpr int kTipBuffer = text::BufferFor(127);
}  // namespace

CWindowIcons::CWindowIcons(platform::INotifyShell& shell, platform::IWindowManager& windows,
                           platform::IWindowEvents& events, const CResource& strings, const CSettings& settings,
                           const CHiddenList& list)
    : m_Shell(shell), m_Windows(windows), m_Events(events), m_Strings(strings), m_Settings(settings), m_List(list) {}

CWindowIcons::~CWindowIcons() {
    RemoveAll();
    if (m_Events.Running()) m_Events.Stop();
}

std::size_t CWindowIcons::Count() const {
    return static_cast<std::size_t>(
        std::count_if(m_Slots.begin(), m_Slots.end(), [](const Slot& slot) { return static_cast<bool>(slot.window); }));
}

WindowHandle CWindowIcons::WindowOf(std::uintptr_t id) const {
    if (id < kFirstId || id - kFirstId >= kMaxIcons) return WindowHandle{};
    return m_Slots[id - kFirstId].window;
}

CWindowIcons::Slot* CWindowIcons::SlotOf(WindowHandle w) {
    if (!w) return nullptr;
    for (Slot& slot : m_Slots)
        if (slot.window == w) return &slot;
    return nullptr;
}

std::optional<platform::ScreenPoint> CWindowIcons::Anchor(WindowHandle w) {
    Slot* slot = SlotOf(w);
    if (!slot) return std::nullopt;
    return slot->icon->MenuAnchor();
}

void CWindowIcons::Add(Slot& slot, WindowHandle w, unsigned id) {
    std::string tip = m_Windows.GetWindowText(w, kTipBuffer);
    if (tip.empty()) tip = m_Strings.Load(IDS_NO_TITLE);
    slot.window = w;
    slot.copy = m_Shell.CopyWindowIcon(w);
    slot.icon = std::make_unique<CTrayNotifyIcon>(m_Shell);
    // An icon the shell refused stays in its slot: the next taskbar adds it.
    slot.icon->CreateWithoutWindow(m_hFrame, id, tip, slot.copy, wm::kWindowIconNotify);
}

void CWindowIcons::Remove(Slot& slot) {
    // The shell lets go of the icon before its copy is destroyed.
    slot.icon.reset();
    if (slot.copy) m_Shell.DestroyIconCopy(slot.copy);
    slot = Slot{};
}

void CWindowIcons::RemoveAll() {
    for (Slot& slot : m_Slots)
        if (slot.window) Remove(slot);
}

void CWindowIcons::Reconcile() {
    if (!m_Settings.Prefs().m_bIconPerWindow) {
        RemoveAll();
        m_ShownByProgram.clear();
        m_nWithoutIcon = 0;
        Listen();
        return;
    }
    // The families that want an icon, in hiding order; a window its program
    // showed wants none, and once it is no longer listed it is forgotten.
    std::vector<WindowHandle> wanted;
    for (const CWndDes& record : m_List)
        if (record.IsPrincipal() && !m_ShownByProgram.contains(record.m_hWindow)) wanted.push_back(record.m_hWindow);
    std::erase_if(m_ShownByProgram, [&](WindowHandle w) { return m_List.Find(w) == -1; });
    const std::size_t kept = std::min(wanted.size(), kMaxIcons);
    m_nWithoutIcon = wanted.size() - kept;
    wanted.resize(kept);

    for (Slot& slot : m_Slots)
        if (slot.window && std::find(wanted.begin(), wanted.end(), slot.window) == wanted.end()) Remove(slot);
    std::size_t free = 0;
    for (WindowHandle w : wanted) {
        if (SlotOf(w)) continue;
        while (m_Slots[free].window) ++free;
        Add(m_Slots[free], w, kFirstId + static_cast<unsigned>(free));
    }
    Listen();
}

void CWindowIcons::OnTaskbarRestart() {
    for (Slot& slot : m_Slots)
        if (slot.window) slot.icon->OnTaskbarRestart();
}

void CWindowIcons::NoteHiddenByUs(WindowHandle w) {
    if (!m_ShownByProgram.empty()) m_ShownByProgram.erase(w);
}

void CWindowIcons::OnEvent(platform::WindowEventKind kind, WindowHandle w) {
    if (!SlotOf(w) || !m_Stale) return;
    switch (kind) {
        // The event may be delivered while its window is still on its way
        // out, when the system still calls it a window: the event is taken
        // at its word.
        case platform::WindowEventKind::Destroyed: m_Stale(w); return;
        // Our own show takes the record and the icon before its event is
        // delivered, so a shown window that still has an icon was shown by
        // its program, unless that has hidden it again meanwhile.
        case platform::WindowEventKind::Shown:
            if (!m_Windows.IsWindowVisible(w)) return;
            m_ShownByProgram.insert(w);
            m_Stale(WindowHandle{});
            return;
        default: return;
    }
}

void CWindowIcons::Listen() {
    const bool wanted = Count() > 0;
    if (wanted == m_Events.Running()) return;
    if (wanted)
        m_Events.Start(platform::window_events::kDestroyed | platform::window_events::kShown,
                       [this](platform::WindowEventKind kind, WindowHandle w) { OnEvent(kind, w); });
    else
        m_Events.Stop();
}
