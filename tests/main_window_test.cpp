#include "app/deployment.h"
#include "app/icon.h"
#include "tests/lock_fixture.h"

namespace inkmoss {
namespace {

class MainWindowTest : public LockFixture {
protected:
    void SetUp() override {
        startAndUnlock();
        backend->advance(4500);
        ASSERT_TRUE(main().loaded());
    }
    MainWindow& main() { return program->main(); }
    AboutWindow& about() { return program->about(); }
    HeadlessWindowPeer& peer() { return backend->peerOf(main()); }
};

TEST_F(MainWindowTest, TrayEventsByKind) {
    peer().minimised = true;
    peer().place.left = 5;
    main().onTray(1);
    EXPECT_TRUE(peer().minimised) << "a single click does nothing";
    main().onTray(2);
    EXPECT_FALSE(peer().minimised);
    EXPECT_EQ(peer().place.left, 5) << "a double-click brings it back where it was";

    backend->cursor = {900, 700};
    main().onTray(3);
    ASSERT_EQ(peer().menus.size(), 1u);
    EXPECT_EQ(peer().menus[0].items, (std::vector<Text>{Text(ui::menu_about), Text(ui::menu_exit), Text(ui::menu_show)}));
    EXPECT_EQ(peer().menus[0].at, (Point{900, 700}));

    peer().minimised = true;
    backend->menuChoice = 2;  // 显示窗口
    main().onTray(3);
    EXPECT_FALSE(peer().minimised);
    EXPECT_EQ(peer().place.left, (1280 - 750) / 2);

    backend->menuChoice = 0;  // 关于
    main().onTray(3);
    EXPECT_TRUE(about().loaded());

    backend->menuChoice = 1;  // 退出
    try {
        main().onTray(3);
        FAIL() << "退出 must end the program";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.exitCode, 0);
    }
}

struct PositionCase {
    const char* what;
    bool shown, minimised, maximised;
    int value;
    int stored;
    bool minimisedAfter, maximisedAfter;
    Point originAfter;
};

TEST_F(MainWindowTest, PositionRule) {
    const Point centre{(1280 - 750) / 2, (800 - 457) / 2};
    const PositionCase cases[] = {
        {"hidden: only stored", false, true, false, 1, 1, true, false, {7, 9}},
        {"below 0 counts as 0", true, true, false, -4, 0, false, false, {7, 9}},
        {"centre a minimised one", true, true, false, 1, 1, false, false, centre},
        {"centre a maximised one", true, false, true, 1, 1, false, false, centre},
        {"minimise", true, false, false, 2, 2, true, false, {7, 9}},
        {"above 3 counts as 3", true, false, false, 9, 3, false, true, {7, 9}},
    };
    for (const PositionCase& c : cases) {
        peer().shown = c.shown;
        peer().minimised = c.minimised;
        peer().maximised = c.maximised;
        peer().place.left = 7;
        peer().place.top = 9;
        main().setPosition(c.value);
        EXPECT_EQ(main().position(), c.stored) << c.what;
        EXPECT_EQ(peer().minimised, c.minimisedAfter) << c.what;
        EXPECT_EQ(peer().maximised, c.maximisedAfter) << c.what;
        EXPECT_EQ((Point{peer().place.left, peer().place.top}), c.originAfter) << c.what;
    }
}

TEST_F(MainWindowTest, BothCornerButtonsMinimiseAndTheLabelsOpenTheirTargets) {
    for (Control* button : {&main().超级按钮_关闭1, &main().超级按钮_关闭}) {
        peer().minimised = false;
        backend->click(*button);
        EXPECT_TRUE(peer().minimised);
        EXPECT_TRUE(main().loaded());
    }
    backend->click(main().透明标签1);
    EXPECT_EQ(backend->opened, (std::vector<Text>{Text(deployment::kPromotionAddress)}));

    backend->click(main().透明标签3);
    backend->click(main().透明标签4);
    backend->pressFace(main());
    EXPECT_EQ(peer().drags, 3);
}

TEST_F(MainWindowTest, TheAboutWindowExistsOnceAndEscClosesOnlyIt) {
    backend->click(main().透明标签2);
    ASSERT_TRUE(about().loaded());
    auto& aboutPeer = backend->peerOf(about());
    aboutPeer.minimised = true;
    backend->click(main().透明标签2);
    EXPECT_EQ(&backend->peerOf(about()), &aboutPeer);
    EXPECT_FALSE(aboutPeer.minimised) << "loading it again restores it";
    EXPECT_EQ(aboutPeer.shows, 1);

    backend->click(about().图片框1);
    backend->pressFace(about());
    EXPECT_EQ(aboutPeer.drags, 2);
    backend->click(about().透明标签1);
    EXPECT_EQ(aboutPeer.drags, 2) << "the credits text does not move the window";

    backend->pressEscape(about());
    EXPECT_FALSE(about().loaded());
    EXPECT_TRUE(main().loaded());
    EXPECT_FALSE(backend->quitPosted);
}

TEST_F(MainWindowTest, ClosingTheLastWindowEndsTheProgram) {
    backend->click(main().透明标签2);
    backend->pressEscape(main());
    EXPECT_FALSE(main().loaded());
    EXPECT_FALSE(backend->quitPosted) << "the about window is still open";
    backend->click(about().超级按钮_关闭);
    EXPECT_TRUE(about().loaded()) << "destroyed only when the loop comes round";
    backend->runPending();
    EXPECT_FALSE(about().loaded());
    EXPECT_TRUE(backend->quitPosted);
}

TEST_F(MainWindowTest, EscAsksBeforeAChangedNoteIsLost) {
    backend->type(main().编辑框1, "today");
    backend->answers = {kAnswerNo};
    backend->pressEscape(main());
    ASSERT_EQ(backend->boxes.size(), 1u);
    EXPECT_EQ(backend->boxes[0].text, ui::unsaved_question);
    EXPECT_EQ(backend->boxes[0].caption, ui::info_caption);
    EXPECT_EQ(backend->boxes[0].style & 0xF, kBoxYesNo);
    EXPECT_TRUE(main().loaded());
    EXPECT_EQ(main().编辑框1.text(), "today");

    backend->answers = {kAnswerYes};
    backend->pressEscape(main());
    EXPECT_FALSE(main().loaded());
    EXPECT_TRUE(backend->quitPosted);
}

TEST_F(MainWindowTest, EscOnAnUnchangedNoteClosesWithoutAQuestion) {
    main().编辑框1.setText("written by the program");
    backend->pressEscape(main());
    EXPECT_TRUE(backend->boxes.empty());
    EXPECT_FALSE(main().loaded());
}

TEST_F(MainWindowTest, TrayTipIsCutTo62BytesAndAFailedIconIsLeftOut) {
    const std::string tip(70, 'x');
    EXPECT_TRUE(main().setTrayIcon(tip));
    EXPECT_EQ(peer().tray->tip, tip.substr(0, 62));
    peer().trayFailure = true;
    EXPECT_FALSE(main().setTrayIcon("Inkmoss"));
    EXPECT_FALSE(peer().tray);
}

TEST(IconChoice, PrefersASmallColourEntryElseTheLast) {
    // A directory of three entries: 32 px, 16 px with 16 colours, 48 px.
    std::vector<unsigned char> ico{0, 0, 1, 0, 3, 0};
    const unsigned char entries[3][4] = {{32, 32, 0, 0}, {16, 16, 16, 0}, {48, 48, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        const unsigned offset = 6 + 48 + i * 4;
        ico.insert(ico.end(), entries[i], entries[i] + 4);
        const unsigned char rest[] = {1, 0, 32, 0, 4, 0, 0, 0, static_cast<unsigned char>(offset), 0, 0, 0};
        ico.insert(ico.end(), rest, rest + 12);
    }
    for (int i = 0; i < 3; ++i) ico.insert(ico.end(), {static_cast<unsigned char>('a' + i), 0, 0, 0});

    auto chosen = chooseIconImage(ico, 16);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->size, (Size{16, 16}));
    EXPECT_EQ(chosen->bytes[0], 'b');
    chosen = chooseIconImage(ico, 32);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->size, (Size{48, 48})) << "32 px has too few colours: the last entry";

    ico[6 + 2 * 16 + 12] = 250;  // the last entry now points past the end
    EXPECT_FALSE(chooseIconImage(ico, 32));
    EXPECT_FALSE(chooseIconImage(std::span(ico).first(10), 16));
}

}  // namespace
}  // namespace inkmoss
