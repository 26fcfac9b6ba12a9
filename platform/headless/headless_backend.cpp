#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "app/program.h"

namespace inkmoss {

HeadlessBackend::HeadlessBackend(std::filesystem::path runDirectory, Size screenSize)
    : screen(screenSize), runDirectory_(std::move(runDirectory)) {}

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<WindowPeer> HeadlessBackend::createWindow(Window& window, Rect place) {
    return std::make_unique<HeadlessWindowPeer>(*this, window, place);
}

Text HeadlessBackend::runDirectory() const { return runDirectory_.string(); }

std::filesystem::path HeadlessBackend::hostPath(const Text& path) const {
    Text host = path;
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

std::optional<std::string> HeadlessBackend::readFile(const Text& path) {
    std::ifstream in(hostPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool HeadlessBackend::replaceFile(const Text& path, std::string_view bytes) {
    const std::filesystem::path target = hostPath(path);
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    return !error;
}

bool HeadlessBackend::makeDirectory(const Text& path) {
    std::error_code error;
    return std::filesystem::create_directory(hostPath(path), error);
}

std::vector<std::string> HeadlessBackend::httpGet(const std::vector<HttpRequest>& batch, int deadlineMs) {
    lastDeadlineMs = deadlineMs;
    std::vector<std::string> replies;
    for (const HttpRequest& request : batch) {
        requests.push_back(request);
        replies.push_back(http(request).substr(0, kMaxReply));
    }
    return replies;
}

int HeadlessBackend::messageBox(std::string_view text, std::string_view caption, unsigned style) {
    boxes.push_back({Text(text), Text(caption), style});
    if (answers.empty()) return kAnswerOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void HeadlessBackend::endProgram(int exitCode) { throw ProgramEnded{exitCode}; }

void HeadlessBackend::runPending() {
    while (!posted_.empty()) {
        auto message = std::move(posted_.front());
        posted_.pop_front();
        message();
    }
}

void HeadlessBackend::advance(int ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        runPending();
        auto next = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
            return std::tie(a.second.due, a.second.generation) < std::tie(b.second.due, b.second.generation);
        });
        if (next == timers_.end() || next->second.due > target) break;
        now_ = next->second.due;
        HeadlessControlPeer* peer = next->first;
        const std::uint64_t generation = next->second.generation;
        peer->control.fire();
        // A handler that set the timer again has already scheduled it anew.
        if (auto same = timers_.find(peer); same != timers_.end() && same->second.generation == generation)
            same->second.due += same->second.period;
    }
    now_ = target;
    runPending();
}

void HeadlessBackend::setTimer(HeadlessControlPeer* peer, int period) {
    if (period <= 0)
        timers_.erase(peer);
    else
        timers_[peer] = Timer{period, now_ + period, ++generations_};
}

bool HeadlessBackend::timerRunning(const Control& control) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const auto& timer) { return &timer.first->control == &control; });
}

void HeadlessBackend::type(Control& edit, std::string_view text) {
    if (edit.design().kind != Kind::EditBox || !edit.visible() || !edit.enabled())
        throw std::logic_error(std::string("cannot type into ") + edit.design().name);
    auto* peer = static_cast<HeadlessControlPeer*>(edit.peer());
    peer->typed = Text(text);
    peer->userTyped = true;
}

void HeadlessBackend::click(Control& control) {
    if (!control.visible() || !control.enabled())
        throw std::logic_error(std::string("cannot click ") + control.design().name);
    Window& window = control.owner();
    // A window that moves freely moves when its pictures are pressed; the
    // press goes no further.
    if (window.design().moveFreely && control.design().kind == Kind::PictureBox)
        ++peerOf(window).drags;
    else
        control.fire();
}

void HeadlessBackend::pressFace(Window& window) {
    HeadlessWindowPeer& peer = peerOf(window);
    if (window.design().moveFreely) ++peer.drags;
    window.onFacePressed();
}

void HeadlessBackend::pressEnter() {
    // WM_HOTKEY is posted: it waits until the message loop comes round.
    for (const HotKey& hotKey : hotKeys_) {
        post([this, owner = hotKey.owner, receiver = hotKey.receiver] {
            const bool stillThere = std::any_of(hotKeys_.begin(), hotKeys_.end(),
                                                [&](const HotKey& k) { return k.owner == owner; });
            if (stillThere) receiver->fire();
        });
    }
}

void HeadlessBackend::pressEscape(Window& window) {
    peerOf(window);
    window.program().closeRequested(window);
}

HeadlessWindowPeer& HeadlessBackend::peerOf(const Window& window) const {
    for (HeadlessWindowPeer* peer : windows_)
        if (&peer->window == &window) return *peer;
    throw std::logic_error(std::string(window.design().name) + " is not loaded");
}

void HeadlessBackend::forget(HeadlessWindowPeer* peer) {
    std::erase(windows_, peer);
    std::erase_if(hotKeys_, [&](const HotKey& k) { return k.owner == peer; });
}

HeadlessWindowPeer::HeadlessWindowPeer(HeadlessBackend& backend, Window& window, Rect place)
    : window(window), place(place), backend_(backend) {
    backend_.windows_.push_back(this);
}

HeadlessWindowPeer::~HeadlessWindowPeer() {
    *alive_ = false;
    backend_.forget(this);
}

std::unique_ptr<ControlPeer> HeadlessWindowPeer::createControl(Control& control) {
    return std::make_unique<HeadlessControlPeer>(backend_, control);
}

void HeadlessWindowPeer::show() {
    shown = true;
    ++shows;
    ++activations;
}

void HeadlessWindowPeer::showNormal() {
    minimised = maximised = false;
    ++activations;
}

void HeadlessWindowPeer::restore() { minimised = maximised = false; }

void HeadlessWindowPeer::postDestroy() {
    backend_.post([alive = std::weak_ptr<bool>(alive_), &window = window] {
        if (auto stillThere = alive.lock(); stillThere && *stillThere) window.program().finishDestroy(window);
    });
}

bool HeadlessWindowPeer::registerEnterHotKey(int id, Control& receiver) {
    // Enter is system-wide: a second registration fails as on the real system.
    if (!backend_.hotKeys_.empty()) return false;
    backend_.hotKeys_.push_back({this, id, &receiver});
    return true;
}

bool HeadlessWindowPeer::setTrayIcon(std::span<const unsigned char> image, Size size, std::string_view tip) {
    if (trayFailure || image.empty()) {
        tray.reset();
        return false;
    }
    tray = Tray{size, Text(tip)};
    return true;
}

int HeadlessWindowPeer::popUpMenu(std::span<const std::string_view> items, Point at) {
    menus.push_back({{items.begin(), items.end()}, at});
    return std::exchange(backend_.menuChoice, -1);
}

HeadlessControlPeer::HeadlessControlPeer(HeadlessBackend& backend, Control& control)
    : control(control), typed(control.design().text), backend_(backend) {}

HeadlessControlPeer::~HeadlessControlPeer() { backend_.timers_.erase(this); }

void HeadlessControlPeer::changed(Change what) {
    if (what != Change::Text) return;
    typed = control.storedText();
    userTyped = false;
}

}  // namespace inkmoss
