#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace orb {
namespace {

class AtomicFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "orb-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Read(const std::filesystem::path& p) const {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
    }

    std::filesystem::path dir_;
};

TEST_F(AtomicFileTest, NewFileGetsTheUsualPermissionsAndAnOldOneKeepsItsOwn) {
    const mode_t mask = ::umask(022);
    const auto target = dir_ / "a.txt";
    EXPECT_TRUE(WriteFileAtomically(target, "one").ok());
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    EXPECT_TRUE(WriteFileAtomically(target, "two").ok());
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ::umask(mask);
    EXPECT_EQ(Read(target), "two");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, AnotherWriterMayFillTheTemporaryFileByName) {
    const auto target = dir_ / "book.xlsx";
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.created().ok());
        // A library that recreates the file it was given.
        std::remove(file.path().c_str());
        std::ofstream(file.path(), std::ios::binary) << "written by name";
        EXPECT_TRUE(file.Commit().ok());
    }
    EXPECT_EQ(Read(target), "written by name");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, FailuresLeaveTheTargetAndNoTemporaryFile) {
    const auto target = dir_ / "keep.tlm";
    ASSERT_TRUE(WriteFileAtomically(target, "old").ok());
    const FileResult failed = WriteFileAtomically(target, [](ByteSink& sink) {
        if (int err = sink.Write("partial", 7)) return err;
        return ENOSPC;
    });
    EXPECT_EQ(failed.code, FileStatus::kWriteFailed);
    EXPECT_EQ(failed.error, ENOSPC);
    EXPECT_EQ(failed.message, SystemErrorText(ENOSPC));
    {
        AtomicFile abandoned(target);
        ASSERT_TRUE(abandoned.Write("never committed").ok());
    }
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Entries(), 1u);

    const struct {
        std::filesystem::path path;
        FileStatus code;
        int error;
    } cases[] = {{dir_ / "missing" / "x.txt", FileStatus::kCannotCreate, ENOENT},
                 {dir_ / "", FileStatus::kCannotCreate, EISDIR}};
    for (const auto& c : cases) {
        const FileResult r = WriteFileAtomically(c.path, "x");
        EXPECT_EQ(r.code, c.code) << c.path;
        EXPECT_EQ(r.error, c.error) << c.path;
        EXPECT_FALSE(r.message.empty());
    }
    std::filesystem::create_directory(dir_ / "full");
    std::ofstream(dir_ / "full" / "inside") << "x";
    EXPECT_EQ(WriteFileAtomically(dir_ / "full", "x").code,
              FileStatus::kWriteFailed);  // rename onto a folder
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(AtomicFileTest, MakeDirectoriesReportsWhatBlocksIt) {
    EXPECT_TRUE(MakeDirectories(dir_ / "a" / "b").ok());
    ASSERT_TRUE(WriteFileAtomically(dir_ / "file", "x").ok());
    const FileResult r = MakeDirectories(dir_ / "file" / "sub");
    EXPECT_EQ(r.code, FileStatus::kCannotCreate);
    EXPECT_NE(r.error, 0);
    EXPECT_FALSE(r.message.empty());
}

}  // namespace
}  // namespace orb
