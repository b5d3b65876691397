#include "ui/about_model.h"

std::string AboutVersionText(std::string_view format, std::string_view productName, unsigned version) {
    const std::string major = std::to_string(version / 100);
    const std::string minor = std::to_string(version % 100);
    return FillFormat(format, {productName, major, minor});
}

std::string AboutTitle(std::string_view format, std::string_view productName) {
    return FillFormat(format, {productName});
}
