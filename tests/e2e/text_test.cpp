// Text outside the ANSI code page: window captions, group texts, passwords and
// the install path in Japanese, Cyrillic and emoji, written and read through
// the wide API as other programs do.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {


const std::wstring kJapanese = L"日本語 テスト";
const std::wstring kRussian = L"Привет мир";
const std::wstring kEmoji = L"😀 café";

std::wstring Repeat(const std::wstring& s, int n) {
    std::wstring out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::wstring WideTitle(HWND w) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring Widen(const std::string& s) {
    std::wstring out(s.size(), L'\0');
    out.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

::testing::AssertionResult Lists(const std::vector<std::wstring>& texts, const std::wstring& text) {
    if (std::find(texts.begin(), texts.end(), text) != texts.end()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << texts.size() << " items, none is the text of " << text.size()
                                                 << " units; lengths:";
    for (const auto& t : texts) failure << " " << t.size();
    return failure;
}

// window_host.exe with "wide:" windows, started through the wide API so that
// the titles reach it whole.
class WideHost {
public:
    explicit WideHost(const std::vector<std::wstring>& titles) {
        const std::wstring exe = Widen(ExeDirectory()) + L"\\window_host.exe";
        std::wstring command = L"\"" + exe + L"\"";
        for (const auto& title : titles) command += L" \"wide:" + title + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                              &m_process.info))
            m_process.info = {};
    }
    ~WideHost() {
        for (HWND w : WindowsOfProcess(m_process.Pid())) ::PostMessageA(w, WM_CLOSE, 0, 0);
        m_process.WaitExit(3s);
    }
    HWND Window(const std::wstring& title) {
        HWND found = nullptr;
        WaitFor(
            [&] {
                for (HWND w : WindowsOfProcess(m_process.Pid()))
                    if (WideTitle(w) == title) found = w;
                return found != nullptr;
            },
            10s);
        return found;
    }

private:
    Process m_process;
};

bool SetWide(const std::string& section, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    const std::string path = std::string(kProfileKey) + "\\" + section;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

// The first group, stored by another program: hides windows whose caption
// includes search.
bool SetGroup(const std::wstring& search) {
    return SetWide("Groups", L"Name0", L"Group " + search) && SetWide("Groups", L"Search0", search) &&
           SetDword("Groups", "Compare0", 0);
}

// The tray click, which with the default buttons runs the click action.
void ClickAction(const Tarnvell& app) { ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_LBUTTONUP); }
constexpr DWORD kHideFirstGroup = 8;  // after seven fixed actions and the separator

// Stays hidden: still hidden after the time a show takes here.
bool StaysHidden(HWND w) { return !WaitVisible(w, true, 1500ms); }

class Text : public ProfileTest {};

TEST_F(Text, HiddenWindowsAreListedExactlyAsTitled) {
    const std::wstring tom = L"Tom & Jerry";
    WideHost host({kJapanese, kRussian, kEmoji, tom});
    std::vector<HWND> windows;
    for (const auto& title : {kJapanese, kRussian, kEmoji, tom}) {
        windows.push_back(host.Window(title));
        ASSERT_TRUE(windows.back());
    }
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    // Each press hides the topmost window: the host's are always on top.
    for (int i = 0; i < 4; ++i) {
        const auto hidden = [&] {
            return std::count_if(windows.begin(), windows.end(), [](HWND w) { return !::IsWindowVisible(w); });
        };
        const auto before = hidden();
        Command(app.Frame(), ID_HIDE_WINDOW);
        ASSERT_TRUE(WaitFor([&] { return hidden() > before; }, 5s)) << "press " << i;
    }

    const std::vector<std::wstring> texts = MenuTexts(app);
    ASSERT_FALSE(texts.empty()) << "the menu could not be read";
    for (const auto& title : {kJapanese, kRussian, kEmoji})
        EXPECT_TRUE(Lists(texts, title));
    // "&&" is how a menu item shows one "&": the caption reads as typed, with
    // no mnemonic.
    EXPECT_TRUE(Lists(texts, L"Tom && Jerry"));
    EXPECT_TRUE(app.Close());
    for (HWND w : windows) EXPECT_TRUE(WaitVisible(w, true));
}

TEST_F(Text, ALongCaptionIsListedCutAtACharacterBoundary) {
    const std::wstring kanji = Repeat(L"語", 300), emoji = Repeat(L"😀", 300);
    WideHost host({kanji, emoji});
    HWND first = host.Window(kanji), second = host.Window(emoji);
    ASSERT_TRUE(first && second);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_HIDE_WINDOW);
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(first, false) && WaitVisible(second, false));

    const std::vector<std::wstring> texts = MenuTexts(app);
    ASSERT_FALSE(texts.empty()) << "the menu could not be read";
    // 254 characters: of three bytes each, and of four, which fill the
    // caption buffer to its last byte. Neither keeps a part of the next.
    EXPECT_TRUE(Lists(texts, Repeat(L"語", 254)));
    EXPECT_TRUE(Lists(texts, Repeat(L"😀", 254)));
    for (const auto& text : texts) {
        if (!text.empty() && (text.front() == L"語"[0] || text.front() == L"😀"[0])) {
            EXPECT_TRUE(text == Repeat(L"語", 254) || text == Repeat(L"😀", 254)) << text.size() << " units";
        }
    }
}

TEST_F(Text, AGroupForJapaneseHidesTheJapaneseWindowOnly) {
    WideHost host({kJapanese, kRussian, kEmoji});
    HWND japanese = host.Window(kJapanese), russian = host.Window(kRussian), emoji = host.Window(kEmoji);
    ASSERT_TRUE(japanese && russian && emoji);
    ASSERT_TRUE(SetGroup(L"日本語"));
    ASSERT_TRUE(SetDword("Settings", "m_uAction", kHideFirstGroup));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ClickAction(app);
    EXPECT_TRUE(WaitVisible(japanese, false));
    // A search text read back as "???" would have taken the others too.
    EXPECT_FALSE(WaitVisible(russian, false, 1500ms));
    EXPECT_TRUE(::IsWindowVisible(emoji));
}

// Answers the password prompt with a text of any script, typed into its edit.
bool AnswerWide(const Tarnvell& app, const std::wstring& text) {
    HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
    if (!prompt) return false;
    ::SendMessageW(::GetDlgItem(prompt, IDC_PASSWORD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    return WaitGone(prompt);
}

TEST_F(Text, ACyrillicPasswordOpensOnlyForItself) {
    WideHost host({kRussian});
    HWND russian = host.Window(kRussian);
    ASSERT_TRUE(russian);
    ASSERT_TRUE(SetWide("Settings", L"m_Password", L"пароль"));
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
    ASSERT_TRUE(SetGroup(L"Привет"));
    ASSERT_TRUE(SetDword("Settings", "m_uAction", kHideFirstGroup));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ClickAction(app);
    ASSERT_TRUE(WaitVisible(russian, false));

    // Another word of six Cyrillic letters: "??????" to a program that reads
    // both in a code page without them.
    Command(app.Frame(), ID_SHOW_ALL);
    ASSERT_TRUE(AnswerWide(app, L"абвгде"));
    EXPECT_TRUE(StaysHidden(russian));

    Command(app.Frame(), ID_SHOW_ALL);
    ASSERT_TRUE(AnswerWide(app, L"пароль"));
    EXPECT_TRUE(WaitVisible(russian, true));
}

std::optional<std::wstring> WideRunValue() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t), type = 0;
    const LONG result = ::RegQueryValueExW(key, L"Tarnvell", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::wstring(data);
}

TEST_F(Text, StartedFromAFolderOutsideTheCodePageItNamesItselfAndFindsItsHelp) {
    // A first start, which writes the Run value.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    const std::wstring folder = L"C:\\Путь 路径", exe = folder + L"\\Tarnvell.exe";
    const std::wstring from = Widen(ExeDirectory());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((from + L"\\Tarnvell.exe").c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((from + L"\\Tarnvell.chm").c_str(), (folder + L"\\Tarnvell.chm").c_str(), FALSE));

    Process process;
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    ASSERT_TRUE(::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                 &process.info));
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto frames = WindowsOfProcess(process.Pid(), kFrameClass);
            if (!frames.empty()) frame = frames.front();
            return frame != nullptr;
        },
        15s));

    ASSERT_TRUE(WaitFor([] { return WideRunValue().has_value(); }, 5s));
    // Quoted, because the path holds a space.
    EXPECT_EQ(*WideRunValue(), L"\"" + exe + L"\"");

    Command(frame, ID_DEFAULT_HELP);
    const bool helpShown = WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(process.Pid()))
                if (::IsWindowVisible(w) && TitleOf(w) == "Tarnvell Help") return true;
            return false;
        },
        15s);
    EXPECT_TRUE(helpShown);

    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_NE(process.WaitExit(15s), STILL_ACTIVE);
    ::DeleteFileW(exe.c_str());
    ::DeleteFileW((folder + L"\\Tarnvell.chm").c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
