#include "platform/win32/win32_backend.h"

#include <ole2.h>
#include <shellapi.h>

#include <algorithm>

#include "app/run_directory.h"
#include "platform/win32/http.h"
#include "platform/win32/system_library.h"
#include "platform/win32/window_peer.h"

namespace inkmoss {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Every byte on disk, or false.
bool writeWhole(const char* path, std::string_view bytes) {
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file.get()) && file.close();
}

}  // namespace

Win32Backend::Win32Backend(std::optional<Text> runDirectory)
    : runDirectory_(std::move(runDirectory)), windowClass_(Win32WindowPeer::registerClass()) {}

Win32Backend::~Win32Backend() {
    if (windowClass_) UnregisterClassA(MAKEINTATOM(windowClass_), GetModuleHandleA(nullptr));
}

std::unique_ptr<WindowPeer> Win32Backend::createWindow(Window& window, Rect place) {
    return Win32WindowPeer::create(*this, window, place);
}

Size Win32Backend::screenSize() const { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Point Win32Backend::cursorPosition() const {
    POINT at{};
    GetCursorPos(&at);
    return {at.x, at.y};
}

Text Win32Backend::runDirectory() const {
    if (runDirectory_) return *runDirectory_;
    char path[260];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    return directoryOf(std::string_view(path, length));
}

void Win32Backend::prepareProcess() {
    // With the backslash a drive root ("C:") means its root, not the drive's
    // current folder.
    SetCurrentDirectoryA((runDirectory() + "\\").c_str());
    OleInitialize(nullptr);
}

std::optional<std::string> Win32Backend::readFile(const Text& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr)) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(chunk, got);
    }
}

bool Win32Backend::replaceFile(const Text& path, std::string_view bytes) {
    // Windows refuses to rename over a read-only file; Wine does not.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    char temporary[MAX_PATH];
    // Beside the target, so the rename stays on one volume.
    if (!GetTempFileNameA(directoryOf(path).c_str(), "ink", 0, temporary)) return false;
    if (writeWhole(temporary, bytes) &&
        MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary);
    return false;
}

bool Win32Backend::makeDirectory(const Text& path) { return CreateDirectoryA(path.c_str(), nullptr); }

std::vector<std::string> Win32Backend::httpGet(const std::vector<HttpRequest>& requests, int deadlineMs) {
    return winInetGet(requests, deadlineMs);
}

int Win32Backend::messageBox(std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxA(nullptr, Text(text).c_str(), Text(caption).c_str(), style);
}

void Win32Backend::openAddress(const Text& address) {
    // The shell is loaded by the first address opened, not with the program.
    static const auto execute = SystemLibrary("shell32.dll").function<decltype(ShellExecuteA)>("ShellExecuteA");
    if (execute) execute(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Backend::quit() { PostQuitMessage(0); }

void Win32Backend::endProgram(int exitCode) {
    // Icons of a process that is gone would stay in the notification area
    // until the mouse passes over them.
    for (Win32WindowPeer* window : windows_) window->removeTrayIcon();
    if (endHook) endHook(exitCode);
    ExitProcess(static_cast<UINT>(exitCode));
}

int Win32Backend::messageLoop() {
    MSG msg;
    // The wide calls carry a typed character whole to the edit boxes; the
    // ANSI ones hand it over byte by byte, and Wine's edit box then makes
    // each byte of a double-byte character a character of its own.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && msg.hwnd) {
            SendMessageA(GetAncestor(msg.hwnd, GA_ROOT), WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace inkmoss
