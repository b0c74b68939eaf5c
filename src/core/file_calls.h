// The system calls of the atomic file writer, as a table a test may swap to
// make the n-th call fail or the process stop after it. The program never
// changes the table; a call through it costs one indirect jump.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace orb {

struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, std::size_t n);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*close)(int fd);
    int (*fchmod)(int fd, mode_t mode);
    int (*fchown)(int fd, uid_t uid, gid_t gid);
};

// The system's own calls.
const FileCalls& SystemFileCalls();
// The table in use.
const FileCalls& Sys();
// Tests only: puts `calls` in place; returns the table it replaces.
FileCalls SwapFileCallsForTest(const FileCalls& calls);

}  // namespace orb
