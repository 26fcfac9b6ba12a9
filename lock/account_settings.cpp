#include "lock/account_settings.h"

#include "app/backend.h"
#include "app/ui_texts.h"
#include "lock/profile.h"

namespace inkmoss {

const SettingsFile kNameFile{ui::name_file, "IMYHM", "YHM"};
const SettingsFile kPasswordFile{ui::password_file, "ZH", "MM"};

Text readSetting(Backend& backend, const Text& runDirectory, const SettingsFile& file) {
    const auto bytes = backend.readFile(runDirectory + Text(file.tail));
    return bytes ? profileRead(*bytes, file.section, file.key) : Text();
}

bool writeSetting(Backend& backend, const Text& runDirectory, const SettingsFile& file, std::string_view value) {
    // Without the folder a registered password would be gone at the next start.
    backend.makeDirectory(runDirectory + Text(ui::settings_folder));
    const Text path = runDirectory + Text(file.tail);
    const auto existing = backend.readFile(path);
    const std::optional<std::string_view> current = existing ? std::optional<std::string_view>(*existing) : std::nullopt;
    return backend.replaceFile(path, profileWrite(current, file.section, file.key, value));
}

}  // namespace inkmoss
