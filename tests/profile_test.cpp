#include "lock/profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace inkmoss {
namespace {

using namespace std::string_literals;

// "你好" and "张三" in GBK.
const std::string nihao = "\xC4\xE3\xBA\xC3";
const std::string zhangsan = "\xD5\xC5\xC8\xFD";

std::optional<std::string_view> viewOf(const std::optional<std::string>& file)
{
    if (!file) return std::nullopt;
    return std::string_view(*file);
}

TEST(ProfileTest, ReadsValuesByTheProfileRules)
{
    struct Case {
        const char* what;
        std::string file;
        std::string expected;
    };
    const std::string longValue = std::string(10239, 'a') + std::string(10, 'b');
    const std::vector<Case> cases = {
        {"plain value", "[ZH]\r\nMM=secret\r\n", "secret"},
        {"names ignore letter case", "[zh]\r\nmM=secret\r\n", "secret"},
        {"blanks around names and value", " [ \tZH ] \r\n\t MM \t= \t secret word \t\r\n", "secret word"},
        {"double quotes", "[ZH]\r\nMM= \"  pw  \" \r\n", "  pw  "},
        {"single quotes", "[ZH]\r\nMM='pw'\r\n", "pw"},
        {"unmatched quotes stay", "[ZH]\r\nMM='pw\"\r\n", "'pw\""},
        {"lone quote stays", "[ZH]\r\nMM=\"\r\n", "\""},
        {"only the enclosing pair goes", "[ZH]\r\nMM=\"\"pw\"\"\r\n", "\"pw\""},
        {"quotes not at the start stay", "[ZH]\r\nMM=a\"b\"\r\n", "a\"b\""},
        {"empty quotes", "[ZH]\r\nMM=\"\"\r\n", ""},
        {"missing file", "", ""},
        {"missing section", "[IMYHM]\r\nYHM=x\r\n", ""},
        {"missing key", "[ZH]\r\nM=x\r\nMMM=x\r\n", ""},
        {"key of the next section", "[ZH]\r\n[X]\r\nMM=x\r\n", ""},
        {"keys before any section belong to none", "MM=x\r\n[ZH]\r\n", ""},
        {"empty value", "[ZH]\r\nMM=\r\n", ""},
        {"value of blanks only", "[ZH]\r\nMM= \t \r\n", ""},
        {"first section of the name wins", "[ZH]\r\nA=1\r\n[zh]\r\nMM=x\r\n", ""},
        {"first key of the name wins", "[ZH]\r\nMM=1\r\nmm=2\r\n", "1"},
        {"line without equals sign is no key", "[ZH]\r\nMM\r\nMM=x\r\n", "x"},
        {"value holds equals signs", "[ZH]\r\nMM=a=b\r\n", "a=b"},
        {"header ends at its last bracket", "[ZH] ; ]\r\nMM=x\r\n[ZH]\r\nMM=y\r\n", "y"},
        {"text after the header is ignored", "[ZH] ; note\r\nMM=x\r\n", "x"},
        {"lines ended by LF alone", "[ZH]\nA=1\nMM=x\n[B]\nMM=y\n", "x"},
        {"lines ended by CR alone", "[ZH]\rMM=x\ry\r", "x"},
        {"last line without a break", "[ZH]\r\nMM=x", "x"},
        {"GBK value", "[ZH]\r\nMM=" + nihao + "\r\n", nihao},
        {"NUL ends the value", "[ZH]\r\nMM=ab\0cd\r\n"s, "ab"},
        {"longer value cut to 10239 bytes", "[ZH]\r\nMM=" + longValue + "\r\n", longValue.substr(0, 10239)},
        {"quotes go before the cut", "[ZH]\r\nMM=\"" + longValue.substr(0, 10239) + "\"\r\n",
         longValue.substr(0, 10239)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(profileRead(c.file, "ZH", "MM"), c.expected);
    }
    EXPECT_EQ(profileRead("[" + nihao + "]\r\n" + zhangsan + "=" + nihao + "\r\n", nihao, zhangsan), nihao);
}

TEST(ProfileTest, WritesOnlyTheKeyLine)
{
    struct Case {
        const char* what;
        std::optional<std::string> file;
        std::string value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"creates a missing file", std::nullopt, "pw", "[ZH]\r\nMM=pw\r\n"},
        {"fills an empty file", "", "pw", "[ZH]\r\nMM=pw\r\n"},
        {"replaces the line, keeping the key's spelling and all else",
         "; note\r\n[zh]\r\n  mM = old \nX=1\n\r\n[B]\r\nMM=2", "pw",
         "; note\r\n[zh]\r\nmM=pw\r\nX=1\n\r\n[B]\r\nMM=2"},
        {"replaces in the first section of the name", "[ZH]\r\nA=1\r\n[ZH]\r\nMM=old\r\n", "pw",
         "[ZH]\r\nA=1\r\nMM=pw\r\n[ZH]\r\nMM=old\r\n"},
        {"adds the key after the section's last line, before the blank ones",
         "[ZH]\r\nA=1\r\n; end\r\n \r\n\r\n[B]\r\nC=2\r\n", "pw",
         "[ZH]\r\nA=1\r\n; end\r\nMM=pw\r\n \r\n\r\n[B]\r\nC=2\r\n"},
        {"adds the key to a section without keys", "[ZH]\n[B]\n", "pw", "[ZH]\nMM=pw\r\n[B]\n"},
        {"adds the key after a last line without a break", "[ZH]\r\nA=1", "pw", "[ZH]\r\nA=1\r\nMM=pw\r\n"},
        {"appends the section", "[B]\r\nC=2\r\n", "pw", "[B]\r\nC=2\r\n[ZH]\r\nMM=pw\r\n"},
        {"appends the section after a last line without a break", "[B]\nC=2", "pw",
         "[B]\nC=2\r\n[ZH]\r\nMM=pw\r\n"},
        {"keys before any section are not the section's", "MM=x\r\n", "pw", "MM=x\r\n[ZH]\r\nMM=pw\r\n"},
        {"empty value keeps the key", "[ZH]\r\nMM=old\r\n", "", "[ZH]\r\nMM=\r\n"},
        {"GBK value as it is", std::nullopt, nihao, "[ZH]\r\nMM=" + nihao + "\r\n"},
        {"leading blank quoted", std::nullopt, " pw", "[ZH]\r\nMM=\" pw\"\r\n"},
        {"trailing tab quoted", std::nullopt, "pw\t", "[ZH]\r\nMM=\"pw\t\"\r\n"},
        {"blanks only quoted", std::nullopt, "  ", "[ZH]\r\nMM=\"  \"\r\n"},
        {"double-quoted value quoted", std::nullopt, "\"pw\"", "[ZH]\r\nMM=\"\"pw\"\"\r\n"},
        {"single-quoted value quoted", std::nullopt, "'pw'", "[ZH]\r\nMM=\"'pw'\"\r\n"},
        {"unmatched quotes as they are", std::nullopt, "'pw\"", "[ZH]\r\nMM='pw\"\r\n"},
        {"lone quote as it is", std::nullopt, "\"", "[ZH]\r\nMM=\"\r\n"},
        {"cut at CR LF", "[ZH]\r\nMM=old\r\n", "pw\r\n[X]\r\nY=1", "[ZH]\r\nMM=pw\r\n"},
        {"cut at LF", std::nullopt, "pw\nA=1", "[ZH]\r\nMM=pw\r\n"},
        {"cut at CR", std::nullopt, "pw\rA=1", "[ZH]\r\nMM=pw\r\n"},
        {"cut at NUL", std::nullopt, "pw\0x"s, "[ZH]\r\nMM=pw\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(profileWrite(viewOf(c.file), "ZH", "MM", c.value), c.expected);
    }
}

TEST(ProfileTest, ReadGivesBackWhatWasWritten)
{
    const std::vector<std::optional<std::string>> files = {
        std::nullopt,
        "",
        "[B]\r\nC=2",
        "[ZH]\nMM=old\n\n[B]\nC=2\n",
        "[B]\r\nC=2\r\n[zh]\r\n",
        "[ZH]\r\nMM\r\n[B]\r\nC=2\r\nMM=3\r\n",
        "C=0\r\n[ZH]\r\n[B]\rC=2\r[ZH]\rMM=old",
    };
    const std::vector<std::string> values = {
        "", " ", "pw", " pw ", "\"pw\"", "'pw'", "\"", "'", "a\"", "\t\"x\"\t", "\"'", nihao, std::string(10238, 'x') + ' ',
    };
    for (const auto& file : files) {
        const std::string other = profileRead(file.value_or(""), "B", "C");
        for (const std::string& value : values) {
            SCOPED_TRACE(testing::Message() << "file " << testing::PrintToString(file) << ", value "
                                            << testing::PrintToString(value.substr(0, 20)));
            const std::string written = profileWrite(viewOf(file), "ZH", "MM", value);
            EXPECT_EQ(profileRead(written, "zh", "mm"), value);
            EXPECT_EQ(profileRead(written, "B", "C"), other);
        }
    }
}

}  // namespace
}  // namespace inkmoss
