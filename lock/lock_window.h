#pragma once
#include <span>

#include "app/control.h"
#include "app/window.h"

namespace inkmoss {

// The window the program starts with: name, password, first-run
// registration, the unlock attempt and the progress that hands over to the
// main window.
class LockWindow : public Window {
public:
    explicit LockWindow(Program& program);

    static constexpr int kEnterHotKey = 33001;

    Control 超级链接框2;
    Control 透明标签11;
    Control 透明标签9;
    Control 标签1;
    Control 超级按钮2;
    Control 编辑框3;
    Control 图片框3;
    Control 透明标签8;
    Control 编辑框2;
    Control 图片框1;
    Control 透明标签7;
    Control 时钟3;
    Control 超级按钮_关闭9;
    Control 外形框3;
    Control 透明标签6;
    Control 时钟2;
    Control 时钟1;
    Control 外形框2;
    Control 外形框1;
    Control 透明标签5;
    Control 超级按钮1;
    Control 编辑框1;
    Control 图片框2;
    Control 透明标签4;
    Control 超级按钮_关闭;
    Control 透明标签3;
    Control 透明标签2;
    Control 透明标签1;

    void onCreated() override;
    void onFacePressed() override;

private:
    static std::span<const Row<LockWindow>> layout();

    void unlock();
    void registerPassword();
    void close();
    // The unlock progress and the hand-over.
    void step();
    void handOver();
};

}  // namespace inkmoss
