#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace inkmoss {

// The value of `key` in `section` of an INI file's bytes, by the profile read rules; empty for anything missing.
std::string profileRead(std::string_view file, std::string_view section, std::string_view key);

// The bytes of the file after storing `value` under `section`/`key`; `file` is nullopt when the file does not exist.
std::string profileWrite(std::optional<std::string_view> file, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace inkmoss
