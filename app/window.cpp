#include "app/window.h"

#include <algorithm>

#include "app/assets.h"
#include "app/backend.h"
#include "app/icon.h"
#include "app/program.h"
#include "app/ui_texts.h"

namespace inkmoss {

namespace {
constexpr int kNoticeMs = 2000;
}

Window::Window(Program& program, const WindowDesign& design) : program_(program), design_(design) {}

Window::~Window() = default;

void Window::touch() const {
    if (!loaded()) program_.fatal(ui::fatal_not_loaded);
}

void Window::create(std::unique_ptr<WindowPeer> peer) {
    peer_ = std::move(peer);
    marked_ = false;
    position_ = 1;
    for (Control* control : controls_) {
        control->reset();
        control->attach(peer_->createControl(*control));
    }
}

void Window::teardown() {
    for (Control* control : controls_) control->detach();
    peer_.reset();
    marked_ = false;
}

bool Window::visible() const {
    touch();
    return peer_->isVisible();
}

void Window::setVisible(bool visible) {
    touch();
    if (visible)
        peer_->show();
    else
        peer_->hide();
}

int Window::position() const {
    touch();
    return position_;
}

void Window::setPosition(int value) {
    touch();
    position_ = std::clamp(value, 0, 3);
    if (!peer_->isVisible()) return;
    switch (position_) {
    case 0:
        peer_->showNormal();
        break;
    case 1: {
        if (peer_->isMinimised() || peer_->isMaximised()) peer_->restore();
        const Rect outer = peer_->outerRect();
        const Point origin = centredOrigin(program_.backend().screenSize(), {outer.width, outer.height});
        if (origin != Point{outer.left, outer.top}) peer_->moveTo(origin);
        break;
    }
    case 2:
        peer_->minimise();
        break;
    default:
        peer_->maximise();
        break;
    }
}

void Window::startDrag() {
    touch();
    peer_->startDrag();
}

bool Window::setTrayIcon(std::string_view tip) {
    touch();
    constexpr std::size_t kTipBytes = 62;
    tip = tip.substr(0, std::min(tip.size(), kTipBytes));
    // A small image suits the notification area; a 32-pixel one is the
    // second choice when the platform cannot make an icon of the first.
    for (const int width : {16, 32}) {
        const auto image = chooseIconImage(assetBytes(Picture::ProgramIcon), width);
        if (image && peer_->setTrayIcon(image->bytes, image->size, tip)) return true;
    }
    return false;
}

void Window::useNotice(Control& button, Control& timer) {
    noticeButton_ = &button;
    noticeTimer_ = &timer;
}

void Window::showNotice(std::string_view text) {
    noticeButton_->setText(text);
    noticeButton_->setVisible(true);
    // Stop first: a countdown still running from an earlier notice is replaced.
    noticeTimer_->setPeriod(0);
    noticeTimer_->setPeriod(kNoticeMs);
}

void Window::hideNotice() {
    noticeTimer_->setPeriod(0);
    noticeButton_->setVisible(false);
}

}  // namespace inkmoss
