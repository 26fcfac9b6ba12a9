// The main window on the real platform, in this process: the hand-over from
// the lock window through the real timers, what the window paints, its
// notification-area icon and pop-up menu, minimising, and Esc's question.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "about/about_window.h"
#include "app/deployment.h"
#include "app/ui_texts.h"
#include "editor/main_window.h"
#include "lock/lock_window.h"
#include "tests/win32/program_fixture.h"

namespace inkmoss {
namespace {

constexpr COLORREF kFace = 0xFF8800;
constexpr COLORREF kDeepBlue = 0xC06000;

using Corner = std::pair<int, int>;

RECT outerOf(HWND hwnd) {
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    return outer;
}

Corner topLeftOf(HWND hwnd) {
    const RECT outer = outerOf(hwnd);
    return {outer.left, outer.top};
}

Corner centredOnTheScreen(HWND hwnd) {
    const RECT outer = outerOf(hwnd);
    return {(GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2};
}

// Acts once on the first visible top-level window of `className` that this
// thread shows, from inside the modal loop that shows it: a message box or a
// pop-up menu returns only when it has been answered.
class WhenShown {
public:
    WhenShown(const char* className, std::function<void(HWND)> act) {
        state() = {className, std::move(act), false};
        timer_ = SetTimer(nullptr, 0, 50, look);
    }
    ~WhenShown() {
        KillTimer(nullptr, timer_);
        state() = {};
    }
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;

    bool seen() const { return state().seen; }

private:
    struct State {
        const char* className = nullptr;
        std::function<void(HWND)> act;
        bool seen = false;
    };
    // A timer procedure has no context of its own.
    static State& state() {
        static State current;
        return current;
    }
    static void CALLBACK look(HWND, UINT, UINT_PTR, DWORD) {
        State& now = state();
        if (now.seen || !now.act) return;
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM result) -> BOOL {
                char name[32] = {};
                GetClassNameA(hwnd, name, sizeof(name));
                if (!IsWindowVisible(hwnd) || std::string_view(name) != state().className) return TRUE;
                *reinterpret_cast<HWND*>(result) = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (!found) return;
        now.seen = true;
        now.act(found);
    }

    UINT_PTR timer_ = 0;
};

// The texts of a message box: its caption and every child's text.
std::vector<std::string> textsOf(HWND box) {
    std::vector<std::string> texts;
    char text[256] = {};
    GetWindowTextA(box, text, sizeof(text));
    texts.push_back(text);
    EnumChildWindows(
        box,
        [](HWND child, LPARAM into) -> BOOL {
            char text[256] = {};
            GetWindowTextA(child, text, sizeof(text));
            reinterpret_cast<std::vector<std::string>*>(into)->push_back(text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Whether another window could take Enter as its system-wide hot key.
bool enterIsFree() {
    const HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const bool taken = RegisterHotKey(other, 1, 0, VK_RETURN);
    if (taken) UnregisterHotKey(other, 1);
    DestroyWindow(other);
    return taken;
}

std::vector<std::string> itemsOf(HWND menuWindow) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    std::vector<std::string> items;
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        char text[64] = {};
        GetMenuStringA(menu, item, text, sizeof(text), MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

class MainWindowWin32 : public InProcessProgram {
protected:
    MainWindow& main() const { return program->main(); }
    HWND window() const { return handle(main()); }

    // Where the hand-over leaves the program, without waiting for it.
    void openMain() {
        program->start();
        ASSERT_TRUE(program->load(main()));
        pump();
        ASSERT_FALSE(program->lock().loaded());
    }
    void click(const Control& button) {
        SendMessageA(child(button), BM_CLICK, 0, 0);
        pump();
    }
    // A report of the notification area about the window's icon.
    void tray(UINT mouseMessage) {
        SendMessageA(window(), kTrayMessage, kTrayIconId, mouseMessage);
        pump();
    }
    // Away from the centre, so a return to the old place and a centring
    // differ.
    void moveAside() {
        SetWindowPos(window(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pump();
        ASSERT_EQ(topLeftOf(window()), Corner(40, 30));
    }
};

TEST_F(MainWindowWin32, TheUnlockHandsOverToTheCentredMainWindowAfterFourAndAHalfSeconds) {
    CreateDirectoryA((dir + std::string(ui::settings_folder)).c_str(), nullptr);
    std::ofstream((dir + std::string(ui::password_file)).c_str(), std::ios::binary) << "[ZH]\r\nMM=secret\r\n";
    program->start();
    pump();
    LockWindow& lock = program->lock();
    const HWND lockWindow = handle(lock);
    type(lock.编辑框2, L"secret");

    SendMessageA(child(lock.超级按钮1), BM_CLICK, 0, 0);
    const ULONGLONG unlocked = GetTickCount64();
    std::vector<int> widths;
    ASSERT_TRUE(pumpUntil(
        [&] {
            if (const int width = lock.外形框3.width(); widths.empty() || widths.back() != width)
                widths.push_back(width);
            return main().loaded();
        },
        10000))
        << "the main window came";
    const ULONGLONG handedOver = GetTickCount64() - unlocked;
    EXPECT_GE(handedOver, 4450u);
    EXPECT_LT(handedOver, 6000u);
    EXPECT_GE(widths.size(), 20u) << "the bar grew step by step";
    EXPECT_EQ(std::ranges::adjacent_find(widths, std::greater_equal<>()), widths.end()) << "and never shrank";
    EXPECT_EQ(widths.back() % 10, 0);

    // The message that loaded the main window has just been handled.
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_FALSE(IsWindowVisible(lockWindow)) << "hidden at once";
    EXPECT_TRUE(IsWindow(lockWindow)) << "destroyed only when the loop reaches the request";
    EXPECT_FALSE(enterIsFree()) << "the lock window's hot key is still there";
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, 750);
    EXPECT_EQ(client.bottom, 457);
    EXPECT_EQ(topLeftOf(window()), centredOnTheScreen(window()));
    EXPECT_TRUE(trayHasIcon(window()));

    ASSERT_TRUE(pumpUntil([&] { return !IsWindow(lockWindow); }, 2000));
    EXPECT_FALSE(lock.loaded());
    EXPECT_TRUE(main().loaded());
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_TRUE(enterIsFree()) << "the hot key went with the lock window";
}

TEST_F(MainWindowWin32, PaintsTheFaceTheToolColumnTheTextAreaAndTheBottomLabels) {
    openMain();
    const Snapshot shown(window());
    EXPECT_EQ(shown.at(400, 430), kFace) << "the face below the text area";
    EXPECT_EQ(shown.at(16, 67), kDeepBlue) << "the open button";
    EXPECT_EQ(shown.at(60, 404), kDeepBlue) << "the music button";
    EXPECT_EQ(shown.at(400, 200), kDeepBlue) << "the empty text area";

    // Transparent labels: white text straight on the face.
    for (const Control* text : {&main().透明标签5, &main().透明标签2, &main().透明标签1}) {
        SCOPED_TRACE(text->design().name);
        const Rect place = text->place();
        int white = 0;
        int face = 0;
        for (int y = place.top; y < place.top + place.height && y < 457; ++y)
            for (int x = place.left; x < place.left + place.width && x < 750; ++x) {
                const COLORREF colour = shown.at(x, y);
                white += colour == 0xFFFFFF;
                face += colour == kFace;
            }
        EXPECT_GT(white, 10);
        EXPECT_GT(face, place.width * place.height / 3);
    }
}

TEST_F(MainWindowWin32, BothCornerButtonsMinimiseAndADoubleClickOnTheIconBringsTheWindowBack) {
    openMain();
    main().编辑框1.setText("note");
    for (const Control* button : {&main().超级按钮_关闭1, &main().超级按钮_关闭}) {
        SCOPED_TRACE(button->design().name);
        moveAside();
        click(*button);
        EXPECT_TRUE(IsIconic(window()));
        EXPECT_TRUE(main().loaded());
        EXPECT_TRUE(trayHasIcon(window()));
        EXPECT_EQ(main().编辑框1.text(), "note");

        tray(WM_LBUTTONUP);
        EXPECT_TRUE(IsIconic(window())) << "a single click does nothing";
        tray(WM_LBUTTONDBLCLK);
        EXPECT_FALSE(IsIconic(window()));
        EXPECT_TRUE(IsWindowVisible(window()));
        EXPECT_EQ(topLeftOf(window()), Corner(40, 30)) << "back where it was";
    }
}

TEST_F(MainWindowWin32, ARightClickOnTheIconPopsUpTheMenuAtTheMouse) {
    openMain();
    SetCursorPos(200, 300);
    for (const UINT report : {static_cast<UINT>(WM_RBUTTONUP), static_cast<UINT>(WM_CONTEXTMENU)}) {
        std::vector<std::string> items;
        RECT shownAt{};
        WhenShown menu("#32768", [&](HWND popup) {
            items = itemsOf(popup);
            GetWindowRect(popup, &shownAt);
            EndMenu();
        });
        tray(report);
        ASSERT_TRUE(menu.seen()) << report;
        EXPECT_EQ(items, (std::vector<std::string>{std::string(ui::menu_about), std::string(ui::menu_exit),
                                                   std::string(ui::menu_show)}));
        EXPECT_EQ(shownAt.left, 200);
        EXPECT_EQ(shownAt.top, 300);
    }
    EXPECT_TRUE(main().loaded()) << "closing the menu chooses nothing";
    EXPECT_FALSE(program->about().loaded());
}

// The menu's items, chosen with the keyboard as a user would.
class TrayMenuWin32 : public MainWindowWin32 {
protected:
    void choose(int item) {
        WhenShown menu("#32768", [item](HWND popup) {
            for (int down = 0; down <= item; ++down) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
        });
        tray(WM_RBUTTONUP);
        ASSERT_TRUE(menu.seen());
    }
};

TEST_F(TrayMenuWin32, AboutOpensTheAboutWindow) {
    openMain();
    choose(0);
    ASSERT_TRUE(program->about().loaded());
    EXPECT_TRUE(IsWindowVisible(handle(program->about())));
}

TEST_F(TrayMenuWin32, ExitEndsTheProgramAndTakesTheIconAlong) {
    openMain();
    EXPECT_THROW(choose(1), ProgramEnded);
    EXPECT_FALSE(trayHasIcon(window()));
}

TEST_F(TrayMenuWin32, ShowWindowBringsAMinimisedWindowBackCentred) {
    openMain();
    moveAside();
    click(main().超级按钮_关闭1);
    ASSERT_TRUE(IsIconic(window()));
    choose(2);
    EXPECT_FALSE(IsIconic(window()));
    EXPECT_EQ(topLeftOf(window()), centredOnTheScreen(window()));
}

TEST_F(MainWindowWin32, TheBottomLabelsOpenTheAboutWindowAndThePromotionPage) {
    openMain();
    SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 445));
    pump();
    ASSERT_TRUE(program->about().loaded());
    const HWND about = handle(program->about());
    SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 445));
    pump();
    EXPECT_EQ(handle(program->about()), about) << "no second about window";

    SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(730, 424));
    EXPECT_EQ(backend->opened, std::vector<Text>{Text(deployment::kPromotionAddress)});
}

// Esc on the main window, through the program's own message loop.
struct EscCase {
    const char* what;
    int answer;  // to the question; 0 for a note never typed in, which asks none
    bool stays;
    friend void PrintTo(const EscCase& esc, std::ostream* out) { *out << esc.what; }
};

class EscOnTheMainWindow : public MainWindowWin32, public ::testing::WithParamInterface<EscCase> {};

TEST_P(EscOnTheMainWindow, AsksOnlyAboutAChangedNote) {
    const EscCase& esc = GetParam();
    openMain();
    const HWND hwnd = window();
    if (esc.answer) type(main().编辑框1, L"今天");

    std::vector<std::string> asked;
    WhenShown box("#32770", [&](HWND shown) {
        asked = textsOf(shown);
        // A question that should not have come is answered as well, so the
        // loop goes on to its end.
        PostMessageA(shown, WM_COMMAND, esc.answer ? esc.answer : IDYES, 0);
        // The loop would wait on for a window that stays.
        PostQuitMessage(0);
    });
    // Should the window stay without a question, the loop still ends.
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
    PostMessageA(child(main().编辑框1), WM_KEYDOWN, VK_ESCAPE, 0);
    const int code = backend->messageLoop();
    KillTimer(nullptr, watchdog);

    EXPECT_EQ(box.seen(), esc.answer != 0);
    if (esc.answer) {
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.front(), ui::info_caption);
        EXPECT_NE(std::find(asked.begin(), asked.end(), std::string(ui::unsaved_question)), asked.end());
    }
    EXPECT_EQ(main().loaded(), esc.stays);
    EXPECT_EQ(IsWindow(hwnd) != FALSE, esc.stays);
    EXPECT_EQ(trayHasIcon(hwnd), esc.stays);
    if (esc.stays) {
        EXPECT_EQ(main().编辑框1.text(), "\xBD\xF1\xCC\xEC") << "the note is kept";
    }
    EXPECT_EQ(code, 0) << "the answer or the last window ended the loop, not the watchdog";
}

INSTANTIATE_TEST_SUITE_P(MainWindowWin32, EscOnTheMainWindow,
                         ::testing::Values(EscCase{"unchanged", 0, false}, EscCase{"changed_no", IDNO, true},
                                           EscCase{"changed_yes", IDYES, false}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace inkmoss
