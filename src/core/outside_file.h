// Files that come from outside the program (surveys, existing workbooks, the
// export layout, receive journals, simulator scenarios) are read only when
// they are regular files. The open never blocks (a FIFO without a writer, a
// terminal) and never makes a terminal the controlling one; fstat on the
// open descriptor decides before a byte is read, so a name swapped between a
// check and the open changes nothing; and a whole-file read stops at a cap,
// so a link to /dev/zero or a sparse giant costs nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/file_result.h"
#include "core/ui_text.h"

namespace orb {

// kRefused: a folder, device, FIFO or socket.
inline constexpr const char* kNotRegularFileMessage =
    ORB_TEXT("core", "不是普通文件（可能是文件夹、设备或管道），没有读取。");

// The operator's text for a file beyond `cap` bytes.
std::string TooLargeToReadText(std::size_t cap);

// A regular file open for reading.
class OutsideFile {
public:
    OutsideFile() = default;
    ~OutsideFile();
    OutsideFile(const OutsideFile&) = delete;
    OutsideFile& operator=(const OutsideFile&) = delete;

    // kOk; kCannotRead with errno and the system's description when the open
    // fails; kRefused (kNotRegularFileMessage) for anything not regular.
    FileResult Open(const std::filesystem::path& path);
    int fd() const { return fd_; }
    // The size fstat gave at the open.
    uint64_t size() const { return size_; }
    // The rest of the file, at most `cap` bytes: kTooLarge beyond, kCannotRead
    // on a read error. Memory grows with what arrives, whatever the size said.
    FileResult ReadAll(std::string& out, std::size_t cap);
    // The next `cap` bytes at most, or fewer at the end; beyond is left unread.
    FileResult ReadPrefix(std::string& out, std::size_t cap);
    void Close();

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Opens `path` as an OutsideFile and reads it whole (at most `cap` bytes).
FileResult ReadOutsideFile(const std::filesystem::path& path, std::string& out, std::size_t cap);

}  // namespace orb
