#include "platform/win32/painting.h"

#include "app/assets.h"
#include "app/icon.h"
#include "platform/win32/png_image.h"

namespace inkmoss {

namespace {

UINT alignment(Align align) {
    switch (align) {
    case Align::Centre:
        return DT_CENTER;
    case Align::Right:
        return DT_RIGHT;
    default:
        return DT_LEFT;
    }
}

void drawText(HDC dc, const Text& text, RECT rect, HFONT font, Colour colour, UINT format) {
    const HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
    SelectObject(dc, previous);
}

void drawBitmap(HDC dc, HBITMAP bitmap, const RECT& rect) {
    BITMAP info{};
    if (!GetObject(bitmap, sizeof(info), &info)) return;
    const HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ previous = SelectObject(source, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
                  info.bmWidth, info.bmHeight, blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

void drawPicture(HDC dc, Picture picture, const RECT& rect, Gdi& gdi) {
    if (picture == Picture::None) return;
    if (picture == Picture::ProgramIcon) {
        if (const HICON icon = gdi.programIcon())
            DrawIconEx(dc, rect.left, rect.top, icon, rect.right - rect.left, rect.bottom - rect.top, 0, nullptr,
                       DI_NORMAL);
        return;
    }
    if (const HBITMAP bitmap = gdi.bitmap(picture)) drawBitmap(dc, bitmap, rect);
}

}  // namespace

Gdi::~Gdi() {
    for (const auto& [key, font] : fonts_) DeleteObject(font);
    for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
    for (const auto& [picture, bitmap] : bitmaps_)
        if (bitmap) DeleteObject(bitmap);
    if (programIcon_) DestroyIcon(programIcon_);
}

HFONT Gdi::font(const Font& font) {
    if (font.face.empty() && font.height == 0) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const auto key = std::make_tuple(std::string(font.face), font.height, font.weight, font.charset);
    if (const auto known = fonts_.find(key); known != fonts_.end()) return known->second;
    // A face that is not installed is left to the system's font mapping.
    const HFONT made = CreateFontA(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                                   static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, std::get<0>(key).c_str());
    fonts_.emplace(key, made);
    return made;
}

HBRUSH Gdi::brush(Colour colour) {
    auto [place, added] = brushes_.try_emplace(colour, nullptr);
    if (added) place->second = CreateSolidBrush(colour);
    return place->second;
}

HBITMAP Gdi::bitmap(Picture picture) {
    auto [place, added] = bitmaps_.try_emplace(picture, nullptr);
    if (added) place->second = decodePng(assetBytes(picture));
    return place->second;
}

HICON Gdi::programIcon() {
    if (!programIconTried_) {
        programIconTried_ = true;
        if (const auto image = chooseIconImage(assetBytes(Picture::ProgramIcon), 32))
            programIcon_ = iconFromImage(image->bytes, image->size);
    }
    return programIcon_;
}

HICON iconFromImage(std::span<const unsigned char> image, Size size) {
    return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()), TRUE,
                                    0x00030000, size.width, size.height, 0);
}

void paintWindowless(HDC dc, const Control& control, Gdi& gdi) {
    const Rect place = control.place();
    if (place.width <= 0 || place.height <= 0) return;
    const RECT rect = rectOf(place);
    const Look& look = control.look();
    switch (control.design().kind) {
    case Kind::TransparentLabel:
        drawText(dc, control.text(), rect, gdi.font(look.font), look.text,
                 alignment(look.align) | (look.wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER));
        break;
    case Kind::ShapeBox:
        FillRect(dc, &rect, gdi.brush(look.back));
        FrameRect(dc, &rect, gdi.brush(look.line));
        break;
    case Kind::PictureBox:
        FillRect(dc, &rect, gdi.brush(look.back));
        drawPicture(dc, look.picture, rect, gdi);
        break;
    default:
        break;
    }
}

void paintOwnerDrawn(const DRAWITEMSTRUCT& item, const Control& control, bool hot, Gdi& gdi) {
    const Look& look = control.look();
    Colour text = look.text;
    Colour back = look.back;
    if (item.CtlType == ODT_BUTTON) {
        if (hot || (item.itemState & ODS_SELECTED)) {
            text = look.hotText;
            back = look.hotBack;
        } else if (item.itemState & ODS_FOCUS) {
            text = look.focusText;
            back = look.focusBack;
        }
    } else if (hot) {
        text = look.hotText;
    }
    FillRect(item.hDC, &item.rcItem, gdi.brush(back));
    drawText(item.hDC, control.text(), item.rcItem, gdi.font(look.font), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace inkmoss
