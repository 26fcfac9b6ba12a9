#pragma once
#include <span>

#include "app/control.h"
#include "app/window.h"

namespace inkmoss {

// The note editor: the text area, the tool column, the title line and the
// notification-area icon that brings it back.
class MainWindow : public Window {
public:
    explicit MainWindow(Program& program);

    static constexpr std::string_view kTrayTip = "Inkmoss";

    Control 透明标签5;
    Control 透明标签3;
    Control 透明标签2;
    Control 透明标签1;
    Control 时钟1;
    Control 超级按钮_关闭9;
    Control 超级按钮_关闭7;
    Control 超级按钮_关闭4;
    Control 超文本浏览框1;
    Control 超级按钮_关闭8;
    Control 超级按钮_关闭6;
    Control 编辑框1;
    Control 超级按钮_关闭5;
    Control 编辑框2;
    Control 通用对话框1;
    Control 超级按钮_关闭3;
    Control 超级按钮_关闭2;
    Control 透明标签4;
    Control 超级按钮_关闭1;
    Control 超级按钮_关闭;

    void onCreated() override;
    void onFacePressed() override;
    void onTray(int kind) override;
    bool mayClose() override;

    struct MenuItem {
        std::string_view text;
        void (MainWindow::*selected)();
    };
    // The hidden top-level menu 托盘, shown only as the tray's pop-up menu.
    static std::span<const MenuItem> 托盘();

private:
    static std::span<const Row<MainWindow>> layout();

    void minimise();
    void openAbout();
    void openPromotion();
    void exitProgram();
    void showCentred();
};

}  // namespace inkmoss
