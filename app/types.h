#pragma once
#include <cstdint>
#include <string>

namespace inkmoss {

// Bytes in the system's ANSI code page (GBK on a Simplified Chinese system).
using Text = std::string;

// 0xBBGGRR, as a Windows COLORREF.
using Colour = std::uint32_t;

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Where a window of `window` size stands centred on `screen`; C++ division
// truncates toward zero, so a screen smaller than the window gives a small
// negative offset, as the platform's own centring does.
constexpr Point centredOrigin(Size screen, Size window) {
    return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

}  // namespace inkmoss
