#include "device/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace orb {
namespace {

constexpr int kWriteTimeoutMs = 2000;

void Signal(int efd) {
    const uint64_t one = 1;
    while (::write(efd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void Drain(int efd) {
    uint64_t value = 0;
    while (::read(efd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

// Raw 9600 baud, 8 data bits, no parity, one stop bit, no flow control,
// receiver on, modem lines ignored; reads never wait.
void MakeRaw(termios& t) {
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
}

}  // namespace

const char* SerialErrorText(SerialError e) {
    switch (e) {
        case SerialError::kNone:
            return "ok";
        case SerialError::kAlreadyOpen:
            return "a port is already open";
        case SerialError::kNoSuchDevice:
            return "no such serial port";
        case SerialError::kPermissionDenied:
            return "permission denied (is the user in the dialout group?)";
        case SerialError::kBusy:
            return "the port is in use by another program";
        case SerialError::kNotATerminal:
            return "not a serial device";
        case SerialError::kOther:
            break;
    }
    return "the port could not be opened";
}

SerialError SerialErrorFromErrno(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return SerialError::kPermissionDenied;
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return SerialError::kNoSuchDevice;
        case EBUSY:
            return SerialError::kBusy;
        default:
            return SerialError::kOther;
    }
}

SerialPort::~SerialPort() {
    Close();
}

SerialError SerialPort::Open(Notify notify, int n, const PortListOptions& options) {
    if (state_.load() != kStateClosed) return SerialError::kAlreadyOpen;
    const auto path = PortPath(n, options);
    if (!path) return SerialError::kNoSuchDevice;
    return OpenPath(std::move(notify), *path, n);
}

SerialError SerialPort::OpenPath(Notify notify, const std::string& path, int n) {
    if (state_.load() != kStateClosed) return SerialError::kAlreadyOpen;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SerialErrorFromErrno(errno);
    termios saved{};
    if (::tcgetattr(fd, &saved) != 0) {
        ::close(fd);
        return SerialError::kNotATerminal;
    }
    // TIOCEXCL keeps other programs from opening the device (root may
    // still); the lock also keeps out programs of the same user that honour it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? SerialError::kBusy : SerialError::kOther;
    }
    const int stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int rearmFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd < 0 || rearmFd < 0) {
        if (stopFd >= 0) ::close(stopFd);
        if (rearmFd >= 0) ::close(rearmFd);
        ::close(fd);
        return SerialError::kOther;
    }
    // Pseudo-terminals and some adapters refuse part of this; that is no
    // reason to refuse the port.
    ::ioctl(fd, TIOCEXCL);
    termios raw = saved;
    MakeRaw(raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    ::tcflush(fd, TCIOFLUSH);

    fd_ = fd;
    stopFd_ = stopFd;
    rearmFd_ = rearmFd;
    saved_ = saved;
    path_ = path;
    portNumber_ = n;
    notify_ = std::move(notify);
    hungUp_ = false;
    starved_ = false;
    wakeCount_ = 0;
    state_ = kStateOpen;
    thread_ = std::thread(&SerialPort::EventLoop, this);
    return SerialError::kNone;
}

void SerialPort::EventLoop() {
    threadId_ = ::gettid();
    bool armed = true;
    bool hung = false;
    while (state_.load() == kStateOpen) {
        pollfd fds[3] = {{stopFd_, POLLIN, 0}, {rearmFd_, POLLIN, 0}, {fd_, POLLIN, 0}};
        // After a hang-up the device reports ready forever: wait for the stop
        // request alone. Before the reader has answered a notification, the
        // waiting characters would wake us at once: wait for the re-arm.
        const nfds_t count = hung ? 1 : (armed ? 3 : 2);
        const int r = ::poll(fds, count, -1);
        ++wakeCount_;
        if (r < 0) {
            if (errno != EINTR) hung = true;
            continue;
        }
        if (fds[0].revents) {
            state_ = kStateStopping;
            break;
        }
        if (hung) continue;
        if (fds[1].revents & POLLIN) {
            Drain(rearmFd_);
            armed = true;
        }
        if (count == 3 && fds[2].revents) {
            if (fds[2].revents & POLLIN) {
                armed = false;
                if (notify_) notify_();
            }
            if (fds[2].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                hung = true;
                hungUp_ = true;
                // Once, so that the owner learns of it without waiting for a command.
                if (notify_) notify_();
            }
        }
    }
}

bool SerialPort::Close() {
    if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id()) return false;
    if (fd_ < 0) return false;
    state_ = kStateStopping;
    Signal(stopFd_);
    if (thread_.joinable()) thread_.join();
    ::tcsetattr(fd_, TCSANOW, &saved_);
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    Release();
    return ok;
}

void SerialPort::Release() {
    ::close(stopFd_);
    ::close(rearmFd_);
    stopFd_ = rearmFd_ = -1;
    path_.clear();
    portNumber_ = 0;
    notify_ = nullptr;
    threadId_ = 0;
    state_ = kStateClosed;
}

std::size_t SerialPort::BytesWaiting() const {
    if (fd_ < 0) return 0;
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0) return 0;
    return static_cast<std::size_t>(waiting);
}

void SerialPort::Rearm() {
    if (rearmFd_ >= 0) Signal(rearmFd_);
}

std::size_t SerialPort::Read(ReceiveBuffer& buffer) {
    if (fd_ < 0) return 0;
    const std::size_t waiting = BytesWaiting();
    const std::size_t n = std::min({kMaxRead, waiting, buffer.FreeSpace()});
    ssize_t got = 0;
    if (n > 0) {
        do {
            got = ::read(fd_, buffer.FreeArea().data(), n);
        } while (got < 0 && errno == EINTR);
        if (got > 0) buffer.fill += static_cast<std::size_t>(got);
    }
    // A full buffer (its reader is busy inside a reply, e.g. a dialog) with
    // characters still waiting: re-arming would bring the next notification
    // at once, and so on without end. The reader reads again once it has room.
    starved_ = n == 0 && waiting > 0;
    if (!starved_) Rearm();
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool SerialPort::Write(std::span<const uint8_t> frame) {
    if (fd_ < 0 || state_.load() != kStateOpen) return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    std::size_t done = 0;
    while (done < frame.size()) {
        const ssize_t w = ::write(fd_, frame.data() + done, frame.size() - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    return true;
}

std::size_t OnBytesArrived(SerialPort& port, ReceiveBuffer& buffer, FrameScanner& scanner) {
    const std::size_t n = port.Read(buffer);
    if (n > 0) scanner.Scan(buffer);
    return n;
}

}  // namespace orb
