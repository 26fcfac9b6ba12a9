#pragma once
#include <windows.h>

#include <map>
#include <span>
#include <string>
#include <tuple>

#include "app/control.h"

namespace inkmoss {

// The GDI objects the program paints with, made once and freed with the
// backend: windows come and go, and colours and faces repeat across them.
class Gdi {
public:
    Gdi() = default;
    ~Gdi();
    Gdi(const Gdi&) = delete;
    Gdi& operator=(const Gdi&) = delete;

    // An empty face with no height is the system's default GUI font.
    HFONT font(const Font& font);
    HBRUSH brush(Colour colour);
    // A premultiplied 32-bit DIB section of a PNG picture; null when it
    // cannot be decoded.
    HBITMAP bitmap(Picture picture);
    // The program icon at the size of its own image.
    HICON programIcon();

private:
    std::map<std::tuple<std::string, int, int, int>, HFONT> fonts_;
    std::map<Colour, HBRUSH> brushes_;
    std::map<Picture, HBITMAP> bitmaps_;
    HICON programIcon_ = nullptr;
    bool programIconTried_ = false;
};

inline RECT rectOf(Rect place) { return {place.left, place.top, place.left + place.width, place.top + place.height}; }

// An icon made from one image as an ICO file stores it; null when the bytes
// are no icon.
HICON iconFromImage(std::span<const unsigned char> image, Size size);

// Draws a control that has no window of its own onto its parent's face.
void paintWindowless(HDC dc, const Control& control, Gdi& gdi);

// Draws an owner-drawn child: a colour button or a hyperlink box.
void paintOwnerDrawn(const DRAWITEMSTRUCT& item, const Control& control, bool hot, Gdi& gdi);

}  // namespace inkmoss
