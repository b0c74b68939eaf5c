#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

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
    {
        AtomicFile file(target);  // private from the start, not only once renamed
        ASSERT_EQ(::stat(file.path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
    }
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
}

// A folder, a FIFO, a device or a link to one is no file to replace: the
// write is refused before a temporary file exists, and the link stays.
TEST_F(AtomicFileTest, TargetsThatAreNoRegularFileAreRefused) {
    std::filesystem::create_directory(dir_ / "folder");
    std::ofstream(dir_ / "folder" / "inside") << "x";
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0644), 0);
    std::filesystem::create_symlink("fifo", dir_ / "link-to-fifo");
    std::vector<std::string> names = {"folder", "fifo", "link-to-fifo"};
    if (::geteuid() == 0) {
        // A zero device of its own, so that nothing outside the folder is at risk.
        ASSERT_EQ(::mknod((dir_ / "zero").c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
        std::filesystem::create_symlink(dir_ / "zero", dir_ / "link-to-zero");
        names.insert(names.end(), {"zero", "link-to-zero"});
    }
    const std::size_t entries = Entries();
    for (const std::string& name : names) {
        const FileResult r = WriteFileAtomically(dir_ / name, "x");
        EXPECT_EQ(r.code, FileStatus::kRefused) << name;
        EXPECT_EQ(r.message, kNotRegularTargetMessage) << name;
        EXPECT_EQ(Entries(), entries) << name;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link-to-fifo"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir_ / "fifo"));
}

// The kernel's rule for links in sticky world-writable folders, applied by
// the writer that resolves the link itself. Root plants links owned by
// another uid with lchown.
TEST_F(AtomicFileTest, LinksAreFollowedOnlyWhereTheSystemWouldFollowThem) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link another owner";
    constexpr uid_t kOther = 65534;
    const struct {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner, linkOwner;
        bool followed;
    } cases[] = {
        {"shared folder, a stranger's link", 01777, 0, kOther, false},
        {"shared folder, the folder owner's link", 01777, kOther, kOther, true},
        {"shared folder, the user's own link", 01777, 0, 0, true},
        {"world-writable, not sticky", 0777, 0, kOther, true},
        {"sticky, not world-writable", 01775, 0, kOther, true},
    };
    for (const auto& c : cases) {
        const auto shared = dir_ / "shared";
        std::filesystem::remove_all(shared);
        std::filesystem::create_directory(shared);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, 0), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        ASSERT_TRUE(WriteFileAtomically(dir_ / "victim", "victim's").ok());
        std::filesystem::create_symlink(dir_ / "victim", shared / "survey.tlm");
        ASSERT_EQ(::lchown((shared / "survey.tlm").c_str(), c.linkOwner, 0), 0);

        const FileResult r = WriteFileAtomically(shared / "survey.tlm", "new");
        EXPECT_EQ(r.ok(), c.followed) << c.what;
        EXPECT_EQ(Read(dir_ / "victim"), c.followed ? "new" : "victim's") << c.what;
        EXPECT_TRUE(std::filesystem::is_symlink(shared / "survey.tlm")) << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(shared), {}), 1) << c.what;
        if (!c.followed) {
            EXPECT_EQ(r.code, FileStatus::kRefused) << c.what;
            EXPECT_EQ(r.message, kUnsafeLinkMessage) << c.what;
        }
    }
}

// The temporary files of writers that were killed are removed by the next
// write into the folder, and nothing else is: not a live writer's, not
// another host's, not another user's, not a folder nor a stranger's file.
TEST_F(AtomicFileTest, StaleTemporaryFilesOfDeadWritersAreRemoved) {
    std::string live;
    {
        AtomicFile probe(dir_ / "survey.tlm");
        live = std::filesystem::path(probe.path()).filename().string();
    }
    // ".survey.tlm.orbtmp-<host>-<pid>-<n>"
    const std::size_t tag = live.find(".orbtmp-") + 8;
    const std::string host = live.substr(tag, 8);
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    auto name = [](const std::string& target, const std::string& h, long pid) {
        return "." + target + ".orbtmp-" + h + "-" + std::to_string(pid) + "-3";
    };
    const std::string otherHost = host == "00000000" ? "11111111" : "00000000";
    struct Entry {
        std::string name;
        bool removed;
        bool folder = false;
        uid_t owner = 0;
    };
    std::vector<Entry> entries = {
        {name("survey.tlm", host, dead), true},
        {name("other.xls", host, dead), true},  // any target of the folder
        {name("survey.tlm", host, 1), false},   // a live process
        {name("survey.tlm", otherHost, dead), false},
        {name("dir.tlm", host, dead), false, true},
        {".survey.tlm.tmp" + std::to_string(dead) + "-0", false},  // not this program's name
        {"notes.txt", false},
    };
    if (::geteuid() == 0) entries.push_back({name("theirs.tlm", host, dead), false, false, 65534});
    for (const Entry& e : entries) {
        if (e.folder) {
            std::filesystem::create_directory(dir_ / e.name);
        } else {
            std::ofstream(dir_ / e.name) << "partial";
        }
        if (e.owner != 0) {
            ASSERT_EQ(::lchown((dir_ / e.name).c_str(), e.owner, e.owner), 0);
        }
    }
    ASSERT_TRUE(WriteFileAtomically(dir_ / "survey.tlm", "saved").ok());
    for (const Entry& e : entries) EXPECT_EQ(std::filesystem::exists(dir_ / e.name), !e.removed) << e.name;
    EXPECT_EQ(Read(dir_ / "survey.tlm"), "saved");
}

TEST_F(AtomicFileTest, AReplacedFileKeepsItsOwnerAndGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file another owner";
    const auto target = dir_ / "theirs.tlm";
    ASSERT_TRUE(WriteFileAtomically(target, "old").ok());
    ASSERT_EQ(::chown(target.c_str(), 65534, 65533), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(target, "new").ok());
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65533u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Read(target), "new");
    // A new file is the user's own.
    ASSERT_TRUE(WriteFileAtomically(dir_ / "mine.tlm", "x").ok());
    ASSERT_EQ(::stat((dir_ / "mine.tlm").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::geteuid());
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
