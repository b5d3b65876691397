#pragma once
#include <string>
#include <string_view>

#include "tray/resource_loader.h"

// Texts of the About dialog, made from format texts that live in the dialog
// template (filled with FillFormat, never printf).

// Control 1027: "%s v.%u.%u" and the maker's notice, with the product name
// and the version (times 100) as major.minor.
std::string AboutVersionText(std::string_view format, std::string_view productName, unsigned version);

// The dialog title: "About %s" with the product name.
std::string AboutTitle(std::string_view format, std::string_view productName);
