#include "lock/profile.h"

#include <cstddef>

namespace inkmoss {
namespace {

// The platform reads into a buffer of 10240 bytes, one of them the terminator.
constexpr std::size_t maxValueBytes = 10239;
constexpr std::string_view lineBreak = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

struct Line {
    std::string_view text;  // without its line break
    std::size_t begin;
    std::size_t end;  // past its line break, if it has one
    bool hasBreak() const { return end > begin + text.size(); }
};

// Files edited by hand may end lines with a bare LF or a bare CR; the platform takes each as a line end.
Line lineAt(std::string_view file, std::size_t begin)
{
    const std::size_t stop = file.find_first_of(lineBreak, begin);
    if (stop == std::string_view::npos) return {file.substr(begin), begin, file.size()};
    std::size_t end = stop + 1;
    if (file[stop] == '\r' && end < file.size() && file[end] == '\n') ++end;
    return {file.substr(begin, stop - begin), begin, end};
}

// The platform takes the name up to the line's last ']' and ignores what follows it.
std::optional<std::string_view> sectionName(std::string_view text)
{
    text = trimBlanks(text);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(text.substr(1, close - 1));
}

struct Entry {
    std::string_view name;
    std::string_view value;
};

std::optional<Entry> entryOf(std::string_view text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Entry{trimBlanks(text.substr(0, equals)), trimBlanks(text.substr(equals + 1))};
}

struct Place {
    std::optional<Line> sectionTail;  // the section's last non-empty line, its header when it has no other
    std::optional<Line> keyLine;
    Entry entry;
};

// Only the first section of that name counts, even when a later one of the same name holds the key.
Place locate(std::string_view file, std::string_view section, std::string_view key)
{
    Place place;
    for (std::size_t at = 0; at < file.size();) {
        const Line line = lineAt(file, at);
        at = line.end;
        if (const auto name = sectionName(line.text)) {
            if (place.sectionTail) break;
            if (sameName(*name, section)) place.sectionTail = line;
            continue;
        }
        if (!place.sectionTail) continue;
        if (!trimBlanks(line.text).empty()) place.sectionTail = line;
        const auto entry = entryOf(line.text);
        if (entry && sameName(entry->name, key)) {
            place.keyLine = line;
            place.entry = *entry;
            break;
        }
    }
    return place;
}

bool isQuote(char c) { return c == '"' || c == '\''; }

bool isQuoted(std::string_view value)
{
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

// A read strips the blanks around a value and one pair of enclosing quotes; quoting such a value keeps it whole.
std::string storedForm(std::string_view value)
{
    const bool wouldChange = !value.empty() && (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value));
    if (!wouldChange) return std::string(value);
    std::string quoted = "\"";
    quoted += value;
    quoted += '"';
    return quoted;
}

std::string keyLine(std::string_view key, std::string_view value)
{
    std::string line(key);
    line += '=';
    line += storedForm(value);
    line += lineBreak;
    return line;
}

}  // namespace

std::string profileRead(std::string_view file, std::string_view section, std::string_view key)
{
    const Place place = locate(file, section, key);
    if (!place.keyLine) return {};
    // The platform hands back a zero-terminated text, so a NUL in the file ends the value.
    std::string_view value = place.entry.value;
    value = value.substr(0, value.find('\0'));
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, maxValueBytes));
}

std::string profileWrite(std::optional<std::string_view> file, std::string_view section, std::string_view key,
                         std::string_view value)
{
    // A line break in the value would plant new lines, a NUL would end the text on the platform: keep what reads back.
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    const std::string_view text = file.value_or(std::string_view{});
    const Place place = locate(text, section, key);
    std::string result;
    if (place.keyLine) {
        result = text.substr(0, place.keyLine->begin);
        result += keyLine(place.entry.name, value);
        result += text.substr(place.keyLine->end);
    } else if (place.sectionTail) {
        // Blank lines after the section's last entry stay as the separator before the next section.
        result = text.substr(0, place.sectionTail->end);
        if (!place.sectionTail->hasBreak()) result += lineBreak;
        result += keyLine(key, value);
        result += text.substr(place.sectionTail->end);
    } else {
        result = text;
        if (!text.empty() && text.back() != '\n' && text.back() != '\r') result += lineBreak;
        result += '[';
        result += section;
        result += ']';
        result += lineBreak;
        result += keyLine(key, value);
    }
    return result;
}

}  // namespace inkmoss
