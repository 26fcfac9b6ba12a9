#include "update/nickname.h"

#include "app/backend.h"
#include "app/deployment.h"
#include "update/text_between.h"

namespace inkmoss {

Text nicknameIn(std::string_view reply) {
    // TextBetween reads its texts only up to the first zero byte.
    return TextBetween(reply, ",\"", "\",", 0, false);
}

std::vector<Text> FetchProfileNicknames(Backend& backend, std::span<const std::string_view> accounts) {
    std::vector<Backend::HttpRequest> requests;
    for (std::string_view account : accounts)
        requests.push_back({Text(deployment::kProfileHost), deployment::kProfilePort,
                            "/fcg-bin/cgi_get_portrait.fcg?get_nick=1&uins=" + Text(account)});
    std::vector<Text> nicknames;
    for (const std::string& reply : backend.httpGet(requests, kLookupDeadlineMs)) nicknames.push_back(nicknameIn(reply));
    nicknames.resize(accounts.size());
    return nicknames;
}

}  // namespace inkmoss
