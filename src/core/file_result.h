// The one answer of the file and export code to "did it work": what happened,
// the system's errno when there is one, and the text the operator is shown.
#pragma once

#include <string>
#include <utility>

namespace orb {

enum class FileStatus {
    kOk,
    kCannotCreate,  // the file (or its temporary twin) could not be created
    kWriteFailed,   // writing, flushing or renaming failed; the target is unchanged
    kCannotRead,    // an existing file could not be read or is not what it should be
    kTooLarge,      // the content does not fit the format (or a file the cap); nothing written
    kRefused,       // not a regular file, or a link the system would not follow; untouched
    kFailed,        // any other failure
};

struct FileResult {
    FileStatus code = FileStatus::kOk;
    int error = 0;        // errno of the first failure, 0 when none applies
    std::string message;  // the operator's text (on success the confirmation, if any)
    std::string detail;   // why, when known, shown under the message

    bool ok() const { return code == FileStatus::kOk; }
    // message, and the detail on a second line when there is one.
    std::string Text() const { return detail.empty() ? message : message + "\n" + detail; }

    static FileResult Success(std::string message = {}) {
        return {FileStatus::kOk, 0, std::move(message), {}};
    }
    static FileResult Failure(FileStatus code, int error, std::string message, std::string detail = {}) {
        return {code, error, std::move(message), std::move(detail)};
    }
};

// The system's description of errno `error` ("No space left on device").
std::string SystemErrorText(int error);

}  // namespace orb
