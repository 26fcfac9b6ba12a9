#pragma once
#include <memory>
#include <string_view>

#include "app/types.h"

namespace inkmoss {

class Backend;
class Window;
class LockWindow;
class MainWindow;
class AboutWindow;

// The program: its backend and its fixed set of windows, each loaded at most
// once at a time. Handlers reach the other windows through it.
class Program {
public:
    explicit Program(Backend& backend);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Backend& backend() const { return backend_; }
    LockWindow& lock() const { return *lock_; }
    MainWindow& main() const { return *main_; }
    AboutWindow& about() const { return *about_; }

    // Prepares the process and loads the start-up window.
    void start();

    // Creates and shows the window, or brings a loaded one forward. Returns
    // whether it is loaded afterwards.
    bool load(Window& window);
    // Marks the window; the message loop destroys it a moment later, so the
    // caller may still touch it until then.
    void destroy(Window& window);
    // The message loop reached the request `destroy` posted.
    void finishDestroy(Window& window);
    // Esc, or the platform's close request.
    void closeRequested(Window& window);

    [[noreturn]] void end();
    [[noreturn]] void fatal(std::string_view message);

    Text runDirectory() const;

private:
    void destroyNow(Window& window);
    bool anyLoaded() const;

    Backend& backend_;
    std::unique_ptr<LockWindow> lock_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<AboutWindow> about_;
};

}  // namespace inkmoss
