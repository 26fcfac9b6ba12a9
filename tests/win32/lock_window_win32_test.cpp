// The lock window on the real platform, in this process: what only Windows
// shows (styles, the shared class, stacking, pixels, typed characters, the
// system-wide hot key, the tray icon, the message loop's Esc).
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "app/assets.h"
#include "app/icon.h"
#include "app/ui_texts.h"
#include "lock/lock_window.h"
#include "tests/win32/program_fixture.h"

namespace inkmoss {
namespace {

// A plain window of a system class, standing for another program.
class OtherProgramWindow {
public:
    OtherProgramWindow()
        : hwnd_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~OtherProgramWindow() { DestroyWindow(hwnd_); }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
    bool takeEnter() {
        const bool taken = RegisterHotKey(hwnd_, 1, 0, VK_RETURN);
        if (taken) UnregisterHotKey(hwnd_, 1);
        return taken;
    }

private:
    HWND hwnd_;
};

class LockWindowWin32 : public InProcessProgram {
protected:
    void start() {
        program->start();
        pump();
    }
    LockWindow& lock() const { return program->lock(); }
    HWND window() const { return handle(lock()); }

    void putSetting(std::string_view tail, const std::string& bytes) const {
        CreateDirectoryA((dir + std::string(ui::settings_folder)).c_str(), nullptr);
        std::ofstream((dir + std::string(tail)).c_str(), std::ios::binary) << bytes;
    }
    void pressEnter() {
        PostMessageA(window(), WM_HOTKEY, LockWindow::kEnterHotKey, MAKELPARAM(0, VK_RETURN));
        pump();
    }
};

TEST_F(LockWindowWin32, IsAFramelessCentredWindowWithItsOwnTaskbarButton) {
    start();
    const HWND hwnd = window();
    ASSERT_TRUE(IsWindowVisible(hwnd));

    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 502);
    EXPECT_EQ(client.bottom, 319);
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 502) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 319) / 2);
    EXPECT_EQ(outer.right - outer.left, 502) << "no frame around the client area";
    EXPECT_EQ(outer.bottom - outer.top, 319);

    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);

    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof(title));
    EXPECT_EQ(std::string(title), ui::title_lock);
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    EXPECT_STREQ(className, kWindowClassName);
}

TEST_F(LockWindowWin32, EveryMessageGivesTheSharedClassItsDropShadow) {
    // The class is the backend's own and starts without the shadow, so only
    // the lock window's procedure can set it.
    WNDCLASSEXA registered{};
    registered.cbSize = sizeof(registered);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kWindowClassName, &registered));
    ASSERT_EQ(registered.style & CS_DROPSHADOW, 0u);

    start();
    SetClassLongA(window(), GCL_STYLE, 0);
    SendMessageA(window(), WM_NULL, 0, 0);
    EXPECT_EQ(GetClassLongA(window(), GCL_STYLE) & CS_DROPSHADOW, static_cast<DWORD>(CS_DROPSHADOW));
}

TEST_F(LockWindowWin32, ChildWindowsStackInLayoutOrder) {
    start();
    // Every child window's control, from the top of the stack down.
    std::vector<int> rows;
    const auto controls = lock().controls();
    for (HWND hwnd = GetWindow(window(), GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        for (std::size_t row = 0; row < controls.size(); ++row)
            if (controls[row]->peer() && child(*controls[row]) == hwnd) rows.push_back(static_cast<int>(row));
    }
    ASSERT_EQ(rows.size(), 9u) << "4 colour buttons, 3 edit boxes, a label and a hyperlink";
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
}

TEST_F(LockWindowWin32, EditBoxesMaskPasswordsAndTellTheUsersTypingFromTheProgramsWriting) {
    start();
    EXPECT_EQ(SendMessageA(child(lock().编辑框2), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageA(child(lock().编辑框3), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageA(child(lock().编辑框1), EM_GETPASSWORDCHAR, 0, 0), 0);

    Control& name = lock().编辑框1;
    EXPECT_FALSE(name.modified());
    type(name, L"张三");
    EXPECT_EQ(name.text(), "\xD5\xC5\xC8\xFD") << "the ANSI bytes of what was typed";
    EXPECT_TRUE(name.modified());
    name.setText("ok");
    EXPECT_EQ(name.text(), "ok");
    EXPECT_FALSE(name.modified());
}

TEST_F(LockWindowWin32, PaintsTheFaceTheBackingsAndTheButtons) {
    start();
    const Snapshot shown(window());
    EXPECT_EQ(shown.at(480, 300), 0xFF8800u) << "the face";
    EXPECT_EQ(shown.at(209, 202), 0xFFFFFFu) << "the white backing one pixel around the password entry";
    EXPECT_EQ(shown.at(340, 212), 0xFF8800u) << "inside the password entry";
    EXPECT_EQ(shown.at(206, 251), 0xC06000u) << "the open button";

    // The banner is a transparent label: white text straight on the face.
    int white = 0;
    int face = 0;
    for (int y = 66; y < 101; ++y)
        for (int x = 112; x < 384; ++x) {
            const COLORREF colour = shown.at(x, y);
            white += colour == 0xFFFFFF;
            face += colour == 0xFF8800;
        }
    EXPECT_GT(white, 100);
    EXPECT_GT(face, 272 * 35 / 2);
}

TEST_F(LockWindowWin32, TheOpenButtonLightsUpWhileTheMouseIsOverIt) {
    start();
    POINT over{206, 251};
    ClientToScreen(window(), &over);
    SetCursorPos(over.x, over.y);
    pump();
    EXPECT_EQ(Snapshot(window()).at(206, 251), 0xFD9F02u);
    // The system notices the mouse leaving on its own timer.
    SetCursorPos(0, 0);
    pump(50);
    EXPECT_EQ(Snapshot(window()).at(206, 251), 0xC06000u);
}

TEST_F(LockWindowWin32, EnterAnywhereRunsTheUnlockAttempt) {
    putSetting(ui::password_file, "[ZH]\r\nMM=secret\r\n");
    start();
    OtherProgramWindow other;
    EXPECT_FALSE(other.takeEnter()) << "the lock window holds Enter system-wide";

    PostMessageA(window(), WM_HOTKEY, LockWindow::kEnterHotKey + 1, 0);
    pump();
    EXPECT_FALSE(lock().超级按钮_关闭9.visible()) << "not one of the program's hot keys";

    pressEnter();
    ASSERT_TRUE(lock().超级按钮_关闭9.visible());
    EXPECT_EQ(lock().超级按钮_关闭9.text(), ui::wrong_password);
    EXPECT_TRUE(IsWindowVisible(child(lock().超级按钮_关闭9)));
    EXPECT_EQ(Snapshot(window()).at(164, 285), 0x808080u) << "the notice";

    type(lock().编辑框2, L"secret");
    pressEnter();
    EXPECT_TRUE(lock().外形框1.visible());
    EXPECT_FALSE(IsWindowVisible(child(lock().超级按钮1)));
    EXPECT_EQ(Snapshot(window()).at(449, 182), 0xC06000u) << "the progress frame";
    pump(20);
    EXPECT_GT(lock().外形框3.width(), 0) << "the step timer runs";
}

TEST_F(LockWindowWin32, TheDownloadLinkOpensItsAddressOnThePress) {
    start();
    Control& link = lock().超级链接框2;
    link.setAddress("http://127.0.0.1/download");
    link.setVisible(true);
    ASSERT_TRUE(IsWindowVisible(child(link)));
    SendMessageA(child(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(backend->opened, std::vector<Text>{"http://127.0.0.1/download"});
}

TEST_F(LockWindowWin32, ATrayIconIsMadeFromAnIconImageOrNotAtAllAndGoesWithTheProgram) {
    start();
    WindowPeer& peer = *lock().peer();
    // Whether the notification area knows an icon of the window.
    const auto trayHasIcon = [&] {
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof(data);
        data.hWnd = window();
        data.uID = kTrayIconId;
        return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    };
    const auto image = chooseIconImage(assetBytes(Picture::ProgramIcon), 16);
    ASSERT_TRUE(image);
    EXPECT_TRUE(peer.setTrayIcon(image->bytes, image->size, "Inkmoss"));
    EXPECT_TRUE(trayHasIcon());
    EXPECT_TRUE(peer.setTrayIcon(image->bytes, image->size, "Inkmoss")) << "a second icon replaces the first";

    const unsigned char noIcon[] = {1, 2, 3, 4};
    EXPECT_FALSE(peer.setTrayIcon(noIcon, image->size, "Inkmoss"));
    EXPECT_FALSE(trayHasIcon()) << "the old icon is gone as well";

    ASSERT_TRUE(peer.setTrayIcon(image->bytes, image->size, "Inkmoss"));
    EXPECT_THROW(program->end(), ProgramEnded);
    EXPECT_FALSE(trayHasIcon()) << "the end of the program takes its icons along";
}

TEST_F(LockWindowWin32, EscClosesTheLastWindowAndEndsTheMessageLoop) {
    start();
    OtherProgramWindow other;
    ASSERT_FALSE(other.takeEnter());

    // Esc reaches the focused entry, not the window itself.
    PostMessageA(child(lock().编辑框2), WM_KEYDOWN, VK_ESCAPE, 0);
    // Should Esc be lost, the loop still ends, with another code.
    const UINT_PTR watchdog =
        SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
    EXPECT_EQ(backend->messageLoop(), 0);
    KillTimer(nullptr, watchdog);

    EXPECT_FALSE(lock().loaded());
    EXPECT_TRUE(other.takeEnter()) << "the hot key went with the window";
}

}  // namespace
}  // namespace inkmoss
