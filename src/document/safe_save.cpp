#include "document/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

namespace orb {

namespace {

// Buffers small writes; large blocks (the record array) go straight to the
// descriptor so a save never holds a second copy of the survey.
class FdSink final : public ByteSink {
public:
    explicit FdSink(int fd) : fd_(fd), buf_(new char[kCapacity]) {}

    int Write(const void* data, std::size_t n) override {
        if (n == 0) return 0;
        const char* p = static_cast<const char*>(data);
        if (used_ + n <= kCapacity) {
            std::memcpy(buf_.get() + used_, p, n);
            used_ += n;
            return 0;
        }
        if (int err = Flush()) return err;
        if (n < kCapacity) return Write(p, n);
        return WriteAll(p, n);
    }

    int Flush() {
        const int err = WriteAll(buf_.get(), used_);
        used_ = 0;
        return err;
    }

private:
    static constexpr std::size_t kCapacity = std::size_t{1} << 20;

    int WriteAll(const char* p, std::size_t n) {
        while (n > 0) {
            const ssize_t w = ::write(fd_, p, n);
            if (w < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            p += w;
            n -= static_cast<std::size_t>(w);
        }
        return 0;
    }

    int fd_;
    std::unique_ptr<char[]> buf_;
    std::size_t used_ = 0;
};

std::filesystem::path ResolveTarget(const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) return resolved;
    }
    return target;
}

// Creates a new, unused file next to the target; the umask applies as for
// any new file, and an existing target's permissions are carried over.
int CreateTemp(const std::filesystem::path& target, std::filesystem::path& temp) {
    static unsigned counter = 0;
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                      std::to_string(counter++));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            struct stat st {};
            if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST) return -errno;
    }
    return -EEXIST;
}

int WriteAndSync(int fd, const std::function<int(ByteSink&)>& write) {
    FdSink sink(fd);
    int err = write(sink);
    if (err == 0) err = sink.Flush();
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

void SyncFolder(const std::filesystem::path& file) {
    const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The rename has already happened; a folder that cannot be synced (some
    // file systems refuse) does not undo the save.
    ::fsync(fd);
    ::close(fd);
}

SaveResult Failure(int error) {
    return {false, error, SaveErrorMessage(error)};
}

}  // namespace

std::string SaveErrorMessage(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足，文件没有保存。";
        case EACCES:
        case EPERM:
            return "没有权限在该位置写入文件，文件没有保存。";
        case EROFS:
            return "该位置是只读的，文件没有保存。";
        case EIO:
            return "写入文件时出错，文件没有保存。";
        case EFBIG:
        case EOVERFLOW:
            return "文件太大，无法保存。";
        default:
            return "文件名不正确。";
    }
}

SaveResult SaveFileReplacing(const std::filesystem::path& target,
                             const std::function<int(ByteSink&)>& write) {
    const std::filesystem::path file = ResolveTarget(target);
    if (!file.has_filename()) return Failure(EISDIR);
    std::filesystem::path temp;
    const int fd = CreateTemp(file, temp);
    if (fd < 0) return Failure(-fd);
    if (int err = WriteAndSync(fd, write)) {
        ::unlink(temp.c_str());
        return Failure(err);
    }
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return Failure(err);
    }
    SyncFolder(file);
    return {true, 0, {}};
}

}  // namespace orb
