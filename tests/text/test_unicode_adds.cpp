#include "support/TempDir.h"
#include "text/UnicodeAdds.h"

#include <chrono>
#include <ctime>
#include <gtest/gtest.h>

namespace partsmith {
namespace {

using testing::TempDir;

struct PathCase {
    PathStyle style;
    std::string path;
    std::string name;      // PathNamePart
    std::string prefix;    // PathFolderPrefix
    std::string folder;    // PathFolderPart
    std::string stripped;  // SwapExtension(path, "")
    std::string extension; // PathExtension
};

constexpr auto W = PathStyle::Windows;
constexpr auto P = PathStyle::Posix;

const PathCase kPathCases[] = {
    {W, R"(C:\data\x.bin)", "x.bin", R"(C:\data\)", R"(C:\data)", R"(C:\data\x)", ".bin"},
    {W, R"(C:x.bin)", "C:x.bin", R"(C:\)", R"(C:\)", "C:x", ".bin"},
    {W, R"(C:\x.bin)", "x.bin", R"(C:\)", R"(C:\)", R"(C:\x)", ".bin"},
    {W, R"(D:\x.bin)", "x.bin", R"(D:\)", R"(D:\)", R"(D:\x)", ".bin"},
    {W, "a.b.c", "a.b.c", "", "", "a.b", ".c"},
    {W, R"(C:\data.old\file)", "file", R"(C:\data.old\)", R"(C:\data.old)", R"(C:\data.old\file)",
     ""},
    {W, R"(C:\a\b.dat.001)", "b.dat.001", R"(C:\a\)", R"(C:\a)", R"(C:\a\b.dat)", ".001"},
    {W, R"(C:\d.x\f)", "f", R"(C:\d.x\)", R"(C:\d.x)", R"(C:\d.x\f)", ""},
    {W, R"(C:\data\)", "", R"(C:\data\)", R"(C:\data)", R"(C:\data\)", ""},
    {W, R"(\x.bin)", "x.bin", R"(\)", R"(\)", R"(\x)", ".bin"},
    {W, R"(a\b)", "b", R"(a\)", R"(a\)", R"(a\b)", ""},
    {W, R"(C:a.b\c)", "c", R"(C:a.b\)", R"(C:a.b)", R"(C:a.b\c)", ""},
    // "/" ends a name in the Windows style, but is no folder separator there.
    {W, "x/y.bin", "y.bin", "", "", "x/y", ".bin"},
    {W, "", "", "", "", "", ""},
    {P, "/home/u/report.pdf", "report.pdf", "/home/u/", "/home/u", "/home/u/report", ".pdf"},
    {P, "/x.bin", "x.bin", "/", "/", "/x", ".bin"},
    {P, "report.pdf", "report.pdf", "", "", "report", ".pdf"},
    {P, "/home/u/my.folder/file", "file", "/home/u/my.folder/", "/home/u/my.folder",
     "/home/u/my.folder/file", ""},
    {P, "/home/u/a:b.bin", "a:b.bin", "/home/u/", "/home/u", "/home/u/a:b", ".bin"},
    {P, R"(/home/u/a\b.bin)", R"(a\b.bin)", "/home/u/", "/home/u", R"(/home/u/a\b)", ".bin"},
    // "\" and ":" are ordinary characters: the extension runs across them.
    {P, R"(/tmp/x.d\e)", R"(x.d\e)", "/tmp/", "/tmp", "/tmp/x", R"(.d\e)"},
    {P, "/tmp/x.d:e", "x.d:e", "/tmp/", "/tmp", "/tmp/x", ".d:e"},
    {P, R"(C:\x.bin)", R"(C:\x.bin)", "", "", R"(C:\x)", ".bin"},
    {P, "/home/u/movie.avi.e01", "movie.avi.e01", "/home/u/", "/home/u", "/home/u/movie.avi",
     ".e01"},
    {P, "/home/u/", "", "/home/u/", "/home/u", "/home/u/", ""},
    {P, "/", "", "/", "/", "/", ""},
    {P, "rel/dir/f", "f", "rel/dir/", "rel/dir", "rel/dir/f", ""},
    {P, "", "", "", "", "", ""},
};

TEST(PathHelpers, BothStyles) {
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE((c.style == W ? "Windows: " : "Posix: ") + c.path);
        EXPECT_EQ(PathNamePart(c.path, c.style), c.name);
        EXPECT_EQ(PathFolderPrefix(c.path, c.style), c.prefix);
        EXPECT_EQ(PathFolderPart(c.path, c.style), c.folder);
        EXPECT_EQ(SwapExtension(c.path, "", c.style), c.stripped);
        EXPECT_EQ(PathExtension(c.path, c.style), c.extension);
    }
}

TEST(PathHelpers, SwapExtensionReplacesOrAppends) {
    struct Case {
        PathStyle style;
        std::string path, ext, expected;
    };
    const Case cases[] = {
        {W, R"(C:\prog\partsmith.exe)", ".ini", R"(C:\prog\partsmith.ini)"},
        {W, R"(C:\data.old\file)", ".ini", R"(C:\data.old\file.ini)"},
        {W, "C:x", ".ini", "C:x.ini"},
        {P, "/usr/bin/partsmith", ".ini", "/usr/bin/partsmith.ini"},
        {P, "/opt/my.app/partsmith", ".ini", "/opt/my.app/partsmith.ini"},
        {P, "/home/u/movie.avi.001", ".002", "/home/u/movie.avi.002"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwapExtension(c.path, c.ext, c.style), c.expected) << c.path;
    }
}

TEST(TextHelpers, TextCharScanStopsAtTheTerminator) {
    EXPECT_EQ(TextCharScan("abc", 'b'), 2u);
    EXPECT_EQ(TextCharScan("abcb", 'b'), 2u);
    EXPECT_EQ(TextCharScan("abc", 'x'), std::nullopt);
    EXPECT_EQ(TextCharScan(std::string_view("a\0b", 3), 'b'), std::nullopt);
    EXPECT_EQ(TextCharScan("", 'a'), std::nullopt);
}

TEST(TextHelpers, LastDelimiterIndexCountsFromOne) {
    EXPECT_EQ(LastDelimiterIndex("\\:", R"(C:\a\b)"), 5u);
    EXPECT_EQ(LastDelimiterIndex("\\:", "C:b"), 2u);
    EXPECT_EQ(LastDelimiterIndex(".", "a.b.c"), 4u);
    EXPECT_EQ(LastDelimiterIndex("xyz", "abc"), 0u);
    EXPECT_EQ(LastDelimiterIndex("a", ""), 0u);
    EXPECT_EQ(LastDelimiterIndex("", "abc"), 0u);
}

TEST(PartNames, PaddedNumberCountsThePrefixAndNeverCuts) {
    struct Case {
        std::int64_t n;
        int width;
        std::string prefix, expected;
    };
    const Case cases[] = {
        {7, 3, "", "007"},     {7, 3, "e", "e07"},    {1234, 3, "", "1234"}, {100, 3, "e", "e100"},
        {99, 3, "e", "e99"},   {1000, 3, "", "1000"}, {0, 3, "", "000"},     {1, 1, "", "1"},
        {10, 1, "", "10"},     {5, 1, "e", "e5"},     {5, 0, "", "5"},       {5, -4, "", "5"},
        {42, 6, "", "000042"}, {3, 3, "ee", "ee3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PaddedNumber(c.n, c.width, c.prefix), c.expected)
            << c.n << " width " << c.width << " prefix " << c.prefix;
    }
}

TEST(PartNames, PartFileName) {
    EXPECT_EQ(PartFileName("movie.avi", 1, 3, false), "movie.avi.001");
    EXPECT_EQ(PartFileName("movie.avi", 1, 3, true), "movie.avi.e01");
    EXPECT_EQ(PartFileName("movie.avi", 1000, 3, false), "movie.avi.1000");
    EXPECT_EQ(PartFileName("movie.avi", 100, 3, true), "movie.avi.e100");
    EXPECT_EQ(PartFileName("/home/u/x", 2, 1, false), "/home/u/x.2");
}

TEST(Files, FileIsPresentOnlyForFilesThatExist) {
    TempDir dir;
    const auto file = dir.Write("file.bin", std::string("data"));
    const auto empty = dir.Write("empty.bin", std::string());
    std::filesystem::create_directory(dir / "folder.001");
    std::filesystem::create_symlink(file, dir / "link");
    std::filesystem::create_symlink(dir / "nothing", dir / "dangling");

    EXPECT_TRUE(FileIsPresent(file));
    EXPECT_TRUE(FileIsPresent(empty));
    EXPECT_TRUE(FileIsPresent(dir / "link"));
    EXPECT_FALSE(FileIsPresent(dir / "folder.001"));
    EXPECT_FALSE(FileIsPresent(dir / "dangling"));
    EXPECT_FALSE(FileIsPresent(dir / "nothing"));
    EXPECT_FALSE(FileIsPresent(file / "below-a-file"));
    EXPECT_FALSE(FileIsPresent(""));
}

// Sets the file's last-write time to the given local time.
void SetLocalWriteTime(const std::filesystem::path& path, int year, int month, int day, int hour,
                       int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    ASSERT_NE(t, static_cast<std::time_t>(-1));
    const auto sys = std::chrono::system_clock::from_time_t(t);
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(sys));
}

TEST(Files, FileStampOfPacksTheLocalTimeAsDosDateTime) {
    TempDir dir;
    const auto file = dir.Write("stamped", std::string("x"));
    // Odd seconds fall to the even second below: the DOS time counts two-second steps.
    SetLocalWriteTime(file, 2021, 3, 4, 5, 6, 7);
    const std::uint32_t date = ((2021 - 1980) << 9) | (3 << 5) | 4;
    const std::uint32_t time = (5 << 11) | (6 << 5) | (7 / 2);
    EXPECT_EQ(static_cast<std::uint32_t>(FileStampOf(file)), (date << 16) | time);

    SetLocalWriteTime(file, 1980, 1, 1, 0, 0, 0);
    EXPECT_EQ(FileStampOf(file), static_cast<std::int32_t>((1u | (1u << 5)) << 16));

    // A time a DOS date cannot hold.
    SetLocalWriteTime(file, 1975, 6, 1, 12, 0, 0);
    EXPECT_EQ(FileStampOf(file), -1);

    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(FileStampOf(dir / "folder"), -1);
    EXPECT_EQ(FileStampOf(dir / "missing"), -1);
}

TEST(Files, Utf8PathsReachTheFileSystem) {
    TempDir dir;
    const std::string name = "Gr\xC3\xBC\xC3\x9F"
                             "e \xE6\x97\xA5\xE6\x9C\xAC.txt";
    const std::filesystem::path path = dir.Path() / PathFromUtf8(name);
    dir.Write(Utf8FromPath(path.filename()), std::string("x"));
    EXPECT_TRUE(FileIsPresent(path));
    EXPECT_EQ(Utf8FromPath(path.filename()), name);
    EXPECT_EQ(PathNamePart(Utf8FromPath(path), PathStyle::Posix), name);
}

} // namespace
} // namespace partsmith
