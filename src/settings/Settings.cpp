#include "settings/Settings.h"

#include "settings/IniFile.h"
#include "text/UnicodeAdds.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace partsmith {
namespace {

namespace key = settings_key;

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMaxBufferKiB = 1024 * 1024; // 1 GiB

bool FolderIsWritable(const std::filesystem::path& folder) {
#ifdef _WIN32
    (void)folder;
    return true;
#else
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
#endif
}

std::filesystem::path UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "partsmith";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".config" / "partsmith";
    }
    // Without a home there is no better place than the working folder.
    return std::filesystem::path("partsmith");
}

} // namespace

Settings ReadSettings(const IniFile& file) {
    const Settings defaults;
    Settings s;
    const char* section = kSettingsSection;
    s.FirstTime = file.ReadBool(section, key::kFirstTime, defaults.FirstTime);
    s.MaxBufferSize = file.ReadInteger(section, key::kMaxBufferSize, defaults.MaxBufferSize);
    s.AskWhenFileExists =
        file.ReadBool(section, key::kAskWhenFileExists, defaults.AskWhenFileExists);
    s.MinimizeToTray = file.ReadBool(section, key::kMinimizeToTray, defaults.MinimizeToTray);
    s.ExecuteWhenJoinFinish =
        file.ReadBool(section, key::kExecuteWhenJoinFinish, defaults.ExecuteWhenJoinFinish);
    s.ProgramToExecute =
        file.ReadString(section, key::kProgramToExecute, defaults.ProgramToExecute);
    s.Language = file.ReadString(section, key::kLanguage, defaults.Language);
    s.AlwaysExitWhenFinised =
        file.ReadBool(section, key::kAlwaysExitWhenFinised, defaults.AlwaysExitWhenFinised);
    s.SetFormOnTheTop = file.ReadBool(section, key::kSetFormOnTheTop, defaults.SetFormOnTheTop);
    return s;
}

void WriteConfigureKeys(IniFile& file, const Settings& s) {
    const char* section = kSettingsSection;
    file.WriteInteger(section, key::kMaxBufferSize, s.MaxBufferSize);
    file.WriteBool(section, key::kAskWhenFileExists, s.AskWhenFileExists);
    file.WriteBool(section, key::kMinimizeToTray, s.MinimizeToTray);
    file.WriteBool(section, key::kExecuteWhenJoinFinish, s.ExecuteWhenJoinFinish);
    file.WriteString(section, key::kProgramToExecute, s.ProgramToExecute);
    file.WriteString(section, key::kLanguage, s.Language);
    file.WriteBool(section, key::kAlwaysExitWhenFinised, s.AlwaysExitWhenFinised);
    file.WriteBool(section, key::kSetFormOnTheTop, s.SetFormOnTheTop);
}

void WriteFirstRunDefaults(IniFile& file) {
    const Settings defaults;
    WriteFirstTime(file, defaults.FirstTime);
    WriteConfigureKeys(file, defaults);
}

void WriteFirstTime(IniFile& file, bool firstTime) {
    file.WriteBool(kSettingsSection, key::kFirstTime, firstTime);
}

std::filesystem::path SettingsPath(const std::filesystem::path& executable) {
    if (const char* dir = std::getenv(kConfigDirVariable); dir != nullptr && *dir != '\0') {
        return std::filesystem::path(dir) / "partsmith.ini";
    }
    const std::filesystem::path beside =
        PathFromUtf8(SwapExtension(Utf8FromPath(executable), ".ini"));
    if (FileIsPresent(beside) || FolderIsWritable(beside.parent_path())) {
        return beside;
    }
    return UserConfigFolder() / "partsmith.ini";
}

std::uint64_t BufferBytesFromKiB(std::int64_t kib) {
    if (kib <= 0) {
        return kKiB;
    }
    return static_cast<std::uint64_t>(std::min(kib, kMaxBufferKiB) * kKiB);
}

} // namespace partsmith
