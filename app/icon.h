#pragma once
#include <optional>
#include <span>

#include "app/types.h"

namespace inkmoss {

struct IconImage {
    std::span<const unsigned char> bytes;  // the image as the ICO file stores it
    Size size;
};

// The image of an ICO file the notification area gets: the first entry
// `preferredWidth` wide with a colour count of 16 or more, else the last
// entry. Nothing when the file is malformed or an entry points outside it.
std::optional<IconImage> chooseIconImage(std::span<const unsigned char> ico, int preferredWidth);

}  // namespace inkmoss
