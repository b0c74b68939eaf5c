// Disks that fill up and folders that cannot be written, even by root: a
// forked child gets its own mount namespace with a small tmpfs (which it may
// remount read-only), or a limit on the size of the files it writes. The
// child runs the test body and reports through a pipe.
#pragma once

#include <dirent.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace orb::test {

struct ChildResult {
    bool ran = false;  // false: the fault could not be set up here
    int status = -1;   // the body's return value (0 = every check passed)
    std::string report;
};

// The body gets a folder and a text to fill; it returns 0 when all its checks
// passed.
using FaultBody = std::function<int(const std::string& dir, std::string& report)>;

// Entries of `dir` (without . and ..), sorted.
inline std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace detail {

// Exit code of a child that could not set up its fault.
inline constexpr int kNoFault = 77;

inline ChildResult RunChild(const std::function<int(std::string&)>& child) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return {};
    if (pid == 0) {
        ::close(fds[0]);
        std::string report;
        const int code = child(report);
        std::size_t done = 0;
        while (done < report.size()) {
            const ssize_t w = ::write(fds[1], report.data() + done, report.size() - done);
            if (w <= 0) break;
            done += static_cast<std::size_t>(w);
        }
        ::_exit(code);
    }
    ::close(fds[1]);
    ChildResult r;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        r.report.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.ran = code != kNoFault;
    r.status = code;
    return r;
}

}  // namespace detail

// A folder on a tmpfs of `bytes` in a private mount namespace. Not ran when
// the system refuses the namespace or the mount (an unprivileged container).
inline ChildResult OnSmallDisk(std::size_t bytes, const FaultBody& body) {
    return detail::RunChild([&](std::string& report) {
        if (::unshare(CLONE_NEWNS) != 0) return detail::kNoFault;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return detail::kNoFault;
        char tmpl[] = "/tmp/orb-smalldisk-XXXXXX";
        if (!::mkdtemp(tmpl)) return detail::kNoFault;
        const std::string dir = tmpl;
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            ::rmdir(dir.c_str());
            return detail::kNoFault;
        }
        const int code = body(dir, report);
        ::umount2(dir.c_str(), MNT_DETACH);
        ::rmdir(dir.c_str());
        return code;
    });
}

// Inside OnSmallDisk: makes the folder read-only (root cannot write it either).
inline bool RemountReadOnly(const std::string& dir) {
    return ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

// `dir` is an existing folder; the child may write files of at most `limit`
// bytes (writes beyond fail with EFBIG; the signal is ignored).
inline ChildResult WithFileSizeLimit(const std::string& dir, std::size_t limit, const FaultBody& body) {
    return detail::RunChild([&](std::string& report) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0) return detail::kNoFault;
        return body(dir, report);
    });
}

}  // namespace orb::test
