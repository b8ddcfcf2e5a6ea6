#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace partsmith {
namespace {

using testing::TempDir;

std::string FileText(const std::filesystem::path& path) {
    const std::vector<std::byte> bytes = testing::ReadAll(path);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void ExpectSame(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.FirstTime, b.FirstTime);
    EXPECT_EQ(a.MaxBufferSize, b.MaxBufferSize);
    EXPECT_EQ(a.AskWhenFileExists, b.AskWhenFileExists);
    EXPECT_EQ(a.MinimizeToTray, b.MinimizeToTray);
    EXPECT_EQ(a.ExecuteWhenJoinFinish, b.ExecuteWhenJoinFinish);
    EXPECT_EQ(a.ProgramToExecute, b.ProgramToExecute);
    EXPECT_EQ(a.Language, b.Language);
    EXPECT_EQ(a.AlwaysExitWhenFinised, b.AlwaysExitWhenFinised);
    EXPECT_EQ(a.SetFormOnTheTop, b.SetFormOnTheTop);
}

TEST(Settings, NoFileGivesTheDefaults) {
    TempDir dir;
    const Settings s = ReadSettings(IniFile(dir / "partsmith.ini"));
    EXPECT_TRUE(s.FirstTime);
    EXPECT_EQ(s.MaxBufferSize, 8192);
    EXPECT_TRUE(s.AskWhenFileExists);
    EXPECT_FALSE(s.MinimizeToTray);
    EXPECT_FALSE(s.ExecuteWhenJoinFinish);
    EXPECT_EQ(s.ProgramToExecute, "");
    EXPECT_EQ(s.Language, "English");
    EXPECT_FALSE(s.AlwaysExitWhenFinised);
    EXPECT_FALSE(s.SetFormOnTheTop);
    EXPECT_FALSE(std::filesystem::exists(dir / "partsmith.ini"));
}

TEST(Settings, FirstRunDefaultsInTheirOrder) {
    TempDir dir;
    IniFile file(dir / "partsmith.ini");
    WriteFirstRunDefaults(file);
    EXPECT_EQ(FileText(file.Path()), "[Settings]\n"
                                     "FirstTime=1\n"
                                     "MaxBufferSize=8192\n"
                                     "AskWhenFileExists=1\n"
                                     "MinimizeToTray=0\n"
                                     "ExecuteWhenJoinFinish=0\n"
                                     "ProgramToExecute=\n"
                                     "Language=English\n"
                                     "AlwaysExitWhenFinised=0\n"
                                     "SetFormOnTheTop=0\n");
    ExpectSame(ReadSettings(file), Settings{});

    WriteFirstTime(file, false);
    EXPECT_FALSE(ReadSettings(file).FirstTime);
    EXPECT_EQ(FileText(file.Path()).find("FirstTime=0\nMaxBufferSize"), 11u);
}

TEST(Settings, ConfigureKeysRoundTripAndLeaveFirstTime) {
    TempDir dir;
    dir.Write("partsmith.ini", std::string("[Settings]\r\nFirstTime=0\r\n"));
    IniFile file(dir / "partsmith.ini");
    Settings s;
    s.FirstTime = true; // not written: the file keeps 0
    s.MaxBufferSize = 0;
    s.AskWhenFileExists = false;
    s.MinimizeToTray = true;
    s.ExecuteWhenJoinFinish = true;
    s.ProgramToExecute = "/usr/bin/xdg-open \"%s\"";
    s.Language = "Deutsch";
    s.AlwaysExitWhenFinised = true;
    s.SetFormOnTheTop = true;
    WriteConfigureKeys(file, s);

    Settings expected = s;
    expected.FirstTime = false;
    ExpectSame(ReadSettings(file), expected);
    EXPECT_EQ(FileText(file.Path()), "[Settings]\r\n"
                                     "FirstTime=0\r\n"
                                     "MaxBufferSize=0\r\n"
                                     "AskWhenFileExists=0\r\n"
                                     "MinimizeToTray=1\r\n"
                                     "ExecuteWhenJoinFinish=1\r\n"
                                     "ProgramToExecute=/usr/bin/xdg-open \"%s\"\r\n"
                                     "Language=Deutsch\r\n"
                                     "AlwaysExitWhenFinised=1\r\n"
                                     "SetFormOnTheTop=1\r\n");
}

TEST(Settings, HandEditedValues) {
    TempDir dir;
    dir.Write("partsmith.ini", std::string("[SETTINGS]\n"
                                           "MaxBufferSize=0x100\n"
                                           "AskWhenFileExists=yes\n"
                                           "MinimizeToTray=yes\n"
                                           "executewhenjoinfinish=2\n"
                                           "Language=\n"));
    const Settings s = ReadSettings(IniFile(dir / "partsmith.ini"));
    EXPECT_EQ(s.MaxBufferSize, 256);
    EXPECT_TRUE(s.AskWhenFileExists);
    EXPECT_FALSE(s.MinimizeToTray);
    EXPECT_TRUE(s.ExecuteWhenJoinFinish);
    // Present but empty is empty: the next language load then reports ".ini" missing.
    EXPECT_EQ(s.Language, "");

    dir.Write("partsmith.ini", std::string("[Settings]\nMaxBufferSize=abc\n"));
    EXPECT_EQ(ReadSettings(IniFile(dir / "partsmith.ini")).MaxBufferSize, 8192);
}

TEST(Settings, FailedWriteStopsBeforeTheNextKeys) {
    TempDir dir;
    dir.Write("blocker", std::string("x"));
    IniFile file(dir / "blocker" / "partsmith.ini");
    EXPECT_THROW(WriteFirstRunDefaults(file), SettingsWriteError);
    EXPECT_THROW(WriteConfigureKeys(file, Settings{}), SettingsWriteError);
}

// Sets or clears an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsPath, TheVariableWins) {
    TempDir dir;
    const ScopedEnv config(kConfigDirVariable, (dir / "cfg").string());
    EXPECT_EQ(SettingsPath(dir / "partsmith"), dir / "cfg" / "partsmith.ini");
}

TEST(SettingsPath, BesideTheExecutableWhenWritable) {
    const ScopedEnv config(kConfigDirVariable, std::nullopt);
    TempDir dir;
    EXPECT_EQ(SettingsPath(dir / "partsmith"), dir / "partsmith.ini");
    EXPECT_EQ(SettingsPath(dir / "partsmith.exe"), dir / "partsmith.ini");
    std::filesystem::create_directory(dir / "my.tools");
    EXPECT_EQ(SettingsPath(dir / "my.tools" / "partsmith"), dir / "my.tools" / "partsmith.ini");
    // A folder that does not exist cannot take the file.
    EXPECT_NE(SettingsPath(dir / "missing" / "partsmith"), dir / "missing" / "partsmith.ini");
}

TEST(SettingsPath, UserConfigFolderWhenTheFolderIsReadOnly) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not bind the superuser";
    }
    const ScopedEnv config(kConfigDirVariable, std::nullopt);
    TempDir dir;
    const auto bin = dir / "bin";
    std::filesystem::create_directory(bin);
    dir.Write("bin/kept.ini", std::string("[Settings]\n"));
    std::filesystem::permissions(bin, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::owner_exec);
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "xdg").string());
        EXPECT_EQ(SettingsPath(bin / "partsmith"), dir / "xdg" / "partsmith" / "partsmith.ini");
        // An existing file beside the executable is used even in a read-only folder.
        EXPECT_EQ(SettingsPath(bin / "kept"), bin / "kept.ini");
    }
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
        const ScopedEnv home("HOME", (dir / "home").string());
        EXPECT_EQ(SettingsPath(bin / "partsmith"),
                  dir / "home" / ".config" / "partsmith" / "partsmith.ini");
    }
    std::filesystem::permissions(bin, std::filesystem::perms::owner_all);
}

TEST(BufferBytesFromKiB, WithinOneKiBAndOneGiB) {
    struct Case {
        std::int64_t kib;
        std::uint64_t bytes;
    };
    const Case cases[] = {
        {INT64_MIN, 1024},
        {-5, 1024},
        {0, 1024},
        {1, 1024},
        {8192, 8192ull * 1024},
        {1048576, 1ull << 30},
        {1048577, 1ull << 30},
        {INT64_MAX, 1ull << 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BufferBytesFromKiB(c.kib), c.bytes) << c.kib;
    }
}

} // namespace
} // namespace partsmith
