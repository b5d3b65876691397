// What Tarnvell tells a debug-output viewer when a system call fails: read
// here the way such a viewer reads it, from another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include "e2e_support.h"
#include "profile_test.h"
// After windows.h, which it needs.
#include <shellapi.h>

using namespace e2e;

namespace {

// The debug output of every process of the session, as a viewer receives it
// (the DBWIN_BUFFER protocol): the viewer owns a shared buffer of 4 KB and
// two events. A writer waits for "buffer ready", puts its process id and the
// string into the buffer and sets "data ready"; the viewer copies the string
// out and sets "buffer ready" again. A session has one viewer at a time.
class DebugOutputViewer {
public:
    DebugOutputViewer() {
        m_bufferReady = ::CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
        m_another = ::GetLastError() == ERROR_ALREADY_EXISTS;
        m_dataReady = ::CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
        m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, "DBWIN_BUFFER");
        if (m_mapping) m_view = static_cast<const char*>(::MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, kSize));
        if (Listening()) m_thread = std::thread([this] { Run(); });
    }
    ~DebugOutputViewer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_view) ::UnmapViewOfFile(m_view);
        for (HANDLE h : {m_mapping, m_dataReady, m_bufferReady})
            if (h) ::CloseHandle(h);
    }
    DebugOutputViewer(const DebugOutputViewer&) = delete;
    DebugOutputViewer& operator=(const DebugOutputViewer&) = delete;

    bool Listening() const { return !m_another && m_bufferReady && m_dataReady && m_view; }

    // The strings one process wrote so far, without their line ends.
    std::vector<std::string> Of(DWORD pid) const {
        std::lock_guard lock(m_mutex);
        std::vector<std::string> lines;
        for (const auto& [writer, text] : m_received)
            if (writer == pid) lines.push_back(text);
        return lines;
    }

private:
    static constexpr DWORD kSize = 4096;

    void Run() {
        while (!m_stop) {
            ::SetEvent(m_bufferReady);
            // Short waits, so that the viewer can stop; a writer waits for the
            // buffer meanwhile.
            while (!m_stop && ::WaitForSingleObject(m_dataReady, 50) != WAIT_OBJECT_0) {
            }
            if (m_stop) return;
            DWORD pid = 0;
            std::memcpy(&pid, m_view, sizeof(pid));
            const char* text = m_view + sizeof(pid);
            std::string line(text, ::strnlen(text, kSize - sizeof(pid)));
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
            std::lock_guard lock(m_mutex);
            m_received.emplace_back(pid, std::move(line));
        }
    }

    HANDLE m_bufferReady = nullptr;
    HANDLE m_dataReady = nullptr;
    HANDLE m_mapping = nullptr;
    const char* m_view = nullptr;
    bool m_another = false;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::pair<DWORD, std::string>> m_received;
    std::thread m_thread;
};

// The system's text for an error as this process reads it, on one line.
std::string SystemText(DWORD error) {
    char buffer[512] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                     nullptr, error, 0, buffer, sizeof(buffer), nullptr);
    std::string text(buffer);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

std::string HandleText(HWND w) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%08llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w)));
    return text;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& line : lines) all += "\n  " + line;
    return all.empty() ? " (nothing)" : all;
}

class Diagnostics : public ProfileTest {};

TEST_F(Diagnostics, AHotKeyAnotherProgramHoldsIsReportedWithTheSystemsErrorToADebugOutputViewer) {
    constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
    // Hide Window (hot-key 0) on Ctrl+Alt+H.
    ASSERT_TRUE(SetDword("HotKeys", "Mod0", kCtrlAlt));
    ASSERT_TRUE(SetDword("HotKeys", "VK0", 'H'));
    // Made before Tarnvell starts, and gone after it ends: a writer without
    // a viewer writes nothing, and one without an answer waits for it.
    DebugOutputViewer viewer;
    ASSERT_TRUE(viewer.Listening()) << "another debug-output viewer is running";
    HeldHotKey other(kCtrlAlt, 'H');
    ASSERT_TRUE(other.Held());

    Tarnvell app;
    ASSERT_TRUE(app.Started());
    const std::string expected = "Tarnvell: RegisterHotKey(id 0, modifiers 0x3, key 0x48) for " +
                                 HandleText(app.Frame()) + " failed: 1409 " +
                                 SystemText(ERROR_HOTKEY_ALREADY_REGISTERED);
    const auto reported = [&] {
        const auto lines = viewer.Of(app.Proc().Pid());
        return std::count(lines.begin(), lines.end(), expected);
    };
    EXPECT_TRUE(WaitFor([&] { return reported() > 0; }, 10s))
        << "expected: " << expected << "\nTarnvell wrote:" << Joined(viewer.Of(app.Proc().Pid()));
    // The start-up asks once; nothing else of the start-up failed.
    EXPECT_EQ(viewer.Of(app.Proc().Pid()), std::vector<std::string>{expected})
        << "Tarnvell wrote:" << Joined(viewer.Of(app.Proc().Pid()));

    // The start-up balloon names the key: taken down before the next test.
    TakeBalloonDown(app);
    EXPECT_TRUE(app.Close());
}

}  // namespace
