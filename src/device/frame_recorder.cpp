#include "device/frame_recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orb {

FrameRecorder::FrameRecorder() : clock_([] { return std::chrono::steady_clock::now(); }) {}

FrameRecorder::~FrameRecorder() {
    Close();
}

bool FrameRecorder::Create(const std::string& path) {
    Close();
    failed_ = false;
    path_ = path;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) failed_ = true;
    lastSync_ = clock_();
    return fd_ >= 0;
}

bool FrameRecorder::Append(std::span<const uint8_t> bytes) {
    if (fd_ < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A half-written record is what a reader treats as a damaged
            // tail; nothing more is added behind it.
            failed_ = true;
            ::close(fd_);
            fd_ = -1;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    dirty_ = true;
    SyncIfDue();
    return true;
}

void FrameRecorder::SyncIfDue() {
    if (syncPeriod_.count() <= 0) return;
    const auto now = clock_();
    if (now - lastSync_ < syncPeriod_) return;
    lastSync_ = now;
    Sync();
}

void FrameRecorder::Sync() {
    if (fd_ < 0 || !dirty_) return;
    ::fdatasync(fd_);
    dirty_ = false;
    ++syncs_;
}

void FrameRecorder::Close() {
    if (fd_ < 0) return;
    if (syncPeriod_.count() > 0) Sync();
    ::close(fd_);
    fd_ = -1;
}

}  // namespace orb
