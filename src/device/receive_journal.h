// The receive journal: every reply frame a transfer (a probe download or a
// synchronizer mark transfer) accepted, on disk the moment it is accepted,
// so that a crash, a kill or a power cut loses nothing the operator has not
// saved. It records frames, not records: replaying them through the device
// logic rebuilds the survey exactly.
//
// File layout (integers little-endian):
//   magic "ORB-JRNL", u16 version (1), u32 n, n header bytes, u32 CRC-32 of them
//   header: u8 device (1 probe, 2 synchronizer), i64 start time (seconds
//           since 1970, UTC), i16 sampling delay (minutes), i16 sampling
//           interval (seconds), i32 work interval (seconds), u8 n + program
//           version, u8 n + probe number; later versions may append fields
//   then per accepted frame: u32 length, the frame's bytes, u32 CRC-32 (zlib)
// A reader keeps every entry before the first one whose length or CRC is
// wrong or that ends early, and says where the damage began.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/frame_recorder.h"

namespace orb {

inline constexpr uint16_t kJournalVersion = 1;
// No reply frame comes near this; a longer length is damage.
inline constexpr uint32_t kMaxJournalFrame = 4096;

// Some 11 million samples; a download of a million takes 46 MB.
inline constexpr std::size_t kMaxJournalFileBytes = std::size_t{512} << 20;

enum class JournalDevice : uint8_t { kProbe = 1, kSynchronizer = 2 };

struct JournalHeader {
    JournalDevice device = JournalDevice::kProbe;
    int64_t startTime = 0;
    int16_t delayMinutes = 0;
    int16_t intervalSeconds = 0;
    int32_t workIntervalSeconds = 0;
    std::string programVersion;
    std::string probeNumber;
};

enum class JournalDamage {
    kNone,
    kNotAJournal,  // magic, version or header wrong: nothing can be used
    kTruncated,    // the file ends inside an entry
    kBadLength,    // an entry's length is 0 or beyond kMaxJournalFrame
    kBadCrc,       // an entry's bytes do not match its CRC
};

struct JournalContents {
    JournalHeader header;
    std::vector<std::vector<uint8_t>> frames;  // the good entries, in order
    JournalDamage damage = JournalDamage::kNone;
    std::size_t goodBytes = 0;  // file offset after the last good entry
};

std::vector<uint8_t> EncodeJournalHeader(const JournalHeader& h);
std::vector<uint8_t> EncodeJournalEntry(std::span<const uint8_t> frame);
JournalContents ReadJournal(std::span<const uint8_t> bytes);
// A file that cannot be read, or is no regular file (a FIFO is never waited
// for), counts as kNotAJournal; one beyond kMaxJournalFileBytes is read up
// to there (or `cap`) and ends as kTruncated.
JournalContents ReadJournalFile(const std::string& path, std::size_t cap = kMaxJournalFileBytes);

// The operator's text for a damaged journal; empty when it is whole.
std::string JournalDamageText(const JournalContents& c);

// Writes one journal file.
class ReceiveJournal {
public:
    ReceiveJournal();
    bool Create(const std::string& path, const JournalHeader& header);
    bool Append(std::span<const uint8_t> frame);
    void Close() { recorder_.Close(); }
    bool IsOpen() const { return recorder_.IsOpen(); }
    bool failed() const { return recorder_.failed(); }
    const std::string& path() const { return recorder_.path(); }
    FrameRecorder& recorder() { return recorder_; }

private:
    FrameRecorder recorder_;
};

}  // namespace orb
