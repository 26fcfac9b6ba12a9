#pragma once
#include <string_view>

namespace inkmoss {

// Whether a hyperlink box may hand its address to the shell. The address can
// come from outside the program, so only a plain web address passes: http://
// or https:// (any letter case) and no control characters.
bool isOpenableWebAddress(std::string_view address);

}  // namespace inkmoss
