#pragma once
#include "app/control.h"
#include "app/ui_texts.h"

namespace inkmoss::looks {

inline constexpr Colour kWindowBack = 0xFF8800;
inline constexpr Colour kDeepBlue = 0xC06000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kGrey = 0x808080;
inline constexpr Colour kDarkGrey = 0x606060;
inline constexpr Colour kRed = 0x0000FF;

inline constexpr Font kDefaultFont{};

// Text on background.
struct Ink {
    Colour text;
    Colour back;
};

// A flat colour button: its colours when normal, when the mouse is over it
// or it is pressed, and when it has the keyboard focus.
inline constexpr Look colourButton(Font font, Ink normal, Ink hot, Ink focused) {
    return Look{
        .font = font,
        .text = normal.text,
        .back = normal.back,
        .hotText = hot.text,
        .hotBack = hot.back,
        .focusText = focused.text,
        .focusBack = focused.back,
        .align = Align::Centre,
    };
}

// The timed notice looks the same on every window that has one.
inline constexpr Look kNotice =
    colourButton({ui::face_lanting, 21, 400}, {kWhite, kGrey}, {kWhite, kGrey}, {kGrey, kGrey});

// The "×" in a window's top right corner.
inline constexpr Look kCloseButton =
    colourButton({ui::face_yahei, 24, 400}, {kDarkGrey, kWindowBack}, {kBlack, kRed}, {kDarkGrey, kWindowBack});

inline constexpr Look label(Colour text, Font font = kDefaultFont) {
    return Look{.font = font, .text = text, .back = kWindowBack};
}

}  // namespace inkmoss::looks
