#include "ui/help_path.h"

std::string HelpFilePath(std::string_view modulePath, const text::CodePage& codePage) {
    std::size_t lastDot = std::string_view::npos;
    for (std::size_t i = 0; i < modulePath.size(); i = text::NextBoundary(modulePath, i, codePage))
        if (modulePath[i] == '.') lastDot = i;
    std::string path = lastDot == std::string_view::npos ? std::string() : std::string(modulePath.substr(0, lastDot));
    return path + ".chm";
}
