#include "lock/lock_window.h"

#include <array>

#include "app/backend.h"
#include "app/looks.h"
#include "app/program.h"
#include "lock/account_settings.h"
#include "update/version_notice.h"

namespace inkmoss {

using namespace looks;

namespace {

const WindowDesign kDesign{"LockWindow", ui::title_lock, {502, 319}};

constexpr Look kBlueButton(int height) {
    return colourButton({{}, height, 700}, {kWhite, kDeepBlue}, {kBlack, 0xFD9F02}, {kBlack, kDeepBlue});
}

constexpr Look kEntry{.text = kBlack, .back = kWindowBack};
constexpr Look kPasswordEntry{.text = kBlack, .back = kWindowBack, .password = true};
constexpr Look kWhiteBacking{.back = kWhite};
constexpr Look kDownloadLink{
    .font = {{}, 12, 700, 134},
    .text = kWhite,
    .back = kWindowBack,
    .hotText = kWhite,
    .align = Align::Centre,
};
constexpr Look kProgressFrame{.back = kDeepBlue, .line = kDeepBlue};
constexpr Look kProgressBar{.back = kWindowBack, .line = kWindowBack};

using L = LockWindow;
using K = Kind;

}  // namespace

std::span<const Row<LockWindow>> LockWindow::layout() {
    // Stacking order: the first row lies on top.
    static const std::array<Row<LockWindow>, 28> rows{{
        {&L::超级链接框2, {"超级链接框2", K::Hyperlink, {0, 296, 157, 24}, ui::lock_download, false, kDownloadLink}},
        {&L::透明标签11, {"透明标签11", K::TransparentLabel, {56, 216, 48, 28}, ui::lock_placeholder, false, label(kBlack)}},
        {&L::透明标签9, {"透明标签9", K::TransparentLabel, {50, 251, 46, 20}, ui::lock_placeholder, false, label(kBlack)}},
        {&L::标签1, {"标签1", K::Label, {128, 249, 32, 24}, "1.0", false, label(kBlack)}, &L::unlock},
        {&L::超级按钮2, {"超级按钮2", K::ColourButton, {431, 210, 40, 24}, ui::lock_confirm, false, kBlueButton(12)}, &L::registerPassword},
        {&L::编辑框3, {"编辑框3", K::EditBox, {403, 186, 95, 21}, "", false, kPasswordEntry}},
        {&L::图片框3, {"图片框3", K::PictureBox, {402, 185, 97, 23}, "", false, kWhiteBacking}},
        {&L::透明标签8, {"透明标签8", K::TransparentLabel, {352, 184, 75, 28}, ui::lock_register, false, label(kWhite)}},
        {&L::编辑框2, {"编辑框2", K::EditBox, {210, 203, 136, 20}, "", true, kPasswordEntry}},
        {&L::图片框1, {"图片框1", K::PictureBox, {209, 202, 138, 22}, "", true, kWhiteBacking}},
        {&L::透明标签7, {"透明标签7", K::TransparentLabel, {136, 198, 75, 28}, ui::lock_password, true, label(kWhite)}},
        {&L::时钟3, {"时钟3", K::Timer, {}, "", false, {}}, &L::hideNotice},
        {&L::超级按钮_关闭9, {"超级按钮_关闭9", K::ColourButton, {161, 282, 192, 34}, ui::lock_notice, false, kNotice}, &L::hideNotice},
        {&L::外形框3, {"外形框3", K::ShapeBox, {69, 148, 135, 34}, "", false, kProgressBar}},
        {&L::透明标签6, {"透明标签6", K::TransparentLabel, {226, 191, 80, 20}, ui::lock_placeholder, false, label(kBlack, {ui::face_xingshu_vertical, 17, 400})}},
        {&L::时钟2, {"时钟2", K::Timer, {}, "", false, {}}, &L::handOver},
        {&L::时钟1, {"时钟1", K::Timer, {}, "", false, {}}, &L::step},
        {&L::外形框2, {"外形框2", K::ShapeBox, {95, 138, 0, 34}, "", false, kProgressBar}},
        {&L::外形框1, {"外形框1", K::ShapeBox, {68, 147, 382, 36}, "", false, kProgressFrame}},
        {&L::透明标签5, {"透明标签5", K::TransparentLabel, {136, 168, 75, 28}, ui::lock_name, true, label(kWhite)}},
        {&L::超级按钮1, {"超级按钮1", K::ColourButton, {203, 248, 100, 32}, ui::lock_open, true, kBlueButton(14)}, &L::unlock},
        {&L::编辑框1, {"编辑框1", K::EditBox, {210, 172, 136, 20}, "", true, kEntry}},
        {&L::图片框2, {"图片框2", K::PictureBox, {209, 171, 138, 22}, "", true, kWhiteBacking}},
        {&L::透明标签4, {"透明标签4", K::TransparentLabel, {4, 8, 48, 12}, ui::title_lock, true, label(kBlack)}},
        {&L::超级按钮_关闭, {"超级按钮_关闭", K::ColourButton, {475, 0, 27, 24}, ui::close_mark, true, kCloseButton}, &L::close},
        {&L::透明标签3, {"透明标签3", K::TransparentLabel, {113, 111, 267, 18}, ui::lock_motto, true, label(kWhite, {ui::face_lanting, 19, 400})}},
        {&L::透明标签2, {"透明标签2", K::TransparentLabel, {382, 87, 40, 12}, ".Rjb", true, label(kWhite, {ui::face_xingshu, 16, 700})}},
        {&L::透明标签1, {"透明标签1", K::TransparentLabel, {112, 66, 272, 35}, ui::lock_banner, true, label(kWhite, {ui::face_yahei, 37, 400})}},
    }};
    return rows;
}

LockWindow::LockWindow(Program& program) : Window(program, kDesign) {
    build(*this, layout());
    useNotice(超级按钮_关闭9, 时钟3);
}

void LockWindow::onCreated() {
    peer()->installClassStyle();
    peer()->registerEnterHotKey(kEnterHotKey, 标签1);

    Backend& backend = program().backend();
    const Text runDirectory = program().runDirectory();
    编辑框1.setText(readSetting(backend, runDirectory, kNameFile));
    if (!编辑框1.text().empty()) 编辑框1.setEnabled(false);
    外形框3.setWidth(0);
    编辑框3.setText(readSetting(backend, runDirectory, kPasswordFile));
    if (编辑框3.text().empty()) {
        for (Control* control : {&编辑框3, &图片框3, &超级按钮2, &透明标签8}) control->setVisible(true);
    }
    announceNewVersion(*this);
}

void LockWindow::onFacePressed() { startDrag(); }

void LockWindow::unlock() {
    const Text typed = 编辑框2.text();
    if (typed != 编辑框3.text()) {
        showNotice(ui::wrong_password);
        return;
    }
    if (typed.empty()) {
        showNotice(ui::enter_password);
        return;
    }
    writeSetting(program().backend(), program().runDirectory(), kNameFile, 编辑框1.text());
    for (Control* control : {&透明标签5, &透明标签4, &超级按钮1, &编辑框2, &透明标签7, &图片框1, &超级按钮_关闭, &编辑框1, &图片框2})
        control->setVisible(false);
    外形框1.setVisible(true);
    外形框3.setVisible(true);
    时钟1.setPeriod(100);
    时钟2.setPeriod(4500);
}

void LockWindow::registerPassword() {
    // An empty password could never unlock: keep the row and ask again.
    if (编辑框3.text().empty()) {
        showNotice(ui::enter_password);
        return;
    }
    writeSetting(program().backend(), program().runDirectory(), kPasswordFile, 编辑框3.text());
    for (Control* control : {&编辑框3, &图片框3, &超级按钮2, &透明标签8}) control->setVisible(false);
}

void LockWindow::close() { program().end(); }

}  // namespace inkmoss
