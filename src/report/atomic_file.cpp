#include "report/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace orb {

namespace {

std::string ErrnoText(int err) {
    return std::generic_category().message(err);
}

// The file that is really replaced: a symbolic link is followed, so the link
// stays a link.
std::string ResolveTarget(const std::string& target) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(target, ec)) return target;
    const auto real = std::filesystem::weakly_canonical(target, ec);
    return ec ? target : real.string();
}

std::string TempTemplate(const std::string& target) {
    const std::filesystem::path p(target);
    std::filesystem::path dir = p.parent_path();
    const std::string name = "." + p.filename().string() + ".XXXXXX";
    return dir.empty() ? name : (dir / name).string();
}

mode_t ModeForNewFile(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

FileWriteResult Failure(FileWriteStatus status, int err) {
    return {status, ErrnoText(err)};
}

}  // namespace

TempFileBeside::TempFileBeside(const std::string& target) : target_(ResolveTarget(target)) {
    std::string tmpl = TempTemplate(target_);
    fd_ = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd_ < 0) {
        created_ = Failure(FileWriteStatus::CannotCreate, errno);
        return;
    }
    tempPath_ = tmpl;
}

TempFileBeside::~TempFileBeside() {
    if (fd_ >= 0) ::close(fd_);
    if (!tempPath_.empty() && !committed_) ::unlink(tempPath_.c_str());
}

FileWriteResult TempFileBeside::Write(std::string_view bytes) {
    if (fd_ < 0) return created_;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return Failure(FileWriteStatus::WriteFailed, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

FileWriteResult TempFileBeside::Commit() {
    if (fd_ < 0) return created_;
    // Another writer (a library given the temporary name) may have replaced
    // the content through its own descriptor: flush by name.
    const int fd = ::open(tempPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure(FileWriteStatus::WriteFailed, errno);
    int err = 0;
    if (::fchmod(fd, ModeForNewFile(target_)) != 0) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    ::close(fd);
    if (err != 0) return Failure(FileWriteStatus::WriteFailed, err);
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0)
        return Failure(FileWriteStatus::WriteFailed, errno);
    committed_ = true;
    return {};
}

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    TempFileBeside tmp(path);
    if (!tmp.created().ok()) return tmp.created();
    FileWriteResult r = tmp.Write(bytes);
    if (!r.ok()) return r;
    return tmp.Commit();
}

bool MakeDirectories(const std::string& dir, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec && error) *error = ec.message();
    return !ec;
}

}  // namespace orb
