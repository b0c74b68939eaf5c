#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

namespace orb {

std::string SystemErrorText(int error) {
    return std::generic_category().message(error);
}

namespace {

FileResult Failure(FileStatus code, int error) {
    return FileResult::Failure(code, error, SystemErrorText(error));
}

int WriteAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
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

std::filesystem::path ResolveTarget(const std::filesystem::path& target) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(target, ec)) return target;
    auto resolved = std::filesystem::weakly_canonical(target, ec);
    return ec ? target : resolved;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// A new, unused file next to the target, created with 0666 so the umask
// applies as for any new file.
int CreateTemp(const std::filesystem::path& target, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = (FolderOf(target) / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) +
                                    "-" + std::to_string(counter++)))
                   .string();
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -errno;
    }
    return -EEXIST;
}

// Flushes the file named `path` to disk and gives it the permissions of an
// existing regular `target`. 0 or an errno value.
int SyncByName(const std::string& path, const std::filesystem::path& target) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::fchmod(fd, st.st_mode & 07777) != 0)
        err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    ::close(fd);
    return err;
}

void SyncFolder(const std::filesystem::path& file) {
    const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The rename has already happened; a folder that cannot be synced (some
    // file systems refuse) does not undo the write.
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(ResolveTarget(target)) {
    if (!target_.has_filename()) {
        created_ = Failure(FileStatus::kCannotCreate, EISDIR);
        return;
    }
    const int fd = CreateTemp(target_, tempPath_);
    if (fd < 0) {
        tempPath_.clear();
        created_ = Failure(FileStatus::kCannotCreate, -fd);
        return;
    }
    fd_ = fd;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
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
    const int closed = ::close(fd_) != 0 ? errno : 0;
    fd_ = -1;
    if (closed != 0) return Failure(FileStatus::kWriteFailed, closed);
    if (int err = SyncByName(tempPath_, target_)) return Failure(FileStatus::kWriteFailed, err);
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) return Failure(FileStatus::kWriteFailed, errno);
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
