#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/backend.h"
#include "app/control.h"
#include "app/window.h"

namespace inkmoss {

// Thrown where the real program would end the process.
struct ProgramEnded {
    int exitCode;
};

struct MessageBoxCall {
    Text text;
    Text caption;
    unsigned style;
};

class HeadlessWindowPeer;
class HeadlessControlPeer;

// The whole platform in memory: a virtual clock drives timers and posted
// messages in order, dialogs and answers are scripted, and what the program
// asked of the system is recorded for the tests. Files are real, below the
// run directory, with backslashes taken as folder separators.
class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(std::filesystem::path runDirectory, Size screen = {1280, 800});
    ~HeadlessBackend() override;

    std::unique_ptr<WindowPeer> createWindow(Window& window, Rect place) override;
    Size screenSize() const override { return screen; }
    Point cursorPosition() const override { return cursor; }
    Text runDirectory() const override;
    void prepareProcess() override { prepared = true; }
    std::optional<std::string> readFile(const Text& path) override;
    bool replaceFile(const Text& path, std::string_view bytes) override;
    bool makeDirectory(const Text& path) override;
    std::vector<std::string> httpGet(const std::vector<HttpRequest>& requests, int deadlineMs) override;
    int messageBox(std::string_view text, std::string_view caption, unsigned style) override;
    void openAddress(const Text& address) override { opened.push_back(address); }
    void quit() override { quitPosted = true; }
    [[noreturn]] void endProgram(int exitCode) override;

    // The clock and the message loop.
    std::int64_t now() const { return now_; }
    void advance(int ms);
    void runPending();
    void post(std::function<void()> message) { posted_.push_back(std::move(message)); }

    // The user.
    void type(Control& edit, std::string_view text);
    // A click on a button, a left press on anything else.
    void click(Control& control);
    void pressFace(Window& window);
    void pressEnter();
    void pressEscape(Window& window);

    // What the platform shows.
    HeadlessWindowPeer& peerOf(const Window& window) const;
    bool timerRunning(const Control& control) const;

    Size screen;
    Point cursor;
    bool prepared = false;
    bool quitPosted = false;
    std::deque<int> answers;  // message box answers, in order; OK when empty
    std::vector<MessageBoxCall> boxes;
    std::vector<Text> opened;
    // The network: a reply for each request; failures and late answers are "".
    std::function<std::string(const HttpRequest&)> http = [](const HttpRequest&) { return std::string(); };
    std::vector<HttpRequest> requests;
    int lastDeadlineMs = 0;
    // The item the user picks from the next pop-up menu, -1 for none.
    int menuChoice = -1;

private:
    friend class HeadlessWindowPeer;
    friend class HeadlessControlPeer;

    struct Timer {
        int period;
        std::int64_t due;
        std::uint64_t generation;
    };
    struct HotKey {
        HeadlessWindowPeer* owner;
        int id;
        Control* receiver;
    };

    std::filesystem::path hostPath(const Text& path) const;
    void setTimer(HeadlessControlPeer* peer, int period);
    void forget(HeadlessWindowPeer* peer);

    std::filesystem::path runDirectory_;
    std::int64_t now_ = 0;
    std::uint64_t generations_ = 0;
    std::deque<std::function<void()>> posted_;
    std::map<HeadlessControlPeer*, Timer> timers_;
    std::vector<HeadlessWindowPeer*> windows_;
    std::vector<HotKey> hotKeys_;
};

class HeadlessWindowPeer : public WindowPeer {
public:
    HeadlessWindowPeer(HeadlessBackend& backend, Window& window, Rect place);
    ~HeadlessWindowPeer() override;

    std::unique_ptr<ControlPeer> createControl(Control& control) override;
    void show() override;
    void hide() override { shown = false; }
    bool isVisible() const override { return shown; }
    bool isMinimised() const override { return minimised; }
    bool isMaximised() const override { return maximised; }
    void showNormal() override;
    void restore() override;
    void minimise() override { minimised = true, maximised = false; }
    void maximise() override { maximised = true, minimised = false; }
    void activate() override { ++activations; }
    Rect outerRect() const override { return place; }
    void moveTo(Point origin) override { place.left = origin.x, place.top = origin.y; }
    void startDrag() override { ++drags; }
    void postDestroy() override;
    void installClassStyle() override { dropShadow = true; }
    bool registerEnterHotKey(int id, Control& receiver) override;
    bool setTrayIcon(std::span<const unsigned char> image, Size size, std::string_view tip) override;
    int popUpMenu(std::span<const std::string_view> items, Point at) override;

    struct Tray {
        Size size;
        Text tip;
    };
    struct Menu {
        std::vector<Text> items;
        Point at;
    };

    Window& window;
    Rect place;
    bool shown = false;
    bool minimised = false;
    bool maximised = false;
    bool dropShadow = false;
    int shows = 0;
    int activations = 0;
    int drags = 0;
    std::optional<Tray> tray;
    bool trayFailure = false;  // the platform cannot make the icon
    std::vector<Menu> menus;

private:
    HeadlessBackend& backend_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class HeadlessControlPeer : public ControlPeer {
public:
    HeadlessControlPeer(HeadlessBackend& backend, Control& control);
    ~HeadlessControlPeer() override;

    void changed(Change what) override;
    Text typedText() const override { return typed; }
    void setTimer(int periodMs) override { backend_.setTimer(this, periodMs); }
    bool modified() const override { return userTyped; }

    Control& control;
    Text typed;
    bool userTyped = false;

private:
    HeadlessBackend& backend_;
};

}  // namespace inkmoss
