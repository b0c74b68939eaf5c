// Keeps a receive journal of every sample and mark transfer of one device
// controller. It watches the accepted reply frames: a count reply that
// announces items starts a new journal; a probe journal first takes the
// probe information, the calibration packets and the tool-face offset that
// led up to the count, so that replaying the journal alone rebuilds the
// same records. Every frame accepted while a journal is open goes into it;
// the last announced item closes it. The journals of this controller stay
// locked until RetireAll (the survey holding their data was saved) or the
// end of the process.
//
// A journal that cannot be written is reported once through the failure
// callback and the transfer goes on; nothing the controller sends or does
// depends on the journal.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/device_controller.h"
#include "device/journal_folder.h"
#include "device/receive_journal.h"

namespace orb {

class TransferJournal {
public:
    // Observes `dc` from now on (its frame observer).
    TransferJournal(DeviceController& dc, std::string folder);
    ~TransferJournal();
    TransferJournal(const TransferJournal&) = delete;
    TransferJournal& operator=(const TransferJournal&) = delete;

    void OnFrame(std::span<const uint8_t> frame);
    // The survey holding the data of every journal here was saved.
    void RetireAll();
    // A journal recovered into this survey: saving retires it too. False
    // when another process holds it.
    bool Adopt(const std::string& journalPath);

    // Called once, with the operator's text, when a journal cannot be written.
    void SetFailureReporter(std::function<void(const std::string&)> report) { report_ = std::move(report); }
    // Seconds since 1970 for the start time; tests fix it.
    void SetClock(std::function<int64_t()> now) { now_ = std::move(now); }

    const JournalFolder& folder() const { return folder_; }
    // The journal being written, empty when none is open.
    std::string OpenPath() const;
    // Every journal of this survey not yet retired, oldest first.
    std::vector<std::string> Paths() const;

private:
    struct Held {
        std::string path;
        JournalLock lock;
    };
    void Begin(JournalDevice device);
    void Write(std::span<const uint8_t> frame);
    void End();
    void Fail();
    void Keep(std::span<const uint8_t> frame);

    DeviceController& dc_;
    JournalFolder folder_;
    std::unique_ptr<ReceiveJournal> open_;
    std::vector<Held> held_;
    int32_t expected_ = 0;
    bool marks_ = false;
    bool reported_ = false;
    // What led up to a sample count: information, calibration, tool face.
    std::vector<uint8_t> info_;
    std::vector<std::vector<uint8_t>> calibration_;
    std::vector<uint8_t> toolFace_;
    std::function<void(const std::string&)> report_;
    std::function<int64_t()> now_;
};

}  // namespace orb
