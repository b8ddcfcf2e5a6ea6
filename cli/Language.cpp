#include "Language.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "text/LanguageFile.h"
#include "text/UnicodeAdds.h"

#include <system_error>

namespace partsmith::cli {

namespace {

// The window's executable name; its settings file is found from it.
constexpr const char* kWindowExecutable = "partsmith";

} // namespace

std::filesystem::path ExecutablePath(const char* argv0) {
    std::error_code ignored;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    if (!self.empty()) {
        return self;
    }
    return std::filesystem::absolute(argv0 != nullptr ? argv0 : "", ignored);
}

void LoadWindowLanguage(const std::filesystem::path& toolExecutable) {
    try {
        const auto folder = toolExecutable.parent_path();
        const IniFile file(SettingsPath(folder / kWindowExecutable));
        if (!FileIsPresent(file.Path())) {
            return;
        }
        const Settings settings = ReadSettings(file);
        (void)LoadLanguage(LanguageFilePath(folder, settings.Language));
    } catch (const std::exception&) {
        // The built-in texts are a complete set; a broken language file must not stop a run.
    }
}

} // namespace partsmith::cli
