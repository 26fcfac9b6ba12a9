#pragma once
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "app/control.h"
#include "app/types.h"

namespace inkmoss {

class Program;

// The platform's side of a top-level window. Destroying the peer destroys the
// platform window with its timers, hot key and notification-area icon.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    // Called in stacking order, the topmost control first.
    virtual std::unique_ptr<ControlPeer> createControl(Control& control) = 0;
    virtual void show() = 0;  // show and activate
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual bool isMinimised() const = 0;
    virtual bool isMaximised() const = 0;
    virtual void showNormal() = 0;
    virtual void restore() = 0;
    virtual void minimise() = 0;
    virtual void maximise() = 0;
    virtual void activate() = 0;
    virtual Rect outerRect() const = 0;
    virtual void moveTo(Point origin) = 0;
    // Returns when the user lets go of the mouse button.
    virtual void startDrag() = 0;
    // Asks the message loop to call Program::finishDestroy a moment later.
    virtual void postDestroy() = 0;
    // Makes every window of the program's class cast a drop shadow.
    virtual void installClassStyle() = 0;
    // Enter, system-wide, raising the receiver's feedback event.
    virtual bool registerEnterHotKey(int id, Control& receiver) = 0;
    // Adds or replaces the window's notification-area icon, made from one
    // image of an ICO file; the shell reports mouse actions on it through
    // Window::onTray. The icon goes with the window.
    virtual bool setTrayIcon(std::span<const unsigned char> image, Size size, std::string_view tip) = 0;
    // Shows a pop-up menu with its top left corner at `at` (screen
    // coordinates) and returns the index of the chosen item, -1 for none.
    virtual int popUpMenu(std::span<const std::string_view> items, Point at) = 0;
};

struct WindowDesign {
    const char* name;  // UTF-8, for diagnostics and tests
    std::string_view title;
    Size size;
    bool moveFreely = false;  // face and picture boxes move the window
};

// A layout row: which member the control is, how it starts, and the one
// handler its event runs.
template <class W>
struct Row {
    Control W::*control;
    ControlDesign design;
    void (W::*handler)() = nullptr;
};

// One of the program's four windows. The object lives as long as the program;
// "loaded" is whether the platform window and its controls exist.
class Window {
public:
    Window(Program& program, const WindowDesign& design);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Program& program() const { return program_; }
    const WindowDesign& design() const { return design_; }
    bool loaded() const { return peer_ != nullptr; }
    bool marked() const { return marked_; }
    // The fatal error when the window is not loaded.
    void touch() const;

    bool visible() const;
    void setVisible(bool visible);
    int position() const;
    void setPosition(int value);
    void startDrag();
    void showNotice(std::string_view text);
    // Puts the program icon into the notification area with the tip's first
    // 62 bytes; the shell's reports arrive as onTray.
    bool setTrayIcon(std::string_view tip);

    std::span<Control* const> controls() const { return controls_; }
    WindowPeer* peer() const { return peer_.get(); }

    // Events the platform raises on the window itself.
    virtual void onCreated() {}
    virtual void onFacePressed() {}
    virtual void onTray(int /*kind*/) {}
    // Asked before Esc closes the window; false keeps it.
    virtual bool mayClose() { return true; }

protected:
    template <class W>
    void build(W& self, std::span<const Row<W>> layout) {
        for (const Row<W>& row : layout) {
            Control& control = self.*row.control;
            auto handler = row.handler;
            control.bind(*this, row.design, handler ? std::function<void()>([&self, handler] { (self.*handler)(); })
                                                  : std::function<void()>());
            controls_.push_back(&control);
        }
    }
    // The notice button and its countdown timer.
    void useNotice(Control& button, Control& timer);
    void hideNotice();

private:
    friend class Program;
    void create(std::unique_ptr<WindowPeer> peer);
    void teardown();

    Program& program_;
    const WindowDesign& design_;
    std::vector<Control*> controls_;
    std::unique_ptr<WindowPeer> peer_;
    bool marked_ = false;
    int position_ = 1;
    Control* noticeButton_ = nullptr;
    Control* noticeTimer_ = nullptr;
};

}  // namespace inkmoss
