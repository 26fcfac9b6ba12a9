// Input: section 0x01 key 0x01 other section 0x01 other key 0x01 value [0x01 file bytes].
// Without the fifth separator the file does not exist.
#include "lock/profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr char separator = '\x01';
constexpr std::size_t maxValueBytes = 10239;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Names as a program passes them: no bracket, equals sign or line break inside, nothing a line could
// take for a header, no blanks the reader would trim.
bool isSimpleName(std::string_view name)
{
    return !name.empty() && name.front() != '[' && !isBlank(name.front()) && !isBlank(name.back()) &&
           name.find_first_of(std::string_view("]=\r\n\0", 5)) == std::string_view::npos;
}

bool sameAsciiName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The part before the next separator; false when no separator follows it.
bool takePart(std::string_view& rest, std::string_view& part)
{
    const std::size_t cut = rest.find(separator);
    part = rest.substr(0, cut);
    rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
    return cut != std::string_view::npos;
}

void check(bool holds)
{
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string_view section, key, otherSection, otherKey, value;
    if (!takePart(rest, section) || !takePart(rest, key) || !takePart(rest, otherSection) ||
        !takePart(rest, otherKey))
        return 0;
    const bool fileExists = takePart(rest, value);
    const std::optional<std::string_view> file = fileExists ? std::optional(rest) : std::nullopt;
    for (const std::string_view name : {section, key, otherSection, otherKey})
        if (!isSimpleName(name)) return 0;

    const std::string written = inkmoss::profileWrite(file, section, key, value);

    const std::string_view kept = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    check(inkmoss::profileRead(written, section, key) == kept.substr(0, maxValueBytes));
    if (!(sameAsciiName(section, otherSection) && sameAsciiName(key, otherKey))) {
        const std::string before = inkmoss::profileRead(file.value_or(std::string_view{}), otherSection, otherKey);
        check(inkmoss::profileRead(written, otherSection, otherKey) == before);
    }
    return 0;
}
