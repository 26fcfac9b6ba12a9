#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/types.h"

namespace inkmoss {

class Window;
class WindowPeer;
class Program;

// MessageBoxA styles the program uses.
inline constexpr unsigned kBoxOk = 0x0;
inline constexpr unsigned kBoxYesNo = 0x4;
inline constexpr unsigned kBoxIconError = 0x10;
inline constexpr unsigned kBoxIconQuestion = 0x20;
inline constexpr unsigned kBoxIconExclamation = 0x30;
inline constexpr unsigned kBoxIconInformation = 0x40;
inline constexpr unsigned kBoxTaskModal = 0x2000;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Everything the core asks of the platform. One object per run, handed to the
// program; the core never asks which platform it runs on.
class Backend {
public:
    virtual ~Backend() = default;

    virtual std::unique_ptr<WindowPeer> createWindow(Window& window, Rect place) = 0;
    virtual Size screenSize() const = 0;
    virtual Point cursorPosition() const = 0;

    // The directory of the executable, without a trailing backslash.
    virtual Text runDirectory() const = 0;
    // Makes the run directory current and starts the component system.
    virtual void prepareProcess() = 0;

    // Files by ANSI path with backslashes. `replaceFile` writes a temporary
    // file beside the target and renames it over the target only when every
    // byte is on disk, so a crash leaves the old file or the new one.
    virtual std::optional<std::string> readFile(const Text& path) = 0;
    virtual bool replaceFile(const Text& path, std::string_view bytes) = 0;
    virtual bool makeDirectory(const Text& path) = 0;

    // GET requests made together; each result is the reply body, at most
    // kMaxReply bytes, or empty for a failure or an answer that did not
    // arrive within `deadlineMs` of the call (a late answer is dropped).
    struct HttpRequest {
        Text host;
        int port;
        Text target;  // path and query
    };
    static constexpr std::size_t kMaxReply = 64 * 1024;
    virtual std::vector<std::string> httpGet(const std::vector<HttpRequest>& requests, int deadlineMs) = 0;

    virtual int messageBox(std::string_view text, std::string_view caption, unsigned style) = 0;
    virtual void openAddress(const Text& address) = 0;

    // Posts the quit message: the message loop ends.
    virtual void quit() = 0;
    // Tears the program down at once; never returns.
    [[noreturn]] virtual void endProgram(int exitCode) = 0;
};

}  // namespace inkmoss
