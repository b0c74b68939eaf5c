#include "device/poll_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace orb {
namespace {

// How long the loop waits at most before it looks at the hang-up flag and
// the stop condition again.
constexpr auto kMaxWait = std::chrono::milliseconds(100);

// Reads of waiting bytes after one notification.
constexpr int kMaxReadsPerWake = 256;

}  // namespace

SerialLinkPort::SerialLinkPort(PortListOptions options)
    : options_(std::move(options)), notifyFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SerialLinkPort::~SerialLinkPort() {
    port_.Close();
    if (notifyFd_ >= 0) ::close(notifyFd_);
}

bool SerialLinkPort::Open(int n) {
    const int fd = notifyFd_;
    lastError_ = port_.Open(
        [fd] {
            const uint64_t one = 1;
            while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
            }
        },
        n, options_);
    return lastError_ == SerialError::kNone;
}

void SerialLinkPort::Close() {
    port_.Close();
    TakeNotification();
}

bool SerialLinkPort::TakeNotification() {
    uint64_t value = 0;
    ssize_t r;
    do {
        r = ::read(notifyFd_, &value, sizeof value);
    } while (r < 0 && errno == EINTR);
    return r == static_cast<ssize_t>(sizeof value) && value > 0;
}

void PollTimers::Start(int id, int periodMs) {
    const std::chrono::milliseconds period(std::max(periodMs, 1));
    timers_[id] = Timer{period, Clock::now() + period};
}

std::optional<PollTimers::Clock::time_point> PollTimers::NextDeadline() const {
    std::optional<Clock::time_point> next;
    for (const auto& [id, t] : timers_) {
        if (!next || t.due < *next) next = t.due;
    }
    return next;
}

std::vector<int> PollTimers::TakeDue(Clock::time_point now) {
    std::vector<int> due;
    for (auto& [id, t] : timers_) {
        if (t.due > now) continue;
        due.push_back(id);
        // A late loop does not fire a timer several times in a row.
        t.due = std::max(t.due + t.period, now + t.period / 2);
    }
    return due;
}

void PollLoop::ReadRemaining() {
    while (port_.IsOpen() && port_.port().BytesWaiting() > 0) {
        const uint64_t before = port_.bytesRead();
        dc_->OnBytesArrived();
        if (port_.bytesRead() == before) break;  // the line refuses to give them
    }
}

void PollLoop::ReadWaiting() {
    // Each call reads at most 64 bytes. What is still waiting would bring
    // another notification through the event thread at once; reading it
    // here saves the round trip. Bounded, so timers stay on time.
    dc_->OnBytesArrived();
    for (int i = 0; i < kMaxReadsPerWake && port_.IsOpen() && port_.port().BytesWaiting() > 0; ++i) {
        dc_->OnBytesArrived();
    }
}

PollLoop::Result PollLoop::RunUntil(const std::function<bool()>& stop) {
    using Clock = PollTimers::Clock;
    while (!stop()) {
        if (port_.HungUp()) {
            ReadRemaining();
            return Result::kHungUp;
        }
        auto wait = kMaxWait;
        if (const auto next = timers_.NextDeadline()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now());
            wait = std::clamp(left, std::chrono::milliseconds(0), kMaxWait);
        }
        pollfd p{port_.NotifyFd(), POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(wait.count()));
        if (r > 0 && port_.TakeNotification()) ReadWaiting();
        for (int id : timers_.TakeDue(Clock::now())) {
            // A handler may have stopped a timer that was due with it.
            if (timers_.IsRunning(id)) dc_->OnTimer(id);
            if (stop()) return Result::kStopped;
        }
    }
    return Result::kStopped;
}

}  // namespace orb
