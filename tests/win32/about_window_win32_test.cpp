// The about window on the real platform: pictures decoded and blended over
// the face, and the move-freely rule.
#include <algorithm>
#include <climits>

#include "about/about_window.h"
#include "tests/win32/program_fixture.h"

namespace inkmoss {
namespace {

constexpr COLORREF kFace = 0xFF8800;

// Where, within an area, the snapshot shows something other than the face.
struct Drawn {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Drawn drawnIn(const Snapshot& shown, const Rect& area) {
    Drawn drawn;
    for (int y = area.top; y < area.top + area.height; ++y)
        for (int x = area.left; x < area.left + area.width; ++x)
            if (shown.at(x, y) != kFace) {
                drawn.left = std::min(drawn.left, x);
                drawn.top = std::min(drawn.top, y);
                drawn.right = std::max(drawn.right, x);
                drawn.bottom = std::max(drawn.bottom, y);
            }
    return drawn;
}

class AboutWindowWin32 : public InProcessProgram {
protected:
    AboutWindow& about() const { return program->about(); }
    HWND window() const { return handle(about()); }
    void open() {
        ASSERT_TRUE(program->load(about()));
        pump();
    }
    // Whether a press at `at` asked the system to move the window, as a
    // press on a caption would.
    bool pressMoves(Point at) const {
        SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        MSG msg;
        return PeekMessageA(&msg, window(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) && msg.wParam == HTCAPTION;
    }
};

TEST_F(AboutWindowWin32, PicturesFillTheirBoxesAndLetTheFaceShowThroughTheirTransparentParts) {
    open();
    const Snapshot shown(window());
    for (const Control* box : {&about().图片框1, &about().图片框2, &about().图片框3}) {
        SCOPED_TRACE(box->design().name);
        const Rect place = box->place();
        const Drawn drawn = drawnIn(shown, place);
        EXPECT_GE(drawn.width(), place.width * 3 / 4) << "stretched to the box";
        EXPECT_GE(drawn.height(), place.height * 3 / 4);
        const Rect around{place.left - 3, place.top - 3, place.width + 6, place.height + 6};
        const Drawn spill = drawnIn(shown, around);
        EXPECT_TRUE(spill.left >= place.left && spill.right < place.left + place.width) << "nothing outside the box";
        EXPECT_TRUE(spill.top >= place.top && spill.bottom < place.top + place.height);
    }
    // The corners of both photographs are fully transparent.
    for (const Control* box : {&about().图片框1, &about().图片框2}) {
        const Rect place = box->place();
        EXPECT_EQ(shown.at(place.left, place.top), kFace) << box->design().name;
    }
}

TEST_F(AboutWindowWin32, TheFaceAndThePicturesMoveTheWindowTheCreditsDoNot) {
    open();
    const struct {
        const char* what;
        Point at;
        bool moves;
    } presses[] = {
        {"the face", {5, 240}, true},
        {"the tall picture", {60, 70}, true},
        {"the icon", {185, 70}, true},
        {"the credits", {100, 160}, false},
    };
    for (const auto& press : presses) EXPECT_EQ(pressMoves(press.at), press.moves) << press.what;
}

TEST_F(AboutWindowWin32, ItsCloseButtonDestroysItWhenTheMessageLoopComesRound) {
    open();
    const HWND hwnd = window();
    SendMessageA(child(about().超级按钮_关闭), BM_CLICK, 0, 0);
    EXPECT_TRUE(about().loaded()) << "marked, still there for the rest of the handler";
    EXPECT_TRUE(IsWindow(hwnd));
    pump();
    EXPECT_FALSE(about().loaded());
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
}  // namespace inkmoss
