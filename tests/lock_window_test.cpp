#include "tests/lock_fixture.h"

namespace inkmoss {
namespace {

using Controls = std::vector<Control*>;

bool allVisible(const Controls& controls, bool visible) {
    return std::all_of(controls.begin(), controls.end(), [&](Control* c) { return c->visible() == visible; });
}

class LockWindowTest : public LockFixture {
protected:
    Controls registrationRow() { return {&lock().编辑框3, &lock().图片框3, &lock().超级按钮2, &lock().透明标签8}; }
    Controls entryControls() {
        auto& w = lock();
        return {&w.透明标签5, &w.透明标签4, &w.超级按钮1, &w.编辑框2, &w.透明标签7, &w.图片框1, &w.超级按钮_关闭, &w.编辑框1, &w.图片框2};
    }
    bool unlocking() { return lock().外形框1.visible() && backend->timerRunning(lock().时钟1); }
};

TEST_F(LockWindowTest, FirstRunRegistersCreatesTheFolderAndUnlocks) {
    start();
    auto& w = lock();
    const auto& peer = backend->peerOf(w);
    EXPECT_TRUE(peer.shown);
    EXPECT_TRUE(peer.dropShadow);
    EXPECT_EQ(peer.place, (Rect{(1280 - 502) / 2, (800 - 319) / 2, 502, 319}));
    EXPECT_TRUE(allVisible(registrationRow(), true));
    EXPECT_TRUE(w.编辑框1.enabled());
    EXPECT_EQ(w.外形框3.width(), 0);
    EXPECT_FALSE(w.外形框1.visible());

    backend->type(w.编辑框3, "secret");
    backend->click(w.超级按钮2);
    EXPECT_TRUE(allVisible(registrationRow(), false));
    EXPECT_EQ(fileBytes(ui::password_file), "[ZH]\r\nMM=secret\r\n");

    backend->type(w.编辑框2, "secret");
    backend->click(w.超级按钮1);
    EXPECT_FALSE(notice());
    EXPECT_TRUE(allVisible(entryControls(), false));
    EXPECT_TRUE(w.外形框1.visible() && w.外形框3.visible());
    EXPECT_EQ(w.时钟1.period(), 100);
    EXPECT_EQ(w.时钟2.period(), 4500);
    EXPECT_EQ(fileBytes(ui::name_file), "[IMYHM]\r\nYHM=\r\n");

    restart();
    start();
    EXPECT_TRUE(allVisible(registrationRow(), false));
    EXPECT_EQ(lock().编辑框3.text(), "secret");
    EXPECT_TRUE(lock().编辑框1.enabled()) << "an empty name stays editable";
}

struct Attempt {
    const char* stored;
    const char* typed;
    std::optional<std::string_view> notice;  // nullopt: the unlock succeeds
};

void PrintTo(const Attempt& a, std::ostream* os) { *os << "stored [" << a.stored << "] typed [" << a.typed << "]"; }

class UnlockAttempt : public LockWindowTest, public ::testing::WithParamInterface<Attempt> {};

TEST_P(UnlockAttempt, AnswersWithTheRightNoticeOrUnlocks) {
    const Attempt& a = GetParam();
    if (*a.stored) storePassword(a.stored);
    start();
    backend->type(lock().编辑框2, a.typed);
    backend->click(lock().超级按钮1);
    if (a.notice) {
        EXPECT_EQ(notice(), std::string(*a.notice));
        EXPECT_FALSE(unlocking());
        EXPECT_TRUE(lock().超级按钮1.visible());
        EXPECT_FALSE(fileBytes(ui::name_file));
    } else {
        EXPECT_FALSE(notice());
        EXPECT_TRUE(unlocking());
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, UnlockAttempt,
                         ::testing::Values(Attempt{"", "", ui::enter_password}, Attempt{"", "x", ui::wrong_password},
                                           Attempt{"abc", "", ui::wrong_password},
                                           Attempt{"abc", "abd", ui::wrong_password},
                                           Attempt{"abc", "ABC", ui::wrong_password}, Attempt{"abc", "abc", {}}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(LockWindowTest, UnlockingWithoutRegisteringKeepsTheRowAndStoresOnlyTheName) {
    start();
    backend->type(lock().编辑框1, "Lin");
    backend->type(lock().编辑框3, "pw");
    backend->type(lock().编辑框2, "pw");
    backend->click(lock().超级按钮1);
    EXPECT_TRUE(unlocking());
    EXPECT_TRUE(allVisible(registrationRow(), true));
    EXPECT_FALSE(fileBytes(ui::password_file));
    EXPECT_EQ(fileBytes(ui::name_file), "[IMYHM]\r\nYHM=Lin\r\n");
}

TEST_F(LockWindowTest, AnEmptyRegistrationStoresNothingAndAsksAgain) {
    start();
    backend->click(lock().超级按钮2);
    EXPECT_EQ(notice(), std::string(ui::enter_password));
    EXPECT_TRUE(allVisible(registrationRow(), true));
    EXPECT_FALSE(std::filesystem::exists(hostPath(ui::settings_folder)));
}

TEST_F(LockWindowTest, APasswordWithBlanksAndQuotesUnlocksAfterARestart) {
    for (const std::string password : {"  two words ", "'quoted'", "\"x\"", "\t"}) {
        std::filesystem::remove_all(hostPath(ui::settings_folder));
        restart();
        start();
        backend->type(lock().编辑框3, password);
        backend->click(lock().超级按钮2);
        restart();
        start();
        backend->type(lock().编辑框2, password);
        backend->click(lock().超级按钮1);
        EXPECT_TRUE(unlocking()) << "password [" << password << "]";
    }
}

TEST_F(LockWindowTest, AStoredNameIsGreyedAndWrittenBackOnEveryUnlock) {
    putFile(ui::name_file, "[imyhm]\r\nyhm = \xC0\xEE\xC0\xD7 \r\n");
    storePassword("pw");
    start();
    EXPECT_EQ(lock().编辑框1.text(), "\xC0\xEE\xC0\xD7");
    EXPECT_FALSE(lock().编辑框1.enabled());
    backend->type(lock().编辑框2, "pw");
    backend->click(lock().超级按钮1);
    EXPECT_EQ(fileBytes(ui::name_file), "[imyhm]\r\nyhm=\xC0\xEE\xC0\xD7\r\n");
}

TEST_F(LockWindowTest, EnterRunsTheUnlockAttemptWhereverTheFocusIs) {
    start();
    backend->type(lock().编辑框3, "typed in the registration entry");
    backend->pressEnter();
    EXPECT_FALSE(notice()) << "the hot key waits for the message loop";
    backend->runPending();
    EXPECT_EQ(notice(), std::string(ui::wrong_password));
    EXPECT_TRUE(allVisible(registrationRow(), true)) << "Enter never registers";

    backend->type(lock().编辑框2, "typed in the registration entry");
    backend->pressEnter();
    backend->runPending();
    EXPECT_TRUE(unlocking());
}

TEST_F(LockWindowTest, CloseButtonEscAndFace) {
    start();
    backend->pressFace(lock());
    EXPECT_EQ(backend->peerOf(lock()).drags, 1);

    try {
        backend->click(lock().超级按钮_关闭);
        FAIL() << "the close button must end the program";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.exitCode, 0);
    }

    restart();
    start();
    backend->pressEscape(lock());
    EXPECT_FALSE(lock().loaded());
    EXPECT_TRUE(backend->quitPosted);
}

}  // namespace
}  // namespace inkmoss
