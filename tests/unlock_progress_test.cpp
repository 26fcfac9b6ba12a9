#include "tests/lock_fixture.h"

namespace inkmoss {
namespace {

class UnlockProgressTest : public LockFixture {
protected:
    int width() { return lock().外形框3.width(); }
    Text percent() { return lock().透明标签6.text(); }
};

TEST_F(UnlockProgressTest, BarGrowsTenPixelsAStepAndStopsFullAtStep38) {
    startAndUnlock();
    EXPECT_FALSE(lock().透明标签6.visible());
    const std::map<int, std::string> expected{{10, "10%"},  {20, "15%"},  {50, "20%"},  {100, "35%"}, {180, "65%"},
                                              {190, "65%"}, {280, "65%"}, {290, "70%"}, {340, "93%"}, {370, "99%"}};
    for (int step = 1; step <= 38; ++step) {
        backend->advance(100);
        ASSERT_EQ(width(), 10 * step);
        EXPECT_TRUE(lock().透明标签6.visible());
        if (auto it = expected.find(width()); it != expected.end()) {
            EXPECT_EQ(percent(), it->second) << width();
        }
    }
    EXPECT_EQ(percent(), "100%");
    EXPECT_EQ(lock().时钟1.period(), 0);
    backend->advance(600);
    EXPECT_EQ(width(), 380);
    EXPECT_TRUE(lock().loaded()) << "the hand-over comes at 4500 ms, not before";
}

TEST_F(UnlockProgressTest, HandOverAt4500MsReplacesTheLockWindowWhetherOrNotTheBarIsFull) {
    startAndUnlock();
    backend->advance(1000);
    lock().时钟1.setPeriod(0);  // a bar that has not finished
    backend->advance(3499);
    EXPECT_FALSE(program->main().loaded());
    backend->advance(1);
    ASSERT_TRUE(program->main().loaded());
    EXPECT_FALSE(lock().loaded()) << "destroyed when the loop reached the posted request";
    EXPECT_FALSE(backend->quitPosted);
    const auto& main = backend->peerOf(program->main());
    EXPECT_TRUE(main.shown);
    EXPECT_EQ(main.place, (Rect{(1280 - 750) / 2, (800 - 457) / 2, 750, 457}));
    ASSERT_TRUE(main.tray);
    EXPECT_EQ(main.tray->tip, "Inkmoss");
    EXPECT_EQ(main.tray->size, (Size{96, 89}));
}

TEST_F(UnlockProgressTest, RepeatedUnlocksNeitherRestartTheProgressNorMoveTheHandOver) {
    startAndUnlock();
    backend->advance(1050);
    backend->pressEnter();  // while the bar runs: the same periods, nothing restarts
    backend->advance(50);
    EXPECT_EQ(width(), 110);
    backend->advance(2800);
    EXPECT_EQ(width(), 380);

    backend->pressEnter();  // after the bar stopped: it stays full
    backend->advance(300);
    EXPECT_EQ(width(), 380);
    EXPECT_EQ(percent(), "100%");
    EXPECT_EQ(lock().时钟1.period(), 0);
    backend->advance(299);
    EXPECT_FALSE(program->main().loaded());
    backend->advance(1);
    EXPECT_TRUE(program->main().loaded());
}

TEST_F(UnlockProgressTest, EscDuringTheProgressEndsTheProgram) {
    startAndUnlock();
    backend->advance(1000);
    backend->pressEscape(lock());
    backend->advance(5000);
    EXPECT_FALSE(program->main().loaded());
    EXPECT_TRUE(backend->quitPosted);
}

}  // namespace
}  // namespace inkmoss
