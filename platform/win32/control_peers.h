#pragma once
#include <windows.h>

#include "app/control.h"

namespace inkmoss {

class Win32WindowPeer;

// A control on a real window. Buttons, hyperlinks, edit boxes and labels
// are child windows; transparent labels, shapes and pictures have none and
// are painted by their parent, so they show whatever lies beneath them.
class Win32ControlPeer : public ControlPeer {
public:
    Win32ControlPeer(Win32WindowPeer& window, Control& control, UINT_PTR id);
    ~Win32ControlPeer() override;
    Win32ControlPeer(const Win32ControlPeer&) = delete;
    Win32ControlPeer& operator=(const Win32ControlPeer&) = delete;

    void changed(Change what) override;
    Text typedText() const override;
    void setTimer(int periodMs) override;
    bool modified() const override;

    Control& control() const { return control_; }
    // Null for the kinds painted by the parent.
    HWND handle() const { return hwnd_; }
    // The child window's identifier, and the timer's.
    UINT_PTR id() const { return id_; }
    bool windowless() const;
    // Paints an owner-drawn colour button or hyperlink box.
    void draw(const DRAWITEMSTRUCT& item) const;

private:
    static LRESULT CALLBACK hoverProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void createChild();
    void applyLook();
    void redraw();

    Win32WindowPeer& window_;
    Control& control_;
    const UINT_PTR id_;
    HWND hwnd_ = nullptr;
    Rect shownPlace_;  // where a windowless control was last painted
    bool hot_ = false;
};

}  // namespace inkmoss
