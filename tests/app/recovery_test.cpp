// The window's receive journal against orb-devsim: marks loaded, then a
// download that dies after some samples (the window goes away without
// saving); the next window asks and 恢复 rebuilds records, marks and timing
// bit for bit, marked modified and said in the status bar; saving retires
// the journals, 丢弃 keeps them in the recovery folder, and a journal still in
// use by a running window is not offered.
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

#include "app/command_ids.h"
#include "app/device_bridge.h"
#include "app/device_launch.h"
#include "app/main_frame.h"
#include "app/recovery_journal.h"
#include "app_test_support.h"
#include "device/journal_folder.h"

using namespace orb;

namespace {

struct Snapshot {
    std::vector<SurveyRecord> records;
    std::vector<SyncRecord> marks;
};

Snapshot Take(const COrbDoc& doc) {
    return {doc.records(), doc.syncRecords()};
}

bool SameBytes(const Snapshot& a, const COrbDoc& b) {
    if (a.records.size() != b.RecordCount() || a.marks.size() != b.MarkCount()) return false;
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        const SurveyRecord r = b.Record(i);
        if (std::memcmp(&a.records[i], &r, sizeof r) != 0) return false;
    }
    for (std::size_t i = 0; i < a.marks.size(); ++i) {
        const SyncRecord m = b.syncRecords()[i];
        if (std::memcmp(&a.marks[i], &m, sizeof m) != 0) return false;
    }
    return true;
}

struct Window {
    std::unique_ptr<CMainFrame> frame;
    RecoveryJournal* journal = nullptr;
    QStringList questions;
    MessageAnswer answer = MessageAnswer::kYes;

    bool Start(const QString& folder) {
        frame = std::make_unique<CMainFrame>();
        FrameDevice(frame.get())->messageHook = [](const QString&, const QString&) {
            return MessageAnswer::kYes;
        };
        journal = InstallRecoveryJournal(frame.get(), folder);
        journal->answerHook = [this](const QString& text) {
            questions << text;
            return answer;
        };
        QSignalSpy started(frame.get(), &CMainFrame::startupFinished);
        frame->show();
        return started.wait(5000);
    }
    void Run(int id) { frame->Action(id)->trigger(); }
    ~Window() {
        if (frame) frame->Document().SetModified(false);
    }
};

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init();
    void cleanup() { sim_.reset(); }

    void interruptedDownloadIsRecoveredAndSavingRetires();
    void declinedJournalsStayInTheRecoveryFolder();
    void journalInUseIsNotOffered();

private:
    // Marks, then a download left after `samples` samples without saving.
    Snapshot InterruptedSession(std::size_t samples);

    std::unique_ptr<QTemporaryDir> settings_;
    QTemporaryDir dir_;
    QString folder_;
    std::unique_ptr<DeviceLaunch> sim_;
};

void RecoveryTest::init() {
    settings_ = test::UseTemporarySettings();
    folder_ = dir_.filePath(QStringLiteral("journal-%1").arg(QTest::currentTestFunction()));
    sim_ = std::make_unique<DeviceLaunch>();
    QString error;
    QVERIFY2(sim_->StartSimulator({QStringLiteral("--baud"), QStringLiteral("19200")}, error,
                                  QStringLiteral(ORB_BINARY_DIR "/tools/orb-devsim")),
             qPrintable(error));
    PortListOptions options;
    options.namedPort = sim_->simulatorPath().toStdString();
    DeviceBridge::Configure(options);
}

Snapshot RecoveryTest::InterruptedSession(std::size_t samples) {
    Window w;
    if (!w.Start(folder_)) return {};
    DeviceController& dc = FrameDevice(w.frame.get())->controller();
    w.Run(cmd::kSyncDownload);
    if (!QTest::qWaitFor([&] { return dc.markTransfer.complete; }, 30000)) return {};
    w.Run(cmd::kProbeDownload);
    if (!QTest::qWaitFor([&] { return w.frame->Document().RecordCount() >= samples; }, 30000)) return {};
    // The window goes away mid-transfer, as after a crash: nothing saved.
    return Take(w.frame->Document());
}

void RecoveryTest::interruptedDownloadIsRecoveredAndSavingRetires() {
    const Snapshot before = InterruptedSession(40);
    QVERIFY(before.records.size() >= 40);
    QVERIFY(!before.marks.empty());
    QCOMPARE(JournalFolder(folder_.toStdString()).Pending().size(), std::size_t(2));

    Window w;
    QVERIFY(w.Start(folder_));
    QCOMPARE(w.questions.size(), 1);
    QVERIFY2(w.questions[0].contains(QStringLiteral("探管 TALOE")), qPrintable(w.questions[0]));
    QVERIFY(w.questions[0].contains(QStringLiteral("%1/").arg(before.records.size())));
    QVERIFY(w.questions[0].contains(QStringLiteral("同步器")));
    CMainFrame& f = *w.frame;
    QVERIFY(SameBytes(before, f.Document()));
    QVERIFY(f.Document().IsModified());
    QVERIFY2(f.StatusTextPane()->text().startsWith(QStringLiteral("已恢复")),
             qPrintable(f.StatusTextPane()->text()));
    QCOMPARE(f.Document().timing().sampleIntervalSeconds, int16_t(10));
    // The recovered survey is shown as an opened one: the records' rows.
    QCOMPARE(f.TableModel().RowCount(), before.records.size());

    QVERIFY(f.SaveDocumentFile(dir_.filePath(QStringLiteral("saved.tlm"))));
    const JournalFolder folder(folder_.toStdString());
    QVERIFY(folder.Journals().empty());
    QCOMPARE(folder.Retired().size(), std::size_t(2));
}

void RecoveryTest::declinedJournalsStayInTheRecoveryFolder() {
    QVERIFY(InterruptedSession(10).records.size() >= 10);
    Window w;
    w.answer = MessageAnswer::kNo;
    QVERIFY(w.Start(folder_));
    QCOMPARE(w.questions.size(), 1);
    QCOMPARE(w.frame->Document().RecordCount(), std::size_t(0));
    const JournalFolder folder(folder_.toStdString());
    QVERIFY(folder.Journals().empty());
    QCOMPARE(folder.Retired().size(), std::size_t(2));
}

void RecoveryTest::journalInUseIsNotOffered() {
    Window running;
    QVERIFY(running.Start(folder_));
    running.Run(cmd::kSyncDownload);
    DeviceController& dc = FrameDevice(running.frame.get())->controller();
    QTRY_VERIFY_WITH_TIMEOUT(dc.markTransfer.complete, 30000);
    // A second window of another process would see the same locks.
    CMainFrame second;
    RecoveryJournal other(&second, folder_);
    other.answerHook = [](const QString&) { return MessageAnswer::kYes; };
    QVERIFY(!other.OfferRecovery());
    QCOMPARE(second.Document().MarkCount(), std::size_t(0));
    QCOMPARE(JournalFolder(folder_.toStdString()).Journals().size(), std::size_t(1));
}

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
