#pragma once
#include <string>
#include <string_view>

// The address of the maker's update page for this product and version. The
// version is the engine's version times 100; the product name goes in as it
// is, without URL encoding.
std::string UpdateAddress(std::string_view productName, unsigned version);
