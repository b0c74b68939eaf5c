// The file-fault suite of survey files: truncated, oversized and random
// files are refused with a message and leave the open document alone; a disk
// that fills up, a file size limit, a read-only folder and every single
// failing or last system call of the writer make a save fail with a clear
// message while the old file stays byte for byte and no temporary file is
// left. A FIFO or device named as a survey is refused without waiting. Each
// case prints one "[fault]" line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>

#include "core/atomic_file.h"
#include "core/outside_file.h"
#include "document/tlm_file.h"
#include "document/tlm_test_util.h"
#include "file_fault_support.h"

namespace orb {
namespace {

using Bytes = std::vector<uint8_t>;

// The open document and its timing, and a check that a failed load left them.
struct OpenDocument {
    COrbDoc doc = test::SampleDoc(7, 2);
    TlmTiming timing{4, 9};
    Bytes image = EncodeTlm(doc, timing);

    // Offers a load result as the window's open command does.
    bool Offer(TlmLoadResult&& r) { return AdoptLoaded(std::move(r), doc, timing); }
    bool Unchanged() const { return EncodeTlm(doc, timing) == image; }
};

void PutU32(Bytes& b, std::size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

TEST(FileFault, TruncatedFilesAreRefusedAtEveryLength) {
    const COrbDoc source = test::SampleDoc(6, 3);
    const Bytes full = EncodeTlm(source, {5, 10});
    OpenDocument open;
    std::map<std::string, int> messages;
    for (std::size_t n = 0; n < full.size(); ++n) {
        TlmLoadResult r = LoadTlm({full.data(), n});
        ASSERT_FALSE(r.loaded()) << "prefix of " << n << " bytes";
        if (n > 0) {
            EXPECT_FALSE(r.message.empty()) << n;
        }
        ++messages[r.status == TlmLoadStatus::kEmpty ? "(empty file: nothing shown)" : r.message];
        EXPECT_FALSE(open.Offer(std::move(r)));
        ASSERT_TRUE(open.Unchanged()) << n;
    }
    std::string shown;
    for (const auto& [m, count] : messages)
        shown += (shown.empty() ? "" : "; ") + std::to_string(count) + "x " + m;
    std::printf(
        "[fault] truncated TLM, all %zu shorter lengths: all refused, document unchanged; messages %s\n",
        full.size(), shown.c_str());
    EXPECT_TRUE(open.Offer(LoadTlm(full)));
}

TEST(FileFault, OversizedFilesAndCountsAreRefused) {
    const std::size_t records = 6, marks = 3;
    const Bytes full = EncodeTlm(test::SampleDoc(records, marks), {5, 10});
    const std::size_t markCountAt = full.size() - marks * sizeof(SyncRecord) - 4;
    const std::size_t recordCountAt = markCountAt - records * sizeof(SurveyRecord) - 4;
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    Bytes manyRecords = full;
    PutU32(manyRecords, recordCountAt, 0xFFFFFFFFu);
    cases.push_back({"record count 4294967295", manyRecords});
    Bytes justAbove = full;
    PutU32(justAbove, recordCountAt, kMaxTlmRecords);  // within the limit, beyond the file
    cases.push_back({"record count 39768215", justAbove});
    Bytes manyMarks = full;
    PutU32(manyMarks, markCountAt, 0x7FFFFFFFu);
    cases.push_back({"mark count 2147483647", manyMarks});
    Bytes longText = full;
    PutU32(longText, 5, 0x7FFFFFFFu);  // the first text's length
    cases.push_back({"text length 2147483647", longText});

    OpenDocument open;
    for (Case& c : cases) {
        TlmLoadResult r = LoadTlm(c.bytes);
        std::printf("[fault] oversized TLM (%s): %s, message %s\n", c.what,
                    r.loaded() ? "LOADED" : "refused, document unchanged", r.message.c_str());
        EXPECT_FALSE(r.loaded()) << c.what;
        EXPECT_EQ(r.status, TlmLoadStatus::kDamaged) << c.what;
        EXPECT_FALSE(r.message.empty());
        EXPECT_FALSE(open.Offer(std::move(r)));
        EXPECT_TRUE(open.Unchanged());
    }
}

// Bytes after the marks, from memory and from disk: the same survey opens,
// and the count of ignored bytes is there for the status bar.
TEST(FileFault, BytesAfterTheMarksAreIgnored) {
    const COrbDoc source = test::SampleDoc(6, 3);
    const Bytes full = EncodeTlm(source, {5, 10});
    test::ScratchDir dir;
    for (std::size_t extra : {std::size_t{1}, std::size_t{4096}}) {
        Bytes trailing = full;
        trailing.insert(trailing.end(), extra, 0x5A);
        test::WriteBytes(dir / "trailing.tlm", trailing);
        for (TlmLoadResult r : {LoadTlm(trailing), LoadTlmFile(dir / "trailing.tlm")}) {
            ASSERT_TRUE(r.loaded()) << extra << " " << r.message;
            EXPECT_EQ(r.trailingBytes, extra);
            EXPECT_TRUE(r.message.empty());
            EXPECT_EQ(EncodeTlm(r.document, r.timing), full) << extra;
        }
    }
    EXPECT_EQ(LoadTlm(full).trailingBytes, 0u);
}

TEST(FileFault, RandomAndMutatedFilesNeverHarmTheOpenDocument) {
    std::mt19937_64 rng(20261209);
    const Bytes valid = EncodeTlm(test::SampleDoc(4, 2), {1, 2});
    OpenDocument open;
    int refused = 0, loaded = 0;
    for (int i = 0; i < 4000; ++i) {
        Bytes b;
        if (i % 2 == 0) {
            b.resize(rng() % 600);
            for (auto& x : b) x = static_cast<uint8_t>(rng());
            if (i % 4 == 0 && b.size() >= 5) std::memcpy(b.data(), "KVORB", 5);  // past the magic
        } else {
            b = valid;
            for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k)
                b[rng() % b.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        }
        TlmLoadResult r = LoadTlm(b);
        if (!r.loaded()) {
            ++refused;
            if (r.status != TlmLoadStatus::kEmpty) {
                EXPECT_FALSE(r.message.empty());
            }
            EXPECT_FALSE(open.Offer(std::move(r)));
            ASSERT_TRUE(open.Unchanged()) << i;
        } else {
            ++loaded;  // a flipped byte inside a record is still a valid file
        }
    }
    std::printf(
        "[fault] random TLM files (2000 random, 2000 with 1-4 changed bytes): %d refused with a message, "
        "%d still valid files, no crash, document unchanged after every refusal\n",
        refused, loaded);
    EXPECT_GT(refused, 2000);
}

// The old file, the document in memory and the folder after a failed save.
struct SaveFacts {
    FileResult result;
    bool oldKept = false;
    bool docKept = false;
    std::vector<std::string> entries;
};

SaveFacts TrySave(const std::string& dir, const COrbDoc& doc) {
    SaveFacts f;
    const std::string target = dir + "/survey.tlm";
    const Bytes before = test::ReadBytes(target);
    const Bytes docBefore = EncodeTlm(doc, {3, 10});
    f.result = SaveTlmFile(target, doc, {3, 10});
    f.oldKept = test::ReadBytes(target) == before;
    f.docKept = EncodeTlm(doc, {3, 10}) == docBefore;
    f.entries = test::FolderEntries(dir);
    return f;
}

// Fills `report`; 0 when the save failed cleanly with `message`.
int Judge(const SaveFacts& f, const std::string& message, const char* what, std::string& report) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "[fault] %s: save %s (errno %d), message %s; old file %s, document %s, "
                  "%zu file(s) in the folder\n",
                  what, f.result.ok() ? "SUCCEEDED" : "failed", f.result.error, f.result.message.c_str(),
                  f.oldKept ? "byte-identical" : "CHANGED", f.docKept ? "unchanged" : "CHANGED",
                  f.entries.size());
    report += line;
    const bool clean = !f.result.ok() && f.result.message == message && f.oldKept && f.docKept &&
                       f.entries == std::vector<std::string>{"survey.tlm"};
    return clean ? 0 : 1;
}

TEST(FileFault, DiskThatFillsUpWhileSaving) {
    const test::ChildResult r = test::OnSmallDisk(64 * 1024, [](const std::string& dir, std::string& report) {
        if (!SaveTlmFile(dir + "/survey.tlm", test::SampleDoc(40, 5), {3, 10}).ok()) return 2;
        const COrbDoc big = test::SampleDoc(2000, 50);  // about 216 KB
        int code = Judge(TrySave(dir, big), "磁盘空间不足，文件没有保存。",
                         "disk full (64 KB tmpfs) saving 2000 records", report);
        // Room again: the same document saves.
        if (code == 0 && !SaveTlmFile(dir + "/survey.tlm", test::SampleDoc(100, 5), {3, 10}).ok()) code = 3;
        return code;
    });
    if (!r.ran) GTEST_SKIP() << "no private tmpfs here; the file size limit case covers a full disk";
    std::fputs(r.report.c_str(), stdout);
    EXPECT_EQ(r.status, 0) << r.report;
}

TEST(FileFault, FileSizeLimitWhileSaving) {
    test::ScratchDir dir;
    ASSERT_TRUE(SaveTlmFile(dir / "survey.tlm", test::SampleDoc(40, 5), {3, 10}).ok());
    const test::ChildResult r =
        test::WithFileSizeLimit(dir.path(), 32 * 1024, [](const std::string& d, std::string& report) {
            return Judge(TrySave(d, test::SampleDoc(2000, 50)), "文件太大，无法保存。",
                         "write-limited file (32 KB RLIMIT_FSIZE) saving 2000 records", report);
        });
    ASSERT_TRUE(r.ran);
    std::fputs(r.report.c_str(), stdout);
    EXPECT_EQ(r.status, 0) << r.report;
}

TEST(FileFault, ReadOnlyFolder) {
    const test::ChildResult r =
        test::OnSmallDisk(256 * 1024, [](const std::string& dir, std::string& report) {
            if (!SaveTlmFile(dir + "/survey.tlm", test::SampleDoc(40, 5), {3, 10}).ok()) return 2;
            if (!test::RemountReadOnly(dir)) return 2;
            return Judge(TrySave(dir, test::SampleDoc(60, 5)), "该位置是只读的，文件没有保存。",
                         "read-only folder (tmpfs remounted read-only)", report);
        });
    if (r.ran) {
        std::fputs(r.report.c_str(), stdout);
        EXPECT_EQ(r.status, 0) << r.report;
    }
    // A folder that root cannot write into either: a "folder" that is a file.
    test::ScratchDir dir;
    test::WriteBytes(dir / "plain", {1, 2, 3});
    const FileResult s = SaveTlmFile(dir / "plain" / "survey.tlm", test::SampleDoc(), {});
    std::printf("[fault] folder that is a regular file: save %s (errno %d), message %s\n",
                s.ok() ? "SUCCEEDED" : "failed", s.error, s.message.c_str());
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(s.message, kSaveFailedMessage);
    EXPECT_EQ(test::ReadBytes(dir / "plain"), (Bytes{1, 2, 3}));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"plain"});
}

// A FIFO named like a survey: opening it neither waits for a writer nor
// reads it, and saving over it is refused; so is a folder. The open runs in a
// child that an alarm ends after 5 s.
TEST(FileFault, FifosAndFoldersAreNeitherOpenedNorReplaced) {
    test::ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir / "survey.tlm").c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "folder.tlm");
    for (const char* name : {"survey.tlm", "folder.tlm"}) {
        const std::string path = (dir / name).string();
        const test::ChildResult r = test::detail::RunChild([&](std::string& report) {
            ::alarm(5);
            const TlmLoadResult loaded = LoadTlmFile(path);
            report = loaded.message;
            return loaded.status == TlmLoadStatus::kOpenFailed && loaded.message == kNotRegularFileMessage
                       ? 0
                       : 1;
        });
        std::printf("[fault] %s as a survey: open %s, message %s\n", name,
                    r.status == 128 + SIGALRM ? "BLOCKED" : "refused", r.report.c_str());
        EXPECT_EQ(r.status, 0) << name << ": " << r.report;
        const FileResult saved = SaveTlmFile(path, test::SampleDoc(), {});
        EXPECT_EQ(saved.code, FileStatus::kRefused) << name;
        EXPECT_EQ(saved.message, kNotRegularTargetMessage) << name;
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder.tlm", "survey.tlm"}));
}

// Every system call of the writer fails once, and the process dies after
// each one once: the old survey or the complete new one, never a mixture, no
// temporary file once the next save has run, and a message for each failure.
TEST(FileFault, EveryWriterCallFailingOrKilled) {
    test::ScratchDir dir;
    const COrbDoc big = test::SampleDoc(12000, 40);  // 1.3 MB: two writes
    const Bytes old = EncodeTlm(test::SampleDoc(30, 4), {2, 5});
    const std::vector<test::WriteCase> cases = {
        {"TLM save over a survey", "survey.tlm", std::string(old.begin(), old.end()),
         [&](const std::string& t) {
             return SaveTlmFile(t, big, {3, 10});
         }},
        {"TLM save as a new file", "new.tlm", std::nullopt,
         [&](const std::string& t) {
             return SaveTlmFile(t, big, {3, 10});
         }},
    };
    for (const test::WriteCase& c : cases) {
        const test::FaultTally t = test::EveryCallFaulted(dir.path().string(), c);
        std::fputs(test::FaultLine(c, t).c_str(), stdout);
        EXPECT_GE(t.calls, 10) << c.what;
        EXPECT_EQ(t.problems, "");
    }
}

}  // namespace
}  // namespace orb
