#include "device/journal_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace orb {
namespace fs = std::filesystem;
namespace {

// The names QCoreApplication gets in the window (orb_app.h), so that Qt's
// application data location and this folder are the same.
constexpr const char* kDataOrganization = "应用程序向导生成的本地应用程序";
constexpr const char* kDataApplication = "Orb";

std::vector<std::string> JournalsIn(const std::string& dir) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        if (e.is_regular_file(ec) && e.path().extension() == kJournalExtension)
            out.push_back(e.path().string());
    }
    // Names begin with the start time.
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        return fs::path(a).filename() < fs::path(b).filename();
    });
    return out;
}

std::string SafeName(const std::string& s) {
    std::string out;
    for (char c : s) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '_';
        out += ok ? c : '_';
    }
    return out.empty() ? "unknown" : out;
}

}  // namespace

std::string DefaultJournalFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "/tmp") + "/.local/share";
    }
    return base + "/" + kDataOrganization + "/" + kDataApplication + "/journal";
}

std::string JournalFileName(JournalDevice device, const std::string& probeNumber, int64_t startTime,
                            int millisecond) {
    const std::time_t t = static_cast<std::time_t>(startTime);
    std::tm tm{};
    localtime_r(&t, &tm);
    char stamp[40];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    std::snprintf(stamp + n, sizeof stamp - n, ".%03d", millisecond % 1000);
    const char* kind = device == JournalDevice::kProbe ? "probe" : "sync";
    return std::string(stamp) + "-" + kind + "-" + SafeName(probeNumber) + kJournalExtension;
}

JournalLock& JournalLock::operator=(JournalLock&& o) noexcept {
    if (this != &o) {
        Release();
        fd_ = o.fd_;
        path_ = std::move(o.path_);
        o.fd_ = -1;
    }
    return *this;
}

bool JournalLock::Acquire(const std::string& journalPath) {
    Release();
    const std::string lockPath = journalPath + ".lock";
    // Never waits on a FIFO planted under the lock's name, nor locks one.
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::write(fd, pid.data(), pid.size());
    }
    fd_ = fd;
    path_ = lockPath;
    return true;
}

void JournalLock::Release() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

bool JournalInUse(const std::string& journalPath) {
    const std::string lockPath = journalPath + ".lock";
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool busy = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return busy;
}

std::optional<std::string> JournalFolder::NewJournalPath(JournalDevice device, const std::string& probeNumber,
                                                         int64_t startTime) const {
    std::error_code ec;
    fs::create_directories(dir_, ec);
    if (!fs::is_directory(dir_, ec)) return std::nullopt;
    // The milliseconds keep two transfers of one second in their order.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const int ms =
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % 1000);
    const std::string name = JournalFileName(device, probeNumber, startTime, ms);
    const std::string stem = name.substr(0, name.size() - std::string(kJournalExtension).size());
    std::string path = dir_ + "/" + name;
    for (int n = 2;
         fs::exists(path, ec) || fs::exists(RecoveryDir() + "/" + fs::path(path).filename().string(), ec);
         ++n) {
        path = dir_ + "/" + stem + "-" + std::to_string(n) + kJournalExtension;
    }
    return path;
}

std::vector<std::string> JournalFolder::Journals() const {
    return JournalsIn(dir_);
}

std::vector<std::string> JournalFolder::Pending() const {
    std::vector<std::string> out;
    for (const std::string& p : Journals()) {
        if (!JournalInUse(p)) out.push_back(p);
    }
    return out;
}

std::vector<std::string> JournalFolder::Retired() const {
    return JournalsIn(RecoveryDir());
}

bool JournalFolder::Retire(const std::string& journalPath) const {
    std::error_code ec;
    fs::create_directories(RecoveryDir(), ec);
    const fs::path target = fs::path(RecoveryDir()) / fs::path(journalPath).filename();
    fs::rename(journalPath, target, ec);
    if (ec) return false;
    std::vector<std::string> retired = Retired();
    const std::size_t excess = retired.size() > kRetiredKept ? retired.size() - kRetiredKept : 0;
    for (std::size_t i = 0; i < excess; ++i) fs::remove(retired[i], ec);
    return true;
}

}  // namespace orb
