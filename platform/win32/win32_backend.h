#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "app/backend.h"
#include "platform/win32/painting.h"

namespace inkmoss {

class Win32WindowPeer;

// The real platform: top-level windows of one shared class, GDI painting,
// files through the ANSI file functions, WinInet, the shell.
class Win32Backend : public Backend {
public:
    // Without `runDirectory` the program runs where its executable lies; an
    // in-process test gives a folder of its own instead.
    explicit Win32Backend(std::optional<Text> runDirectory = std::nullopt);
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    std::unique_ptr<WindowPeer> createWindow(Window& window, Rect place) override;
    Size screenSize() const override;
    Point cursorPosition() const override;
    Text runDirectory() const override;
    void prepareProcess() override;
    std::optional<std::string> readFile(const Text& path) override;
    bool replaceFile(const Text& path, std::string_view bytes) override;
    bool makeDirectory(const Text& path) override;
    std::vector<std::string> httpGet(const std::vector<HttpRequest>& requests, int deadlineMs) override;
    int messageBox(std::string_view text, std::string_view caption, unsigned style) override;
    void openAddress(const Text& address) override;
    void quit() override;
    [[noreturn]] void endProgram(int exitCode) override;

    // Runs until the quit message and returns its exit code. Esc closes the
    // top-level window it was meant for: no control of the program claims it.
    int messageLoop();

    // Replaces ExitProcess at the end of `endProgram`; a test sets one that
    // throws, so the end can be observed without losing the test process.
    std::function<void(int)> endHook;

    Gdi& gdi() { return gdi_; }
    ATOM windowClass() const { return windowClass_; }

private:
    friend class Win32WindowPeer;

    std::optional<Text> runDirectory_;
    Gdi gdi_;
    ATOM windowClass_ = 0;
    std::vector<Win32WindowPeer*> windows_;
};

}  // namespace inkmoss
