// Arbitrary replies and markers: whatever the bytes, a cut must come from the
// reply right after a found left marker, and the searches may hide a match
// behind a double-byte character but never report one that is not there.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "update/text_between.h"

namespace {

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

std::string_view upToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

void checkFind(std::string_view text, std::string_view pattern, int start) {
    const int exact = inkmoss::findText(text, pattern, start, false);
    const int folded = inkmoss::findText(text, pattern, start, true);
    text = upToZero(text);
    pattern = upToZero(pattern);
    const std::size_t from = start < 2 ? 0 : static_cast<std::size_t>(start) - 1;
    if (exact != -1) {
        require(exact >= 1 && text.substr(static_cast<std::size_t>(exact) - 1).starts_with(pattern));
        require(pattern.empty() || static_cast<std::size_t>(exact) - 1 >= from);
        require(folded != -1 && folded <= exact);
    }
    if (folded != -1) {
        require(folded >= 1 && static_cast<std::size_t>(folded) - 1 + pattern.size() <= text.size());
    }
    if (!pattern.empty() && (from > text.size() || text.find(pattern, from) == std::string_view::npos)) {
        require(exact == -1);
    }
}

void checkPlaceholder(std::string_view marker) {
    const std::string replaced = inkmoss::replaceQuotePlaceholder(marker);
    marker = upToZero(marker);
    require(replaced.size() <= marker.size());
    if (marker.find('#') == std::string_view::npos) {
        require(replaced == marker);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool ignoreCase = input.ConsumeBool();
    const int start = input.ConsumeIntegral<std::int8_t>();
    const std::string left = input.ConsumeRandomLengthString(16);
    const std::string right = input.ConsumeRandomLengthString(16);
    const std::string reply = input.ConsumeRemainingBytesAsString();

    checkPlaceholder(left);
    checkPlaceholder(right);
    checkFind(reply, left, start);
    checkFind(reply, right, start);

    const std::string between = inkmoss::TextBetween(reply, left, right, start, ignoreCase);
    const std::string_view text = upToZero(reply);
    require(text.find(between) != std::string_view::npos);

    const std::string leftMarker = inkmoss::replaceQuotePlaceholder(left);
    const int leftAt = inkmoss::findText(reply, leftMarker, start, ignoreCase);
    if (leftAt == -1) {
        require(between.empty());
    } else if (!between.empty()) {
        const std::size_t afterLeft = static_cast<std::size_t>(leftAt) - 1 + leftMarker.size();
        require(text.substr(afterLeft).starts_with(between));
    }
    return 0;
}
