#include "ui/about_model.h"

#include <vector>

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

std::string AboutVersionText(std::string_view format, std::string_view productName, unsigned version) {
    const std::string major = std::to_string(version / 100);
    const std::string minor = std::to_string(version % 100);
    return FillFormat(format, {productName, major, minor});
}

std::string AboutTitle(std::string_view format, std::string_view productName) {
    return FillFormat(format, {productName});
}
