#include "ui/hyperlink_model.h"

#include "res/resource.h"
#include "tray/resource_loader.h"

namespace hyperlink {

std::uint32_t TextColour(bool active, bool visited) {
    if (active) return kActiveColour;
    return visited ? kVisitedColour : kLinkColour;
}

Rect FitToText(Rect window, Rect client, int textWidth, int textHeight, unsigned style) {
    Rect fit = client;
    if (style & kStyleCenterImage) {
        const int dy = (client.bottom - client.top - textHeight) / 2;
        fit.top += dy;
        fit.bottom -= dy;
    } else {
        fit.bottom = fit.top + textHeight;
    }
    if (style & kStyleCenter) {
        const int dx = (client.right - client.left - textWidth) / 2;
        fit.left += dx;
        fit.right -= dx;
    } else if (style & kStyleRight) {
        fit.left = fit.right - textWidth;
    } else {
        fit.right = fit.left + textWidth;
    }
    // The border is whatever lies between the window and its client area.
    return Rect{fit.left - (client.left - window.left), fit.top - (client.top - window.top),
                fit.right + (window.right - client.right), fit.bottom + (window.bottom - client.bottom)};
}

std::optional<std::string> FallbackCommand(std::string_view browserCommand, std::string_view address,
                                           std::size_t capacity) {
    std::string_view program = browserCommand;
    if (const auto quoted = program.find("\"%1\""); quoted != std::string_view::npos)
        program = program.substr(0, quoted);
    else if (const auto bare = program.find("%1"); bare != std::string_view::npos)
        program = program.substr(0, bare);
    std::string quoted = "\"";
    for (const char c : address) {
        if (c == '"')
            quoted += "%22";
        else
            quoted += c;
    }
    const std::size_t backslashes = quoted.size() - 1 - quoted.find_last_not_of('\\');
    quoted.append(backslashes, '\\');
    quoted += '"';
    if (program.size() + 1 + quoted.size() + 1 > capacity) return std::nullopt;
    std::string line(program);
    line += ' ';
    line += quoted;
    return line;
}

int FallbackErrorCode(unsigned long systemError, int shellCode) {
    switch (systemError) {
        case 2:   // ERROR_FILE_NOT_FOUND
        case 3:   // ERROR_PATH_NOT_FOUND
        case 5:   // ERROR_ACCESS_DENIED
        case 8:   // ERROR_NOT_ENOUGH_MEMORY
        case 11:  // ERROR_BAD_FORMAT
            return static_cast<int>(systemError);
        default: return shellCode;
    }
}

std::optional<unsigned> ErrorTextId(int code) {
    switch (code) {
        case 0:
        case 2:
        case 3:
        case 5:
        case 8:
        case 11:
        case 26:
        case 27:
        case 28:
        case 29:
        case 30:
        case 31:
        case 32: return IDS_LINK_ERROR_BASE + static_cast<unsigned>(code);
        default: return std::nullopt;
    }
}

std::string ErrorMessage(int code, const std::function<std::string(unsigned id)>& load) {
    std::string message = load(IDS_LINK_CANT_OPEN) + "\n\n";
    if (const auto id = ErrorTextId(code))
        message += load(*id);
    else
        message += FillFormat(load(IDS_LINK_UNKNOWN), {std::to_string(code)});
    return message;
}

}  // namespace hyperlink
