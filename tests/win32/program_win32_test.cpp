// The real Inkmoss.exe, started as its own process from a copy in a folder
// of its own: what it keeps on disk and how it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/ui_texts.h"
#include "tests/win32/program_fixture.h"
#include "platform/win32/window_peer.h"

namespace inkmoss {
namespace {

// "淺色": the second byte of its first character is a backslash, which a
// byte-wise search for the last folder separator would cut the path at.
constexpr char kRunFolder[] = "\x9C\x5C\xC9\xAB";

std::string directoryOfThisTest() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, length);
    return full.substr(0, full.find_last_of('\\'));
}

std::optional<std::string> fileBytes(const std::string& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The environment of this process, with every proxy the system's HTTP
// client honours pointing at a closed loopback port: the version lookups of
// the copy fail at once and never leave this machine.
std::string offlineEnvironment() {
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
        block += entry;
        block += '\0';
    }
    FreeEnvironmentStringsA(strings);
    block += "http_proxy=http://127.0.0.1:9";
    block += '\0';
    return block;
}

// A copy of the program running from `folder`, found by its lock window.
class RunningCopy {
public:
    explicit RunningCopy(const std::string& folder) {
        const std::string exe = folder + "\\Inkmoss.exe";
        if (!CopyFileA((directoryOfThisTest() + "\\Inkmoss.exe").c_str(), exe.c_str(), FALSE)) return;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string environment = offlineEnvironment();
        // Started elsewhere: the program must find its folder by itself.
        if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, environment.data(), nullptr, &startup,
                            &process_))
            return;
        for (int tries = 0; tries < 200 && !window_; ++tries) {
            Sleep(100);
            EnumWindows(
                [](HWND hwnd, LPARAM self) -> BOOL {
                    return static_cast<RunningCopy*>(reinterpret_cast<void*>(self))->adopt(hwnd);
                },
                reinterpret_cast<LPARAM>(this));
        }
    }
    ~RunningCopy() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    HWND window() const { return window_; }

    // The child window of `className` whose top left corner lies at `at`
    // (client coordinates) or, given `text`, whose text it is.
    HWND child(const char* className, POINT at, std::string_view text = {}) const {
        for (HWND hwnd = GetWindow(window_, GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
            char name[32] = {};
            GetClassNameA(hwnd, name, sizeof(name));
            if (lstrcmpiA(name, className) != 0) continue;
            if (!text.empty()) {
                char caption[64] = {};
                SendMessageA(hwnd, WM_GETTEXT, sizeof(caption), reinterpret_cast<LPARAM>(caption));
                if (text == caption) return hwnd;
                continue;
            }
            RECT rect{};
            GetWindowRect(hwnd, &rect);
            MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
            if (rect.left == at.x && rect.top == at.y) return hwnd;
        }
        return nullptr;
    }
    HWND button(std::string_view caption) const { return child("Button", {}, caption); }

    // The exit code once the process has ended, nothing while it runs on.
    std::optional<DWORD> exitCode() const {
        if (WaitForSingleObject(process_.hProcess, 15000) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    BOOL adopt(HWND hwnd) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char className[64] = {};
        GetClassNameA(hwnd, className, sizeof(className));
        char title[64] = {};
        GetWindowTextA(hwnd, title, sizeof(title));
        if (owner != process_.dwProcessId || std::string_view(className) != kWindowClassName ||
            std::string_view(title) != ui::title_lock || !IsWindowVisible(hwnd))
            return TRUE;
        window_ = hwnd;
        return FALSE;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

class ProgramWin32 : public ::testing::Test {
protected:
    ProgramWin32() {
        root_ = freshTestFolder();
        folder = root_ + "\\" + kRunFolder;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ~ProgramWin32() override {
        SetFileAttributesA(passwordFile().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(root_);
    }

    std::string settingsFolder() const { return folder + std::string(ui::settings_folder); }
    std::string passwordFile() const { return folder + std::string(ui::password_file); }

    // Characters sent one by one, as the keyboard would give them.
    static void type(HWND edit, std::wstring_view text) {
        for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
    }

    std::string folder;

private:
    std::string root_;
};

TEST_F(ProgramWin32, RegisteringStoresThePasswordBesideTheProgramAndEscEndsIt) {
    RunningCopy copy(folder);
    ASSERT_NE(copy.window(), nullptr) << "the lock window of the copy";
    const HWND entry = copy.child("Edit", {403, 186});
    ASSERT_NE(entry, nullptr) << "the registration entry shows on a first run";
    ASSERT_TRUE(IsWindowVisible(entry));

    type(entry, L"s3cret");
    SendMessageA(copy.button(ui::lock_confirm), BM_CLICK, 0, 0);
    EXPECT_EQ(fileBytes(passwordFile()), "[ZH]\r\nMM=s3cret\r\n");
    EXPECT_EQ(namesIn(settingsFolder()), std::vector<std::string>{"ZH.ini"}) << "no temporary file is left";
    EXPECT_FALSE(IsWindowVisible(entry)) << "the registration row is done";

    PostMessageA(copy.window(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(copy.exitCode(), 0u);
}

TEST_F(ProgramWin32, AReadOnlySettingsFileStaysAsItWasAndTheCloseButtonEndsTheProgram) {
    const std::string before = "[ZH]\r\nMM=\r\n";
    CreateDirectoryA(settingsFolder().c_str(), nullptr);
    std::ofstream(passwordFile().c_str(), std::ios::binary) << before;
    ASSERT_TRUE(SetFileAttributesA(passwordFile().c_str(), FILE_ATTRIBUTE_READONLY));

    RunningCopy copy(folder);
    ASSERT_NE(copy.window(), nullptr);
    const HWND entry = copy.child("Edit", {403, 186});
    ASSERT_NE(entry, nullptr) << "an empty stored password asks for registration";
    type(entry, L"s3cret");
    SendMessageA(copy.button(ui::lock_confirm), BM_CLICK, 0, 0);
    EXPECT_EQ(fileBytes(passwordFile()), before);
    EXPECT_EQ(namesIn(settingsFolder()), std::vector<std::string>{"ZH.ini"}) << "the temporary file is gone";

    SendMessageA(copy.button(ui::close_mark), BM_CLICK, 0, 0);
    EXPECT_EQ(copy.exitCode(), 0u);
}

}  // namespace
}  // namespace inkmoss
