#include "core/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "core/file_calls.h"

namespace orb {

std::string SystemErrorText(int error) {
    return std::generic_category().message(error);
}

namespace {

int SysOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

constexpr FileCalls kSystemCalls{SysOpen, ::write, ::fsync, ::rename, ::close, ::fchmod, ::fchown};
FileCalls gCalls = kSystemCalls;

}  // namespace

const FileCalls& SystemFileCalls() {
    return kSystemCalls;
}

const FileCalls& Sys() {
    return gCalls;
}

FileCalls SwapFileCallsForTest(const FileCalls& calls) {
    const FileCalls old = gCalls;
    gCalls = calls;
    return old;
}

namespace {

FileResult Failure(FileStatus code, int error) {
    return FileResult::Failure(code, error, SystemErrorText(error));
}

int WriteAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = Sys().write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return 0;
}

// Buffers small writes; large blocks go straight to the descriptor.
class FdSink final : public ByteSink {
public:
    explicit FdSink(int fd) : fd_(fd), buf_(new char[kCapacity]) {}

    int Write(const void* data, std::size_t n) override {
        const char* p = static_cast<const char*>(data);
        if (used_ + n <= kCapacity) {
            if (n != 0) std::memcpy(buf_.get() + used_, p, n);
            used_ += n;
            return 0;
        }
        if (int err = Flush()) return err;
        if (n < kCapacity) return Write(p, n);
        return WriteAll(fd_, p, n);
    }

    int Flush() {
        const int err = WriteAll(fd_, buf_.get(), used_);
        used_ = 0;
        return err;
    }

private:
    static constexpr std::size_t kCapacity = std::size_t{1} << 20;

    int fd_;
    std::unique_ptr<char[]> buf_;
    std::size_t used_ = 0;
};

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The kernel's protected_symlinks rule: in a folder that is sticky and
// world-writable (/tmp, a shared drop folder) a link is followed only when it
// belongs to the follower or to the folder's owner. The writer resolves the
// target's links itself (a rename replaces the link, not what it names), so it
// must apply the rule itself.
bool MayFollow(const struct stat& link, const std::filesystem::path& folder) {
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0) return true;  // the write fails there anyway
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

// The file `target` names once its links are followed, hop by hop.
FileResult ResolveTarget(const std::filesystem::path& target, std::filesystem::path& out) {
    std::filesystem::path p = target;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            out = p;
            return {};
        }
        const std::filesystem::path folder = FolderOf(p);
        if (!MayFollow(st, folder))
            return FileResult::Failure(FileStatus::kRefused, EACCES, kUnsafeLinkMessage);
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(p, ec);
        if (ec) return FileResult::Failure(FileStatus::kCannotCreate, ec.value(), ec.message());
        p = next.is_absolute() ? next : folder / next;
    }
    return Failure(FileStatus::kCannotCreate, ELOOP);
}

// Refuses an existing target that is no regular file: writing beside a
// device, a FIFO or a folder and renaming over it helps nobody.
FileResult CheckTargetKind(const std::filesystem::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    return FileResult::Failure(FileStatus::kRefused, S_ISDIR(st.st_mode) ? EISDIR : 0,
                               kNotRegularTargetMessage);
}

// Gives `fd` the owner, group and permissions of an existing regular
// `target`, as far as the user may: root keeps another user's file that
// user's; anyone else keeps at least a group they belong to. The owner comes
// first, since changing it clears the set-id bits. 0 or errno.
int KeepOwnerAndMode(int fd, const std::filesystem::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    struct stat mine {};
    if (::fstat(fd, &mine) == 0 && (mine.st_uid != st.st_uid || mine.st_gid != st.st_gid)) {
        if (Sys().fchown(fd, st.st_uid, st.st_gid) != 0) {
            if (errno != EPERM && errno != EINVAL) return errno;
            if (Sys().fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0 && errno != EPERM && errno != EINVAL)
                return errno;
        }
    }
    return Sys().fchmod(fd, st.st_mode & 07777) == 0 ? 0 : errno;
}

// --------------------------------------------------------- temporary names

// Temporary files are named ".<target>.orbtmp-<host>-<pid>-<n>": the host
// (a hash of its name) and the process tell a later save whether the writer
// is gone.
constexpr std::string_view kTempTag = ".orbtmp-";
constexpr std::size_t kMaxTargetPart = 200;  // the name stays within NAME_MAX

std::string HostTag() {
    static const std::string tag = [] {
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        uint32_t h = 2166136261u;
        for (const char* c = host; *c; ++c) h = (h ^ static_cast<unsigned char>(*c)) * 16777619u;
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", h);
        return std::string(hex);
    }();
    return tag;
}

std::string TempName(const std::string& target, unsigned counter) {
    std::string part = target.substr(0, kMaxTargetPart);
    while (part.size() < target.size() && !part.empty() &&
           (static_cast<unsigned char>(part.back()) & 0xC0) == 0x80)
        part.pop_back();  // no UTF-8 sequence cut in half
    return "." + part + std::string(kTempTag) + HostTag() + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter);
}

// "<digits>-<digits>" at the end of `s`; the first number.
bool PidAndCounter(std::string_view s, long& pid) {
    const std::size_t dash = s.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == s.size()) return false;
    const std::string_view a = s.substr(0, dash), b = s.substr(dash + 1);
    if (b.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const auto r = std::from_chars(a.data(), a.data() + a.size(), pid);
    return r.ec == std::errc() && r.ptr == a.data() + a.size() && pid > 0;
}

// The process that wrote the temporary file `name` on this host; false for
// any other file.
bool WriterOf(std::string_view name, long& pid) {
    if (name.size() < 2 || name[0] != '.') return false;
    const std::size_t tag = name.rfind(kTempTag);
    if (tag == std::string_view::npos) return false;
    const std::string_view rest = name.substr(tag + kTempTag.size());
    const std::string host = HostTag();
    return rest.size() > host.size() + 1 && rest.substr(0, host.size()) == host && rest[host.size()] == '-' &&
           PidAndCounter(rest.substr(host.size() + 1), pid);
}

bool ProcessGone(long pid) {
    return pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// A new, unused file next to the target, created with 0666 so the umask
// applies as for any new file; a replaced file's owner and permissions apply
// from the start, so a private survey is never readable by others while
// written.
int CreateTemp(const std::filesystem::path& target, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = (FolderOf(target) / TempName(target.filename().string(), counter++)).string();
        const int fd = Sys().open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (const int err = KeepOwnerAndMode(fd, target)) {
                Sys().close(fd);
                ::unlink(temp.c_str());
                return -err;
            }
            return fd;
        }
        if (errno != EEXIST) return -errno;
    }
    return -EEXIST;
}

// Flushes the file named `path` to disk and gives it the owner and
// permissions of an existing regular `target`. 0 or an errno value.
int SyncByName(const std::string& path, const std::filesystem::path& target) {
    const int fd = Sys().open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0) return errno;
    int err = KeepOwnerAndMode(fd, target);
    if (err == 0 && Sys().fsync(fd) != 0) err = errno;
    if (Sys().close(fd) != 0 && err == 0) err = errno;
    return err;
}

void SyncFolder(const std::filesystem::path& file) {
    const int fd = Sys().open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;
    // The rename has already happened; a folder that cannot be synced (some
    // file systems refuse) does not undo the write.
    Sys().fsync(fd);
    Sys().close(fd);
}

}  // namespace

int RemoveStaleTemporaries(const std::filesystem::path& folder) {
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return 0;
    int removed = 0;
    const int dfd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        long pid = 0;
        if (!WriterOf(e->d_name, pid)) continue;
        struct stat st {};
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        if (ProcessGone(pid) && ::unlinkat(dfd, e->d_name, 0) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

AtomicFile::AtomicFile(const std::filesystem::path& target) {
    if (!target.has_filename()) {
        created_ = Failure(FileStatus::kCannotCreate, EISDIR);
        return;
    }
    created_ = ResolveTarget(target, target_);
    if (created_.ok()) created_ = CheckTargetKind(target_);
    if (!created_.ok()) return;
    RemoveStaleTemporaries(FolderOf(target_));
    const int fd = CreateTemp(target_, tempPath_);
    if (fd < 0) {
        tempPath_.clear();
        created_ = Failure(FileStatus::kCannotCreate, -fd);
        return;
    }
    fd_ = fd;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) Sys().close(fd_);
    if (!tempPath_.empty() && !committed_) ::unlink(tempPath_.c_str());
}

FileResult AtomicFile::Write(std::string_view bytes) {
    if (fd_ < 0) return created_;
    if (int err = WriteAll(fd_, bytes.data(), bytes.size())) return Failure(FileStatus::kWriteFailed, err);
    return {};
}

FileResult AtomicFile::Write(const std::function<int(ByteSink&)>& write) {
    if (fd_ < 0) return created_;
    FdSink sink(fd_);
    int err = write(sink);
    if (err == 0) err = sink.Flush();
    if (err != 0) return Failure(FileStatus::kWriteFailed, err);
    return {};
}

FileResult AtomicFile::Commit() {
    if (fd_ < 0) return created_;
    const int closed = Sys().close(fd_) != 0 ? errno : 0;
    fd_ = -1;
    if (closed != 0) return Failure(FileStatus::kWriteFailed, closed);
    if (int err = SyncByName(tempPath_, target_)) return Failure(FileStatus::kWriteFailed, err);
    if (Sys().rename(tempPath_.c_str(), target_.c_str()) != 0)
        return Failure(FileStatus::kWriteFailed, errno);
    committed_ = true;
    SyncFolder(target_);
    return {};
}

FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    AtomicFile file(path);
    FileResult r = file.Write(bytes);
    return r.ok() ? file.Commit() : r;
}

FileResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<int(ByteSink&)>& write) {
    AtomicFile file(path);
    FileResult r = file.Write(write);
    return r.ok() ? file.Commit() : r;
}

FileResult MakeDirectories(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return FileResult::Failure(FileStatus::kCannotCreate, ec.value(), ec.message());
    return {};
}

}  // namespace orb
