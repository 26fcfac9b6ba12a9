#include "app/control.h"

#include "app/backend.h"
#include "app/hyperlink.h"
#include "app/program.h"
#include "app/window.h"

namespace inkmoss {

void Control::bind(Window& owner, const ControlDesign& design, std::function<void()> handler) {
    owner_ = &owner;
    design_ = &design;
    handler_ = std::move(handler);
    reset();
}

void Control::reset() {
    text_ = Text(design_->text);
    place_ = design_->place;
    visible_ = design_->visible;
    enabled_ = true;
    period_ = 0;
    address_.clear();
    look_ = design_->look;
}

void Control::attach(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }

void Control::detach() { peer_.reset(); }

void Control::touch() const { owner_->touch(); }

void Control::notify(Change what) {
    if (peer_) peer_->changed(what);
}

Text Control::text() const {
    touch();
    // The user types behind the program's back: the screen holds the truth.
    if (design_->kind == Kind::EditBox && peer_) return peer_->typedText();
    return text_;
}

void Control::setText(std::string_view text) {
    touch();
    text_ = Text(text);
    notify(Change::Text);
}

bool Control::visible() const {
    touch();
    return visible_;
}

void Control::setVisible(bool visible) {
    touch();
    if (visible_ == visible) return;
    visible_ = visible;
    notify(Change::Visible);
}

bool Control::enabled() const {
    touch();
    return enabled_;
}

void Control::setEnabled(bool enabled) {
    touch();
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    notify(Change::Enabled);
}

Rect Control::place() const {
    touch();
    return place_;
}

void Control::setPlace(Rect place) {
    touch();
    if (place_ == place) return;
    place_ = place;
    notify(Change::Place);
}

void Control::setWidth(int width) {
    Rect place = this->place();
    place.width = width;
    setPlace(place);
}

int Control::period() const {
    touch();
    return period_;
}

void Control::setPeriod(int periodMs) {
    touch();
    const int period = periodMs < 0 ? 0 : periodMs;
    // The same period again must not restart a running countdown.
    if (period == period_) return;
    period_ = period;
    if (peer_) peer_->setTimer(period_);
}

Text Control::address() const {
    touch();
    return address_;
}

void Control::setAddress(std::string_view address) {
    touch();
    address_ = Text(address);
    notify(Change::Address);
}

const Look& Control::look() const {
    touch();
    return look_;
}

void Control::setLook(const Look& look) {
    touch();
    look_ = look;
    notify(Change::Look);
}

bool Control::modified() const {
    touch();
    return peer_ && peer_->modified();
}

void Control::fire() {
    // A hyperlink box opens its address by itself, on the press.
    if (design_->kind == Kind::Hyperlink && isOpenableWebAddress(address_)) owner_->program().backend().openAddress(address_);
    if (handler_) handler_();
}

}  // namespace inkmoss
