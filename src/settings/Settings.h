// The nine settings of section "Settings": keys, defaults, location of the file.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

namespace partsmith {

class IniFile;

inline constexpr const char* kSettingsSection = "Settings";

// The keys of section "Settings".
namespace settings_key {
inline constexpr const char* kFirstTime = "FirstTime";
inline constexpr const char* kMaxBufferSize = "MaxBufferSize";
inline constexpr const char* kAskWhenFileExists = "AskWhenFileExists";
inline constexpr const char* kMinimizeToTray = "MinimizeToTray";
inline constexpr const char* kExecuteWhenJoinFinish = "ExecuteWhenJoinFinish";
inline constexpr const char* kProgramToExecute = "ProgramToExecute";
inline constexpr const char* kLanguage = "Language";
inline constexpr const char* kAlwaysExitWhenFinised = "AlwaysExitWhenFinised";
inline constexpr const char* kSetFormOnTheTop = "SetFormOnTheTop";
} // namespace settings_key

// When set, the folder of the settings file in place of the places below.
inline constexpr const char* kConfigDirVariable = "PARTSMITH_CONFIG_DIR";

struct Settings {
    bool FirstTime = true;
    std::int64_t MaxBufferSize = 8192; // KiB
    bool AskWhenFileExists = true;
    bool MinimizeToTray = false;
    bool ExecuteWhenJoinFinish = false;
    std::string ProgramToExecute;
    std::string Language = "English";
    bool AlwaysExitWhenFinised = false; // the key is spelt so
    bool SetFormOnTheTop = false;
};

// Every key, a missing one at its default.
Settings ReadSettings(const IniFile& file);
// The eight keys of the Configure page, in the page's order (FirstTime is not written).
void WriteConfigureKeys(IniFile& file, const Settings& settings);
// The nine defaults in their order, written when no settings file exists yet.
void WriteFirstRunDefaults(IniFile& file);
// FirstTime alone (the window writes 0 once it has shown the welcome).
void WriteFirstTime(IniFile& file, bool firstTime);

// Where the settings file lives: PARTSMITH_CONFIG_DIR/partsmith.ini when that variable is set
// (tests); else the executable's path with ".ini" when that file exists or its folder is
// writable; else partsmith.ini in the user's configuration folder.
std::filesystem::path SettingsPath(const std::filesystem::path& executable);

// The copy buffer of the split and join engines in bytes, from MaxBufferSize in KiB:
// 0 or less works as 1 KiB; more than 1 GiB is capped at 1 GiB.
std::uint64_t BufferBytesFromKiB(std::int64_t kib);

// FAskWhenFileExists: written by the window, read by workers on their own thread.
using AtomicFlag = std::atomic<bool>;

} // namespace partsmith
