// The receive journal: a download and a mark transfer recorded as they
// arrive and replayed into the same survey, damaged journals (cut inside an
// entry, a flipped byte, a wild length, a broken header) that give back what
// precedes the damage, the writer's sync budget, the locks, retiring and a
// folder that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/journal_folder.h"
#include "device/journal_replay.h"
#include "device/transfer_journal.h"
#include "device_fakes.h"
#include "document/tlm_file.h"
#include "file_fault_support.h"

namespace orb::test {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        char tmpl[] = "/tmp/orb-journal-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
    std::string path;
};

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The survey as its file stores it: equal bytes mean equal records and marks.
std::vector<uint8_t> TlmBytes(const COrbDoc& doc, const TempFolder& dir) {
    const std::string path = dir.path + "/compare.tlm";
    EXPECT_TRUE(SaveTlmFile(path, doc, TlmTiming{5, 10}).ok());
    return FileBytes(path);
}

SampleSpec Sample(int32_t i) {
    SampleSpec s;
    s.index = i;
    s.raw = {static_cast<int16_t>(100 * i),
             static_cast<int16_t>(-37 * i),
             4500,
             2000,
             static_cast<int16_t>(11 * i),
             3000};
    s.time[0] = static_cast<uint8_t>(ToBcd(i % 60));
    return s;
}

// Marks first, then a probe download of `n` samples of which `arrive` come.
void Session(Rig& rig, int32_t n, int32_t arrive) {
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(3, 3));
    for (int i = 0; i < 3; ++i)
        rig.Receive(MarkReply(i, i, {static_cast<uint8_t>(ToBcd(i * 10)), 0x04, 0x03, 0x02, 0, 0x01, 0x25}));
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.Receive(InfoReply("TALOE123", n, 5, 10, 118));
    for (const Bytes& f : CalibrationReplies(ProbeCalibration::Default())) rig.Receive(f);
    rig.Receive(OffsetReply(12.5f));
    rig.Receive(CountReply(n));
    for (int i = 0; i < arrive; ++i) rig.Receive(SampleReply(Sample(i)));
}

std::vector<JournalContents> ReadAll(const std::vector<std::string>& paths) {
    std::vector<JournalContents> out;
    for (const auto& p : paths) out.push_back(ReadJournalFile(p));
    return out;
}

TEST(ReceiveJournal, ReplayRebuildsTheSurveyWhereTheTransferStopped) {
    for (const int32_t arrive : {0, 1, 7, 20}) {
        SCOPED_TRACE(arrive);
        TempFolder dir;
        Rig rig;
        TransferJournal journal(rig.dc, dir.path);
        Session(rig, 20, arrive);
        const auto paths = journal.Paths();
        ASSERT_EQ(paths.size(), 2u);  // the marks' and the probe's
        EXPECT_EQ(journal.OpenPath().empty(), arrive == 20);

        const auto journals = ReadAll(paths);
        EXPECT_EQ(journals[0].header.device, JournalDevice::kSynchronizer);
        EXPECT_EQ(journals[1].header.device, JournalDevice::kProbe);
        EXPECT_EQ(journals[1].header.probeNumber, "TALOE123");
        EXPECT_EQ(journals[1].header.intervalSeconds, 10);
        EXPECT_EQ(SummarizeJournal(journals[1]).items, arrive);
        EXPECT_EQ(SummarizeJournal(journals[1]).announced, 20);

        COrbDoc doc;
        SurveyEdits edits(doc);
        ModelTable table(edits);
        const ReplayResult r = ReplayJournals(journals, doc, table);
        EXPECT_TRUE(r.damage.empty());
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.RecordCount(), static_cast<std::size_t>(arrive));
        EXPECT_EQ(doc.MarkCount(), 3u);
        EXPECT_EQ(r.samples.complete, arrive == 20);
        EXPECT_EQ(r.intervalSeconds, 10);
        EXPECT_EQ(table.matches, rig.table.matches);
        EXPECT_EQ(TlmBytes(doc, dir), TlmBytes(rig.doc, dir));
    }
}

// A complete journal and where its entries begin.
struct Recorded {
    std::vector<uint8_t> bytes;
    std::vector<std::size_t> entryStarts;
};

Recorded RecordFrames(int frames) {
    JournalHeader h;
    h.probeNumber = "TALOE9";
    Recorded r{EncodeJournalHeader(h), {}};
    for (int i = 0; i < frames; ++i) {
        r.entryStarts.push_back(r.bytes.size());
        const Bytes e = EncodeJournalEntry(SampleReply(Sample(i)));
        r.bytes.insert(r.bytes.end(), e.begin(), e.end());
    }
    return r;
}

TEST(ReceiveJournal, DamageKeepsWhatPrecedesIt) {
    const Recorded full = RecordFrames(5);
    const std::size_t third = full.entryStarts[2];
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
        JournalDamage expect;
        std::size_t framesLeft;
    };
    const std::vector<Case> cases = {
        {"whole", [](auto&) {}, JournalDamage::kNone, 5},
        {"cut in a length", [&](auto& b) { b.resize(third + 2); }, JournalDamage::kTruncated, 2},
        {"cut in the frame", [&](auto& b) { b.resize(third + 20); }, JournalDamage::kTruncated, 2},
        {"cut in the CRC", [&](auto& b) { b.resize(full.entryStarts[3] - 1); }, JournalDamage::kTruncated, 2},
        {"flipped frame byte", [&](auto& b) { b[third + 12] ^= 0x01; }, JournalDamage::kBadCrc, 2},
        {"flipped CRC byte", [&](auto& b) { b[full.entryStarts[3] - 2] ^= 0x80; }, JournalDamage::kBadCrc, 2},
        {"zero length", [&](auto& b) { std::fill_n(b.begin() + third, 4, 0); }, JournalDamage::kBadLength, 2},
        {"huge length", [&](auto& b) { b[third + 3] = 0x7F; }, JournalDamage::kBadLength, 2},
        {"flipped header byte", [](auto& b) { b[20] ^= 0x10; }, JournalDamage::kNotAJournal, 0},
        {"other version", [](auto& b) { b[8] = 9; }, JournalDamage::kNotAJournal, 0},
        // The header's CRC is then read from inside the missing body.
        {"header longer than the file", [](auto& b) { b[10] = 0xFF, b[11] = 0x0F, b.resize(40); },
         JournalDamage::kNotAJournal, 0},
        {"empty file", [](auto& b) { b.clear(); }, JournalDamage::kNotAJournal, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = full.bytes;
        c.damage(bytes);
        const JournalContents j = ReadJournal(bytes);
        EXPECT_EQ(j.damage, c.expect);
        ASSERT_EQ(j.frames.size(), c.framesLeft);
        for (std::size_t i = 0; i < j.frames.size(); ++i) EXPECT_EQ(j.frames[i], SampleReply(Sample(int(i))));
        EXPECT_EQ(JournalDamageText(j).empty(), c.expect == JournalDamage::kNone);
        if (c.expect != JournalDamage::kNone && c.expect != JournalDamage::kNotAJournal) {
            EXPECT_EQ(j.goodBytes, third);
            EXPECT_EQ(JournalDamageText(j), "接收日志在第3帧处损坏，只恢复了此前的2帧");
        }
    }
}

// A FIFO in the journal folder, as a journal or as its lock, is not waited
// for (the reads run in a child that an alarm ends after 5 s); a journal
// beyond the cap is read up to it and keeps the entries before.
TEST(ReceiveJournal, FilesAreReadOnlyWhenRegularAndUpToTheCap) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir.path + "/fifo.orbj").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((dir.path + "/fifo.orbj.lock").c_str(), 0644), 0);
    const ChildResult r = detail::RunChild([&](std::string&) {
        ::alarm(5);
        JournalLock lock;
        const bool refused = ReadJournalFile(dir.path + "/fifo.orbj").damage == JournalDamage::kNotAJournal &&
                             !JournalInUse(dir.path + "/fifo.orbj") && !lock.Acquire(dir.path + "/fifo.orbj");
        return refused ? 0 : 1;
    });
    EXPECT_EQ(r.status, 0) << (r.status == 128 + SIGALRM ? "blocked on the FIFO" : "");

    const Recorded full = RecordFrames(5);
    std::ofstream(dir.path + "/big.orbj", std::ios::binary)
        .write(reinterpret_cast<const char*>(full.bytes.data()),
               static_cast<std::streamsize>(full.bytes.size()));
    const JournalContents capped = ReadJournalFile(dir.path + "/big.orbj", full.entryStarts[2] + 2);
    EXPECT_EQ(capped.damage, JournalDamage::kTruncated);
    EXPECT_EQ(capped.frames.size(), 2u);
    EXPECT_EQ(ReadJournalFile(dir.path + "/big.orbj").frames.size(), 5u);
}

TEST(ReceiveJournal, SyncsAtMostOncePerPeriodAndAtTheEnd) {
    TempFolder dir;
    auto now = std::chrono::steady_clock::time_point{};
    ReceiveJournal j;
    j.recorder().SetClock([&] { return now; });
    ASSERT_TRUE(j.Create(dir.path + "/a.orbj", JournalHeader{}));
    for (int i = 0; i < 100; ++i) {  // 100 frames in 2.5 s
        now += std::chrono::milliseconds(25);
        j.Append(SampleReply(Sample(i)));
    }
    EXPECT_EQ(j.recorder().syncCount(), 2);
    j.Close();
    EXPECT_EQ(j.recorder().syncCount(), 3);
    EXPECT_EQ(ReadJournalFile(dir.path + "/a.orbj").frames.size(), 100u);
}

TEST(JournalFolder, LocksRetiringAndThePending) {
    TempFolder dir;
    const JournalFolder folder(dir.path);
    std::vector<std::string> made;
    for (int i = 0; i < 23; ++i) {
        const auto p = folder.NewJournalPath(JournalDevice::kProbe, "TAL/OE 1", 1750000000 + i);
        ASSERT_TRUE(p);
        std::ofstream(*p) << "x";
        made.push_back(*p);
    }
    EXPECT_NE(made[0].find("-probe-TAL_OE_1.orbj"), std::string::npos);

    JournalLock lock;
    ASSERT_TRUE(lock.Acquire(made[22]));
    JournalLock second;
    EXPECT_FALSE(second.Acquire(made[22]));  // a second owner does not take it over
    EXPECT_TRUE(JournalInUse(made[22]));
    EXPECT_EQ(folder.Pending().size(), 22u);
    EXPECT_EQ(folder.Journals().size(), 23u);

    for (int i = 0; i < 22; ++i) EXPECT_TRUE(folder.Retire(made[i]));
    EXPECT_EQ(folder.Pending().size(), 0u);
    const auto retired = folder.Retired();
    ASSERT_EQ(retired.size(), kRetiredKept);  // the newest 20
    EXPECT_EQ(fs::path(retired.front()).filename(), fs::path(made[2]).filename());
    lock.Release();
    EXPECT_FALSE(JournalInUse(made[22]));
    EXPECT_FALSE(fs::exists(made[22] + ".lock"));
    EXPECT_EQ(folder.Pending().size(), 1u);
}

TEST(TransferJournal, SavingRetiresAndAFolderThatCannotBeWrittenIsReportedOnce) {
    TempFolder dir;
    {
        Rig rig;
        TransferJournal journal(rig.dc, dir.path);
        Session(rig, 4, 4);
        EXPECT_EQ(JournalFolder(dir.path).Journals().size(), 2u);
        EXPECT_TRUE(JournalFolder(dir.path).Pending().empty());  // locked while this survey holds them
        journal.RetireAll();
        EXPECT_TRUE(JournalFolder(dir.path).Journals().empty());
        EXPECT_EQ(JournalFolder(dir.path).Retired().size(), 2u);
    }
    const std::string blocked = dir.path + "/file";
    std::ofstream(blocked) << "not a folder";
    Rig rig;
    TransferJournal journal(rig.dc, blocked + "/journal");
    std::vector<std::string> reports;
    journal.SetFailureReporter([&](const std::string& t) { reports.push_back(t); });
    Session(rig, 4, 4);
    EXPECT_EQ(reports, std::vector<std::string>{"接收日志无法写入，数据仅保存在内存中"});
    EXPECT_EQ(rig.doc.RecordCount(), 4u);  // the transfer went on
    EXPECT_EQ(rig.doc.MarkCount(), 3u);
}

}  // namespace
}  // namespace orb::test
