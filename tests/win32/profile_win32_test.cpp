// The program's own INI reader against the platform's profile functions, on
// files written by hand.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <ostream>
#include <string>

#include "lock/profile.h"

namespace inkmoss {
namespace {

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

const ReadCase kReadCases[] = {
    {"plain", "[ZH]\r\nMM=pw\r\n", "ZH", "MM"},
    {"names in other case", "[zh]\r\nmM=pw\r\n", "Zh", "Mm"},
    {"blanks around the value", "[ZH]\r\nMM=  pw \t\r\n", "ZH", "MM"},
    {"blanks around names", "[ ZH ]\r\n  MM  =pw\r\n", "ZH", "MM"},
    {"double quotes", "[ZH]\r\nMM=\"pw\"\r\n", "ZH", "MM"},
    {"single quotes", "[ZH]\r\nMM='pw'\r\n", "ZH", "MM"},
    {"blanks inside quotes", "[ZH]\r\nMM=\" pw \"\r\n", "ZH", "MM"},
    {"mismatched quotes", "[ZH]\r\nMM=\"pw'\r\n", "ZH", "MM"},
    {"a lone quote", "[ZH]\r\nMM=\"\r\n", "ZH", "MM"},
    {"an empty value", "[ZH]\r\nMM=\r\n", "ZH", "MM"},
    {"only blanks", "[ZH]\r\nMM=   \r\n", "ZH", "MM"},
    {"an equals sign in the value", "[ZH]\r\nMM=a=b\r\n", "ZH", "MM"},
    {"double-byte value", "[ZH]\r\nMM=\xD5\xC5\xC8\xFD\r\n", "ZH", "MM"},
    {"missing key", "[ZH]\r\nYHM=x\r\n", "ZH", "MM"},
    {"missing section", "[IMYHM]\r\nMM=x\r\n", "ZH", "MM"},
    {"key before any section", "MM=early\r\n[ZH]\r\nMM=late\r\n", "ZH", "MM"},
    {"first of two keys", "[ZH]\r\nMM=first\r\nMM=second\r\n", "ZH", "MM"},
    {"key only in a second section of the name", "[ZH]\r\nA=1\r\n[ZH]\r\nMM=second\r\n", "ZH", "MM"},
    {"line feeds alone", "[ZH]\nMM=pw\n", "ZH", "MM"},
    {"no line break at the end", "[ZH]\r\nMM=pw", "ZH", "MM"},
    {"text after the section header", "[ZH] note\r\nMM=pw\r\n", "ZH", "MM"},
    {"a value past the buffer", "[ZH]\r\nMM=" + std::string(10300, 'v') + "\r\n", "ZH", "MM"},
};

class ProfileWin32 : public ::testing::TestWithParam<ReadCase> {
protected:
    ProfileWin32() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        // A file of its own per case: the platform keeps profiles it has read.
        path_ = std::string(temp) + "inkmoss-" + std::to_string(GetCurrentProcessId()) + "-" +
                GetParam().name + ".ini";
    }
    ~ProfileWin32() override { DeleteFileA(path_.c_str()); }

    std::string platformRead(const std::string& file, const char* section, const char* key) const {
        std::ofstream(path_.c_str(), std::ios::binary) << file;
        std::string value(10240, '\0');
        value.resize(GetPrivateProfileStringA(section, key, "", value.data(), static_cast<DWORD>(value.size()),
                                              path_.c_str()));
        return value;
    }

private:
    std::string path_;
};

TEST_P(ProfileWin32, ReadsAsThePlatformDoes) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(profileRead(c.file, c.section, c.key), platformRead(c.file, c.section, c.key));
}

INSTANTIATE_TEST_SUITE_P(HandWritten, ProfileWin32, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace inkmoss
