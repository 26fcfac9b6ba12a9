#include "editor/main_window.h"

#include <array>
#include <vector>

#include "about/about_window.h"
#include "app/backend.h"
#include "app/deployment.h"
#include "app/looks.h"
#include "app/program.h"
#include "lock/lock_window.h"

namespace inkmoss {

using namespace looks;

namespace {

const WindowDesign kDesign{"MainWindow", ui::title_main, {750, 457}};

constexpr Look kTool(int height) {
    return colourButton({ui::face_yahei, height, 400}, {kDarkGrey, kDeepBlue}, {kBlack, kWindowBack}, {kDarkGrey, kDeepBlue});
}

// "-" and "×" at the top right; they differ only in their hot background.
constexpr Look kCorner(Colour hotBack) {
    return colourButton({ui::face_yahei, 24, 400}, {kDarkGrey, kWindowBack}, {kBlack, hotBack}, {kDarkGrey, kWindowBack});
}

constexpr Look kBottomText = label(kWhite, {{}, 16, 700, 134});
constexpr Look kNote{.text = kBlack, .back = kDeepBlue, .multiline = true};
constexpr Look kHidden{};

using M = MainWindow;
using K = Kind;

}  // namespace

std::span<const Row<MainWindow>> MainWindow::layout() {
    // Stacking order: the first row lies on top.
    static const std::array<Row<MainWindow>, 20> rows{{
        {&M::透明标签5, {"透明标签5", K::TransparentLabel, {2, 438, 112, 14}, ui::main_version, true, kBottomText}},
        {&M::透明标签3, {"透明标签3", K::TransparentLabel, {191, 16, 400, 35}, ui::main_banner, true, label(kWhite, {ui::face_yahei, 37, 400})}, &M::startDrag},
        {&M::透明标签2, {"透明标签2", K::TransparentLabel, {680, 439, 72, 14}, ui::main_about, true, kBottomText}, &M::openAbout},
        {&M::透明标签1, {"透明标签1", K::TransparentLabel, {714, 418, 38, 14}, ui::main_promote, true, kBottomText}, &M::openPromotion},
        {&M::时钟1, {"时钟1", K::Timer, {}, "", false, {}}, &M::hideNotice},
        {&M::超级按钮_关闭9, {"超级按钮_关闭9", K::ColourButton, {282, 360, 192, 34}, "", false, kNotice}, &M::hideNotice},
        {&M::超级按钮_关闭7, {"超级按钮_关闭7", K::ColourButton, {14, 317, 48, 40}, "A", true, kTool(24)}},
        {&M::超级按钮_关闭4, {"超级按钮_关闭4", K::ColourButton, {14, 266, 48, 40}, "T", true, kTool(24)}},
        {&M::超文本浏览框1, {"超文本浏览框1", K::WebBrowser, {384, 16, 64, 36}, "", false, kHidden}},
        {&M::超级按钮_关闭8, {"超级按钮_关闭8", K::ColourButton, {14, 367, 48, 40}, ui::main_music, true, kTool(12)}},
        {&M::超级按钮_关闭6, {"超级按钮_关闭6", K::ColourButton, {14, 166, 48, 40}, ui::main_save_rjb, true, kTool(24)}},
        {&M::编辑框1, {"编辑框1", K::EditBox, {72, 64, 664, 344}, "", true, kNote}},
        {&M::超级按钮_关闭5, {"超级按钮_关闭5", K::ColourButton, {14, 215, 48, 40}, ui::main_save_txt, true, kTool(20)}},
        {&M::编辑框2, {"编辑框2", K::EditBox, {608, 415, 56, 20}, "", false, kHidden}},
        {&M::通用对话框1, {"通用对话框1", K::CommonDialog, {}, "", false, kHidden}},
        {&M::超级按钮_关闭3, {"超级按钮_关闭3", K::ColourButton, {14, 116, 48, 40}, "-", true, kTool(33)}},
        {&M::超级按钮_关闭2, {"超级按钮_关闭2", K::ColourButton, {14, 65, 48, 40}, "+", true, kTool(24)}},
        {&M::透明标签4, {"透明标签4", K::TransparentLabel, {8, 8, 96, 12}, ui::title_main, true, label(kBlack)}, &M::startDrag},
        {&M::超级按钮_关闭1, {"超级按钮_关闭1", K::ColourButton, {688, 0, 31, 26}, "-", true, kCorner(kDeepBlue)}, &M::minimise},
        {&M::超级按钮_关闭, {"超级按钮_关闭", K::ColourButton, {719, 0, 31, 26}, ui::close_mark, true, kCorner(kRed)}, &M::minimise},
    }};
    return rows;
}

std::span<const MainWindow::MenuItem> MainWindow::托盘() {
    static const std::array<MenuItem, 3> items{{
        {ui::menu_about, &M::openAbout},
        {ui::menu_exit, &M::exitProgram},
        {ui::menu_show, &M::showCentred},
    }};
    return items;
}

MainWindow::MainWindow(Program& program) : Window(program, kDesign) {
    build(*this, layout());
    useNotice(超级按钮_关闭9, 时钟1);
}

void MainWindow::onCreated() {
    LockWindow& lock = program().lock();
    program().destroy(lock);
    lock.setVisible(false);
    setTrayIcon(kTrayTip);
}

void MainWindow::onFacePressed() { startDrag(); }

void MainWindow::onTray(int kind) {
    if (kind == 2) {
        setPosition(0);
        setVisible(true);
    } else if (kind == 3) {
        std::vector<std::string_view> texts;
        for (const MenuItem& item : 托盘()) texts.push_back(item.text);
        const int chosen = peer()->popUpMenu(texts, program().backend().cursorPosition());
        if (chosen >= 0 && chosen < static_cast<int>(texts.size())) (this->*托盘()[chosen].selected)();
    }
}

bool MainWindow::mayClose() {
    if (!编辑框1.modified()) return true;
    return program().backend().messageBox(ui::unsaved_question, ui::info_caption, kBoxYesNo | kBoxIconQuestion) ==
           kAnswerYes;
}

void MainWindow::minimise() { setPosition(2); }

void MainWindow::openAbout() { program().load(program().about()); }

void MainWindow::openPromotion() { program().backend().openAddress(Text(deployment::kPromotionAddress)); }

void MainWindow::exitProgram() { program().end(); }

void MainWindow::showCentred() { setPosition(1); }

}  // namespace inkmoss
