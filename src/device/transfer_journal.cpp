#include "device/transfer_journal.h"

#include <ctime>

#include "core/ui_text.h"
#include "device/device_frame.h"

#ifndef ORB_VERSION
#define ORB_VERSION "0"
#endif

namespace orb {

TransferJournal::TransferJournal(DeviceController& dc, std::string folder)
    : dc_(dc), folder_(std::move(folder)), now_([] { return static_cast<int64_t>(std::time(nullptr)); }) {
    dc_.SetFrameObserver([this](std::span<const uint8_t> frame) { OnFrame(frame); });
}

TransferJournal::~TransferJournal() {
    dc_.SetFrameObserver(nullptr);
    if (open_) open_->Close();
}

void TransferJournal::Keep(std::span<const uint8_t> frame) {
    const auto type = ReplyTypeOf(frame);
    if (!type) return;
    switch (static_cast<ReplyType>(*type)) {
        case ReplyType::kInformation:
            info_.assign(frame.begin(), frame.end());
            break;
        case ReplyType::kCalibration:
            if (const auto p = ReadCalibrationPacket(frame); p && p->index == 0) calibration_.clear();
            calibration_.emplace_back(frame.begin(), frame.end());
            break;
        case ReplyType::kToolFaceOffset:
            toolFace_.assign(frame.begin(), frame.end());
            break;
        default:
            break;
    }
}

void TransferJournal::OnFrame(std::span<const uint8_t> frame) {
    Keep(frame);
    const auto type = ReplyTypeOf(frame);
    if (type == static_cast<uint8_t>(ReplyType::kStoredSamples)) {
        if (const auto count = ReadSampleCount(frame)) {
            End();
            if (*count > 0) {
                expected_ = *count;
                marks_ = false;
                Begin(JournalDevice::kProbe);
                if (!info_.empty()) Write(info_);
                for (const auto& c : calibration_) Write(c);
                if (!toolFace_.empty()) Write(toolFace_);
            }
            Write(frame);
            return;
        }
        Write(frame);
        const auto sample = ReadStoredSample(frame);
        if (!marks_ && sample && sample->index == expected_ - 1) End();
        return;
    }
    if (type == static_cast<uint8_t>(ReplyType::kMarks)) {
        if (const auto count = ReadMarkCount(frame)) {
            End();
            if (count->expected > 0) {
                expected_ = count->expected;
                marks_ = true;
                Begin(JournalDevice::kSynchronizer);
            }
            Write(frame);
            return;
        }
        Write(frame);
        const auto mark = ReadSyncMark(frame);
        if (marks_ && mark && mark->frameIndex == expected_ - 1) End();
        return;
    }
    Write(frame);
}

void TransferJournal::Begin(JournalDevice device) {
    JournalHeader h;
    h.device = device;
    h.startTime = now_();
    h.delayMinutes = dc_.timing().sampleDelayMinutes;
    h.intervalSeconds = dc_.timing().sampleIntervalSeconds;
    h.workIntervalSeconds = dc_.workIntervalSeconds;
    h.programVersion = ORB_VERSION;
    h.probeNumber = dc_.probeNumber;
    const auto path = folder_.NewJournalPath(device, h.probeNumber, h.startTime);
    if (!path) {
        Fail();
        return;
    }
    Held held{*path, {}};
    auto journal = std::make_unique<ReceiveJournal>();
    // The lock comes first: the file never exists unlocked while in use.
    if (!held.lock.Acquire(*path) || !journal->Create(*path, h)) {
        Fail();
        return;
    }
    open_ = std::move(journal);
    held_.push_back(std::move(held));
}

void TransferJournal::Write(std::span<const uint8_t> frame) {
    if (!open_) return;
    if (!open_->Append(frame)) {
        open_.reset();
        Fail();
    }
}

void TransferJournal::End() {
    if (open_) open_->Close();
    open_.reset();
}

void TransferJournal::Fail() {
    if (reported_) return;
    reported_ = true;
    if (report_) report_(ORB_TEXT("core", "接收日志无法写入，数据仅保存在内存中"));
}

bool TransferJournal::Adopt(const std::string& journalPath) {
    Held held{journalPath, {}};
    if (!held.lock.Acquire(journalPath)) return false;
    held_.push_back(std::move(held));
    return true;
}

void TransferJournal::RetireAll() {
    End();
    for (Held& h : held_) {
        folder_.Retire(h.path);
        h.lock.Release();
    }
    held_.clear();
}

std::string TransferJournal::OpenPath() const {
    return open_ ? open_->path() : std::string();
}

std::vector<std::string> TransferJournal::Paths() const {
    std::vector<std::string> out;
    for (const Held& h : held_) out.push_back(h.path);
    return out;
}

}  // namespace orb
