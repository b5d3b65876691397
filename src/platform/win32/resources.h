#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// The program's own resources in the language the user reads. Every text and
// dialog of the program is loaded through here, so one call to
// SetResourceLanguage changes what every menu, box and dialog opened after it
// says. A resource that language lacks comes in English, which has them all.
//
// The lookups name the language explicitly (FindResourceEx) rather than
// setting the thread's UI language: LoadString and DialogBoxParam follow the
// thread's language only on some systems, and Wine's loader does not.
namespace win32 {

inline constexpr LANGID kEnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Called on the thread that shows the program's windows; read there only.
void SetResourceLanguage(LANGID language);
LANGID ResourceLanguage();

// String-table entry id as UTF-16; empty when no language has it.
std::wstring LoadWideText(HINSTANCE module, UINT id);
// The same entry in the process's ANSI code page (UTF-8 where the manifest's
// setting is honoured); a character that code page lacks becomes '?'.
std::string LoadText(HINSTANCE module, UINT id);

// Text of a code page (CP_ACP, CP_UTF8) as UTF-16, and UTF-16 in a code
// page, where a character it lacks becomes '?'; empty where the system
// cannot convert.
std::wstring Widen(UINT codePage, std::string_view text);
std::string Narrow(UINT codePage, std::wstring_view wide);

// Dialog template id, ready for DialogBoxIndirectParam; null when missing.
// Resources stay mapped as long as the module, so the pointer does too.
const DLGTEMPLATE* DialogTemplate(HINSTANCE module, UINT id);

// The user's display languages, most preferred first, as locale names
// ("de-DE"); empty when the system cannot say.
std::vector<std::string> PreferredUiLanguages();

}  // namespace win32
