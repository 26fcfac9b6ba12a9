#include "app/program.h"

#include <cstdlib>

#include "app/backend.h"
#include "app/ui_texts.h"
#include "app/window.h"
#include "about/about_window.h"
#include "editor/main_window.h"
#include "lock/lock_window.h"

namespace inkmoss {

Program::Program(Backend& backend)
    : backend_(backend),
      lock_(std::make_unique<LockWindow>(*this)),
      main_(std::make_unique<MainWindow>(*this)),
      about_(std::make_unique<AboutWindow>(*this)) {}

Program::~Program() = default;

void Program::start() {
    backend_.prepareProcess();
    if (!load(*lock_)) fatal(ui::fatal_no_start_window);
}

bool Program::load(Window& window) {
    if (window.loaded() && !window.marked()) {
        WindowPeer& peer = *window.peer();
        if (peer.isMinimised())
            peer.restore();
        else
            peer.activate();
        return true;
    }
    // A window still waiting for its posted destruction goes now, without
    // ending the program: it is about to be loaded again.
    if (window.loaded()) window.teardown();

    const Point origin = centredOrigin(backend_.screenSize(), window.design().size);
    auto peer = backend_.createWindow(window, {origin.x, origin.y, window.design().size.width, window.design().size.height});
    if (!peer) return false;
    window.create(std::move(peer));
    window.onCreated();
    if (window.loaded()) window.peer()->show();
    return window.loaded();
}

void Program::destroy(Window& window) {
    window.touch();
    if (window.marked()) return;
    window.marked_ = true;
    window.peer()->postDestroy();
}

void Program::finishDestroy(Window& window) {
    if (window.loaded() && window.marked()) destroyNow(window);
}

void Program::closeRequested(Window& window) {
    if (window.loaded() && window.mayClose()) destroyNow(window);
}

void Program::destroyNow(Window& window) {
    window.teardown();
    if (!anyLoaded()) backend_.quit();
}

bool Program::anyLoaded() const { return lock_->loaded() || main_->loaded() || about_->loaded(); }

// GCC does not carry [[noreturn]] through a virtual call; a backend that
// returned from its end would leave the caller on an unloaded window.
void Program::end() {
    backend_.endProgram(0);
    std::abort();
}

void Program::fatal(std::string_view message) {
    Text text(ui::fatal_head);
    text += "\r\n\r\n";
    text += ui::fatal_info;
    text += message;
    text += "\r\n";
    backend_.messageBox(text, ui::fatal_caption, kBoxIconError);
    backend_.endProgram(-1);
    std::abort();
}

Text Program::runDirectory() const { return backend_.runDirectory(); }

}  // namespace inkmoss
