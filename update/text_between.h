#pragma once

#include <string>
#include <string_view>

namespace inkmoss {

// All functions take zero-terminated ANSI (GBK) texts: a view is read only up
// to its first zero byte. Positions are 1-based byte indices, -1 meaning none.

// First occurrence of pattern in text from start (below 2 means the first
// byte). Matches are tried only where a character begins, a byte of 0x80 or
// above taking the next byte with it; ignoreCase folds ASCII letters only.
int findText(std::string_view text, std::string_view pattern, int start, bool ignoreCase);

// Replaces every "#引号" that begins a character by a double quote, so callers
// can write markers that contain quotes.
std::string replaceQuotePlaceholder(std::string_view marker);

// At most count bytes from position; empty when position is outside the text
// or count is not positive.
std::string middle(std::string_view text, int position, int count);

// The bytes between the first left marker found from start and the first
// right marker after it; empty when either is missing.
std::string TextBetween(std::string_view source, std::string_view left, std::string_view right, int start,
                        bool ignoreCase);

}  // namespace inkmoss
