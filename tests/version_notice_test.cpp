#include "app/deployment.h"
#include "app/hyperlink.h"
#include "tests/lock_fixture.h"
#include "update/nickname.h"

namespace inkmoss {
namespace {

// A reply shaped like the profile service's, carrying `nickname`.
std::string reply(const std::string& account, const std::string& nickname) {
    return "portraitCallBack({\"" + account + "\":[\"http://qlogo/" + account + "\",0,0,0,0,\"" + nickname + "\",0]})";
}

struct Notice {
    const char* what;
    std::optional<std::string> version;   // nullopt: the lookup fails
    std::optional<std::string> download;
    bool announced;
};

void PrintTo(const Notice& notice, std::ostream* os) { *os << notice.what; }

class VersionNoticeTest : public LockFixture, public ::testing::WithParamInterface<Notice> {
protected:
    void script(const std::optional<std::string>& version, const std::optional<std::string>& download) {
        backend->http = [=](const Backend::HttpRequest& request) -> std::string {
            const std::string& target = request.target;
            const auto& answer = target.ends_with(deployment::kVersionAccount) ? version : download;
            return answer ? reply("1", *answer) : std::string();
        };
    }
    Control& link() { return lock().超级链接框2; }
};

TEST_P(VersionNoticeTest, AnnouncesOnlyAKnownDifferentVersion) {
    const Notice& n = GetParam();
    script(n.version, n.download);
    start();
    EXPECT_EQ(lock().透明标签11.text(), n.version.value_or(""));
    EXPECT_EQ(lock().透明标签9.text(), n.download.value_or(""));
    EXPECT_EQ(link().visible(), n.announced);
    if (!n.announced) {
        EXPECT_TRUE(backend->boxes.empty());
        return;
    }
    ASSERT_EQ(backend->boxes.size(), 1u);
    EXPECT_EQ(backend->boxes[0].text, ui::new_version);
    EXPECT_EQ(backend->boxes[0].caption, ui::info_caption);
    EXPECT_EQ(backend->boxes[0].style, 0x2030u);
    EXPECT_EQ(link().text(), std::string(ui::download_prefix) + *n.version + std::string(ui::download_suffix));
    EXPECT_EQ(link().address(), n.download.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, VersionNoticeTest,
    ::testing::Values(Notice{"same version", "1.0", "http://dl.example/x", false},
                      Notice{"newer", "2.1", "http://dl.example/x", true},
                      Notice{"older also counts", "0.9", "https://dl.example/", true},
                      Notice{"a trailing blank differs", "1.0 ", "http://dl.example/", true},
                      Notice{"no network", std::nullopt, std::nullopt, false},
                      Notice{"only the download lookup fails", "2.1", std::nullopt, true},
                      Notice{"only the version lookup fails", std::nullopt, "http://dl.example/", false}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

class DownloadLinkTest : public LockFixture {};

TEST_F(DownloadLinkTest, AsksTheProfileServiceForBothAccountsWithinTheDeadline) {
    start();
    ASSERT_EQ(backend->requests.size(), 2u);
    EXPECT_EQ(backend->requests[0].host, deployment::kProfileHost);
    EXPECT_EQ(backend->requests[0].port, deployment::kProfilePort);
    EXPECT_EQ(backend->requests[0].target,
              "/fcg-bin/cgi_get_portrait.fcg?get_nick=1&uins=" + std::string(deployment::kVersionAccount));
    EXPECT_EQ(backend->requests[1].target,
              "/fcg-bin/cgi_get_portrait.fcg?get_nick=1&uins=" + std::string(deployment::kDownloadAccount));
    EXPECT_LE(backend->lastDeadlineMs, 5000);
}

TEST_F(DownloadLinkTest, OpensItsAddressOnEveryPressAndNothingUnsafe) {
    start();
    Control& link = lock().超级链接框2;
    link.setVisible(true);
    link.setAddress("HTTPS://dl.example/Inkmoss.zip");
    backend->click(link);
    backend->click(link);
    EXPECT_EQ(backend->opened.size(), 2u);

    backend->opened.clear();
    for (const char* address : {"", "dl.example/x", "file:///C:/Windows/system32/calc.exe", "javascript:alert(1)",
                                "cmd /c del", "http://dl.example/\r\nx", "http://dl.example/\x7f"}) {
        link.setAddress(address);
        backend->click(link);
    }
    EXPECT_TRUE(backend->opened.empty());
}

TEST(Nickname, IsCutFromTheReplyBeforeAnyZeroByte) {
    EXPECT_EQ(nicknameIn(R"(cb({"10001":["img/10001.jpg",0,0,"2.1",0]}))"), "2.1");
    EXPECT_EQ(nicknameIn(std::string("cb(\0,\"2.1\",", 11)), "");
    EXPECT_EQ(nicknameIn(""), "");
    EXPECT_TRUE(isOpenableWebAddress("http://a"));
    EXPECT_FALSE(isOpenableWebAddress("http:/a"));
}

}  // namespace
}  // namespace inkmoss
