#include "core/outside_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "file_fault_support.h"

namespace orb {
namespace {

class OutsideFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "orb-outside-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

// Each kind of file the operator may name, read in a child that an alarm
// ends after 5 s: a blocking open of a FIFO would never return.
TEST_F(OutsideFileTest, OnlyRegularFilesAreReadAndNothingBlocks) {
    std::ofstream(Path("plain")) << "12345";
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
    std::filesystem::create_directory(dir_ / "folder");
    std::filesystem::create_symlink("/dev/zero", dir_ / "zero");
    std::filesystem::create_symlink("plain", dir_ / "link-to-plain");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(Path("null-device").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    const struct {
        const char* name;
        FileStatus code;
        int error;
        const char* content;
    } cases[] = {
        {"plain", FileStatus::kOk, 0, "12345"},
        {"link-to-plain", FileStatus::kOk, 0, "12345"},
        {"missing", FileStatus::kCannotRead, ENOENT, ""},
        {"fifo", FileStatus::kRefused, 0, ""},
        {"folder", FileStatus::kRefused, EISDIR, ""},
        {"zero", FileStatus::kRefused, 0, ""},
        {"null-device", root ? FileStatus::kRefused : FileStatus::kCannotRead, root ? 0 : ENOENT, ""},
    };
    for (const auto& c : cases) {
        const test::ChildResult r = test::detail::RunChild([&](std::string& report) {
            ::alarm(5);
            std::string bytes = "left over";
            const FileResult got = ReadOutsideFile(Path(c.name), bytes, 1024);
            report = got.message;
            if (got.code != c.code || got.error != c.error || bytes != c.content) return 1;
            if (c.code == FileStatus::kRefused && got.message != kNotRegularFileMessage) return 2;
            if (c.code == FileStatus::kCannotRead && got.message.empty()) return 3;
            return 0;
        });
        EXPECT_EQ(r.status, 0) << c.name << ": " << r.report
                               << (r.status == 128 + SIGALRM ? " (blocked)" : "");
    }
}

TEST_F(OutsideFileTest, CapsAreExactAndNothingIsSizedFromTheFileSystem) {
    const std::string text(1000, 'x');
    std::ofstream(Path("exact")) << text;
    std::string bytes;
    EXPECT_TRUE(ReadOutsideFile(Path("exact"), bytes, 1000).ok());
    EXPECT_EQ(bytes, text);
    const FileResult over = ReadOutsideFile(Path("exact"), bytes, 999);
    EXPECT_EQ(over.code, FileStatus::kTooLarge);
    EXPECT_EQ(over.message, TooLargeToReadText(999));
    EXPECT_TRUE(bytes.empty());

    // A sparse file of 1 TB: refused after the cap's worth of reading.
    { std::ofstream(Path("sparse")) << ""; }
    ASSERT_EQ(::truncate(Path("sparse").c_str(), off_t{1} << 40), 0);
    EXPECT_EQ(ReadOutsideFile(Path("sparse"), bytes, std::size_t{1} << 20).code, FileStatus::kTooLarge);
    EXPECT_EQ(TooLargeToReadText(std::size_t{1} << 20), "文件大于 1 MB，没有读取。");

    // The prefix reader stops at its cap and leaves the rest.
    OutsideFile file;
    ASSERT_TRUE(file.Open(Path("exact")).ok());
    EXPECT_EQ(file.size(), 1000u);
    ASSERT_TRUE(file.ReadPrefix(bytes, 600).ok());
    EXPECT_EQ(bytes.size(), 600u);
    ASSERT_TRUE(file.ReadPrefix(bytes, 600).ok());
    EXPECT_EQ(bytes.size(), 400u);
}

}  // namespace
}  // namespace orb
