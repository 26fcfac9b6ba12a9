#include "update/text_between.h"

#include <algorithm>
#include <cstddef>

namespace inkmoss {
namespace {

// "#引号" in GBK: '#' followed by 引 (D2 FD) and 号 (BA C5). Spelled as bytes
// because not every compiler of this file can convert literals to GBK.
constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

std::string_view upToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// A GBK lead byte: the character goes on into the next byte.
bool isLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Only ASCII letters fold: locale-aware folding would also pair up bytes of
// double-byte characters.
char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matchesAt(std::string_view text, std::size_t at, std::string_view pattern, bool ignoreCase) {
    const std::string_view candidate = text.substr(at, pattern.size());
    if (!ignoreCase) {
        return candidate == pattern;
    }
    return std::ranges::equal(candidate, pattern, {}, foldAscii, foldAscii);
}

}  // namespace

int findText(std::string_view text, std::string_view pattern, int start, bool ignoreCase) {
    text = upToZero(text);
    pattern = upToZero(pattern);
    const std::size_t first = start < 2 ? 0 : static_cast<std::size_t>(start) - 1;
    if (first >= text.size()) {
        return -1;
    }
    if (pattern.empty()) {
        return 1;
    }
    for (std::size_t at = first; text.size() - at >= pattern.size();) {
        const bool lead = isLeadByte(text[at]);
        // A lead byte cut off by the end of the text is no character to match.
        if (lead && at + 1 == text.size()) {
            return -1;
        }
        if (matchesAt(text, at, pattern, ignoreCase)) {
            return static_cast<int>(at) + 1;
        }
        at += lead ? 2 : 1;
    }
    return -1;
}

std::string replaceQuotePlaceholder(std::string_view marker) {
    marker = upToZero(marker);
    std::string replaced;
    replaced.reserve(marker.size());
    for (std::size_t at = 0; at < marker.size();) {
        if (marker.substr(at).starts_with(kQuotePlaceholder)) {
            replaced += '"';
            at += kQuotePlaceholder.size();
            continue;
        }
        const std::size_t width = isLeadByte(marker[at]) ? 2 : 1;
        replaced += marker.substr(at, width);
        at += width;
    }
    return replaced;
}

std::string middle(std::string_view text, int position, int count) {
    text = upToZero(text);
    if (position < 1 || count <= 0 || static_cast<std::size_t>(position) > text.size()) {
        return {};
    }
    return std::string(text.substr(static_cast<std::size_t>(position) - 1, static_cast<std::size_t>(count)));
}

std::string TextBetween(std::string_view source, std::string_view left, std::string_view right, int start,
                        bool ignoreCase) {
    const std::string leftMarker = replaceQuotePlaceholder(left);
    const int leftAt = findText(source, leftMarker, start, ignoreCase);
    if (leftAt == -1) {
        return {};
    }
    const int afterLeft = leftAt + static_cast<int>(leftMarker.size());
    const int rightAt = findText(source, replaceQuotePlaceholder(right), afterLeft, ignoreCase);
    if (rightAt == -1) {
        return {};
    }
    return middle(source, afterLeft, rightAt - afterLeft);
}

}  // namespace inkmoss
