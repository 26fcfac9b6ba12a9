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

// The timed notice looks the same on every window that has one.
inline constexpr Look kNotice{
    .font = {ui::face_lanting, 21, 400},
    .text = kWhite,
    .back = kGrey,
    .hotText = kWhite,
    .hotBack = kGrey,
    .focusText = kGrey,
    .focusBack = kGrey,
    .align = Align::Centre,
};

// The "×" in a window's top right corner.
inline constexpr Look kCloseButton{
    .font = {ui::face_yahei, 24, 400},
    .text = kDarkGrey,
    .back = kWindowBack,
    .hotText = kBlack,
    .hotBack = kRed,
    .focusText = kDarkGrey,
    .focusBack = kWindowBack,
    .align = Align::Centre,
};

inline constexpr Look label(Colour text, Font font = kDefaultFont) {
    return Look{.font = font, .text = text, .back = kWindowBack};
}

}  // namespace inkmoss::looks
