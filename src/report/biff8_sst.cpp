#include "report/biff8_sst.h"

#include <algorithm>
#include <stdexcept>

#include "report/biff8_records.h"

namespace orb::biff {

namespace {

constexpr std::size_t kHeader = 8;  // total references, unique strings

// Reads across the SST's segments. Character data cut by a segment boundary
// goes on after a flags byte; every other field simply goes on.
class SegmentCursor {
public:
    explicit SegmentCursor(const std::vector<std::string>& segs) : segs_(segs) {}

    bool AtEnd() {
        Normalise();
        return seg_ >= segs_.size() || off_ >= segs_[seg_].size();
    }
    std::pair<uint32_t, uint32_t> Where() {
        Normalise();
        return {static_cast<uint32_t>(seg_), static_cast<uint32_t>(off_)};
    }
    void Seek(std::size_t off) { off_ = off; }
    uint8_t U8() {
        if (AtEnd()) throw std::runtime_error("the shared-string table is shorter than its strings");
        return static_cast<uint8_t>(segs_[seg_][off_++]);
    }
    uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
    uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
    void Skip(std::size_t n) {
        while (n > 0) {
            if (AtEnd()) throw std::runtime_error("the shared-string table is shorter than its strings");
            const std::size_t k = std::min(n, segs_[seg_].size() - off_);
            off_ += k;
            n -= k;
        }
    }
    void Chars(std::size_t count, bool wide, std::u16string* out) {
        for (std::size_t i = 0; i < count; ++i) {
            if (seg_ < segs_.size() && off_ >= segs_[seg_].size()) {
                Normalise();
                wide = (U8() & 1) != 0;
            }
            const char16_t c = wide ? U16() : U8();
            if (out) out->push_back(c);
        }
    }

private:
    void Normalise() {
        while (seg_ < segs_.size() && off_ >= segs_[seg_].size() && seg_ + 1 < segs_.size()) {
            ++seg_;
            off_ = 0;
        }
    }
    const std::vector<std::string>& segs_;
    std::size_t seg_ = 0;
    std::size_t off_ = 0;
};

bool FitsOneByte(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

void PutChars(std::string& seg, std::u16string_view s, bool compressed) {
    for (char16_t c : s) {
        seg.push_back(static_cast<char>(c & 0xFF));
        if (!compressed) seg.push_back(static_cast<char>(c >> 8));
    }
}

}  // namespace

SharedStrings::SharedStrings(const std::vector<std::string_view>& segments) {
    segments_.assign(segments.begin(), segments.end());
    if (segments_.empty()) segments_.emplace_back(kHeader, '\0');
    if (segments_[0].size() < kHeader) throw std::runtime_error("the shared-string table is damaged");
    references_ = Le32(segments_[0], 0);
    Parse();
}

void SharedStrings::Parse() {
    const uint32_t declared = Le32(segments_[0], 4);
    SegmentCursor c(segments_);
    c.Seek(kHeader);
    // The declared count is not trusted for any allocation: strings are
    // read while bytes remain.
    while (starts_.size() < declared && !c.AtEnd()) {
        const auto [seg, off] = c.Where();
        const std::size_t count = c.U16();
        const uint8_t flags = c.U8();
        const std::size_t runs = (flags & 0x08) ? c.U16() : 0;
        const std::size_t ext = (flags & 0x04) ? c.U32() : 0;
        const bool plain = runs == 0 && ext == 0;
        std::u16string text;
        c.Chars(count, (flags & 0x01) != 0, plain ? &text : nullptr);
        c.Skip(4 * runs);
        c.Skip(ext);
        if (plain) plain_.try_emplace(std::move(text), static_cast<uint32_t>(starts_.size()));
        starts_.push_back({seg, off});
    }
}

uint32_t SharedStrings::Index(std::u16string_view s) {
    s = s.substr(0, 0xFFFF);  // the length field has 16 bits
    const auto [it, added] = plain_.try_emplace(std::u16string(s), static_cast<uint32_t>(starts_.size()));
    if (added) Append(s);
    return it->second;
}

// A string's header and its first character never sit apart; characters that
// do not fit go on in a new CONTINUE record after a flags byte.
void SharedStrings::Append(std::u16string_view s) {
    const bool compressed = FitsOneByte(s);
    const std::size_t charSize = compressed ? 1 : 2;
    if (segments_.back().size() + 3 + (s.empty() ? 0 : charSize) > kMaxRecordData) segments_.emplace_back();
    starts_.push_back(
        {static_cast<uint32_t>(segments_.size() - 1), static_cast<uint32_t>(segments_.back().size())});
    std::string* seg = &segments_.back();
    seg->push_back(static_cast<char>(s.size() & 0xFF));
    seg->push_back(static_cast<char>(s.size() >> 8));
    seg->push_back(compressed ? 0 : 1);
    for (;;) {
        const std::size_t room = (kMaxRecordData - std::min(kMaxRecordData, seg->size())) / charSize;
        const std::size_t n = std::min(room, s.size());
        PutChars(*seg, s.substr(0, n), compressed);
        s.remove_prefix(n);
        if (s.empty()) break;
        seg = &segments_.emplace_back(1, compressed ? '\0' : '\1');
    }
}

std::string SharedStrings::Records(uint32_t streamPos) const {
    std::vector<uint32_t> recordStart;
    Out out;
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        recordStart.push_back(streamPos + static_cast<uint32_t>(out.buf.size()));
        std::string data = segments_[i];
        if (i == 0) {
            PutLe32(data, 0, static_cast<uint32_t>(std::clamp<int64_t>(references_, 0, UINT32_MAX)));
            PutLe32(data, 4, static_cast<uint32_t>(starts_.size()));
        }
        out.Raw(i == 0 ? kSst : kContinue, data);
    }
    // Every `perBucket`-th string's position, for fast lookup by readers.
    const std::size_t perBucket = std::max<std::size_t>(8, 1 + starts_.size() / 128);
    out.Begin(kExtSst);
    out.U16(static_cast<uint16_t>(perBucket));
    for (std::size_t i = 0; i < starts_.size(); i += perBucket) {
        const Position p = starts_[i];
        out.U32(recordStart[p.segment] + 4 + p.offset);
        out.U16(static_cast<uint16_t>(4 + p.offset));
        out.U16(0);
    }
    out.End();
    return std::move(out.buf);
}

}  // namespace orb::biff
