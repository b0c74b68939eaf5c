// Files replaced whole: the new content goes to a temporary file beside the
// target and is renamed over it only when complete, so a failed write never
// leaves a truncated file behind.
#pragma once

#include <string>
#include <string_view>

namespace orb {

enum class FileWriteStatus {
    Ok,
    CannotCreate,  // the temporary file could not be created beside the target
    WriteFailed,   // writing, flushing or renaming failed; the target is unchanged
};

struct FileWriteResult {
    FileWriteStatus status = FileWriteStatus::Ok;
    std::string error;  // the system's description of the failure
    bool ok() const { return status == FileWriteStatus::Ok; }
};

// A temporary file in the folder of `target` that becomes `target` on
// Commit() and disappears otherwise.
class TempFileBeside {
public:
    explicit TempFileBeside(const std::string& target);
    ~TempFileBeside();
    TempFileBeside(const TempFileBeside&) = delete;
    TempFileBeside& operator=(const TempFileBeside&) = delete;

    // Status of the creation (CannotCreate with the reason, or Ok).
    const FileWriteResult& created() const { return created_; }
    const std::string& path() const { return tempPath_; }
    int fd() const { return fd_; }

    FileWriteResult Write(std::string_view bytes);
    // Flushes the file to disk, gives it the target's permissions (or the
    // usual ones for a new file) and renames it over the target.
    FileWriteResult Commit();

private:
    std::string target_;
    std::string tempPath_;
    int fd_ = -1;
    bool committed_ = false;
    FileWriteResult created_;
};

// Writes `bytes` to `path` through a TempFileBeside.
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// Creates `dir` and its missing parents (mode 0755 before the umask).
bool MakeDirectories(const std::string& dir, std::string* error);

}  // namespace orb
