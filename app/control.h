#pragma once
#include <functional>
#include <memory>
#include <string_view>

#include "app/types.h"

namespace inkmoss {

class Window;

enum class Kind {
    ColourButton,
    TransparentLabel,
    ShapeBox,
    PictureBox,
    EditBox,
    Label,
    Timer,
    Hyperlink,
    CommonDialog,
    WebBrowser,
};

enum class Align { Left, Centre, Right };

enum class Picture { None, ProgramIcon, AboutSquare, AboutTall };

// An empty face is the platform's default GUI font. `charset` follows LOGFONT:
// 1 is DEFAULT_CHARSET, 134 is GB2312.
struct Font {
    std::string_view face;
    int height = 0;
    int weight = 400;
    int charset = 1;
};

// Everything about a control's look. Colour buttons use all six colours; a
// shape box draws its outline in `line`; the rest use `text` and `back`.
struct Look {
    Font font;
    Colour text = 0x000000;
    Colour back = 0xFF8800;
    Colour hotText = 0x000000;
    Colour hotBack = 0xFF8800;
    Colour focusText = 0x000000;
    Colour focusBack = 0xFF8800;
    Colour line = 0x000000;
    Align align = Align::Left;
    bool wrap = false;
    bool password = false;
    bool multiline = false;
    Picture picture = Picture::None;
};

// One row of a window's layout: what the control is when the window loads.
struct ControlDesign {
    const char* name;  // the layout's name, UTF-8, for diagnostics and tests
    Kind kind;
    Rect place;
    std::string_view text;
    bool visible;
    Look look;
};

enum class Change { Text, Place, Visible, Enabled, Look, Address };

// The platform's side of a control. It re-reads the changed property from the
// control and shows it at once.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void changed(Change what) = 0;
    // What the user sees typed in an edit box; other kinds never ask.
    virtual Text typedText() const = 0;
    // 0 stops the platform timer; any other period starts it anew.
    virtual void setTimer(int periodMs) = 0;
    // Whether the user changed an edit box since the program last wrote its
    // text (the program's writes clear it).
    virtual bool modified() const = 0;
};

// A control's properties are the program's only state. Every read and write
// requires the owning window to be loaded (otherwise the fatal error).
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void bind(Window& owner, const ControlDesign& design, std::function<void()> handler);

    const ControlDesign& design() const { return *design_; }
    Window& owner() const { return *owner_; }

    Text text() const;
    void setText(std::string_view text);
    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);
    Rect place() const;
    void setPlace(Rect place);
    int width() const { return place().width; }
    void setWidth(int width);
    int period() const;
    void setPeriod(int periodMs);
    Text address() const;
    void setAddress(std::string_view address);
    const Look& look() const;
    void setLook(const Look& look);
    // Whether the user has typed into this edit box since the program last
    // wrote its text.
    bool modified() const;

    // The control's event: clicked, left button pressed, feedback or timer
    // tick, whichever its kind reports.
    void fire();

    // Used by the window while it loads and unloads.
    void reset();
    void attach(std::unique_ptr<ControlPeer> peer);
    void detach();
    ControlPeer* peer() const { return peer_.get(); }
    // The text last written by the program, for the peer to show.
    const Text& storedText() const { return text_; }

private:
    void touch() const;
    void notify(Change what);

    Window* owner_ = nullptr;
    const ControlDesign* design_ = nullptr;
    std::function<void()> handler_;
    std::unique_ptr<ControlPeer> peer_;

    Text text_;
    Rect place_;
    bool visible_ = false;
    bool enabled_ = true;
    int period_ = 0;
    Text address_;
    Look look_;
};

}  // namespace inkmoss
