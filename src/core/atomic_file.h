// Files replaced whole, never lost: the new content goes to a temporary file
// in the target's folder, is flushed to disk, renamed over the target in one
// step, and the folder is flushed too so the rename survives a power cut.
// Surveys, exports, the export layout file and pictures are all written so.
//
// A symbolic link as target is followed where the system would follow it for
// this user (not a stranger's link in a sticky world-writable folder): the
// file it names is replaced and the link stays a link. A target that is no
// regular file (a folder, a device, a FIFO) is refused before anything is
// written. An existing target's owner, group and permissions are carried
// over as far as the user may change them; a new file gets the usual ones
// (0666 less the umask). On any failure the temporary file is removed and the
// target is left exactly as it was; the temporary file of a writer that was
// killed is removed by the next write into the same folder. The system calls
// go through core/file_calls.h, where the fault tests reach them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/file_result.h"
#include "core/ui_text.h"

namespace orb {

// kRefused: the existing target is a folder, device, FIFO or socket.
inline constexpr const char* kNotRegularTargetMessage =
    ORB_TEXT("core", "目标不是普通文件（可能是文件夹、设备或管道），没有写入。");
// kRefused: the target is another user's link in a shared (sticky,
// world-writable) folder.
inline constexpr const char* kUnsafeLinkMessage =
    ORB_TEXT("core", "目标是共享文件夹中其他用户建立的符号链接，为安全起见没有写入。");

// Destination of a serialised image. Write returns 0 or an errno value.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual int Write(const void* data, std::size_t n) = 0;
};

// A temporary file beside `target` that becomes `target` on Commit() and
// disappears otherwise. Failures carry kCannotCreate or kWriteFailed, the
// errno and the system's description as message, or kRefused with one of the
// messages above.
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

// Removes this user's temporary files of writers on this host whose process
// is gone from `folder`; the number removed. Every AtomicFile does it for
// its target's folder.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

// Creates `dir` and its missing parents (mode 0755 before the umask);
// kCannotCreate with the system's description otherwise.
FileResult MakeDirectories(const std::filesystem::path& dir);

}  // namespace orb
