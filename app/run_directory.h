#pragma once
#include <string_view>

#include "app/types.h"

namespace inkmoss {

// The directory part of an executable's full ANSI path: everything before the
// last backslash. The search walks double-byte characters whole, so a
// trail byte that happens to be 0x5C is never taken for a backslash.
Text directoryOf(std::string_view exePath);

}  // namespace inkmoss
