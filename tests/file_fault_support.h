// Disks that fill up and folders that cannot be written, even by root: a
// forked child gets its own mount namespace with a small tmpfs (which it may
// remount read-only), or a limit on the size of the files it writes. The
// child runs the test body and reports through a pipe.
//
// And the atomic writer's system calls (core/file_calls.h) counted one by
// one: a run with the n-th call failing, for every n, and a child that kills
// itself after the n-th call; after each the target must be the old file or
// the complete new one, and no temporary file may remain.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/file_calls.h"
#include "core/file_result.h"

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
        int code = 0;
        try {  // the child never returns into the test program
            code = child(report);
        } catch (const std::exception& e) {
            report += std::string("threw ") + e.what();
            code = 99;
        } catch (...) {
            code = 99;
        }
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

// The child may map at most `extra` bytes beyond what it has mapped now
// (RLIMIT_AS), so an allocation sized from a declared count fails there. Not
// ran under AddressSanitizer, whose shadow needs the address space.
inline ChildResult WithMemoryLimit(std::size_t extra, const std::function<int(std::string&)>& body) {
    return detail::RunChild([&](std::string& report) {
#if defined(__SANITIZE_ADDRESS__)
        return detail::kNoFault;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        return detail::kNoFault;
#endif
#endif
        unsigned long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%lu", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        if (pages == 0) return detail::kNoFault;
        const rlim_t limit =
            static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + extra;
        const rlimit rl{limit, limit};
        if (::setrlimit(RLIMIT_AS, &rl) != 0) return detail::kNoFault;
        return body(report);
    });
}

// ------------------------------------------------ the writer's system calls

// The `failAt`-th call fails with `error` (a failing close still closes);
// the process kills itself right after the `killAfter`-th. 0: never.
struct CallPlan {
    int failAt = 0;
    int killAfter = 0;
    int error = EIO;
};

namespace detail {

inline CallPlan gPlan;
inline int gCalls = 0;

inline bool FailsNow() {
    return ++gCalls == gPlan.failAt;
}
template <class R>
R After(R r) {
    if (gCalls == gPlan.killAfter) ::raise(SIGKILL);
    return r;
}
inline int Failed() {
    errno = gPlan.error;
    return -1;
}

inline int Open(const char* p, int f, mode_t m) {
    return FailsNow() ? Failed() : After(SystemFileCalls().open(p, f, m));
}
inline ssize_t Write(int fd, const void* d, std::size_t n) {
    return FailsNow() ? Failed() : After(SystemFileCalls().write(fd, d, n));
}
inline int Fsync(int fd) {
    return FailsNow() ? Failed() : After(SystemFileCalls().fsync(fd));
}
inline int Rename(const char* a, const char* b) {
    return FailsNow() ? Failed() : After(SystemFileCalls().rename(a, b));
}
inline int Close(int fd) {
    const bool fails = FailsNow();
    const int r = After(SystemFileCalls().close(fd));
    return fails ? Failed() : r;
}
inline int Fchmod(int fd, mode_t m) {
    return FailsNow() ? Failed() : After(SystemFileCalls().fchmod(fd, m));
}
inline int Fchown(int fd, uid_t u, gid_t g) {
    return FailsNow() ? Failed() : After(SystemFileCalls().fchown(fd, u, g));
}

}  // namespace detail

// The counting calls, in place for the object's lifetime.
class InjectedFileCalls {
public:
    explicit InjectedFileCalls(CallPlan plan) {
        detail::gPlan = plan;
        detail::gCalls = 0;
        old_ = SwapFileCallsForTest({detail::Open, detail::Write, detail::Fsync, detail::Rename,
                                     detail::Close, detail::Fchmod, detail::Fchown});
    }
    ~InjectedFileCalls() { SwapFileCallsForTest(old_); }
    InjectedFileCalls(const InjectedFileCalls&) = delete;
    InjectedFileCalls& operator=(const InjectedFileCalls&) = delete;
    int calls() const { return detail::gCalls; }

private:
    FileCalls old_{};
};

// One save or export into `dir`/`name`, over `old` (none when absent).
struct WriteCase {
    std::string what;
    std::string name;
    std::optional<std::string> old;
    std::function<FileResult(const std::string& target)> run;
    // Whether two results are the same file; bytes unless given (a zip
    // package stamps the time of writing).
    std::function<bool(const std::string&, const std::string&)> same = nullptr;
};

struct FaultTally {
    int runs = 0;
    int failed = 0;     // failed with a message, the old file kept
    int succeeded = 0;  // the fault came after the rename (the folder's sync)
    int calls = 0;      // the calls of a clean run
    std::string problems;
};

namespace detail {

inline std::optional<std::string> Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Same(const WriteCase& c, const std::optional<std::string>& a,
                 const std::optional<std::string>& b) {
    if (!a || !b) return a.has_value() == b.has_value();
    return c.same ? c.same(*a, *b) : *a == *b;
}

inline void Prepare(const std::string& dir, const WriteCase& c) {
    for (const std::string& n : FolderEntries(dir)) std::remove((dir + "/" + n).c_str());
    if (c.old) std::ofstream(dir + "/" + c.name, std::ios::binary) << *c.old;
}

// "" when `dir` holds the old file or the complete new one and nothing else.
inline std::string Judge(const std::string& dir, const WriteCase& c, const std::optional<std::string>& fresh,
                         const std::string& step) {
    const auto now = Contents(dir + "/" + c.name);
    std::string bad;
    if (now != c.old && !Same(c, now, fresh)) bad += " the target is neither the old file nor the new one;";
    const std::vector<std::string> want = now ? std::vector<std::string>{c.name} : std::vector<std::string>{};
    if (FolderEntries(dir) != want) bad += " a temporary file remains;";
    return bad.empty() ? "" : c.what + ", " + step + ":" + bad + "\n";
}

}  // namespace detail

// Runs `c` with the n-th call failing for every n up to the calls of a
// clean run, and then with the process killed after the n-th call (in a
// forked child) followed by a clean run that must remove what the kill left.
inline FaultTally EveryCallFaulted(const std::string& dir, const WriteCase& c) {
    FaultTally t;
    const std::string target = dir + "/" + c.name;
    detail::Prepare(dir, c);
    {
        InjectedFileCalls count({});
        const FileResult r = c.run(target);
        t.calls = count.calls();
        if (!r.ok()) t.problems += c.what + ": the clean run failed: " + r.Text() + "\n";
    }
    const auto fresh = detail::Contents(target);
    for (int n = 1; n <= t.calls; ++n) {
        detail::Prepare(dir, c);
        FileResult r;
        {
            InjectedFileCalls fault({n, 0, EIO});
            r = c.run(target);
        }
        ++t.runs;
        if (r.ok()) {
            ++t.succeeded;
            if (!detail::Same(c, detail::Contents(target), fresh))
                t.problems += c.what + ": call " + std::to_string(n) +
                              " failed, the result says success but the file is not the new one\n";
        } else {
            ++t.failed;
            if (r.Text().empty())
                t.problems += c.what + ": call " + std::to_string(n) + " failed without a message\n";
            if (detail::Contents(target) != c.old)
                t.problems += c.what + ": call " + std::to_string(n) + " failed and the old file changed\n";
        }
        t.problems += detail::Judge(dir, c, fresh, "call " + std::to_string(n) + " failing");
    }
    for (int n = 1; n <= t.calls; ++n) {
        detail::Prepare(dir, c);
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            InjectedFileCalls kill({0, n});
            c.run(target);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ++t.runs;
        const std::string step = "killed after call " + std::to_string(n);
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL)
            t.problems += c.what + ", " + step + ": the child was not killed\n";
        const auto now = detail::Contents(target);
        if (now != c.old && !detail::Same(c, now, fresh))
            t.problems += c.what + ", " + step + ": the target is neither the old file nor the new one\n";
        // The next write into the folder removes the dead writer's temporary file.
        const FileResult again = c.run(target);
        if (!again.ok()) t.problems += c.what + ", " + step + ": the next run failed: " + again.Text() + "\n";
        t.problems += detail::Judge(dir, c, fresh, step + ", then run again");
    }
    return t;
}

// The "[fault]" line of a case.
inline std::string FaultLine(const WriteCase& c, const FaultTally& t) {
    return "[fault] " + c.what + ", each of its " + std::to_string(t.calls) +
           " writer calls failing, then killed after each: " + std::to_string(t.runs) + " runs, " +
           std::to_string(t.failed) + " failed with a message and the old file kept, " +
           std::to_string(t.succeeded) + " succeeded (the fault after the rename), " +
           (t.problems.empty() ? "old or new file every time, no temporary file left" : "PROBLEMS") + "\n";
}

}  // namespace orb::test
