#include "devsim/sim_line.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>

namespace devsim {
namespace {

using Clock = std::chrono::steady_clock;
using Nanos = std::chrono::nanoseconds;

// Timeout for ppoll until `at`; nullptr (wait forever) when there is nothing to wait for.
const timespec* Until(bool waiting, Clock::time_point at, timespec& ts) {
    if (!waiting) return nullptr;
    const auto left = std::max(Nanos(0), std::chrono::duration_cast<Nanos>(at - Clock::now()));
    ts.tv_sec = static_cast<time_t>(left.count() / 1000000000);
    ts.tv_nsec = static_cast<long>(left.count() % 1000000000);
    return &ts;
}

class Writer {
public:
    Writer(int fd, int baud) : fd_(fd), byteTime_(baud > 0 ? Nanos(10'000'000'000LL / baud) : Nanos(0)) {}

    void Add(std::vector<Output> outputs) {
        if (queue_.empty()) next_ = std::max(next_, Clock::now());
        for (auto& o : outputs) queue_.push_back(std::move(o));
    }
    bool Busy() const { return !queue_.empty(); }
    Clock::time_point NextAt() const { return next_; }

    // Writes whatever is due; true when a hang-up was asked for.
    bool Pump() {
        while (!queue_.empty()) {
            const auto now = Clock::now();
            if (now < next_) return false;
            Output& o = queue_.front();
            if (!delayed_ && o.delayMs > 0) {
                delayed_ = true;
                next_ = now + std::chrono::milliseconds(o.delayMs);
                continue;
            }
            if (offset_ < o.bytes.size() && !WriteDue(o, now)) return false;
            if (offset_ < o.bytes.size()) continue;
            if (o.hangUp) return true;
            if (o.repeatMs >= 0) queue_.push_back({o.bytes, o.repeatMs, false, o.repeatMs});
            queue_.pop_front();
            offset_ = 0;
            delayed_ = false;
            if (queue_.empty()) next_ = std::max(next_, Clock::now());
        }
        return false;
    }

private:
    // Writes the bytes of `o` whose time has come; false when the line is full.
    bool WriteDue(Output& o, Clock::time_point now) {
        std::size_t n = o.bytes.size() - offset_;
        if (byteTime_.count() > 0) {
            n = std::min<std::size_t>(n, 1 + static_cast<std::size_t>((now - next_) / byteTime_));
        }
        const ssize_t w = ::write(fd_, o.bytes.data() + offset_, n);
        if (w <= 0) {
            if (w < 0 && errno != EAGAIN && errno != EINTR) {
                offset_ = o.bytes.size();  // the line is gone: drop this write
                return true;
            }
            next_ = now + std::chrono::milliseconds(5);  // the program is not reading: try again
            return false;
        }
        offset_ += static_cast<std::size_t>(w);
        next_ += byteTime_ * w;
        return true;
    }

    int fd_;
    Nanos byteTime_;
    std::deque<Output> queue_;
    std::size_t offset_ = 0;
    bool delayed_ = false;
    Clock::time_point next_ = Clock::now();
};

}  // namespace

PtyLine::~PtyLine() {
    HangUp();
}

bool PtyLine::Open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        error = "no slave name";
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (slave_ >= 0 && ::tcgetattr(slave_, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

void PtyLine::WaitUntilRead(int limitMs) const {
    // Written bytes reach the slave's queue a little later, so only an
    // empty queue seen over a while means the program has read them.
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    auto emptySince = Clock::now();
    while (slave_ >= 0 && Clock::now() < deadline) {
        int waiting = 0;
        if (::ioctl(slave_, FIONREAD, &waiting) != 0) return;
        const auto now = Clock::now();
        if (waiting > 0) emptySince = now;
        if (now - emptySince >= std::chrono::milliseconds(250)) return;
        ::usleep(2000);
    }
}

void PtyLine::HangUp() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

LineEnd ServeLine(PtyLine& line, DeviceSimulator& sim, int baud, int stopFd) {
    Writer writer(line.master(), baud);
    uint8_t buf[4096];
    while (true) {
        pollfd fds[2] = {{line.master(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        timespec ts{};
        if (::ppoll(fds, 2, Until(writer.Busy(), writer.NextAt(), ts), nullptr) < 0 && errno != EINTR) {
            return LineEnd::kError;
        }
        if (fds[1].revents) return LineEnd::kStopped;
        if (fds[0].revents & POLLIN) {
            const ssize_t r = ::read(line.master(), buf, sizeof buf);
            if (r > 0) writer.Add(sim.Receive({buf, static_cast<std::size_t>(r)}));
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            return LineEnd::kError;  // cannot happen while we hold the slave open
        }
        if (writer.Pump()) {
            line.WaitUntilRead(2000);  // the samples before the hang-up do arrive
            line.HangUp();
            return LineEnd::kHungUp;
        }
    }
}

}  // namespace devsim
