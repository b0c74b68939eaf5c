#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/atomic_file.h"
#include "document/tlm_file.h"
#include "document/tlm_test_util.h"

namespace orb {
namespace {

// Passes the first `limit` bytes on, then fails as a full disk would.
class LimitedSink final : public ByteSink {
public:
    LimitedSink(ByteSink& inner, std::size_t limit) : inner_(inner), left_(limit) {}
    int Write(const void* data, std::size_t n) override {
        const std::size_t take = std::min(n, left_);
        if (int err = inner_.Write(data, take)) return err;
        left_ -= take;
        return take == n ? 0 : ENOSPC;
    }

private:
    ByteSink& inner_;
    std::size_t left_;
};

class SafeSave : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SaveTlmFile(target_, test::SampleDoc(3, 1), {1, 2}).ok());
        old_ = test::ReadBytes(target_);
    }
    test::ScratchDir dir_;
    std::filesystem::path target_ = dir_ / "survey.tlm";
    std::vector<uint8_t> old_;
};

TEST_F(SafeSave, WriteFailureHalfwayKeepsTheOldFile) {
    const COrbDoc bigger = test::SampleDoc(50000, 10);  // several MB: the failure hits mid-records
    for (std::size_t limit : {std::size_t{0}, std::size_t{100}, std::size_t{3'000'000}}) {
        FileResult r = WriteFileAtomically(target_, [&](ByteSink& sink) {
            LimitedSink limited(sink, limit);
            return WriteTlm(bigger, {}, limited);
        });
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.error, ENOSPC);
        EXPECT_EQ(SaveErrorMessage(r.error), "磁盘空间不足，文件没有保存。");
        EXPECT_EQ(test::ReadBytes(target_), old_);
        EXPECT_EQ(dir_.Names(), std::vector<std::string>{"survey.tlm"});
    }
    // The same content without the fault replaces the file.
    ASSERT_TRUE(SaveTlmFile(target_, bigger, {}).ok());
    EXPECT_EQ(test::ReadBytes(target_), EncodeTlm(bigger, {}));
}

TEST_F(SafeSave, FailedRenameOrMissingFolderLeavesNothingBehind) {
    // A folder is no file to replace: refused before anything is written.
    std::filesystem::create_directory(dir_ / "folder.tlm");
    test::WriteBytes(dir_ / "folder.tlm" / "keep", {1});
    FileResult r = SaveTlmFile(dir_ / "folder.tlm", test::SampleDoc(), {});
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, kNotRegularTargetMessage);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "folder.tlm" / "keep"));

    r = SaveTlmFile(dir_ / "no-such-folder" / "x.tlm", test::SampleDoc(), {});
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, kSaveFailedMessage);

    auto names = dir_.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.tlm", "survey.tlm"}));
    EXPECT_EQ(test::ReadBytes(target_), old_);
}

TEST_F(SafeSave, KeepsPermissionsAndFollowsSymbolicLinks) {
    ASSERT_EQ(::chmod(target_.c_str(), 0640), 0);
    std::filesystem::create_symlink("survey.tlm", dir_ / "link.tlm");
    ASSERT_TRUE(SaveTlmFile(dir_ / "link.tlm", COrbDoc(), {}).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.tlm"));
    EXPECT_EQ(test::ReadBytes(target_).size(), 37u);
    struct stat st {};
    ASSERT_EQ(::stat(target_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace orb
