#pragma once
#include <span>

#include "app/control.h"

namespace inkmoss {

// The bytes of a picture as stored in assets/: the program icon as an ICO
// file, the others as PNG files.
std::span<const unsigned char> assetBytes(Picture picture);

}  // namespace inkmoss
