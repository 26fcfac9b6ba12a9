#include "platform/win32/control_peers.h"

#include "platform/win32/layered_procedures.h"
#include "platform/win32/painting.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/window_peer.h"

namespace inkmoss {

namespace {

constexpr char kHoverSlot[] = "Inkmoss.Hover";

DWORD labelAlignment(Align align) {
    switch (align) {
    case Align::Centre:
        return SS_CENTER;
    case Align::Right:
        return SS_RIGHT;
    default:
        return SS_LEFT;
    }
}

DWORD editStyle(const Look& look) {
    const DWORD lines = look.multiline ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    return WS_TABSTOP | lines | (look.password ? ES_PASSWORD : 0);
}

}  // namespace

Win32ControlPeer::Win32ControlPeer(Win32WindowPeer& window, Control& control, UINT_PTR id)
    : window_(window), control_(control), id_(id), shownPlace_(control.place()) {
    createChild();
}

Win32ControlPeer::~Win32ControlPeer() {
    window_.forget(this);
    KillTimer(window_.handle(), id_);
    if (hwnd_) {
        // What the child's destruction sends no longer reaches this peer.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Win32ControlPeer::windowless() const {
    const Kind kind = control_.design().kind;
    return kind == Kind::TransparentLabel || kind == Kind::ShapeBox || kind == Kind::PictureBox;
}

void Win32ControlPeer::createChild() {
    const Kind kind = control_.design().kind;
    const char* className = nullptr;
    DWORD style = 0;
    switch (kind) {
    case Kind::ColourButton:
        className = "BUTTON";
        style = BS_OWNERDRAW | WS_TABSTOP;
        break;
    case Kind::Hyperlink:
        // Without SS_NOTIFY a static lets the mouse through to its parent.
        className = "STATIC";
        style = SS_OWNERDRAW | SS_NOTIFY;
        break;
    case Kind::EditBox:
        className = "EDIT";
        style = editStyle(control_.look());
        break;
    case Kind::Label:
        className = "STATIC";
        style = SS_NOPREFIX | labelAlignment(control_.look().align);
        break;
    default:
        return;
    }
    const Rect place = control_.place();
    const Text text = control_.text();
    hwnd_ = CreateWindowExA(0, className, text.c_str(),
                            WS_CHILD | WS_CLIPSIBLINGS | style | (control_.visible() ? WS_VISIBLE : 0), place.left,
                            place.top, place.width, place.height, window_.handle(), reinterpret_cast<HMENU>(id_),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return;
    if (kind == Kind::ColourButton || kind == Kind::Hyperlink) {
        // Chained through the system's own window procedures: subclassing
        // by the common controls would load their library, which under
        // Wine costs megabytes and milliseconds at start-up.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        putInFront(hwnd_, hoverProcedure, kHoverSlot);
    }
    applyLook();
}

void Win32ControlPeer::applyLook() {
    const Look& look = control_.look();
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(window_.backend().gdi().font(look.font)), FALSE);
    if (control_.design().kind == Kind::EditBox && look.password) SendMessageA(hwnd_, EM_SETPASSWORDCHAR, '*', 0);
}

void Win32ControlPeer::redraw() {
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void Win32ControlPeer::changed(Change what) {
    if (!hwnd_ && !windowless()) return;
    const Rect place = control_.place();
    switch (what) {
    case Change::Text:
        if (!hwnd_) {
            window_.repaint(place);
            break;
        }
        // An edit box clears its modified flag here: the program's own
        // write is no change by the user.
        SetWindowTextA(hwnd_, control_.storedText().c_str());
        redraw();
        break;
    case Change::Place:
        if (hwnd_) {
            MoveWindow(hwnd_, place.left, place.top, place.width, place.height, TRUE);
        } else {
            window_.repaint(shownPlace_);
            window_.repaint(place);
        }
        shownPlace_ = place;
        break;
    case Change::Visible:
        if (hwnd_)
            ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
        else
            window_.repaint(place);
        break;
    case Change::Enabled:
        if (hwnd_) EnableWindow(hwnd_, control_.enabled());
        break;
    case Change::Look:
        if (hwnd_) {
            applyLook();
            redraw();
        } else {
            window_.repaint(place);
        }
        break;
    case Change::Address:
        break;
    }
}

Text Win32ControlPeer::typedText() const {
    if (!hwnd_ || control_.design().kind != Kind::EditBox) return control_.storedText();
    Text text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32ControlPeer::setTimer(int periodMs) {
    if (periodMs > 0)
        SetTimer(window_.handle(), id_, static_cast<UINT>(periodMs), nullptr);
    else
        KillTimer(window_.handle(), id_);
}

bool Win32ControlPeer::modified() const {
    return hwnd_ && control_.design().kind == Kind::EditBox && SendMessageA(hwnd_, EM_GETMODIFY, 0, 0) != 0;
}

void Win32ControlPeer::draw(const DRAWITEMSTRUCT& item) const {
    paintOwnerDrawn(item, control_, hot_, window_.backend().gdi());
}

LRESULT CALLBACK Win32ControlPeer::hoverProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* peer = reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!peer) return passOn(hwnd, kHoverSlot, message, wParam, lParam);
    const bool link = peer->control_.design().kind == Kind::Hyperlink;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!peer->hot_) {
            peer->hot_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        peer->hot_ = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (link) {
            // The press opens the link, not the release.
            peer->control_.fire();
            return 0;
        }
        // Every press of a button counts: a quick second one is no double-click.
        return passOn(hwnd, kHoverSlot, WM_LBUTTONDOWN, wParam, lParam);
    case WM_SETCURSOR:
        if (link) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return passOn(hwnd, kHoverSlot, message, wParam, lParam);
}

}  // namespace inkmoss
