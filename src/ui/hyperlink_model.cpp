#include "ui/hyperlink_model.h"

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
    if (program.size() + 1 + address.size() + 1 > capacity) return std::nullopt;
    std::string line(program);
    line += ' ';
    line.append(address);
    return line;
}

const char* ErrorText(int code) {
    switch (code) {
        case 0: return "The operating system is out\nof memory or resources.";
        case 2: return "The specified file was not found.";
        case 3: return "The specified path was not found.";
        case 5: return "The operating system denied\naccess to the specified file.";
        case 8: return "There was not enough memory to complete the operation.";
        case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        case 26: return "A sharing violation occurred. ";
        case 27: return "The filename association is\nincomplete or invalid.";
        case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
        case 29: return "The DDE transaction failed.";
        case 30:
            return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
                   "processed.";
        case 31: return "There is no application associated\nwith the given filename extension.";
        case 32: return "The specified dynamic-link library was not found.";
        default: return nullptr;
    }
}

std::string ErrorMessage(int code) {
    std::string message = "Can't open link:\n\n";
    if (const char* text = ErrorText(code))
        message += text;
    else
        message += "Unknown Error (" + std::to_string(code) + ") occurred.";
    return message;
}

}  // namespace hyperlink
