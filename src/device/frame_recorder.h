// The one writer behind every record of the line traffic (the line log and
// the receive journal): an append-only file written with one write(2) per
// record, so that what was accepted is in the file the moment the call
// returns and survives the process being killed. A power cut is covered by
// syncing the file to the disk at most once per sync period (and at Close).
//
// A recorder never throws and never stops the caller: a write that fails
// (disk full, folder read-only, file removed) turns it into a failed
// recorder that ignores further records; failed() tells the owner so, once.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace orb {

class FrameRecorder {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    FrameRecorder();
    ~FrameRecorder();
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    // Creates `path` (replacing a file there); false when it cannot.
    bool Create(const std::string& path);
    // Writes one whole record; false when it could not be written.
    bool Append(std::span<const uint8_t> bytes);
    // Syncs and closes; safe when nothing is open.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    bool failed() const { return failed_; }
    const std::string& path() const { return path_; }

    // 0 syncs never (the line log); the journal syncs once a second.
    void SetSyncPeriod(std::chrono::milliseconds period) { syncPeriod_ = period; }
    // Tests count the syncs with a clock of their own.
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    int syncCount() const { return syncs_; }

private:
    void SyncIfDue();
    void Sync();

    int fd_ = -1;
    bool failed_ = false;
    std::string path_;
    std::chrono::milliseconds syncPeriod_{0};
    std::chrono::steady_clock::time_point lastSync_{};
    bool dirty_ = false;
    int syncs_ = 0;
    Clock clock_;
};

}  // namespace orb
