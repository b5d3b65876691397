#include "tray/resource_loader.h"

#include <algorithm>
#include <vector>

#include "platform/platform.h"

std::string CResource::Load(unsigned id) const {
    std::string buffer(static_cast<std::size_t>(kBufferSize), '\0');
    // A missing entry copies nothing. The system's own cut counts bytes and
    // may end inside a character.
    const int n = m_Module.LoadString(id, buffer.data(), kBufferSize);
    const std::string_view loaded(buffer.data(), static_cast<std::size_t>(std::clamp(n, 0, kBufferSize - 1)));
    buffer.resize(text::PrefixOfChars(loaded, kMaxChars));
    return buffer;
}

std::string FillFormat(std::string_view format, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> values(args);
    std::size_t next = 0;
    std::string out;
    out.reserve(format.size() + 32);
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const char kind = format[i + 1];
        if (kind == '%') {
            out += '%';
            ++i;
        } else if ((kind == 's' || kind == 'u' || kind == 'd') && next < values.size()) {
            out.append(values[next++]);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
