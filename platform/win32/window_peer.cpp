#include "platform/win32/window_peer.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <ranges>

#include "app/looks.h"
#include "app/program.h"
#include "platform/win32/control_peers.h"
#include "platform/win32/layered_procedures.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_backend.h"

namespace inkmoss {

namespace {

constexpr UINT kDestroyMessage = WM_APP + 1;
constexpr char kHotKeySlot[] = "Inkmoss.HotKey";
constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The shell is loaded by the first tray icon, not with the program.
bool notifyIcon(DWORD message, NOTIFYICONDATAA& data) {
    static const auto notify =
        SystemLibrary("shell32.dll").function<decltype(Shell_NotifyIconA)>("Shell_NotifyIconA");
    return notify && notify(message, &data);
}

bool contains(Rect place, Point at) {
    return at.x >= place.left && at.x < place.left + place.width && at.y >= place.top &&
           at.y < place.top + place.height;
}

}  // namespace

ATOM Win32WindowPeer::registerClass() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                        LR_SHARED));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClassName;
    return RegisterClassExA(&windowClass);
}

std::unique_ptr<Win32WindowPeer> Win32WindowPeer::create(Win32Backend& backend, Window& window, Rect place) {
    std::unique_ptr<Win32WindowPeer> peer(new Win32WindowPeer(backend, window));
    const Text title(window.design().title);
    // The window procedure learns its handle from the first message.
    if (!CreateWindowExA(WS_EX_APPWINDOW, kWindowClassName, title.c_str(), kStyle, place.left, place.top, place.width,
                         place.height, nullptr, nullptr, GetModuleHandleA(nullptr), peer.get())) {
        peer->hwnd_ = nullptr;
        return nullptr;
    }
    return peer;
}

Win32WindowPeer::Win32WindowPeer(Win32Backend& backend, Window& window) : backend_(backend), window_(window) {
    backend_.windows_.push_back(this);
}

Win32WindowPeer::~Win32WindowPeer() {
    std::erase(backend_.windows_, this);
    if (!hwnd_) return;
    removeTrayIcon();
    for (const auto& [id, receiver] : hotKeys_) UnregisterHotKey(hwnd_, id);
    // The core no longer knows this window: what its destruction sends stays here.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

Win32WindowPeer* Win32WindowPeer::from(HWND hwnd) {
    return reinterpret_cast<Win32WindowPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Win32WindowPeer::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* peer = static_cast<Win32WindowPeer*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        peer->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    Win32WindowPeer* peer = from(hwnd);
    if (!peer) return DefWindowProcA(hwnd, message, wParam, lParam);
    return peer->handle(message, wParam, lParam);
}

LRESULT Win32WindowPeer::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the buffered paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        paintBuffered(dc, ps.rcPaint);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(hwnd_, &client);
        paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (Win32ControlPeer* control = byHandle(item.hwndItem)) {
            control->draw(item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return controlColour(message, wParam, lParam);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            if (Win32ControlPeer* control = byHandle(reinterpret_cast<HWND>(lParam));
                control && control->control().design().kind == Kind::ColourButton)
                control->control().fire();
        return 0;
    case WM_LBUTTONDOWN:
        leftButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_TIMER:
        if (Win32ControlPeer* control = byId(wParam)) control->control().fire();
        return 0;
    case kTrayMessage:
        trayEvent(lParam);
        return 0;
    case kDestroyMessage:
        window_.program().finishDestroy(window_);
        return 0;
    case WM_CLOSE:
        // The core decides; the system's default would destroy the window
        // behind its back.
        window_.program().closeRequested(window_);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT Win32WindowPeer::controlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    const Win32ControlPeer* control = byHandle(reinterpret_cast<HWND>(lParam));
    const Kind kind = control ? control->control().design().kind : Kind::Timer;
    // A disabled edit box asks as a static one: it keeps the system's grey.
    const bool ours = message == WM_CTLCOLOREDIT ? kind == Kind::EditBox : kind == Kind::Label;
    if (!ours) return DefWindowProcA(hwnd_, message, wParam, lParam);
    const Look& look = control->control().look();
    const auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, look.text);
    SetBkColor(dc, look.back);
    return reinterpret_cast<LRESULT>(backend_.gdi().brush(look.back));
}

void Win32WindowPeer::paintBuffered(HDC dc, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    const HDC buffer = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    const HGDIOBJ previous = SelectObject(buffer, bitmap);
    SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
    paint(buffer, area);
    BitBlt(dc, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
    SelectObject(buffer, previous);
    DeleteObject(bitmap);
    DeleteDC(buffer);
}

void Win32WindowPeer::paint(HDC dc, const RECT& area) {
    FillRect(dc, &area, backend_.gdi().brush(looks::kWindowBack));
    // Bottom up: the first control of the layout lies on top.
    for (Win32ControlPeer* control : controls_ | std::views::reverse)
        if (control->windowless() && control->control().visible())
            paintWindowless(dc, control->control(), backend_.gdi());
}

void Win32WindowPeer::repaint(Rect area) {
    const RECT rect = rectOf(area);
    InvalidateRect(hwnd_, &rect, FALSE);
    UpdateWindow(hwnd_);
}

Win32ControlPeer* Win32WindowPeer::pressable(Point at) const {
    for (Win32ControlPeer* control : controls_) {
        if (!control->windowless() || !control->control().visible() || !contains(control->control().place(), at))
            continue;
        const Kind kind = control->control().design().kind;
        if (kind == Kind::TransparentLabel || kind == Kind::PictureBox) return control;
        if (kind == Kind::ShapeBox) return nullptr;  // a shape is part of the face
    }
    return nullptr;
}

void Win32WindowPeer::leftButtonDown(Point at) {
    Win32ControlPeer* target = pressable(at);
    const bool picture = target && target->control().design().kind == Kind::PictureBox;
    if (window_.design().moveFreely && (!target || picture)) {
        PostMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        if (picture) return;
    }
    if (target)
        target->control().fire();
    else
        window_.onFacePressed();
}

void Win32WindowPeer::trayEvent(LPARAM mouseMessage) {
    switch (LOWORD(mouseMessage)) {
    case WM_LBUTTONUP:
        window_.onTray(1);
        break;
    case WM_LBUTTONDBLCLK:
        window_.onTray(2);
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        window_.onTray(3);
        break;
    default:
        break;
    }
}

Win32ControlPeer* Win32WindowPeer::byHandle(HWND child) const {
    const auto found =
        std::ranges::find_if(controls_, [&](const auto* c) { return c->handle() && c->handle() == child; });
    return found == controls_.end() ? nullptr : *found;
}

Win32ControlPeer* Win32WindowPeer::byId(UINT_PTR id) const {
    const auto found = std::ranges::find_if(controls_, [&](const auto* c) { return c->id() == id; });
    return found == controls_.end() ? nullptr : *found;
}

std::unique_ptr<ControlPeer> Win32WindowPeer::createControl(Control& control) {
    // A child window made later lies beneath those made before it, so the
    // layout's first control ends up on top.
    auto peer = std::make_unique<Win32ControlPeer>(*this, control, nextId_++);
    controls_.push_back(peer.get());
    return peer;
}

void Win32WindowPeer::forget(Win32ControlPeer* control) { std::erase(controls_, control); }

void Win32WindowPeer::show() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void Win32WindowPeer::hide() { ShowWindow(hwnd_, SW_HIDE); }

bool Win32WindowPeer::isVisible() const { return IsWindowVisible(hwnd_); }

bool Win32WindowPeer::isMinimised() const { return IsIconic(hwnd_); }

bool Win32WindowPeer::isMaximised() const { return IsZoomed(hwnd_); }

void Win32WindowPeer::showNormal() { ShowWindow(hwnd_, SW_SHOWNORMAL); }

void Win32WindowPeer::restore() { ShowWindow(hwnd_, SW_RESTORE); }

void Win32WindowPeer::minimise() { ShowWindow(hwnd_, SW_MINIMIZE); }

void Win32WindowPeer::maximise() { ShowWindow(hwnd_, SW_MAXIMIZE); }

void Win32WindowPeer::activate() { SetForegroundWindow(hwnd_); }

Rect Win32WindowPeer::outerRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Win32WindowPeer::moveTo(Point origin) {
    SetWindowPos(hwnd_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::startDrag() { SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 1); }

void Win32WindowPeer::postDestroy() { PostMessageA(hwnd_, kDestroyMessage, 0, 0); }

void Win32WindowPeer::installClassStyle() { layerClassStyle(hwnd_); }

LRESULT CALLBACK Win32WindowPeer::hotKeyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY)
        if (Win32WindowPeer* peer = from(hwnd))
            if (const auto receiver = peer->hotKeys_.find(static_cast<int>(wParam)); receiver != peer->hotKeys_.end())
                receiver->second->fire();
    return passOn(hwnd, kHotKeySlot, message, wParam, lParam);
}

bool Win32WindowPeer::registerEnterHotKey(int id, Control& receiver) {
    if (!RegisterHotKey(hwnd_, id, 0, VK_RETURN)) return false;
    if (hotKeys_.empty()) putInFront(hwnd_, hotKeyProcedure, kHotKeySlot);
    hotKeys_[id] = &receiver;
    return true;
}

bool Win32WindowPeer::setTrayIcon(std::span<const unsigned char> image, Size size, std::string_view tip) {
    const HICON icon = iconFromImage(image, size);
    if (!icon) {
        removeTrayIcon();
        return false;
    }
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon;
    tip.copy(data.szTip, sizeof(data.szTip) - 1);
    if (!notifyIcon(trayShown_ ? NIM_MODIFY : NIM_ADD, data)) {
        DestroyIcon(icon);
        return false;
    }
    if (trayIcon_) DestroyIcon(trayIcon_);
    trayIcon_ = icon;
    trayShown_ = true;
    return true;
}

void Win32WindowPeer::removeTrayIcon() {
    if (trayShown_) {
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof(data);
        data.hWnd = hwnd_;
        data.uID = kTrayIconId;
        notifyIcon(NIM_DELETE, data);
        trayShown_ = false;
    }
    if (trayIcon_) DestroyIcon(trayIcon_);
    trayIcon_ = nullptr;
}

int Win32WindowPeer::popUpMenu(std::span<const std::string_view> items, Point at) {
    const HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    UINT_PTR command = 1;
    for (std::string_view item : items) AppendMenuA(menu, MF_STRING, command++, Text(item).c_str());
    const int chosen = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, hwnd_, nullptr);
    DestroyMenu(menu);
    return chosen - 1;
}

}  // namespace inkmoss
