#include "app/hyperlink.h"

#include <algorithm>

namespace inkmoss {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
               return p == (t >= 'A' && t <= 'Z' ? static_cast<char>(t - 'A' + 'a') : t);
           });
}

}  // namespace

bool isOpenableWebAddress(std::string_view address) {
    const bool web = startsWithIgnoringCase(address, "http://") || startsWithIgnoringCase(address, "https://");
    const bool clean = std::none_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return web && clean;
}

}  // namespace inkmoss
