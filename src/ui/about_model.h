#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// Texts of the About dialog, made from format texts that live in the dialog
// template. A template is data that anyone with a resource editor can
// change, so it is never handed to printf: FillFormat substitutes the
// placeholders itself.

// Each %s, %u or %d takes the next argument, in order; %% is one percent
// sign. Any other percent sequence, and a placeholder with no argument
// left, is copied as it stands.
std::string FillFormat(std::string_view format, std::initializer_list<std::string_view> args);

// Control 1027: "%s v.%u.%u" and the maker's notice, with the product name
// and the version (times 100) as major.minor.
std::string AboutVersionText(std::string_view format, std::string_view productName, unsigned version);

// The dialog title: "About %s" with the product name.
std::string AboutTitle(std::string_view format, std::string_view productName);
