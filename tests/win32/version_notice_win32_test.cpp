// The new-version notice on the real platform: the task-modal message box
// stands alone on the screen before the lock window shows, and the link
// appears once it is dismissed.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/deployment.h"
#include "app/ui_texts.h"
#include "lock/lock_window.h"
#include "tests/win32/program_fixture.h"

namespace inkmoss {
namespace {

// The profile service answers at once: a newer version and its address.
class NewerVersionBackend : public OfflineBackend {
public:
    using OfflineBackend::OfflineBackend;
    std::vector<std::string> httpGet(const std::vector<HttpRequest>& requests, int) override {
        std::vector<std::string> replies;
        for (const HttpRequest& request : requests) {
            const bool version = request.target.ends_with(deployment::kVersionAccount);
            replies.push_back(std::string("cb({\"1\":[\"img\",0,0,\"") + (version ? "2.1" : "http://dl.example/x") +
                              "\",0]})");
        }
        return replies;
    }
};

struct SeenBox {
    std::string caption;
    std::string text;
    bool lockWindowVisible = true;
};

HWND dialogOf(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM result) {
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof(name));
            if (std::string(name) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits for a dialog of the program's thread, notes what it shows, and
// presses its OK button.
SeenBox dismissTheBox(DWORD uiThread, const std::atomic<bool>& stop) {
    SeenBox seen;
    while (!stop) {
        if (const HWND box = dialogOf(uiThread)) {
            char text[256] = {};
            GetWindowTextA(box, text, sizeof(text));
            seen.caption = text;
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            seen.text = text;
            const HWND lock = FindWindowA(nullptr, std::string(ui::title_lock).c_str());
            seen.lockWindowVisible = lock && IsWindowVisible(lock);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return seen;
        }
        Sleep(20);
    }
    return seen;
}

class VersionNoticeWin32 : public InProcessProgram {};

TEST_F(VersionNoticeWin32, TheBoxComesBeforeTheWindowAndTheLinkAfterIt) {
    // One backend at a time: each registers the program's window class.
    program.reset();
    backend.reset();
    backend = std::make_unique<NewerVersionBackend>(dir);
    backend->endHook = [](int code) { throw ProgramEnded{code}; };
    program = std::make_unique<Program>(*backend);

    std::atomic<bool> stop = false;
    SeenBox seen;
    std::thread watcher([&, ui = GetCurrentThreadId()] { seen = dismissTheBox(ui, stop); });
    program->start();
    stop = true;
    watcher.join();
    pump();

    EXPECT_EQ(seen.caption, ui::info_caption);
    EXPECT_EQ(seen.text, ui::new_version);
    EXPECT_FALSE(seen.lockWindowVisible) << "the box stands alone before the window appears";
    LockWindow& lock = program->lock();
    EXPECT_TRUE(IsWindowVisible(handle(lock)));
    EXPECT_TRUE(IsWindowVisible(child(lock.超级链接框2)));
    EXPECT_EQ(lock.超级链接框2.text(), std::string(ui::download_prefix) + "2.1" + std::string(ui::download_suffix));
    EXPECT_EQ(lock.超级链接框2.address(), "http://dl.example/x");
}

}  // namespace
}  // namespace inkmoss
