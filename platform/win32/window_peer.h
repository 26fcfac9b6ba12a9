#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "app/window.h"

namespace inkmoss {

class Win32Backend;
class Win32ControlPeer;

// The one window class all of the program's windows share, so a class style
// set through one of them reaches every window made later.
inline constexpr char kWindowClassName[] = "InkmossForm";

// The message the notification area sends about the window's icon.
inline constexpr UINT kTrayMessage = 0x8064;
inline constexpr UINT kTrayIconId = 100;

class Win32WindowPeer : public WindowPeer {
public:
    static ATOM registerClass();
    // Creates the window hidden at `place`; null when the system refuses.
    static std::unique_ptr<Win32WindowPeer> create(Win32Backend& backend, Window& window, Rect place);
    ~Win32WindowPeer() override;

    std::unique_ptr<ControlPeer> createControl(Control& control) override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    bool isMinimised() const override;
    bool isMaximised() const override;
    void showNormal() override;
    void restore() override;
    void minimise() override;
    void maximise() override;
    void activate() override;
    Rect outerRect() const override;
    void moveTo(Point origin) override;
    void startDrag() override;
    void postDestroy() override;
    void installClassStyle() override;
    bool registerEnterHotKey(int id, Control& receiver) override;
    bool setTrayIcon(std::span<const unsigned char> image, Size size, std::string_view tip) override;
    int popUpMenu(std::span<const std::string_view> items, Point at) override;

    HWND handle() const { return hwnd_; }
    Win32Backend& backend() const { return backend_; }
    void removeTrayIcon();

    // For the control peers: their stacking order ends with them, and a
    // control without a window of its own is painted through the parent.
    void forget(Win32ControlPeer* control);
    void repaint(Rect area);

private:
    Win32WindowPeer(Win32Backend& backend, Window& window);

    static Win32WindowPeer* from(HWND hwnd);
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK hotKeyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Handlers that reach the core may destroy this peer: the caller returns
    // at once afterwards.
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, const RECT& area);
    void paintBuffered(HDC dc, const RECT& area);
    void leftButtonDown(Point at);
    void trayEvent(LPARAM mouseMessage);
    LRESULT controlColour(UINT message, WPARAM wParam, LPARAM lParam);
    Win32ControlPeer* byHandle(HWND child) const;
    Win32ControlPeer* byId(UINT_PTR id) const;
    Win32ControlPeer* pressable(Point at) const;

    Win32Backend& backend_;
    Window& window_;
    HWND hwnd_ = nullptr;
    std::vector<Win32ControlPeer*> controls_;  // stacking order, the topmost first
    UINT_PTR nextId_ = 1;
    std::map<int, Control*> hotKeys_;
    HICON trayIcon_ = nullptr;
    bool trayShown_ = false;
};

}  // namespace inkmoss
