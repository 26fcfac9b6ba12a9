#include "update/text_between.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

using namespace std::string_view_literals;

namespace inkmoss {
namespace {

// Shaped like a nickname reply of the profile service; the nickname is 2.1.
constexpr std::string_view kReply = R"(cb({"10001":["img/10001.jpg",0,0,"2.1",0]}))";

// Lead bytes are followed by a byte of 0x80 or more, or split off with "" so
// that a letter is not read as part of the hex escape.
TEST(TextBetween, CutsBetweenFirstLeftMarkerAndNextRightMarker) {
    struct Case {
        const char* name;
        std::string_view source;
        std::string_view left;
        std::string_view right;
        int start;
        bool ignoreCase;
        std::string_view expected;
    };
    const Case cases[] = {
        {"reply", kReply, ",\"", "\",", 0, false, "2.1"},
        // ",#引号" and "#引号," in GBK.
        {"quote placeholders", kReply, ",#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5,", 0, false, "2.1"},
        {"right marker directly after left", "x,\"\",y", ",\"", "\",", 0, false, ""},
        {"first left marker wins", "a,\"b,\"c\",d", ",\"", "\",", 0, false, "b,\"c"},
        {"no right marker after left", "a\",b,\"c", ",\"", "\",", 0, false, ""},
        {"empty reply", "", ",\"", "\",", 0, false, ""},
        {"zero byte before left marker", "a\0,\"b\","sv, ",\"", "\",", 0, false, ""},
        {"zero byte before right marker", ",\"b\0\","sv, ",\"", "\",", 0, false, ""},
        {"lead byte swallows comma", "\xB0\x2C\x22\x31\x22\x2C", ",\"", "\",", 0, false, ""},
        {"double-byte nickname", "\xB0\xA1,\"\xC4\xE3\",", ",\"", "\",", 0, false, "\xC4\xE3"},
        {"start inside a character", "\xB0\x2C\x22\x31\x22\x2C", ",\"", "\",", 2, false, "1"},
        {"start 0", "a,\"b\",c,\"d\",", ",\"", "\",", 0, false, "b"},
        {"start 1", "a,\"b\",c,\"d\",", ",\"", "\",", 1, false, "b"},
        {"negative start", "a,\"b\",c,\"d\",", ",\"", "\",", -7, false, "b"},
        {"start on the left marker", "a,\"b\",c,\"d\",", ",\"", "\",", 2, false, "b"},
        {"start past the first left marker", "a,\"b\",c,\"d\",", ",\"", "\",", 3, false, "d"},
        {"start on the last byte", "a,\"b\",c,\"d\",", ",\"", "\",", 12, false, ""},
        {"start beyond the end", "a,\"b\",c,\"d\",", ",\"", "\",", 13, false, ""},
        {"ignore case", "aXyb", "x", "b", 0, true, "y"},
        {"case sensitive", "aXyb", "x", "b", 0, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextBetween(c.source, c.left, c.right, c.start, c.ignoreCase), c.expected);
    }
}

TEST(TextBetween, FindTextWalksWholeCharacters) {
    struct Case {
        const char* name;
        std::string_view text;
        std::string_view pattern;
        int start;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"left marker of the reply", kReply, ",\"", 0, false, 33},
        {"right marker after it", kReply, "\",", 35, false, 38},
        {"empty pattern", "abc", "", 0, false, 1},
        {"empty pattern from a later byte", "abc", "", 3, false, 1},
        {"empty pattern past the end", "abc", "", 4, false, -1},
        {"empty pattern in empty text", "", "", 0, false, -1},
        {"trail byte is not a character start", "\xB0\xA1" "a", "\xA1", 1, false, -1},
        {"start on a trail byte", "\xB0\xA1" "a", "\xA1", 2, false, 2},
        {"lone lead byte at the end", "ab\xB0", "\xB0", 1, false, -1},
        {"match ending in a lone lead byte", "a\xB0", "a\xB0", 1, false, 1},
        {"pattern longer than the rest", "abc", "bc", 3, false, -1},
        {"pattern filling the rest", "abc", "bc", 2, false, 2},
        {"pattern longer than the text", "ab", "abc", 1, false, -1},
        {"ASCII letters fold", "ABC", "bc", 1, true, 2},
        {"other bytes do not fold", "\xC1\xC1", "\xE1\xE1", 1, true, -1},
        {"text ends at a zero byte", "a\0b"sv, "b", 1, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findText(c.text, c.pattern, c.start, c.ignoreCase), c.expected);
    }
}

TEST(TextBetween, QuotePlaceholderReplacedOnlyAtCharacterStart) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        // ",#引号#引号" in GBK.
        {",#\xD2\xFD\xBA\xC5#\xD2\xFD\xBA\xC5", ",\"\""},
        // A lead byte before '#' makes it a trail byte, hiding the "#引号" after it.
        {"\xB0#\xD2\xFD\xBA\xC5", "\xB0#\xD2\xFD\xBA\xC5"},
        // "#引" alone stays as it is.
        {"#\xD2\xFD", "#\xD2\xFD"},
    };
    for (const auto& [marker, expected] : cases) {
        EXPECT_EQ(replaceQuotePlaceholder(marker), expected);
    }
}

TEST(TextBetween, MiddleCountsBytes) {
    struct Case {
        std::string_view text;
        int position;
        int count;
        std::string_view expected;
    };
    const Case cases[] = {
        {"abcdef", 2, 3, "bcd"},
        {"abcdef", 5, 10, "ef"},
        {"abcdef", 6, 1, "f"},
        {"abcdef", 7, 1, ""},
        {"abcdef", 0, 2, ""},
        {"abcdef", 2, 0, ""},
        {"abcdef", 2, -1, ""},
        {"\xB0\xA1" "x", 2, 1, "\xA1"},
        {"ab\0cd"sv, 2, 3, "b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(middle(c.text, c.position, c.count), c.expected) << c.text << " @" << c.position << " #" << c.count;
    }
}

}  // namespace
}  // namespace inkmoss
