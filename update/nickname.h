#pragma once
#include <span>
#include <string_view>
#include <vector>

#include "app/types.h"

namespace inkmoss {

class Backend;

// The nickname in a reply of the profile service: what stands between the
// first `,"` and the next `",`, searched in the bytes before any zero byte.
Text nicknameIn(std::string_view reply);

// The nicknames of the accounts, looked up together; each is empty when its
// lookup fails or has not answered by the deadline, so start-up never waits
// on the network for more than a few seconds.
std::vector<Text> FetchProfileNicknames(Backend& backend, std::span<const std::string_view> accounts);

inline constexpr int kLookupDeadlineMs = 4500;

}  // namespace inkmoss
