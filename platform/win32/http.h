#pragma once
#include <string>
#include <vector>

#include "app/backend.h"

namespace inkmoss {

// The GETs of `requests`, run together on worker threads; the caller waits at
// most `deadlineMs`. A result is the raw reply body (at most
// Backend::kMaxReply bytes), or empty when the request failed or was still
// running at the deadline.
std::vector<std::string> winInetGet(const std::vector<Backend::HttpRequest>& requests, int deadlineMs);

}  // namespace inkmoss
