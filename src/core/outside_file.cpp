#include "core/outside_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace orb {

std::string TooLargeToReadText(std::size_t cap) {
    const std::size_t mb = std::max<std::size_t>(1, cap >> 20);
    return FillTemplate(ORB_TEXT("core", "文件大于 %1 MB，没有读取。"), {std::to_string(mb)});
}

OutsideFile::~OutsideFile() {
    Close();
}

void OutsideFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

FileResult OutsideFile::Open(const std::filesystem::path& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        return FileResult::Failure(FileStatus::kCannotRead, err, SystemErrorText(err));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return FileResult::Failure(FileStatus::kCannotRead, err, SystemErrorText(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return FileResult::Failure(FileStatus::kRefused, S_ISDIR(st.st_mode) ? EISDIR : 0,
                                   kNotRegularFileMessage);
    }
    // Reads of a regular file never block; the flag only mattered for the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    size_ = static_cast<uint64_t>(st.st_size);
    return {};
}

FileResult OutsideFile::ReadPrefix(std::string& out, std::size_t cap) {
    out.clear();
    if (fd_ < 0) return FileResult::Failure(FileStatus::kCannotRead, EBADF, SystemErrorText(EBADF));
    // The size is the file system's word, but the file may be growing or
    // shrinking: it only sizes the first block.
    out.reserve(static_cast<std::size_t>(std::min<uint64_t>(size_, cap)));
    char chunk[65536];
    while (out.size() < cap) {
        const ssize_t n = ::read(fd_, chunk, std::min(sizeof chunk, cap - out.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            out.clear();
            return FileResult::Failure(FileStatus::kCannotRead, err, SystemErrorText(err));
        }
        if (n == 0) break;
        out.append(chunk, static_cast<std::size_t>(n));
    }
    return {};
}

FileResult OutsideFile::ReadAll(std::string& out, std::size_t cap) {
    out.clear();
    // A file that says it is larger is refused unread; one that grows while
    // read is stopped at the cap.
    if (size_ > cap) return FileResult::Failure(FileStatus::kTooLarge, EFBIG, TooLargeToReadText(cap));
    FileResult r = ReadPrefix(out, cap < SIZE_MAX ? cap + 1 : cap);
    if (r.ok() && out.size() > cap) {
        out.clear();
        out.shrink_to_fit();
        return FileResult::Failure(FileStatus::kTooLarge, EFBIG, TooLargeToReadText(cap));
    }
    return r;
}

FileResult ReadOutsideFile(const std::filesystem::path& path, std::string& out, std::size_t cap) {
    out.clear();
    OutsideFile file;
    FileResult r = file.Open(path);
    return r.ok() ? file.ReadAll(out, cap) : r;
}

}  // namespace orb
