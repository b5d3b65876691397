#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The decisions of the hyperlink control, apart from its window: options,
// colours, the fit of the window to its text, the fallback command line and
// the error texts.
namespace hyperlink {

inline constexpr unsigned HL_UNDERLINE = 0x01;
inline constexpr unsigned HL_AUTOSIZE = 0x04;
inline constexpr unsigned HL_FOCUS_ON_CLICK = 0x10;
inline constexpr unsigned kDefaultOptions = HL_UNDERLINE | HL_AUTOSIZE | HL_FOCUS_ON_CLICK;

// Static control styles that decide how the window shrinks to its text
// (SS_CENTER, SS_RIGHT, SS_CENTERIMAGE; checked against windows.h).
inline constexpr unsigned kStyleCenter = 0x0001;
inline constexpr unsigned kStyleRight = 0x0002;
inline constexpr unsigned kStyleCenterImage = 0x0200;

// Colours as COLORREF values (0x00BBGGRR).
inline constexpr std::uint32_t kLinkColour = 0x00FF0000;     // RGB(0, 0, 255)
inline constexpr std::uint32_t kActiveColour = 0x00808000;   // RGB(0, 128, 128)
inline constexpr std::uint32_t kVisitedColour = 0x00800080;  // RGB(128, 0, 128)

// The text colour: active wins over visited, visited over the plain link.
std::uint32_t TextColour(bool active, bool visited);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The window rectangle that fits a static to its text. window and client
// are both in the parent's client coordinates; the client area shrinks to
// the text (kept left and top, or right, or centred, as the style says) and
// the window keeps its border around it.
Rect FitToText(Rect window, Rect client, int textWidth, int textHeight, unsigned style);

// The fallback when the shell cannot open an address: the command of the
// browser registered for ".htm" pages, cut at its "%1" placeholder (quoted
// or not), then a blank and the address in quotes, for CreateProcess. The
// browser splits its command line as the C runtime does, and takes the
// address whole, as one argument: a double quote in it is written %22 (what
// it means in every address), so that it cannot end the quotes, and the
// backslashes at its end are doubled, so that they do not make the closing
// quote a literal one. The line must fit, with its terminator, in a buffer
// of capacity characters; a line that would not fit is refused (nullopt)
// rather than cut, because a cut address would open some other page.
inline constexpr std::size_t kCommandCapacity = 520;
std::optional<std::string> FallbackCommand(std::string_view browserCommand, std::string_view address,
                                           std::size_t capacity = kCommandCapacity);

// The code the link reports when the fallback's program could not be
// started: the system's error where the link's table has the same number
// for it (file or path not found, access denied, out of memory, not a
// program), otherwise the shell's own code from before.
int FallbackErrorCode(unsigned long systemError, int shellCode);

// The string id of the text for a code of ShellExecute (32 or less); none for
// a code the table does not know.
std::optional<unsigned> ErrorTextId(int code);
// "Can't open link:", an empty line, then the text for the code (or the
// unknown code's, with the code in decimal), each loaded with load.
std::string ErrorMessage(int code, const std::function<std::string(unsigned id)>& load);

}  // namespace hyperlink
