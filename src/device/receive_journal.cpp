#include "device/receive_journal.h"

#include <zlib.h>

#include <chrono>

#include "core/outside_file.h"
#include "core/ui_text.h"

namespace orb {
namespace {

constexpr char kMagic[8] = {'O', 'R', 'B', '-', 'J', 'R', 'N', 'L'};
constexpr std::size_t kFixedHeader = 1 + 8 + 2 + 2 + 4;

uint32_t Crc32(std::span<const uint8_t> bytes) {
    return static_cast<uint32_t>(
        ::crc32(::crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

template <typename T>
void PutLE(std::vector<uint8_t>& out, T v) {
    auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void PutText(std::vector<uint8_t>& out, const std::string& s) {
    const std::size_t n = std::min<std::size_t>(s.size(), 255);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
}

// Reads from a span with bounds checks; any read past the end fails.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> b) : b_(b) {}
    template <typename T>
    std::optional<T> Get() {
        if (b_.size() - pos_ < sizeof(T)) return std::nullopt;
        std::make_unsigned_t<T> u = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<decltype(u)>(b_[pos_ + i]) << (8 * i);
        pos_ += sizeof(T);
        return static_cast<T>(u);
    }
    std::optional<std::span<const uint8_t>> Take(std::size_t n) {
        if (b_.size() - pos_ < n) return std::nullopt;
        auto s = b_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    std::optional<std::string> Text() {
        const auto n = Get<uint8_t>();
        if (!n) return std::nullopt;
        const auto s = Take(*n);
        if (!s) return std::nullopt;
        return std::string(s->begin(), s->end());
    }
    std::size_t pos() const { return pos_; }
    bool AtEnd() const { return pos_ == b_.size(); }

private:
    std::span<const uint8_t> b_;
    std::size_t pos_ = 0;
};

std::optional<JournalHeader> ParseHeader(std::span<const uint8_t> body) {
    Cursor c(body);
    JournalHeader h;
    const auto device = c.Get<uint8_t>();
    const auto start = c.Get<int64_t>();
    const auto delay = c.Get<int16_t>();
    const auto interval = c.Get<int16_t>();
    const auto work = c.Get<int32_t>();
    if (!work || (*device != 1 && *device != 2)) return std::nullopt;
    h.device = static_cast<JournalDevice>(*device);
    h.startTime = *start;
    h.delayMinutes = *delay;
    h.intervalSeconds = *interval;
    h.workIntervalSeconds = *work;
    auto version = c.Text();
    auto probe = c.Text();
    if (!probe) return std::nullopt;
    h.programVersion = std::move(*version);
    h.probeNumber = std::move(*probe);
    return h;
}

// The header; the cursor then stands at the first entry.
std::optional<JournalHeader> ReadHeader(Cursor& c) {
    const auto magic = c.Take(sizeof kMagic);
    if (!magic || !std::equal(magic->begin(), magic->end(), kMagic)) return std::nullopt;
    const auto version = c.Get<uint16_t>();
    if (!version || *version != kJournalVersion) return std::nullopt;
    const auto n = c.Get<uint32_t>();
    if (!n || *n < kFixedHeader || *n > 4096) return std::nullopt;
    const auto body = c.Take(*n);
    if (!body) return std::nullopt;  // a header cut short
    const auto crc = c.Get<uint32_t>();
    if (!crc || Crc32(*body) != *crc) return std::nullopt;
    return ParseHeader(*body);
}

}  // namespace

std::vector<uint8_t> EncodeJournalHeader(const JournalHeader& h) {
    std::vector<uint8_t> body;
    body.push_back(static_cast<uint8_t>(h.device));
    PutLE(body, h.startTime);
    PutLE(body, h.delayMinutes);
    PutLE(body, h.intervalSeconds);
    PutLE(body, h.workIntervalSeconds);
    PutText(body, h.programVersion);
    PutText(body, h.probeNumber);
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    PutLE(out, kJournalVersion);
    PutLE(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    PutLE(out, Crc32(body));
    return out;
}

std::vector<uint8_t> EncodeJournalEntry(std::span<const uint8_t> frame) {
    std::vector<uint8_t> out;
    out.reserve(frame.size() + 8);
    PutLE(out, static_cast<uint32_t>(frame.size()));
    out.insert(out.end(), frame.begin(), frame.end());
    PutLE(out, Crc32(frame));
    return out;
}

JournalContents ReadJournal(std::span<const uint8_t> bytes) {
    JournalContents r;
    Cursor c(bytes);
    const auto header = ReadHeader(c);
    if (!header) {
        r.damage = JournalDamage::kNotAJournal;
        return r;
    }
    r.header = *header;
    r.goodBytes = c.pos();
    while (!c.AtEnd()) {
        const auto n = c.Get<uint32_t>();
        if (!n) {
            r.damage = JournalDamage::kTruncated;
            break;
        }
        if (*n == 0 || *n > kMaxJournalFrame) {
            r.damage = JournalDamage::kBadLength;
            break;
        }
        const auto frame = c.Take(*n);
        const auto crc = frame ? c.Get<uint32_t>() : std::nullopt;
        if (!crc) {
            r.damage = JournalDamage::kTruncated;
            break;
        }
        if (Crc32(*frame) != *crc) {
            r.damage = JournalDamage::kBadCrc;
            break;
        }
        r.frames.emplace_back(frame->begin(), frame->end());
        r.goodBytes = c.pos();
    }
    return r;
}

JournalContents ReadJournalFile(const std::string& path, std::size_t cap) {
    OutsideFile file;
    std::string bytes;
    if (!file.Open(path).ok()) {
        JournalContents r;
        r.damage = JournalDamage::kNotAJournal;
        return r;
    }
    // Beyond the cap the journal reads as cut short: what fits is kept.
    const FileResult read = file.ReadPrefix(bytes, cap);
    if (!read.ok()) bytes.clear();
    return ReadJournal({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::string JournalDamageText(const JournalContents& c) {
    switch (c.damage) {
        case JournalDamage::kNone:
            return {};
        case JournalDamage::kNotAJournal:
            return ORB_TEXT("core", "文件不是接收日志或已损坏，无法恢复");
        case JournalDamage::kTruncated:
        case JournalDamage::kBadLength:
        case JournalDamage::kBadCrc:
            break;
    }
    return FillTemplate(ORB_TEXT("core", "接收日志在第%1帧处损坏，只恢复了此前的%2帧"),
                        {std::to_string(c.frames.size() + 1), std::to_string(c.frames.size())});
}

ReceiveJournal::ReceiveJournal() {
    // A power cut loses at most about one second, which the probe still holds.
    recorder_.SetSyncPeriod(std::chrono::milliseconds(1000));
}

bool ReceiveJournal::Create(const std::string& path, const JournalHeader& header) {
    return recorder_.Create(path) && recorder_.Append(EncodeJournalHeader(header));
}

bool ReceiveJournal::Append(std::span<const uint8_t> frame) {
    return recorder_.Append(EncodeJournalEntry(frame));
}

}  // namespace orb
