#pragma once
#include <string_view>

#include "app/types.h"

namespace inkmoss {

class Backend;

// One of the two values the program keeps: a file below the run directory,
// a section and a key.
struct SettingsFile {
    std::string_view tail;  // begins with a backslash
    std::string_view section;
    std::string_view key;
};

extern const SettingsFile kNameFile;
extern const SettingsFile kPasswordFile;

// Empty for anything missing or unreadable.
Text readSetting(Backend& backend, const Text& runDirectory, const SettingsFile& file);
// Creates the settings folder when missing and replaces the file only once
// the new bytes are complete. Returns whether the value is stored.
bool writeSetting(Backend& backend, const Text& runDirectory, const SettingsFile& file, std::string_view value);

}  // namespace inkmoss
