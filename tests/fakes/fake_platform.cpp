#include "fake_platform.h"

#include <algorithm>
#include <cstring>

#include "platform/win_constants.h"
#include "string_table.h"

namespace {
std::string Key(std::string_view a) { return std::string(a); }
std::string Cut(const std::string& text, int maxCount) {
    if (maxCount <= 0) return {};
    return text.substr(0, static_cast<std::size_t>(maxCount - 1));
}
}  // namespace

// ---------------------------------------------------------------- desktop

WindowHandle FakeDesktop::Add(std::string className, std::string caption, bool visible, WindowHandle parent) {
    Window w;
    w.handle = WindowHandle{m_next += 0x10};
    w.className = std::move(className);
    w.caption = std::move(caption);
    w.visible = visible;
    w.parent = parent;
    m_windows.push_back(w);
    return w.handle;
}

FakeDesktop::Window* FakeDesktop::Find(WindowHandle w) {
    for (auto& window : m_windows)
        if (window.handle == w && window.alive) return &window;
    return nullptr;
}

FakeDesktop::Window& FakeDesktop::Get(WindowHandle w) { return *Find(w); }

void FakeDesktop::Destroy(WindowHandle w) {
    if (auto* window = Find(w)) window->alive = false;
}

void FakeDesktop::Raise(WindowHandle w) {
    const auto it = std::find_if(m_windows.begin(), m_windows.end(), [&](const Window& x) { return x.handle == w; });
    if (it != m_windows.end()) std::rotate(m_windows.begin(), it, it + 1);
}

std::vector<WindowHandle> FakeDesktop::ZOrder() const {
    std::vector<WindowHandle> order;
    for (const auto& w : m_windows)
        if (w.alive) order.push_back(w.handle);
    return order;
}

WindowHandle FakeDesktop::GetWindow(WindowHandle reference, platform::WindowRelation relation) {
    ++calls;
    ++zOrderSteps;
    const auto order = ZOrder();
    if (relation == platform::WindowRelation::First) {
        if (!reference && !firstFromNull) return {};
        return order.empty() ? WindowHandle{} : order.front();
    }
    if (relation == platform::WindowRelation::Last) {
        if (!reference && !firstFromNull) return {};
        return order.empty() ? WindowHandle{} : order.back();
    }
    const auto it = std::find(order.begin(), order.end(), reference);
    if (it == order.end()) return {};
    if (relation == platform::WindowRelation::Next) return it + 1 == order.end() ? WindowHandle{} : *(it + 1);
    return it == order.begin() ? WindowHandle{} : *(it - 1);
}

std::uint32_t FakeDesktop::ProcessId(WindowHandle w) {
    ++calls;
    const auto* window = Find(w);
    return window ? window->pid : 0;
}

std::optional<std::string> FakeDesktop::ProcessImage(std::uint32_t processId) {
    ++calls;
    ++imageQueries;
    const auto it = images.find(processId);
    if (it == images.end()) return std::nullopt;
    return it->second;
}

bool FakeDesktop::IsCloaked(WindowHandle w) {
    ++calls;
    const auto* window = Find(w);
    return window && window->cloaked;
}

bool FakeDesktop::IsWindow(WindowHandle w) {
    ++calls;
    return Find(w) != nullptr;
}

bool FakeDesktop::IsWindowVisible(WindowHandle w) {
    ++calls;
    auto* window = Find(w);
    if (!window) return false;
    if (window->pendingHide > 0 && --window->pendingHide == 0) {
        window->pendingHide = -1;
        if (!window->refusesHide) window->visible = false;
    }
    return window->visible;
}

std::string FakeDesktop::GetClassName(WindowHandle w, int maxCount) {
    ++calls;
    const auto* window = Find(w);
    return window ? Cut(window->className, maxCount) : std::string{};
}

std::string FakeDesktop::GetWindowText(WindowHandle w, int maxCount) {
    ++calls;
    ++captionReads;
    const auto* window = Find(w);
    return window ? Cut(window->caption, maxCount) : std::string{};
}

WindowHandle FakeDesktop::GetParent(WindowHandle w) {
    ++calls;
    const auto* window = Find(w);
    return window ? window->parent : WindowHandle{};
}

bool FakeDesktop::HideWindow(WindowHandle w) {
    ++calls;
    actions.emplace_back("hide", w);
    auto* window = Find(w);
    if (!window) return true;
    if (window->denied) return false;
    if (window->hung) {
        window->queued.push_back(false);
    } else if (window->hideDelay > 0) {
        window->pendingHide = window->hideDelay;
    } else if (!window->refusesHide) {
        window->visible = false;
    }
    return true;
}

bool FakeDesktop::Answers(WindowHandle w) {
    ++calls;
    const auto* window = Find(w);
    return window && !window->hung;
}

bool FakeDesktop::RunsAbove(WindowHandle w) {
    ++calls;
    const auto* window = Find(w);
    return window && window->elevated;
}

FakeDesktop::Window* FakeDesktop::Shows(WindowHandle w, const char* action) {
    ++calls;
    actions.emplace_back(action, w);
    auto* window = Find(w);
    if (!window) return nullptr;
    if (window->hung) {
        window->queued.push_back(true);
        return nullptr;
    }
    window->pendingHide = -1;
    window->visible = true;
    return window;
}

void FakeDesktop::ShowWindow(WindowHandle w) { Shows(w, "show"); }

void FakeDesktop::RestoreWindow(WindowHandle w, bool maximized) {
    auto* window = Shows(w, maximized ? "maximize" : "restore");
    if (!window) return;
    window->minimized = false;
    window->maximized = maximized || window->maximized;
}

platform::RestoreState FakeDesktop::RestoreStateOf(WindowHandle w) {
    ++calls;
    const auto* window = Find(w);
    if (!window || !window->minimized) return platform::RestoreState::NotMinimized;
    return window->maximized ? platform::RestoreState::ToMaximized : platform::RestoreState::ToNormal;
}

bool FakeDesktop::SetTimer(WindowHandle w, unsigned id, unsigned milliseconds) {
    KillTimer(w, id);
    timers.push_back({w, id, milliseconds});
    return true;
}

void FakeDesktop::KillTimer(WindowHandle w, unsigned id) {
    std::erase_if(timers, [&](const Timer& t) { return t.window == w && t.id == id; });
}

void FakeDesktop::RunTimers() {
    // Far more ticks than any wait of the engine takes.
    for (int round = 0; round < 100000 && !timers.empty() && onTimer; ++round) {
        const Timer timer = timers.front();
        now += std::max(timer.period, 1u);
        onTimer(timer.window, timer.id);
    }
}

void FakeDesktop::Wake(WindowHandle w) {
    auto* window = Find(w);
    if (!window) return;
    window->hung = false;
    for (bool show : window->queued) window->visible = show || window->refusesHide;
    window->queued.clear();
}

void FakeDesktop::RequestClose(WindowHandle w) {
    ++calls;
    actions.emplace_back("close", w);
}

bool FakeDesktop::SetForegroundWindow(WindowHandle w) {
    ++calls;
    actions.emplace_back("foreground", w);
    if (!Find(w)) return false;
    foreground = w;
    return true;
}

void FakeDesktop::SetActiveWindow(WindowHandle w) {
    ++calls;
    actions.emplace_back("active", w);
    if (Find(w)) active = w;
}

void FakeDesktop::Sleep(unsigned milliseconds) {
    sleptMs += milliseconds;
    now += milliseconds;
    if (whileSleeping) whileSleeping();
}

// ---------------------------------------------------------------- hot-keys

bool FakeHotKeys::Register(WindowHandle target, int id, unsigned modifiers, unsigned key) {
    log.push_back("register " + std::to_string(id));
    if (m_journal) m_journal->push_back("hotkey register " + std::to_string(id));
    // The system refuses a taken combination and a second registration of
    // the same window and identifier.
    for (const auto& e : registered)
        if ((e.modifiers == modifiers && e.key == key) || (e.target == target && e.id == id)) return false;
    if (key == 0 || key > 0xFF || (modifiers & ~0x400Fu) != 0) return false;
    registered.push_back({target, id, modifiers, key});
    return true;
}

bool FakeHotKeys::Unregister(WindowHandle target, int id) {
    log.push_back("unregister " + std::to_string(id));
    if (m_journal) m_journal->push_back("hotkey unregister " + std::to_string(id));
    const auto it = std::find_if(registered.begin(), registered.end(),
                                 [&](const Entry& e) { return e.target == target && e.id == id; });
    if (it == registered.end()) return false;
    registered.erase(it);
    return true;
}

// ---------------------------------------------------------------- profile

void FakeProfile::Set(const std::string& section, const std::string& entry, Value value) {
    sections[section][entry] = std::move(value);
}

std::optional<FakeProfile::Value> FakeProfile::Find(const std::string& section, const std::string& entry) const {
    const auto s = sections.find(section);
    if (s == sections.end()) return std::nullopt;
    const auto e = s->second.find(entry);
    if (e == s->second.end()) return std::nullopt;
    return e->second;
}

void FakeProfile::Note(const char* what, std::string_view section, std::string_view entry) {
    if (m_journal) m_journal->push_back(std::string("profile ") + what + " " + Key(section) + "/" + Key(entry));
}

unsigned FakeProfile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
    ++reads;
    Note("read", section, entry);
    sections[Key(section)];  // a read creates the section key
    const auto v = Find(Key(section), Key(entry));
    if (v && std::holds_alternative<unsigned>(*v)) return std::get<unsigned>(*v);
    return static_cast<unsigned>(defaultValue);
}

bool FakeProfile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    Note("write", section, entry);
    if (failWrites) return false;
    writes.push_back(Key(section) + "/" + Key(entry));
    Set(Key(section), Key(entry), static_cast<unsigned>(value));
    return true;
}

std::string FakeProfile::GetProfileString(std::string_view section, std::string_view entry,
                                          std::string_view defaultValue) {
    ++reads;
    Note("read", section, entry);
    sections[Key(section)];
    const auto v = Find(Key(section), Key(entry));
    if (v && std::holds_alternative<std::string>(*v)) {
        const auto& s = std::get<std::string>(*v);
        return s.substr(0, s.find('\0'));
    }
    return Key(defaultValue);
}

bool FakeProfile::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    Note("write", section, entry);
    if (failWrites) return false;
    writes.push_back(Key(section) + "/" + Key(entry));
    Set(Key(section), Key(entry), Key(value));
    return true;
}

bool FakeProfile::DeleteProfileValue(std::string_view section, std::string_view entry) {
    Note("delete", section, entry);
    if (failWrites) return false;
    writes.push_back(Key(section) + "/" + Key(entry) + " deleted");
    if (auto it = sections.find(Key(section)); it != sections.end()) it->second.erase(Key(entry));
    return true;
}

// ---------------------------------------------------------------- Run key

bool FakeRunKey::WriteValue(std::string_view name, std::string_view data) {
    if (m_journal) m_journal->push_back("run write " + Key(name));
    if (!exists) return false;
    ++writes;
    values[Key(name)] = Key(data);
    return true;
}

bool FakeRunKey::DeleteValue(std::string_view name) {
    if (m_journal) m_journal->push_back("run delete " + Key(name));
    if (!exists) return false;
    return values.erase(Key(name)) > 0;
}

// ---------------------------------------------------------------- module

FakeModule::FakeModule() {
    strings = EnglishStrings();
    icons = {{128, IconHandle{0x128}}, {143, IconHandle{0x143}}};
}

int FakeModule::LoadString(unsigned id, char* buffer, int size) {
    // As LoadStringA: copies at most size - 1 characters and terminates.
    auto it = strings.find(id);
    if (const auto table = translations.find(language); table != translations.end())
        if (const auto found = table->second.find(id); found != table->second.end()) it = found;
    if (it == strings.end() || size <= 0) {
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    const int n = std::min<int>(static_cast<int>(it->second.size()), size - 1);
    std::memcpy(buffer, it->second.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

IconHandle FakeModule::LoadIcon(unsigned id) {
    const auto it = icons.find(id);
    return it == icons.end() ? IconHandle{} : it->second;
}

// ---------------------------------------------------------------- notification area

bool FakeNotifyShell::NotifyIcon(unsigned message, const platform::NotifyIconData& data) {
    calls.push_back({message, data});
    if (m_journal) m_journal->push_back("notify " + std::to_string(message));
    const auto key = std::make_pair(data.hWnd.value, data.uID);

    bool ok = false;
    switch (message) {
        case nim::kAdd:
            ok = taskbarPresent && !icons.count(key);
            if (ok) {
                Icon icon;
                if (data.uFlags & nif::kTip) icon.tip = data.szTip.data();
                if ((data.uFlags & nif::kState) && (data.dwStateMask & nis::kHidden))
                    icon.hidden = (data.dwState & nis::kHidden) != 0;
                if (data.uFlags & nif::kIcon) icon.image = data.hIcon;
                if (data.uFlags & nif::kMessage) icon.callbackMessage = data.uCallbackMessage;
                icons[key] = icon;
            }
            break;
        case nim::kModify:
            ok = icons.count(key) > 0;
            if (ok) {
                auto& icon = icons[key];
                if (data.uFlags & nif::kTip) icon.tip = data.szTip.data();
                if ((data.uFlags & nif::kState) && (data.dwStateMask & nis::kHidden))
                    icon.hidden = (data.dwState & nis::kHidden) != 0;
                if (data.uFlags & nif::kInfo)
                    icon.balloons.emplace_back(data.szInfoTitle.data(), data.szInfo.data());
            }
            break;
        case nim::kDelete: ok = icons.erase(key) > 0; break;
        case nim::kSetVersion:
            ok = icons.count(key) > 0;
            if (ok) icons[key].version = data.uVersion;
            break;
        default: break;
    }
    if (!forcedResults.empty()) {
        ok = forcedResults.front();
        forcedResults.pop_front();
    }
    return ok;
}

std::optional<platform::ScreenRect> FakeNotifyShell::IconRect(WindowHandle owner, unsigned id) {
    if (m_journal) m_journal->push_back("icon rect");
    if (!icons.count({owner.value, id})) return std::nullopt;
    return iconRect;
}

IconHandle FakeNotifyShell::CopyWindowIcon(WindowHandle window) {
    if (m_journal) m_journal->push_back("copy icon");
    const IconHandle copy{0x9900u + static_cast<unsigned>(++copiesMade)};
    liveCopies[copy.value] = window;
    return copy;
}

void FakeNotifyShell::DestroyIconCopy(IconHandle icon) {
    if (m_journal) m_journal->push_back("destroy icon");
    if (liveCopies.erase(icon.value) == 0)
        ++badDestroys;
    else
        ++copiesDestroyed;
}

WindowHandle FakeNotifyShell::CreateIconWindow(std::function<void()> onCreated) {
    if (m_journal) m_journal->push_back("create icon window");
    if (!canCreateWindow) return {};
    onTaskbarCreated = std::move(onCreated);
    ++windowsCreated;
    iconWindow = WindowHandle{0x7700u + static_cast<unsigned>(windowsCreated)};
    return iconWindow;
}

void FakeNotifyShell::CloseIconWindow(WindowHandle window) {
    if (m_journal) m_journal->push_back("close icon window");
    if (window == iconWindow) {
        ++windowsClosed;
        onTaskbarCreated = nullptr;
        iconWindow = {};
    }
}

void FakeNotifyShell::RestartTaskbar() {
    icons.clear();
    taskbarPresent = true;
    if (onTaskbarCreated) onTaskbarCreated();
}

// ---------------------------------------------------------------- prompts

bool FakeDialogs::AskPassword(std::string& entered) {
    ++asked;
    if (whilePromptOpen) whilePromptOpen();
    if (answers.empty()) {
        entered.clear();
        return false;
    }
    const Answer a = answers.front();
    answers.pop_front();
    entered = a.text;
    return a.ok;
}

// ---------------------------------------------------------------- menus

unsigned FakeMenus::TrackPopupMenu(const platform::MenuModel& menu, WindowHandle,
                                   std::optional<platform::ScreenPoint> at, bool selectFirst) {
    if (m_journal) m_journal->push_back("track menu");
    tracked.push_back(menu);
    positions.push_back(at);
    firstSelected.push_back(selectFirst);
    if (whileTracking) whileTracking(menu);
    return choose ? choose(menu) : 0;
}

void FakeMenus::PostNull(WindowHandle owner) {
    if (m_journal) m_journal->push_back("post null");
    nullPosts.push_back(owner);
}

bool FakeDialogs::RunPreferences(PreferencesForm& form) {
    ++preferencesRuns;
    if (whilePreferencesOpen) whilePreferencesOpen();
    return preferences && preferences(form);
}

void FakeDialogs::RunAbout(unsigned version) {
    aboutVersions.push_back(version);
    if (whileAboutOpen) whileAboutOpen();
}

void FakeDialogs::ShowHelp(WindowHandle caller, const char* topic) { helpShown.emplace_back(caller, topic); }

bool FakeDialogs::RunWindowsGroups(GroupsForm& form) {
    ++groupsRuns;
    if (whileGroupsOpen) whileGroupsOpen();
    return windowsGroups && windowsGroups(form);
}

bool FakeVolatileStore::Write(const std::vector<std::uint8_t>& data) {
    ++writes;
    if (m_journal) m_journal->push_back("journal write");
    value = data;
    return true;
}

std::optional<std::vector<std::uint8_t>> FakeVolatileStore::Read(std::size_t maxBytes) {
    if (m_journal) m_journal->push_back("journal read");
    if (value && value->size() > maxBytes) return std::vector<std::uint8_t>{};
    return value;
}

void FakeVolatileStore::Remove() {
    ++removes;
    if (m_journal) m_journal->push_back("journal remove");
    value.reset();
}
