// Replacing a file without ever losing the previous one: the new content goes
// to a temporary file in the same folder, is flushed to disk and then renamed
// over the target in one step.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace orb {

// Destination of a serialised image. Write returns 0 or an errno value.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual int Write(const void* data, std::size_t n) = 0;
};

struct SaveResult {
    bool ok = false;
    int error = 0;        // errno of the first failure
    std::string message;  // Chinese text for the operator, empty on success
};

// Writes the whole content through `write` (which returns 0 or an errno
// value) into a temporary file next to `target`, fsyncs it, renames it over
// `target` and fsyncs the folder. On any failure the temporary file is
// removed, `target` is left exactly as it was and the result carries a
// message ("文件名不正确。" unless a more specific one applies). A symbolic
// link as target is followed, so the file it names is replaced.
SaveResult SaveFileReplacing(const std::filesystem::path& target, const std::function<int(ByteSink&)>& write);

// The operator's text for a failed save with errno `error`.
std::string SaveErrorMessage(int error);

}  // namespace orb
