#include "ui/help_path.h"

std::string HelpFilePath(std::string_view modulePath, const std::function<bool(unsigned char)>& isLeadByte) {
    std::size_t lastDot = std::string_view::npos;
    for (std::size_t i = 0; i < modulePath.size(); ++i) {
        const auto c = static_cast<unsigned char>(modulePath[i]);
        if (c == '.')
            lastDot = i;
        else if (isLeadByte(c) && i + 1 < modulePath.size())
            ++i;  // the trail byte is part of this character, whatever its value
    }
    std::string path = lastDot == std::string_view::npos ? std::string() : std::string(modulePath.substr(0, lastDot));
    return path + ".chm";
}
