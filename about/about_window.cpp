#include "about/about_window.h"

#include <array>

#include "app/looks.h"
#include "app/program.h"

namespace inkmoss {

using namespace looks;

namespace {

const WindowDesign kDesign{"AboutWindow", "", {380, 250}, true};

constexpr Look kCredits{.text = kBlack, .back = kWindowBack, .wrap = true};

constexpr Look picture(Picture picture) { return Look{.back = kWindowBack, .picture = picture}; }

// Five lines: the author, an empty line, the contact, an empty line and a
// closing remark.
const std::string& credits() {
    static const std::string text = std::string(ui::about_author) + "\r\n\r\n" + std::string(ui::about_contact) +
                                    "\r\n\r\n" + std::string(ui::about_closing);
    return text;
}

using A = AboutWindow;
using K = Kind;

}  // namespace

std::span<const Row<AboutWindow>> AboutWindow::layout() {
    // Stacking order: the first row lies on top.
    static const std::array<Row<AboutWindow>, 5> rows{{
        {&A::透明标签1, {"透明标签1", K::TransparentLabel, {88, 152, 208, 64}, credits(), true, kCredits}},
        {&A::图片框3, {"图片框3", K::PictureBox, {158, 39, 56, 64}, "", true, picture(Picture::ProgramIcon)}},
        {&A::图片框2, {"图片框2", K::PictureBox, {255, 31, 73, 72}, "", true, picture(Picture::AboutSquare)}},
        {&A::图片框1, {"图片框1", K::PictureBox, {24, 19, 88, 112}, "", true, picture(Picture::AboutTall)}},
        {&A::超级按钮_关闭, {"超级按钮_关闭", K::ColourButton, {356, -3, 27, 24}, ui::close_mark, true, kCloseButton}, &A::close},
    }};
    return rows;
}

AboutWindow::AboutWindow(Program& program) : Window(program, kDesign) { build(*this, layout()); }

void AboutWindow::close() { program().destroy(*this); }

}  // namespace inkmoss
