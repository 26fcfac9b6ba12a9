#pragma once
#include <span>

#include "app/control.h"
#include "app/window.h"

namespace inkmoss {

// Credits and pictures; moved by its face and its pictures.
class AboutWindow : public Window {
public:
    explicit AboutWindow(Program& program);

    Control 透明标签1;
    Control 图片框3;
    Control 图片框2;
    Control 图片框1;
    Control 超级按钮_关闭;

private:
    static std::span<const Row<AboutWindow>> layout();

    void close();
};

}  // namespace inkmoss
