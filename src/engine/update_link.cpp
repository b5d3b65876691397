#include "engine/update_link.h"

#include "res/links.h"

std::string UpdateAddress(std::string_view productName, unsigned version) {
    // The minor part is printed as a number, so 205 reads 2.5 and 250 reads
    // 2.50: the page compares what it is given, not a decimal fraction.
    std::string address = "http://" TARNVELL_UPDATE_HOST "/update.php?name=";
    address.append(productName);
    address += "&version=" + std::to_string(version / 100) + "." + std::to_string(version % 100);
    return address;
}
