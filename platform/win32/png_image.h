#pragma once
#include <windows.h>

#include <span>

namespace inkmoss {

// A PNG file's picture as a top-down 32-bit DIB section with premultiplied
// alpha, ready for GdiAlphaBlend; null when the bytes are no PNG picture.
HBITMAP decodePng(std::span<const unsigned char> bytes);

}  // namespace inkmoss
