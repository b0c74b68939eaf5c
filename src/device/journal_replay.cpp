#include "device/journal_replay.h"

#include <ctime>

#include "device/device_frame.h"

namespace orb {
namespace {

// A line that takes every command and never answers.
class SilentPort final : public LinkPort {
public:
    bool Open(int) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    bool HungUp() const override { return false; }
    int PortNumber() const override { return 1; }
    void Write(std::span<const uint8_t>) override {}
    std::size_t Read(ReceiveBuffer&) override { return 0; }
};

class NoTimers final : public TimerService {
public:
    void Start(int, int) override {}
    void Stop(int) override {}
};

// Every question is answered as the operator's default, nothing is shown.
class QuietOperator final : public DeviceOperator {
public:
    MessageAnswer MessageBox(std::string_view, std::string_view, MessageIcon, MessageButtons b) override {
        return b == MessageButtons::kYesNo      ? MessageAnswer::kNo
               : b == MessageButtons::kOkCancel ? MessageAnswer::kCancel
                                                : MessageAnswer::kOk;
    }
    bool ShowPortDialog(int&) override { return false; }
    void ShowInfoDialog(const ProbeInfoView&) override {}
    bool ShowWorkModeDialog(int32_t&, int32_t&) override { return false; }
    void ShowRealTimeDialog() override {}
    void UpdateRealTime(const RealTimeTexts&) override {}
    void ShowClockDialog() override {}
    void SetClockField(int, std::string_view) override {}
    void SetStatusText(std::string_view) override {}
    void SetProgress(int) override {}
    // The replay builds a new document: nothing of the operator's is replaced.
    bool AskSaveChanges() override { return true; }
};

}  // namespace

ReplayResult ReplayJournals(std::span<const JournalContents> journals, COrbDoc& doc, DeviceTable& table) {
    SilentPort port;
    NoTimers timers;
    QuietOperator op;
    DeviceController dc(port, timers, op, table, doc);
    ReplayResult r;
    bool any = false;
    for (const JournalContents& j : journals) {
        if (j.damage == JournalDamage::kNotAJournal) {
            r.damage.push_back(JournalDamageText(j));
            continue;
        }
        // The timing the transfer ran under; a probe's own information
        // frame in the journal sets it again.
        doc.SetTiming(SurveyTiming{j.header.delayMinutes, j.header.intervalSeconds});
        dc.workIntervalSeconds = j.header.workIntervalSeconds;
        if (!j.header.probeNumber.empty()) dc.probeNumber = j.header.probeNumber;
        // The device logic takes only the replies of a command it is running:
        // the journal's transfer is started as its command would (the frames
        // it sends go nowhere).
        if (j.header.device == JournalDevice::kSynchronizer)
            dc.OnSyncDownload();
        else
            dc.OnProbeDownload();
        for (const auto& frame : j.frames) dc.DispatchReply(frame);
        any = any || !j.frames.empty();
        if (j.damage != JournalDamage::kNone) r.damage.push_back(JournalDamageText(j));
    }
    r.samples = dc.sampleTransfer;
    r.marks = dc.markTransfer;
    r.delayMinutes = doc.timing().sampleDelayMinutes;
    r.intervalSeconds = doc.timing().sampleIntervalSeconds;
    r.workIntervalSeconds = dc.workIntervalSeconds;
    if (any) doc.SetModified(true);
    return r;
}

JournalSummary SummarizeJournal(const JournalContents& c) {
    JournalSummary s;
    const bool probe = c.header.device == JournalDevice::kProbe;
    for (const auto& f : c.frames) {
        if (probe) {
            if (const auto n = ReadSampleCount(f)) {
                s.announced = *n;
                s.items = 0;
            } else if (ReplyTypeOf(f) == static_cast<uint8_t>(ReplyType::kStoredSamples) &&
                       ReadStoredSample(f)) {
                ++s.items;
            }
        } else if (const auto m = ReadMarkCount(f)) {
            s.announced = m->expected;
            s.items = 0;
        } else if (ReplyTypeOf(f) == static_cast<uint8_t>(ReplyType::kMarks) && ReadSyncMark(f)) {
            ++s.items;
        }
    }
    return s;
}

std::string DescribeJournal(const JournalContents& c) {
    const bool probe = c.header.device == JournalDevice::kProbe;
    const std::time_t t = static_cast<std::time_t>(c.header.startTime);
    std::tm tm{};
    localtime_r(&t, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", &tm);
    const JournalSummary s = SummarizeJournal(c);
    std::string text = probe ? "探管 " : "同步器 ";
    text += c.header.probeNumber.empty() ? std::string("-") : c.header.probeNumber;
    text += ", ";
    text += stamp;
    text += ", " + std::to_string(s.items) + "/" + std::to_string(s.announced) +
            (probe ? "条探管数据" : "条同步器数据");
    return text;
}

}  // namespace orb
