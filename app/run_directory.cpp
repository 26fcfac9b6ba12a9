#include "app/run_directory.h"

namespace inkmoss {

Text directoryOf(std::string_view exePath) {
    std::size_t cut = std::string_view::npos;
    for (std::size_t i = 0; i < exePath.size(); ++i) {
        if (static_cast<unsigned char>(exePath[i]) >= 0x80)
            ++i;  // lead byte: its trail byte belongs to the same character
        else if (exePath[i] == '\\')
            cut = i;
    }
    return cut == std::string_view::npos ? Text(exePath) : Text(exePath.substr(0, cut));
}

}  // namespace inkmoss
