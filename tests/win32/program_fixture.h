#pragma once
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "platform/win32/control_peers.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/window_peer.h"

namespace inkmoss {

struct ProgramEnded {
    int exitCode;
};

// The real platform with the network and the browser left out: the version
// lookups of the lock window find nothing, at once, and addresses to open
// are only noted.
class OfflineBackend : public Win32Backend {
public:
    using Win32Backend::Win32Backend;
    std::vector<std::string> httpGet(const std::vector<HttpRequest>& requests, int) override {
        return std::vector<std::string>(requests.size());
    }
    void openAddress(const Text& address) override { opened.push_back(address); }

    std::vector<Text> opened;
};

// Handles what is waiting, with short pauses, so paints and posted messages
// of several rounds come through.
inline void pump(int rounds = 5) {
    for (int round = 0; round < rounds; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}

// Handles messages one at a time, waiting for the next when none is there,
// until `done` holds or `ms` milliseconds have passed; whether it came to
// hold. `done` is asked after every message, so a state that one message
// makes and the next undoes is still seen.
inline bool pumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        }
    }
    return true;
}

// Whether the notification area holds the window's icon: only a known icon
// can be modified.
inline bool trayHasIcon(HWND hwnd) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// What a window's client area shows, copied once from the screen.
class Snapshot {
public:
    explicit Snapshot(HWND hwnd) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT client{};
        GetClientRect(hwnd, &client);
        const HDC dc = GetDC(hwnd);
        memory_ = CreateCompatibleDC(dc);
        bitmap_ = CreateCompatibleBitmap(dc, client.right, client.bottom);
        previous_ = SelectObject(memory_, bitmap_);
        BitBlt(memory_, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, dc);
    }
    ~Snapshot() {
        SelectObject(memory_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    COLORREF at(int x, int y) const { return GetPixel(memory_, x, y); }

private:
    HDC memory_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// An empty folder of the running test's own in the temporary folder.
inline std::string freshTestFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = std::string(temp) + "inkmoss-" + std::to_string(GetCurrentProcessId()) + "-" + info->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// A program on the real platform in this process, with a run directory of
// its own.
class InProcessProgram : public ::testing::Test {
protected:
    InProcessProgram() {
        dir = freshTestFolder();
        GetCurrentDirectoryA(MAX_PATH, previousDirectory_);
        // The mouse stays away, so no button shows its hot colours.
        SetCursorPos(0, 0);
        backend = std::make_unique<OfflineBackend>(dir);
        backend->endHook = [](int code) { throw ProgramEnded{code}; };
        program = std::make_unique<Program>(*backend);
    }
    ~InProcessProgram() override {
        program.reset();
        backend.reset();
        pump(1);
        SetCurrentDirectoryA(previousDirectory_);
        std::filesystem::remove_all(dir);
    }

    static HWND handle(const Window& window) { return static_cast<Win32WindowPeer*>(window.peer())->handle(); }
    static HWND child(const Control& control) { return static_cast<Win32ControlPeer*>(control.peer())->handle(); }

    // Characters as the keyboard delivers them, through the program's own
    // message loop.
    void type(const Control& edit, std::wstring_view text) {
        for (wchar_t c : text) PostMessageW(child(edit), WM_CHAR, c, 1);
        PostQuitMessage(0);
        backend->messageLoop();
    }

    std::string dir;
    std::unique_ptr<OfflineBackend> backend;
    std::unique_ptr<Program> program;

private:
    char previousDirectory_[MAX_PATH] = {};
};

}  // namespace inkmoss
