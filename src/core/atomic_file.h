// Files replaced whole, never lost: the new content goes to a temporary file
// in the target's folder, is flushed to disk, renamed over the target in one
// step, and the folder is flushed too so the rename survives a power cut.
// Surveys, exports, the export layout file and pictures are all written so.
//
// A symbolic link as target is followed: the file it names is replaced and
// the link stays a link. An existing target's permissions are carried over; a
// new file gets the usual ones (0666 less the umask). On any failure the
// temporary file is removed and the target is left exactly as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/file_result.h"

namespace orb {

// Destination of a serialised image. Write returns 0 or an errno value.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual int Write(const void* data, std::size_t n) = 0;
};

// A temporary file beside `target` that becomes `target` on Commit() and
// disappears otherwise. Failures carry kCannotCreate or kWriteFailed, the
// errno and the system's description as message.
class AtomicFile {
public:
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The result of creating the temporary file (kOk or kCannotCreate).
    const FileResult& created() const { return created_; }
    // The temporary file; another writer (a library) may write it by name.
    const std::string& path() const { return tempPath_; }
    int fd() const { return fd_; }

    FileResult Write(std::string_view bytes);
    // Writes everything through `write` (buffered; large blocks go straight
    // to the file, so no second copy of a survey is held).
    FileResult Write(const std::function<int(ByteSink&)>& write);
    // Flushes the file (by name, whoever wrote it), gives it the target's
    // permissions, renames it over the target and flushes the folder.
    FileResult Commit();

private:
    std::filesystem::path target_;
    std::string tempPath_;
    int fd_ = -1;
    bool committed_ = false;
    FileResult created_;
};

// The whole of `bytes`, or whatever `write` produces, as `path`.
FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);
FileResult WriteFileAtomically(const std::filesystem::path& path, const std::function<int(ByteSink&)>& write);

// Creates `dir` and its missing parents (mode 0755 before the umask);
// kCannotCreate with the system's description otherwise.
FileResult MakeDirectories(const std::filesystem::path& dir);

}  // namespace orb
