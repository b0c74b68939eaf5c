#include "report/txt_export_format.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "test_dir.h"

namespace orb {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

TxtExportFormat Layout(std::vector<int> cols, int captions = 1, int separator = 1) {
    TxtExportFormat f;
    f.writeCaptions = captions;
    f.separator = separator;
    for (int c : cols) f.columns[f.count++] = c;
    return f;
}

TEST(ExpFmtFile, DefaultsAreHundredBytesOfOneOneMinusOnesAndZero) {
    const std::string bytes = EncodeExpFmt(TxtExportFormat{});
    ASSERT_EQ(bytes.size(), 100u);
    std::string expected("\x01\0\0\0\x01\0\0\0", 8);
    for (int i = 0; i < 22; ++i) expected += std::string("\xFF\xFF\xFF\xFF", 4);
    expected += std::string(4, '\0');
    EXPECT_EQ(bytes, expected);
}

TEST(ExpFmtFile, FieldsAreLittleEndianInFileOrder) {
    const std::string bytes = EncodeExpFmt(Layout({13, 0, 21}, 0, 0));
    EXPECT_EQ(bytes.substr(0, 8), std::string(8, '\0'));
    EXPECT_EQ(bytes.substr(8, 12), std::string("\x0D\0\0\0\0\0\0\0\x15\0\0\0", 12));
    EXPECT_EQ(bytes.substr(20, 4), "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(bytes.substr(96, 4), std::string("\x03\0\0\0", 4));
    TxtExportFormat back;
    ASSERT_TRUE(DecodeExpFmt(bytes, back));
    EXPECT_EQ(back, Layout({13, 0, 21}, 0, 0));
}

TEST(ExpFmtFile, DamagedFilesGiveTheDefaults) {
    TempDir dir;
    const std::string path = dir / "ExpFmt.ini";
    const std::string good = EncodeExpFmt(Layout({4, 2}, 0, 0));
    auto damaged = [&](std::string bytes) {
        WriteAll(path, bytes);
        return LoadTxtExportFormat(path) == TxtExportFormat{};
    };
    EXPECT_FALSE(damaged(good));
    EXPECT_TRUE(damaged(good.substr(0, 99)));
    EXPECT_TRUE(damaged(good + "x"));
    EXPECT_TRUE(damaged(""));
    std::string b = good;
    b[96] = 23;  // count 23
    EXPECT_TRUE(damaged(b));
    b = good;
    b[99] = '\xFF';  // negative count
    EXPECT_TRUE(damaged(b));
    b = good;
    b[8] = 22;  // index outside 0..21
    EXPECT_TRUE(damaged(b));
    b = good;
    b[12] = 4;  // repeated index
    EXPECT_TRUE(damaged(b));
    b = good;
    b[16] = 99;  // an entry beyond count carries no meaning
    EXPECT_FALSE(damaged(b));
    EXPECT_EQ(LoadTxtExportFormat(dir / "missing.ini"), TxtExportFormat{});
}

TEST(ExpFmtFile, SaveCreatesTheFolderAndReplacesTheFileWhole) {
    TempDir dir;
    const std::string path = dir / "config/Orb/ExpFmt.ini";
    EXPECT_TRUE(SaveTxtExportFormat(path, Layout({0, 3, 4})).ok());
    EXPECT_EQ(ReadAll(path), EncodeExpFmt(Layout({0, 3, 4})));
    EXPECT_TRUE(SaveTxtExportFormat(path, Layout({21}, 0, 0)).ok());
    EXPECT_EQ(LoadTxtExportFormat(path), Layout({21}, 0, 0));
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir / "config/Orb")) ++files;
    EXPECT_EQ(files, 1);
}

TEST(ExpFmtFile, SaveFailureIsReportedAndKeepsTheOldFile) {
    TempDir dir;
    WriteAll(dir / "blocker", "x");
    EXPECT_FALSE(SaveTxtExportFormat(dir / "blocker/ExpFmt.ini", Layout({1})).ok());
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string path = dir / "ro/ExpFmt.ini";
    ASSERT_TRUE(SaveTxtExportFormat(path, Layout({1})).ok());
    ::chmod((dir / "ro").c_str(), 0555);
    EXPECT_FALSE(SaveTxtExportFormat(path, Layout({2})).ok());
    EXPECT_EQ(LoadTxtExportFormat(path), Layout({1}));
}

TEST(ExpFmtFile, LivesInTheUserConfigurationFolder) {
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg/x", 1);
    EXPECT_EQ(TxtExportFormatPath(), "/cfg/x/Orb/ExpFmt.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    const char* home = std::getenv("HOME");
    if (home) {
        EXPECT_EQ(TxtExportFormatPath(), std::string(home) + "/.config/Orb/ExpFmt.ini");
    }
    if (oldXdg) {
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace orb
