// Where receive journals live and how they are named, locked and retired.
//
// A journal is pending while it is in the folder itself: its transfer's data
// was never saved. A process holds the lock of every journal it writes or
// recovers (an flock on "<journal>.lock", released by the kernel when the
// process dies), so a second Orb never offers or takes a journal in use.
// Retiring moves a journal into the "recovery" subfolder, where the newest
// kRetiredKept stay: nothing is deleted behind the operator's back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/receive_journal.h"

namespace orb {

inline constexpr std::size_t kRetiredKept = 20;
inline constexpr const char* kJournalExtension = ".orbj";

// The window's application data folder (the organisation and application
// names of its settings) plus "/journal", under $XDG_DATA_HOME or
// ~/.local/share; orb-cli uses the same folder.
std::string DefaultJournalFolder();

// "<start YYYYmmdd-HHMMSS.mmm>-<probe|sync>-<probe number>.orbj", local
// time; characters outside [A-Za-z0-9_-] in the probe number become '_'.
std::string JournalFileName(JournalDevice device, const std::string& probeNumber, int64_t startTime,
                            int millisecond);

// The lock of one journal, held while this object lives.
class JournalLock {
public:
    JournalLock() = default;
    ~JournalLock() { Release(); }
    JournalLock(JournalLock&& o) noexcept : fd_(o.fd_), path_(std::move(o.path_)) { o.fd_ = -1; }
    JournalLock& operator=(JournalLock&& o) noexcept;
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

    // False when another process (or another lock here) holds it.
    bool Acquire(const std::string& journalPath);
    // Drops the lock and removes the lock file.
    void Release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string path_;
};

// True while some process holds the journal's lock.
bool JournalInUse(const std::string& journalPath);

class JournalFolder {
public:
    explicit JournalFolder(std::string dir) : dir_(std::move(dir)) {}
    const std::string& dir() const { return dir_; }
    std::string RecoveryDir() const { return dir_ + "/recovery"; }

    // Creates the folder when needed; a free path for a new journal, or
    // nothing when the folder cannot be made.
    std::optional<std::string> NewJournalPath(JournalDevice device, const std::string& probeNumber,
                                              int64_t startTime) const;
    // Every journal in the folder itself, oldest first (in use or not).
    std::vector<std::string> Journals() const;
    // Journals() without those in use.
    std::vector<std::string> Pending() const;
    // Retired journals, oldest first.
    std::vector<std::string> Retired() const;
    // Moves a journal into the recovery folder, keeping the newest
    // kRetiredKept there; false when it could not be moved.
    bool Retire(const std::string& journalPath) const;

private:
    std::string dir_;
};

}  // namespace orb
