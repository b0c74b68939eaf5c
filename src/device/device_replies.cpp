// The reply dispatcher of the device logic and every reply handler: probe
// information, calibration, tool-face offset, stored samples, synchronizer
// marks, clocks, real-time samples and the clear answers.
#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/fixed_text.h"
#include "core/text_codec.h"
#include "core/ui_text.h"
#include "device/device_controller.h"
#include "device/device_frame.h"

namespace orb {
namespace {

constexpr const char* kCaptionOk = ORB_TEXT("core", "通信正常");
constexpr const char* kStatusReading = ORB_TEXT("core", "读取中，稍候....");
constexpr const char* kStatusNoData = ORB_TEXT("core", "无数据");
constexpr const char* kStatusDone = ORB_TEXT("core", "数据读取完成");

int ClampPercent(double v) {
    if (!(v > 0)) return 0;
    return v >= 100 ? 100 : static_cast<int>(v);
}

// Position of item `index` of `count` in float, truncated, kept to 0..100
// whatever the count (0, or smaller than the index).
int ItemProgress(double index, int32_t count) {
    if (count <= 0) return 100;
    return ClampPercent(static_cast<float>(index) * 100.0f / static_cast<float>(count));
}

std::size_t ReserveFor(int32_t count) {
    return static_cast<std::size_t>(std::clamp(count, 0, kMaxReserve));
}

}  // namespace

RealTimeTexts FormatRealTime(const AttitudeSample& s) {
    using A = AttitudeSample;
    return {PrintfFixed(s.v[A::kInclination], 2, 2),
            PrintfFixed(s.v[A::kAzimuth], 1, 2),
            PrintfFixed(s.v[A::kGravityToolFace], 1, 2),
            PrintfFixed(s.v[A::kMagneticToolFace], 1, 2),
            PrintfFixed(s.v[A::kTotalGravity], 4, 2),
            PrintfFixed(s.v[A::kTotalMagnetic], 4, 2),
            PrintfFixed(s.v[A::kDip], 1, 2),
            PrintfFixed(s.v[A::kTemperature], 1, 2)};
}

SurveyRecord RecordFromSample(const StoredSample& sample, const ProbeCalibration& cal, float toolFaceOffset) {
    using A = AttitudeSample;
    AttitudeSample a;
    a.v[A::kTemperature] = static_cast<float>(sample.temperatureTenths) / 10.0f;
    for (int i = 0; i < 6; ++i) a.v[A::kRawGx + i] = static_cast<float>(sample.raw[i]);
    ComputeAttitude(cal, a);
    SurveyRecord r;
    r.inclination = a.v[A::kInclination];
    r.azimuth = a.v[A::kAzimuth];
    r.temperature = a.v[A::kTemperature];
    r.gravityToolFace = static_cast<float>(NormalizeAngle(a.v[A::kGravityToolFace] - toolFaceOffset));
    r.magneticToolFace = static_cast<float>(NormalizeAngle(a.v[A::kMagneticToolFace] - toolFaceOffset));
    r.dip = a.v[A::kDip];
    r.totalGravity = a.v[A::kTotalGravity];
    r.totalMagnetic = a.v[A::kTotalMagnetic];
    r.gx = a.v[A::kGx];
    r.gy = a.v[A::kGy];
    r.gz = a.v[A::kGz];
    r.mx = a.v[A::kMx];
    r.my = a.v[A::kMy];
    r.mz = a.v[A::kMz];
    const DateTimeFields t = DecodeBcdClock(sample.time);
    const OleDateTime d = MakeOleDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
    r.sampleTime = d.value;
    r.sampleTimeStatus = d.status;
    r.batteryVoltage = static_cast<float>(sample.batteryTenths / 10.0);
    return r;
}

ProbeInfoView DeviceController::InfoView() const {
    ProbeInfoView v;
    v.probeNumber = probeNumber;
    v.probeModel = probeModel;
    v.probeCapacity = probeCapacity;
    v.delayText = FillTemplate(ORB_TEXT("core", "%1分"), {std::to_string(timing().sampleDelayMinutes)});
    v.intervalText = FillTemplate(ORB_TEXT("core", "%1秒"), {std::to_string(timing().sampleIntervalSeconds)});
    v.storedText = std::to_string(storedCount);
    v.batteryText = PrintfFixed(batteryVoltage, 2);
    const double volts = batteryVoltage;
    const double charge = volts >= 8.0 ? 100.0 : volts <= 6.0 ? 0.0 : (volts - 6) * 0.5 * 100;
    v.chargeText = PrintfFixed(charge, 0) + "%";
    v.chargePercent = ClampPercent(charge);
    const double capacity = probeModel == "TALOE" ? 10081.0 : 8000.0;
    v.storagePercent = ClampPercent(static_cast<double>(storedCount) / capacity * 100);
    return v;
}

void DeviceController::DispatchReply(std::span<const uint8_t> frame) {
    timers_.Stop(timer_id::kReply);
    if (lineLog_) lineLog_->Received(frame);
    if (frameObserver_) frameObserver_(frame);
    const auto type = ReplyTypeOf(frame);
    if (!type) return;
    switch (static_cast<ReplyType>(*type)) {
        case ReplyType::kCommTest:
            if (!commTestPending_) break;
            commTestPending_ = false;
            op_.MessageBox(ORB_TEXT("core", "设备连接正常"), kCaptionOk, MessageIcon::kInformation,
                           MessageButtons::kOk);
            break;
        case ReplyType::kClear:
            OnClearFinished();
            break;
        case ReplyType::kInformation:
            OnInformation(frame);
            break;
        case ReplyType::kWorkMode:
            // Only the write of this work-mode command may erase the probe.
            if (!Expects(Sequence::kWorkMode, Step::kModeWritten)) break;
            step_ = Step::kCleared;
            SendFrame(ProbeClearFrame());
            break;
        case ReplyType::kClockSet:
        case ReplyType::kClockRead:
            OnClockReply(frame);
            break;
        case ReplyType::kRealTimeSample:
            OnRealTimeSample(frame);
            break;
        case ReplyType::kStoredSamples:
            OnStoredSamples(frame);
            break;
        case ReplyType::kToolFaceOffset:
            OnToolFaceOffset(frame);
            break;
        case ReplyType::kCalibration:
            OnCalibrationPacket(frame);
            break;
        case ReplyType::kMarks:
            OnMarks(frame);
            break;
        default:
            break;
    }
    if (replyObserver_) replyObserver_(*type);
}

void DeviceController::OnClearFinished() {
    if (!Expects(Sequence::kWorkMode, Step::kCleared) && !Expects(Sequence::kClear, Step::kCleared)) return;
    End();
    op_.SetStatusText(ORB_TEXT("core", "任务完成"));
    Progress(100);
    op_.MessageBox(ORB_TEXT("core", "数据已清空，任务完成!"), kCaptionOk, MessageIcon::kInformation,
                   MessageButtons::kOk);
}

void DeviceController::OnInformation(std::span<const uint8_t> frame) {
    const auto info = ReadProbeInformation(frame);
    if (!info) return;
    const bool asked = step_ == Step::kInformation;
    probeNumber = info->probeNumber;
    const bool extended = probeNumber.compare(0, 5, "TALOE") == 0;
    probeModel = extended ? "TALOE" : "TALO";
    probeCapacity = extended ? "10081" : "8000";
    storedCount = info->storedCount;
    batteryVoltage = static_cast<float>(info->batteryTenths / 10.0);
    // The document learns the probe number and its timing only from a
    // command's own reply; an unasked one only updates what the dialog shows.
    if (!asked) return;
    edits_.SetProbeInformation(Latin1ToUtf16(probeNumber),
                               SurveyTiming{info->delayMinutes, info->intervalSeconds});
    workDelayMinutes = info->delayMinutes;
    workIntervalSeconds = info->intervalSeconds;
    if (sequence_ == Sequence::kInformation) {
        End();
        op_.ShowInfoDialog(InfoView());
    } else if (sequence_ == Sequence::kDownload) {
        // The calibration is read anew before every download.
        step_ = Step::kCalibration;
        Progress(0);
        RequestCalibration();
    } else {
        step_ = Step::kNone;  // work mode: the question is on screen
    }
}

void DeviceController::RequestCalibration() {
    calibrationArrived_ = 0;
    SendFrame(ProbeReadCalibrationFrame());
}

void DeviceController::OnCalibrationPacket(std::span<const uint8_t> frame) {
    const auto packet = ReadCalibrationPacket(frame);
    if (!packet || packet->index > 31 || !InCalibrationChain(Step::kCalibration)) return;
    op_.SetStatusText(ORB_TEXT("core", "读标定参数...."));
    calibrationArrived_ |= uint32_t{1} << packet->index;
    // A lost packet leaves older bytes (or zeros) in its slot: a calibration
    // patched together like that turns every sample into wrong values. Keep
    // the previous calibration; the chain stops and the reply timer reports it.
    ProbeCalibration incomplete;
    const bool whole = calibrationArrived_ == 0xFFFFFFFFu;
    const bool committed =
        calibrationPackets.Store(packet->index, packet->data, whole ? calibration : incomplete);
    if (packet->index == 31 && !whole) {
        timers_.Start(timer_id::kReply, kReplyTimeoutMs);
        return;
    }
    Progress(packet->index * 100 / 31);
    if (committed) {
        Progress(100);
        step_ = Step::kToolFace;
        SendFrame(ProbeToolFaceOffsetFrame());
    }
}

void DeviceController::OnToolFaceOffset(std::span<const uint8_t> frame) {
    const auto offset = ReadToolFaceOffset(frame);
    if (!offset || !InCalibrationChain(Step::kToolFace)) return;
    toolFaceOffset = *offset;
    if (sequence_ == Sequence::kRealTime) {
        step_ = Step::kPolling;
        timers_.Start(timer_id::kRealTime, kRealTimePeriodMs);
        return;
    }
    // Samples of this request count only after its count reply.
    sampleTransfer = TransferState{};
    step_ = Step::kCount;
    SendFrame(ProbeSendStoredFrame());
}

void DeviceController::OnStoredSamples(std::span<const uint8_t> frame) {
    if (const auto count = ReadSampleCount(frame)) {
        OnSampleCount(*count);
    } else {
        OnSample(frame);
    }
}

void DeviceController::OnSampleCount(int32_t count) {
    if (!Expects(Sequence::kDownload, Step::kCount)) return;
    if (count < 0) {
        RefuseCount(sampleTransfer, count, "探管");
        return;
    }
    // A garbled count must not reserve gigabytes.
    expectedSamples = count;
    sampleTransfer = TransferState{};
    sampleTransfer.counted = true;
    sampleTransfer.announced = count;
    sampleTransfer.complete = count == 0;
    Progress(0);
    op_.SetStatusText(kStatusReading);
    if (expectedSamples == 0) {
        End();
        op_.SetStatusText(kStatusNoData);
        Progress(100);
        op_.MessageBox(ORB_TEXT("core", "探管中没有存储数据"), ORB_TEXT("core", "警告"),
                       MessageIcon::kWarning, MessageButtons::kOk);
        return;
    }
    step_ = Step::kItems;
    edits_.ClearRecords(ReserveFor(expectedSamples));
    unsavedDownload = true;
    StartStreamWatch();
}

// A negative count is no number of items: nothing is replaced, and the
// items that may follow find no transfer.
void DeviceController::RefuseCount(TransferState& t, int32_t count, const char* device) {
    End();
    t = TransferState{};
    t.badCount = true;
    t.badCountValue = count;
    op_.SetStatusText(kStatusIncomplete);
    op_.MessageBox(BadCountText(device, count), ORB_TEXT("core", "警告"), MessageIcon::kWarning,
                   MessageButtons::kOk);
}

void DeviceController::TransferEnded(TransferState& t, const char* what) {
    End();
    t.complete = true;
    t.missing = t.indexes.Missing(t.announced);
    Progress(100);
    if (!t.Gaps()) {
        op_.SetStatusText(kStatusDone);
        MatchIfBothPresent();
        return;
    }
    // The end stays where the device logic always put it; what is missing is
    // said, and the survey is marked incomplete.
    MatchIfBothPresent();
    op_.SetStatusText(kStatusIncomplete);
    op_.MessageBox(TransferGapsText(t, what), ORB_TEXT("core", "警告"), MessageIcon::kWarning,
                   MessageButtons::kOk);
}

// Items whose count reply was lost would be appended to the previous data:
// the transfer ends and the operator learns why nothing changed.
void DeviceController::DropUncounted(const char* text) {
    End();
    op_.SetStatusText(kStatusIncomplete);
    op_.MessageBox(text, ORB_TEXT("core", "警告"), MessageIcon::kWarning, MessageButtons::kOk);
}

void DeviceController::OnSample(std::span<const uint8_t> frame) {
    const auto sample = ReadStoredSample(frame);
    if (!sample) return;
    if (Expects(Sequence::kDownload, Step::kCount)) {
        DropUncounted(ORB_TEXT("core", "没有收到探管数据的数量回复，收到的探管数据已丢弃，请重新读取。"));
        return;
    }
    if (!Expects(Sequence::kDownload, Step::kItems)) return;
    // The same stored sample sent again would be a second station.
    if (!ItemArrived(sampleTransfer, sample->index)) return;
    edits_.AppendRecord(RecordFromSample(*sample, calibration, toolFaceOffset));
    Progress(ItemProgress(sample->index, expectedSamples));
    if (sample->index != expectedSamples - 1) return;
    TransferEnded(sampleTransfer, "探管数据");
}

void DeviceController::MatchIfBothPresent() {
    if (doc_.RecordCount() == 0 || doc_.MarkCount() == 0) return;
    const std::size_t marks = doc_.MarkCount();
    const std::size_t matched = table_.MatchStations(workIntervalSeconds);
    // The mark rows give way to the records' rows even when no mark matched.
    table_.RefreshTable();
    const std::string m = std::to_string(marks);
    const std::string n = std::to_string(matched);
    op_.SetStatusText(FillTemplate(ORB_TEXT("core", "%1个同步标记中%2个已匹配"), {m, n}));
    if (matched == marks) return;
    const char* few = ORB_TEXT("core",
                               "%1个同步标记中只有%2个匹配到探管数据。"
                               "可能是探管和同步器的时钟没有校准（时钟校准），请检查两台设备的时钟。");
    op_.MessageBox(FillTemplate(few, {m, n}), ORB_TEXT("core", "警告"), MessageIcon::kWarning,
                   MessageButtons::kOk);
}

void DeviceController::OnMarks(std::span<const uint8_t> frame) {
    if (const auto count = ReadMarkCount(frame)) {
        OnMarkCount(count->expected, count->kept);
    } else {
        OnMark(frame);
    }
}

void DeviceController::OnMarkCount(int32_t expected, int32_t kept) {
    if (!Expects(Sequence::kMarkTransfer, Step::kCount)) return;
    if (expected < 0) {
        RefuseCount(markTransfer, expected, "同步器");
        return;
    }
    expectedMarks = expected;
    // Compared unsigned when trimming, as the device means it: a negative
    // number keeps every mark.
    keptMarks = kept;
    markTransfer = TransferState{};
    markTransfer.counted = true;
    markTransfer.announced = expected;
    markTransfer.complete = expected == 0;
    edits_.ClearMarks(ReserveFor(expectedMarks));
    lastMarkSequence = -1;
    Progress(0);
    op_.SetStatusText(kStatusReading);
    if (expectedMarks == 0) {
        End();
        // The records are still there: their rows come back.
        table_.RefreshTable();
        op_.SetStatusText(kStatusNoData);
        Progress(100);
        op_.MessageBox(ORB_TEXT("core", "同步器中没有存储数据"), ORB_TEXT("core", "设备回复信息"),
                       MessageIcon::kInformation, MessageButtons::kOk);
        return;
    }
    step_ = Step::kItems;
    StartStreamWatch();
}

void DeviceController::OnMark(std::span<const uint8_t> frame) {
    const auto mark = ReadSyncMark(frame);
    if (!mark) return;
    if (Expects(Sequence::kMarkTransfer, Step::kCount)) {
        DropUncounted(ORB_TEXT("core", "没有收到同步标记的数量回复，收到的同步标记已丢弃，请重新读取。"));
        return;
    }
    if (!Expects(Sequence::kMarkTransfer, Step::kItems)) return;
    const int32_t i = mark->frameIndex;
    const int32_t s = mark->sequence;
    const bool stored = i < expectedMarks;
    // A frame index that already arrived (a repeat on the line) is stored
    // once, as samples are: the transfer then holds no more marks than frames.
    if (stored && markTransfer.indexes.Contains(i)) return;
    if (stored) {
        const DateTimeFields t = DecodeBcdClock(mark->time);
        const OleDateTime d = MakeOleDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
        const SyncRecord m{s, 1, d.value, d.status};
        // A sequence number that did not advance restarts the list at s.
        if (s <= lastMarkSequence) edits_.TrimMarks(static_cast<uint32_t>(s));
        edits_.AppendMark(m);
        ItemArrived(markTransfer, i);
        Progress(ItemProgress(static_cast<uint32_t>(s), expectedMarks));
    }
    if (i == expectedMarks - 1) {
        edits_.TrimMarks(static_cast<uint32_t>(keptMarks));
        TransferEnded(markTransfer, "同步标记");
    }
    lastMarkSequence = stored ? s : 0;
}

void DeviceController::OnClockReply(std::span<const uint8_t> frame) {
    const auto clock = ReadClockReply(frame);
    if (!clock || !clockDialogOpen) return;
    const DateTimeFields t = DecodeBcdClock(*clock);
    const OleDateTime d = MakeOleDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
    op_.SetClockField(kClockFieldDevice, FormatOleDate(d.value, d.status, "%Y/%m/%d -- %H:%M:%S"));
    std::string device;
    if (!clockFromProbe_.empty()) {
        device = clockFromProbe_.front() ? ORB_TEXT("core", "探管") : ORB_TEXT("core", "同步器");
        clockFromProbe_.pop_front();
    }
    op_.SetClockField(kClockFieldDeviceName, device);
}

void DeviceController::OnRealTimeSample(std::span<const uint8_t> frame) {
    using A = AttitudeSample;
    const auto sample = ReadRealTimeSample(frame);
    if (!sample || !Expects(Sequence::kRealTime, Step::kPolling) || !realTimeActive) return;
    if (sample->ready) {
        realTimeSample = sample->attitude;
    } else {
        realTimeSample.v[A::kTemperature] = static_cast<float>(sample->temperatureTenths) / 10.0f;
        for (int i = 0; i < 6; ++i) realTimeSample.v[A::kRawGx + i] = static_cast<float>(sample->raw[i]);
        ComputeAttitude(calibration, realTimeSample);
        auto& v = realTimeSample.v;
        v[A::kGravityToolFace] = static_cast<float>(NormalizeAngle(v[A::kGravityToolFace] - toolFaceOffset));
        v[A::kMagneticToolFace] =
            static_cast<float>(NormalizeAngle(v[A::kMagneticToolFace] - toolFaceOffset));
    }
    op_.UpdateRealTime(FormatRealTime(realTimeSample));
}

}  // namespace orb
