// Tarnvell in each of its languages, as the user sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "e2e_support.h"
#include "profile_test.h"
#include "ui_probe.h"
#include "engine/languages.h"
#include "res/resource.h"

using namespace e2e;

namespace {

// The password "x" stored with one round of the hash, which Tarnvell takes as
// it takes any stored count: each start of the test is spared the full work.
constexpr const char* kCheapPassword =
    "pbkdf2-sha256$1$000102030405060708090a0b0c0d0e0f$"
    "a527a417ab8a331ea2235ad87f0c3ab27836ec6cf0f2554df55b007ca2e3affc";

// The screen's scale for the programs started while it lives. Wine reads it
// as a program starts; Windows from the same value at sign-in.
class ScopedDpi {
public:
    explicit ScopedDpi(DWORD dpi) {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_key, nullptr);
        ::RegSetValueExA(m_key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~ScopedDpi() {
        ::RegDeleteValueA(m_key, "LogPixels");
        ::RegCloseKey(m_key);
    }
    ScopedDpi(const ScopedDpi&) = delete;
    ScopedDpi& operator=(const ScopedDpi&) = delete;

private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    HKEY m_key = nullptr;
};

// Tarnvell.exe's own resources, read as data: what each language says.
class ExeResources {
public:
    ExeResources()
        : m_module(::LoadLibraryExA(Tarnvell::ExePath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ExeResources() {
        if (m_module) ::FreeLibrary(m_module);
    }
    ExeResources(const ExeResources&) = delete;
    ExeResources& operator=(const ExeResources&) = delete;

    // A string of the table in that language alone; empty when it has none.
    std::wstring String(UINT id, LANGID language) const {
        const auto* block = static_cast<const WORD*>(Data(RT_STRING, id / 16 + 1, language));
        if (!block) return {};
        // Sixteen counted strings a block.
        for (UINT i = 0; i < id % 16; ++i) block += 1 + *block;
        return std::wstring(reinterpret_cast<const wchar_t*>(block + 1), *block);
    }
    // The caption of a dialog template (DLGTEMPLATEEX) in that language.
    std::wstring Caption(UINT id, LANGID language) const {
        const auto* words = static_cast<const WORD*>(Data(RT_DIALOG, id, language));
        if (!words || words[1] != 0xFFFF) return {};
        words += 13;  // version, signature, help id, styles, item count, place and size
        for (int field = 0; field < 2; ++field) {  // the menu, then the class: none, an ordinal or a name
            if (*words == 0xFFFF)
                words += 2;
            else
                while (*words++) {
                }
        }
        return reinterpret_cast<const wchar_t*>(words);
    }

private:
    const void* Data(LPCSTR type, UINT id, LANGID language) const {
        HRSRC found = ::FindResourceExA(m_module, type, MAKEINTRESOURCEA(id), language);
        HGLOBAL loaded = found ? ::LoadResource(m_module, found) : nullptr;
        return loaded ? ::LockResource(loaded) : nullptr;
    }
    HMODULE m_module;
};

// The menu's items without the keys after their tab.
std::vector<std::wstring> MenuCommands(const Tarnvell& app) {
    std::vector<std::wstring> commands = MenuTexts(app);
    for (std::wstring& text : commands) text = text.substr(0, text.find(L'\t'));
    return commands;
}

bool Holds(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

HWND NewDialog(const Tarnvell& app, const std::set<HWND>& open) { return NewDialogOf(app.Proc().Pid(), open); }

class Languages : public ProfileTest {
protected:

    // A profile past its first start, with language as Settings\Language
    // (none: null) and the password "x" asked before Preferences.
    static void Profile(const char* language) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        ASSERT_TRUE(SetDword("Settings", "First Start", 0));
        if (language) {
            ASSERT_TRUE(SetString("Settings", "Language", language));
        }
        ASSERT_TRUE(SetString("Settings", "PasswordHash", kCheapPassword));
        ASSERT_TRUE(SetDword("Settings", "m_bPassOnOption", 1));
    }

    // Each text of the dialog on top that its control cuts, or that has
    // characters no font draws, named for the message.
    void Measure(const Tarnvell& app, HWND dialog, const std::string& where) {
        ASSERT_TRUE(dialog) << where << ": the dialog did not open";
        const auto fits = DialogFits(app, dialog);
        EXPECT_GT(fits.size(), 1u) << where << ": nothing was measured";
        for (const ControlFit& fit : fits) {
            const std::string control = fit.id == PROBE_CAPTION_ID ? "caption" : "#" + std::to_string(fit.id);
            const std::string what = where + " " + Utf8(WideTitleOf(dialog)) + " " + control + " \"" + Utf8(fit.text) + "\"";
            if (!fit.Fits())
                m_misfits.push_back(what + " needs " + std::to_string(fit.needWidth) + "x" +
                                    std::to_string(fit.needHeight) + ", has " + std::to_string(fit.haveWidth) + "x" +
                                    std::to_string(fit.haveHeight));
            if (fit.missing)
                m_misfits.push_back(what + " draws " + std::to_string(fit.missing) + " characters as boxes");
        }
    }

    // The dialog of command, behind the password prompt it asks first: the
    // prompt is handed to atPrompt, then answered.
    static HWND OpenAsked(const Tarnvell& app, UINT command, const std::function<void(HWND)>& atPrompt = {}) {
        Command(app.Frame(), command);
        HWND asked = NewDialog(app, {});
        if (!asked) return nullptr;
        if (atPrompt) atPrompt(asked);
        ::SetDlgItemTextA(asked, IDC_PASSWORD, "x");
        ::PostMessageA(asked, WM_COMMAND, IDOK, 0);
        if (!WaitGone(asked)) return nullptr;
        return NewDialog(app, {});
    }

    // A button of a dialog pressed as its click would: a BM_CLICK of another
    // process is lost while the dialog is not the active window.
    static void Press(HWND dialog, int id) {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

    // Opens every dialog of the running Tarnvell in turn and measures it.
    void MeasureEveryDialog(const Tarnvell& app, const std::string& where) {
        HWND dialog = OpenAsked(app, ID_PREFERENCES, [&](HWND prompt) { Measure(app, prompt, where); });
        Measure(app, dialog, where);
        Close(dialog);

        Command(app.Frame(), ID_APP_ABOUT);
        dialog = NewDialog(app, {});
        Measure(app, dialog, where);
        Close(dialog);

        dialog = OpenAsked(app, ID_WINDOWS_GROUPS);
        Measure(app, dialog, where);
        Press(dialog, IDC_GROUP_ADD);
        HWND group = NewDialog(app, {dialog});
        Measure(app, group, where);
        Press(group, IDC_GROUP_PICK);
        HWND pick = NewDialog(app, {dialog, group});
        Measure(app, pick, where);
        Close(pick);
        Close(group);
        Close(dialog);
    }

    // Every language at one scale.
    void MeasureEveryLanguage(DWORD dpi) {
        const ScopedDpi scale(dpi);
        for (const LanguageInfo& language : kLanguages) {
            const std::string where = std::string(language.locale) + " at " + std::to_string(dpi * 100 / 96) + "%";
            Profile(language.locale);
            Tarnvell app;
            ASSERT_TRUE(app.Started()) << where;
            MeasureEveryDialog(app, where);
        }
        std::string all;
        for (const std::string& misfit : m_misfits) all += misfit + "\n";
        EXPECT_TRUE(m_misfits.empty()) << m_misfits.size() << " texts are cut or lack glyphs:\n" << all;
    }

    static void Close(HWND dialog) {
        if (!dialog) return;
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitGone(dialog));
    }

    std::vector<std::string> m_misfits;
};

// Each static text, check box, radio button, group box and button caption of
// every dialog, measured in its control's font inside Tarnvell, and drawn
// there with the dialog's caption, character by character, to find boxes.
TEST_F(Languages, NoTextIsCutOrBoxedInAnyDialogInAnyLanguageAt100Percent) { MeasureEveryLanguage(96); }
TEST_F(Languages, NoTextIsCutOrBoxedInAnyDialogInAnyLanguageAt150Percent) { MeasureEveryLanguage(144); }

// The stored language, or without one the display language the environment
// gives (Wine takes it from LANG), speaks in the main menu, the password
// prompt and Preferences: each shows its text of Tarnvell.exe's resources in
// that language, not English's.
TEST_F(Languages, TheStoredOrTheDisplayLanguageSpeaksInTheMenuThePromptAndPreferences) {
    const ExeResources resources;
    const struct {
        const char* setting;
        const char* lang;  // LANG for Tarnvell; null: as the test runs
        LANGID speaks;
    } cases[] = {
        {"de-DE", nullptr, 0x0407},
        {"ja-JP", nullptr, 0x0411},
        {nullptr, "fr_FR.UTF-8", 0x040C},
        {"xx-YY", "pl_PL.UTF-8", 0x0415},  // a language we lack leaves it to the system
    };
    for (const auto& c : cases) {
        const std::string where = std::string(c.setting ? c.setting : "no setting") + ", LANG " + (c.lang ? c.lang : "as is");
        const std::wstring hide = resources.String(ID_HIDE_WINDOW, c.speaks);
        ASSERT_FALSE(hide.empty()) << where;
        ASSERT_NE(hide, resources.String(ID_HIDE_WINDOW, 0x0409)) << where;
        Profile(c.setting);
        std::optional<Tarnvell> started;
        if (c.lang)
            started.emplace(c.lang);
        else
            started.emplace();
        const Tarnvell& app = *started;
        ASSERT_TRUE(app.Started()) << where;
        EXPECT_TRUE(Holds(MenuCommands(app), hide)) << where;
        std::wstring prompt;
        HWND preferences = OpenAsked(app, ID_PREFERENCES, [&](HWND asked) { prompt = WideTitleOf(asked); });
        ASSERT_TRUE(preferences) << where;
        EXPECT_EQ(prompt, resources.Caption(IDD_ENTER_PASSWORD, c.speaks)) << where;
        EXPECT_EQ(WideTitleOf(preferences), resources.Caption(IDD_PREFERENCES, c.speaks)) << where;
        Close(preferences);
    }
}

// A language chosen in Preferences speaks from the next menu on, without a
// restart, and the system's choice brings English back here.
TEST_F(Languages, ALanguageChosenInPreferencesSpeaksInTheNextMenu) {
    const ExeResources resources;
    Profile(nullptr);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    const std::wstring english = resources.String(ID_HIDE_WINDOW, 0x0409);
    ASSERT_TRUE(Holds(MenuCommands(app), english));
    for (const auto& [item, speaks] : {std::pair{3, LANGID{0x040C}}, std::pair{0, LANGID{0x0409}}}) {
        HWND preferences = OpenAsked(app, ID_PREFERENCES);
        ASSERT_TRUE(preferences);
        ::SendDlgItemMessageA(preferences, IDC_LANGUAGE, CB_SETCURSEL, item, 0);
        ::PostMessageA(preferences, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitGone(preferences));
        EXPECT_TRUE(Holds(MenuCommands(app), resources.String(ID_HIDE_WINDOW, speaks))) << item;
    }
    EXPECT_FALSE(GetString("Settings", "Language"));
}

}  // namespace
