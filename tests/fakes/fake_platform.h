#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "engine/platform_set.h"
#include "fake_crypto.h"
#include "platform/minimize_gesture.h"
#include "platform/window_events.h"

// Recording fakes of every platform seam. Each keeps what the program did to
// it and lets a test set up what the system would answer. Where the order of
// calls across seams matters, they append to one shared journal.

using Journal = std::vector<std::string>;

// A simulated desktop: top-level windows in z-order (front first) with owners,
// classes, captions and visibility.
class FakeDesktop final : public platform::IWindowManager {
public:
    struct Window {
        WindowHandle handle;
        std::string className;
        std::string caption;
        bool visible = true;
        WindowHandle parent;       // owner or parent
        bool refusesHide = false;  // the application keeps it visible
        bool denied = false;       // the system refuses the request at once (higher rights)
        bool elevated = false;     // its process runs with higher rights than ours
        bool hung = false;         // its thread pumps no messages: requests wait
        int hideDelay = 0;         // visibility checks before an asked hide shows
        bool alive = true;
        int pendingHide = -1;      // checks left until an asked hide takes effect
        std::vector<bool> queued;  // requests of a hung window: true = show
        std::uint32_t pid = kOtherProcess;
        bool cloaked = false;      // the desktop window manager keeps it out of sight
        bool minimized = false;
        bool maximized = false;    // maximized, or, while minimized, before it
    };
    static constexpr std::uint32_t kOtherProcess = 1000;
    static constexpr std::uint32_t kOwnProcess = 4242;

    // Adds a window below all others and returns its handle.
    WindowHandle Add(std::string className, std::string caption = {}, bool visible = true,
                     WindowHandle parent = {});
    Window& Get(WindowHandle w);
    void Destroy(WindowHandle w);
    // Handles from the front of the z-order to the back.
    std::vector<WindowHandle> ZOrder() const;
    // Puts the windows in a random z-order.
    template <typename Rng>
    void Shuffle(Rng& rng) {
        std::shuffle(m_windows.begin(), m_windows.end(), rng);
    }
    // Moves a window to the top of the z-order.
    void Raise(WindowHandle w);

    WindowHandle GetWindow(WindowHandle reference, platform::WindowRelation relation) override;
    bool IsWindow(WindowHandle w) override;
    bool IsWindowVisible(WindowHandle w) override;
    std::string GetClassName(WindowHandle w, int maxCount) override;
    std::string GetWindowText(WindowHandle w, int maxCount) override;
    WindowHandle GetParent(WindowHandle w) override;
    std::uint32_t ProcessId(WindowHandle w) override;
    // The path in images; nothing for a process not there (one that cannot
    // be asked).
    std::optional<std::string> ProcessImage(std::uint32_t processId) override;
    std::uint32_t OwnProcessId() override { return kOwnProcess; }
    bool IsCloaked(WindowHandle w) override;
    bool HideWindow(WindowHandle w) override;
    void ShowWindow(WindowHandle w) override;
    // Recorded as "restore" or "maximize"; the window is shown and no longer
    // minimized.
    void RestoreWindow(WindowHandle w, bool maximized) override;
    platform::RestoreState RestoreStateOf(WindowHandle w) override;
    // A thread that pumps answers; a hung one does not.
    bool Answers(WindowHandle w) override;
    bool RunsAbove(WindowHandle w) override;
    void RequestClose(WindowHandle w) override;
    bool SetForegroundWindow(WindowHandle w) override;
    void SetActiveWindow(WindowHandle w) override;
    void Sleep(unsigned milliseconds) override;
    // Called at each sleep of a wait, to look at the world in the middle of it.
    std::function<void()> whileSleeping;
    std::uint64_t TickCount() override { return now; }
    bool SetTimer(WindowHandle w, unsigned id, unsigned milliseconds) override;
    void KillTimer(WindowHandle w, unsigned id) override;

    // A hung window's thread pumps again: its queued requests run.
    void Wake(WindowHandle w);

    // The message loop going on: every timer that is set fires, the clock
    // moving on by its period each time, until none is left (or a bound is
    // reached, which a test sees as a timer still set). onTimer plays the
    // window's WM_TIMER.
    void RunTimers();
    std::function<void(WindowHandle, unsigned id)> onTimer;
    struct Timer {
        WindowHandle window;
        unsigned id;
        unsigned period;
    };
    std::vector<Timer> timers;
    std::map<std::uint32_t, std::string> images;

    // GetWindow(null, First) answers null as on Windows unless this is set.
    bool firstFromNull = false;
    std::size_t calls = 0;
    std::size_t imageQueries = 0;
    std::size_t zOrderSteps = 0;   // GetWindow calls: a walk costs one a window
    std::size_t captionReads = 0;
    unsigned sleptMs = 0;
    std::uint64_t now = 0;
    WindowHandle foreground;
    WindowHandle active;
    std::vector<std::pair<std::string, WindowHandle>> actions;  // "hide"/"show"/"close"/"foreground"/"active"

private:
    Window* Find(WindowHandle w);
    // A show request: recorded as action, carried out at once, or queued
    // behind a hung thread (null then, as for a window that is gone).
    Window* Shows(WindowHandle w, const char* action);
    std::vector<Window> m_windows;  // z-order, front first
    std::uintptr_t m_next = 0x1000;
};

// A hot-key table that refuses a combination already taken, as the system does.
class FakeHotKeys final : public platform::IHotKeySystem {
public:
    explicit FakeHotKeys(Journal* journal = nullptr) : m_journal(journal) {}
    bool Register(WindowHandle target, int id, unsigned modifiers, unsigned key) override;
    bool Unregister(WindowHandle target, int id) override;

    struct Entry {
        WindowHandle target;
        int id;
        unsigned modifiers;
        unsigned key;
    };
    std::vector<Entry> registered;
    std::vector<std::string> log;

private:
    Journal* m_journal;
};

// An in-memory registry profile. Values keep their registry type so that a
// test can plant a value of the wrong type.
class FakeProfile final : public platform::IProfile {
public:
    // Every read and write also goes to the journal as "profile read
    // <section>/<entry>" or "profile write <section>/<entry>".
    explicit FakeProfile(Journal* journal = nullptr) : m_journal(journal) {}

    struct Binary {
        std::vector<unsigned char> bytes;
    };
    using Value = std::variant<unsigned, std::string, Binary>;

    unsigned GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) override;
    bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) override;
    bool DeleteProfileValue(std::string_view section, std::string_view entry) override;
    void Hold(bool held) override { holds += held ? 1 : -1; }
    // Writes are stored at once; a batch is only counted, as the registry
    // profile's batches are tested over the fake registry.
    void Batch(bool open) override { batches += open ? 1 : -1; }

    void Set(const std::string& section, const std::string& entry, Value value);
    std::optional<Value> Find(const std::string& section, const std::string& entry) const;

    std::map<std::string, std::map<std::string, Value>> sections;
    std::vector<std::string> writes;  // "section/entry" in write order
    bool failWrites = false;
    std::size_t reads = 0;
    int holds = 0;  // open holds; every hold must end
    int batches = 0;  // open batches; every batch must end

private:
    void Note(const char* what, std::string_view section, std::string_view entry);
    Journal* m_journal;
};

class FakeRunKey final : public platform::IRunKey {
public:
    explicit FakeRunKey(Journal* journal = nullptr) : m_journal(journal) {}
    bool WriteValue(std::string_view name, std::string_view data) override;
    bool DeleteValue(std::string_view name) override;

    bool exists = true;
    std::map<std::string, std::string> values;
    int writes = 0;

private:
    Journal* m_journal;
};

class FakeModule final : public platform::IModule {
public:
    FakeModule();
    std::string ModulePath() override { return path; }
    int LoadString(unsigned id, char* buffer, int size) override;
    IconHandle LoadIcon(unsigned id) override;
    bool IsLeadByte(unsigned char c) override { return leadBytes.count(c) > 0; }
    unsigned AnsiCodePage() override { return codePage; }
    void SetLanguage(unsigned langId) override { language = langId; }
    std::vector<std::string> PreferredLanguages() override { return preferred; }

    std::set<unsigned char> leadBytes;  // empty: a single-byte code page
    unsigned codePage = 1252;           // 65001: UTF-8 (leadBytes is then ignored)
    std::string path = "C:\\Program Files\\Tarnvell\\Tarnvell.exe";
    // The English table; a language of translations answers first while it
    // is the one set, as the resources of that language would.
    std::map<unsigned, std::string> strings;
    std::map<unsigned, std::map<unsigned, std::string>> translations;
    unsigned language = 0x0409;
    std::vector<std::string> preferred{"en-US"};
    std::map<unsigned, IconHandle> icons;
};

// The notification area: records every call with a copy of the record it was
// given, and keeps the icons that are present as the shell would.
class FakeNotifyShell final : public platform::INotifyShell {
public:
    explicit FakeNotifyShell(Journal* journal = nullptr) : m_journal(journal) {}

    bool NotifyIcon(unsigned message, const platform::NotifyIconData& data) override;
    std::optional<platform::ScreenRect> IconRect(WindowHandle owner, unsigned id) override;
    // A new handle for each copy, so that a test can follow which copy an
    // icon shows and that each is given back once.
    IconHandle CopyWindowIcon(WindowHandle window) override;
    void DestroyIconCopy(IconHandle icon) override;
    WindowHandle CreateIconWindow(std::function<void()> onTaskbarCreated) override;
    void CloseIconWindow(WindowHandle window) override;

    // The taskbar restarts: every icon is gone and the broadcast is delivered.
    void RestartTaskbar();

    struct Call {
        unsigned message;
        platform::NotifyIconData data;
    };
    struct Icon {
        std::string tip;
        bool hidden = false;
        unsigned version = 0;  // 0 until the icon sets one
        IconHandle image;
        unsigned callbackMessage = 0;
        std::vector<std::pair<std::string, std::string>> balloons;  // title, text
    };

    bool taskbarPresent = true;   // adds fail while false
    bool canCreateWindow = true;
    std::deque<bool> forcedResults;  // answers for the next calls, when set
    std::vector<Call> calls;
    std::map<std::pair<std::uintptr_t, unsigned>, Icon> icons;  // by (owner, id)
    std::function<void()> onTaskbarCreated;
    // Where the shell says a present icon is; nothing: the shell cannot say.
    std::optional<platform::ScreenRect> iconRect;
    WindowHandle iconWindow;
    int windowsCreated = 0;
    int windowsClosed = 0;
    // The copies handed out and not yet given back, with their windows.
    std::map<std::uintptr_t, WindowHandle> liveCopies;
    int copiesMade = 0;
    int copiesDestroyed = 0;
    int badDestroys = 0;  // a copy given back twice, or never handed out

private:
    Journal* m_journal;
};

// The dialogs, answered from a script.
class FakeDialogs final : public IDialogs {
public:
    bool AskPassword(std::string& entered) override;

    struct Answer {
        bool ok;
        std::string text;
    };
    std::deque<Answer> answers;  // an empty queue answers Cancel
    int asked = 0;

    // The Preferences and Windows Groups dialogs: each run is recorded and
    // handed to the script, which plays the user (edits the form, returns
    // true for OK). Without a script the dialog is cancelled.
    bool RunPreferences(PreferencesForm& form) override;
    bool RunWindowsGroups(GroupsForm& form) override;
    std::function<bool(PreferencesForm&)> preferences;
    std::function<bool(GroupsForm&)> windowsGroups;
    int preferencesRuns = 0;
    int groupsRuns = 0;

    // About and help: recorded; whileAboutOpen runs inside the About loop.
    void RunAbout(unsigned version) override;
    void ShowHelp(WindowHandle caller, const char* topic) override;
    std::vector<unsigned> aboutVersions;
    std::function<void()> whileAboutOpen;
    std::vector<std::pair<WindowHandle, const char*>> helpShown;

    // The open prompt or dialog the engine brought to the front, in order.
    void BringToFront(Waiting which) override { fronted.push_back(which); }
    std::vector<Waiting> fronted;
    // Called while the password prompt is open, as its loop would run it.
    std::function<void()> whilePromptOpen;
    // Called while the Preferences and Windows Groups dialogs are open.
    std::function<void()> whilePreferencesOpen;
    std::function<void()> whileGroupsOpen;
};

class FakeShell final : public platform::IShell {
public:
    bool Open(const std::string& address) override {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

// Records the menus the engine tracks, and can choose an item of each as the
// user would.
class FakeMenus final : public platform::IMenus {
public:
    explicit FakeMenus(Journal* journal = nullptr) : m_journal(journal) {}
    unsigned TrackPopupMenu(const platform::MenuModel& menu, WindowHandle owner,
                            std::optional<platform::ScreenPoint> at = std::nullopt,
                            bool selectFirst = false) override;
    void PostNull(WindowHandle owner) override;

    // Plays the user: the identifier of the item to choose in a menu; 0 (or
    // no function) closes it without a choice.
    std::function<unsigned(const platform::MenuModel&)> choose;
    std::vector<platform::MenuModel> tracked;
    // Where each tracked menu was opened; nothing: at the cursor.
    std::vector<std::optional<platform::ScreenPoint>> positions;
    // Whether each opened with its first item selected.
    std::vector<bool> firstSelected;
    std::vector<WindowHandle> nullPosts;
    // Called while a menu is tracked, as the nested menu loop would run it.
    std::function<void(const platform::MenuModel&)> whileTracking;

private:
    Journal* m_journal;
};

// The system's window events for one listener: records when the hooks are
// set and removed and which events they ask for, and lets a test raise an
// event as another program's window would. After each event the message
// loop goes on (afterEvent).
class FakeWindowEvents final : public platform::IWindowEvents {
public:
    bool Start(unsigned kinds, platform::WindowEventCallback callback) override {
        if (refuseStart) return false;
        if (!m_callback) {
            ++starts;
            events = kinds;
        }
        m_callback = std::move(callback);
        return true;
    }
    void Stop() override {
        if (m_callback) ++stops;
        m_callback = nullptr;
        events = 0;
    }
    bool Running() const override { return static_cast<bool>(m_callback); }
    // Delivered only while the hooks are set, and only of the kinds they
    // asked for, as the system would.
    void Raise(platform::WindowEventKind kind, WindowHandle w) {
        if (m_callback && (events & BitOf(kind))) m_callback(kind, w);
        if (afterEvent && !holdLoop) afterEvent();
    }
    static unsigned BitOf(platform::WindowEventKind kind) {
        switch (kind) {
            case platform::WindowEventKind::Destroyed: return platform::window_events::kDestroyed;
            case platform::WindowEventKind::Shown: return platform::window_events::kShown;
            case platform::WindowEventKind::Hidden: return platform::window_events::kHidden;
            case platform::WindowEventKind::CaptionChanged: return platform::window_events::kCaptions;
            case platform::WindowEventKind::Minimized: return platform::window_events::kMinimized;
        }
        return 0;
    }

    int starts = 0;
    int stops = 0;
    unsigned events = 0;  // what the running hooks ask for
    bool refuseStart = false;
    // What the loop does after an event; while holdLoop, events queue up
    // behind each other as a burst does.
    std::function<void()> afterEvent;
    bool holdLoop = false;

private:
    platform::WindowEventCallback m_callback;
};

// The mouse hook of the gesture: records when it is set and removed, and
// what it would post.
class FakeMinimizeGesture final : public platform::IMinimizeGesture {
public:
    bool Start(WindowHandle target, unsigned posted) override {
        if (!running) ++starts;
        running = true;
        frame = target;
        message = posted;
        return true;
    }
    void Stop() override {
        if (running) ++stops;
        running = false;
    }
    bool Running() const override { return running; }

    bool running = false;
    int starts = 0;
    int stops = 0;
    WindowHandle frame;
    unsigned message = 0;
};

// The volatile store as the registry would keep it, in memory.
class FakeVolatileStore final : public platform::IVolatileStore {
public:
    explicit FakeVolatileStore(Journal* journal = nullptr) : m_journal(journal) {}
    bool Write(const std::vector<std::uint8_t>& data) override;
    std::optional<std::vector<std::uint8_t>> Read(std::size_t maxBytes) override;
    void Remove() override;

    std::optional<std::vector<std::uint8_t>> value;  // nothing: no value
    int writes = 0;
    int removes = 0;

private:
    Journal* m_journal;
};

// One of each, wired into a PlatformSet.
struct FakePlatform {
    Journal journal;
    FakeDesktop desktop;
    FakeHotKeys hotKeys{&journal};
    FakeProfile profile{&journal};
    FakeRunKey runKey{&journal};
    FakeModule module;
    FakeNotifyShell notifyShell{&journal};
    FakeDialogs prompts;
    FakeShell shell;
    FakeMenus menus{&journal};
    FakeVolatileStore hiddenJournal{&journal};
    FakeWindowEvents windowEvents;
    FakeCrypto crypto;
    FakeWindowEvents iconEvents;
    FakeMinimizeGesture gesture;
    FakeWindowEvents minimizeEvents;

    FakePlatform() { windowEvents.afterEvent = minimizeEvents.afterEvent = [this] { desktop.RunTimers(); }; }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    PlatformSet Set() { return Set(profile); }
    // The same, over another profile (the registry profile over a fake
    // registry, for the start-up load's registry calls).
    PlatformSet Set(platform::IProfile& otherProfile) {
        return PlatformSet{desktop, hotKeys, otherProfile, runKey, module, notifyShell, prompts, shell, menus,
                           hiddenJournal, windowEvents, crypto, iconEvents, gesture, minimizeEvents};
    }
};
