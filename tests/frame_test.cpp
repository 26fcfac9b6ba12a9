#include "app/run_directory.h"
#include "tests/lock_fixture.h"

namespace inkmoss {
namespace {

class FrameTest : public LockFixture {
protected:
    void SetUp() override { start(); }
    // The step timer of the lock window widens the bar by 10 on every tick.
    Control& timer() { return lock().时钟1; }
    int ticks() { return lock().外形框3.width() / 10; }
};

TEST_F(FrameTest, TimerFollowsThePeriodRules) {
    timer().setPeriod(100);
    backend->advance(50);
    timer().setPeriod(100);  // the same period keeps the rhythm
    backend->advance(50);
    EXPECT_EQ(ticks(), 1);
    backend->advance(50);
    timer().setPeriod(200);  // a new period starts anew from now
    backend->advance(199);
    EXPECT_EQ(ticks(), 1);
    backend->advance(1);
    EXPECT_EQ(ticks(), 2);

    timer().setPeriod(-5);
    EXPECT_EQ(timer().period(), 0);
    backend->advance(1000);
    EXPECT_EQ(ticks(), 2);
    timer().setPeriod(100);
    timer().setPeriod(0);
    backend->advance(1000);
    EXPECT_EQ(ticks(), 2);
}

TEST_F(FrameTest, NoticeLastsTwoSecondsFromItsLatestShowing) {
    lock().showNotice("first");
    backend->advance(1500);
    lock().showNotice("second");
    backend->advance(1999);
    EXPECT_EQ(notice(), "second");
    backend->advance(1);
    EXPECT_FALSE(notice());
    EXPECT_FALSE(backend->timerRunning(lock().时钟3));

    lock().showNotice("third");
    backend->advance(500);
    backend->click(lock().超级按钮_关闭9);
    EXPECT_FALSE(notice());
    lock().showNotice("fourth");
    backend->advance(1999);
    EXPECT_EQ(notice(), "fourth") << "a click must not leave a countdown behind";
}

TEST_F(FrameTest, LoadingALoadedWindowOnlyBringsItForward) {
    auto& peer = backend->peerOf(lock());
    lock().编辑框1.setText("kept");
    const int activations = peer.activations;
    EXPECT_TRUE(program->load(lock()));
    EXPECT_EQ(&backend->peerOf(lock()), &peer);
    EXPECT_EQ(peer.activations, activations + 1);
    EXPECT_EQ(lock().编辑框1.text(), "kept");

    peer.minimised = true;
    program->load(lock());
    EXPECT_FALSE(peer.minimised);
    EXPECT_EQ(peer.shows, 1);
}

TEST_F(FrameTest, DestructionWaitsForTheMessageLoopThenQuits) {
    program->destroy(lock());
    lock().setVisible(false);  // still loaded: the handler that destroyed it goes on
    lock().编辑框1.setText("still writable");
    EXPECT_FALSE(backend->quitPosted);
    backend->runPending();
    EXPECT_FALSE(lock().loaded());
    EXPECT_TRUE(backend->quitPosted);
    EXPECT_FALSE(backend->timerRunning(lock().时钟3));
}

TEST_F(FrameTest, TouchingAControlOfAnUnloadedWindowIsFatal) {
    backend->pressEscape(lock());
    try {
        lock().编辑框1.text();
        FAIL() << "expected the fatal error";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.exitCode, -1);
    }
    ASSERT_EQ(backend->boxes.size(), 1u);
    EXPECT_EQ(backend->boxes[0].caption, ui::fatal_caption);
    EXPECT_EQ(backend->boxes[0].style, 0x10u);
    EXPECT_EQ(backend->boxes[0].text,
              std::string(ui::fatal_head) + "\r\n\r\n" + std::string(ui::fatal_info) + std::string(ui::fatal_not_loaded) + "\r\n");
}

TEST(Geometry, CentringTruncatesTowardZero) {
    EXPECT_EQ(centredOrigin({1280, 800}, {502, 319}), (Point{389, 240}));
    EXPECT_EQ(centredOrigin({500, 300}, {503, 319}), (Point{-1, -9}));
}

TEST(RunDirectory, CutsAtTheLastBackslashWalkingDoubleByteCharactersWhole) {
    struct Case {
        std::string path, directory;
    };
    const Case cases[] = {
        {"C:\\Inkmoss.exe", "C:"},
        {"C:\\Program Files\\Inkmoss\\Inkmoss.exe", "C:\\Program Files\\Inkmoss"},
        // 0x95 0x5C is one character whose trail byte looks like a backslash.
        {"D:\\\xC8\xD5\xBC\xC7\\\x95\x5C.exe", "D:\\\xC8\xD5\xBC\xC7"},
        {"D:\\a\x95\x5C\\b.exe", "D:\\a\x95\x5C"},
    };
    for (const Case& c : cases) EXPECT_EQ(directoryOf(c.path), c.directory) << c.path;
}

}  // namespace
}  // namespace inkmoss
