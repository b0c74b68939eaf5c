// Record numbers and the little-endian record buffer shared by the BIFF8
// writer and reader.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orb::biff {

enum Record : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilePass = 0x002F,
    kDate1904 = 0x0022,
    kFont = 0x0031,
    kWindow1 = 0x003D,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kDefColWidth = 0x0055,
    kColInfo = 0x007D,
    kBoundSheet = 0x0085,
    kPalette = 0x0092,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kMergeCells = 0x00E5,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kExtSst = 0x00FF,
    kBlank = 0x0201,
    kDimensions = 0x0200,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kWindow2 = 0x023E,
    kRk = 0x027E,
    kStyle = 0x0293,
    kFormat = 0x041E,
    kBof = 0x0809,
    kRow = 0x0208,
    kDbCell = 0x00D7,
    kIndex = 0x020B,
    kShrFmla = 0x04BC,
    kArray = 0x0221,
    kTable = 0x0236,
    kSupBook = 0x01AE,
};

inline constexpr std::size_t kMaxRecordData = 8224;

inline uint16_t Le16(std::string_view d, std::size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) | static_cast<unsigned char>(d[at + 1])
                                                                         << 8);
}
inline uint32_t Le32(std::string_view d, std::size_t at) {
    return Le16(d, at) | static_cast<uint32_t>(Le16(d, at + 2)) << 16;
}
inline void PutLe16(std::string& d, std::size_t at, uint16_t v) {
    d[at] = static_cast<char>(v & 0xFF);
    d[at + 1] = static_cast<char>(v >> 8);
}
inline void PutLe32(std::string& d, std::size_t at, uint32_t v) {
    PutLe16(d, at, static_cast<uint16_t>(v & 0xFFFF));
    PutLe16(d, at + 2, static_cast<uint16_t>(v >> 16));
}

// Appends records to a stream; a record's length is filled in by End().
class Out {
public:
    std::string buf;

    void Begin(uint16_t type) {
        start_ = buf.size();
        U16(type);
        U16(0);
    }
    void End() {
        const auto len = static_cast<uint16_t>(buf.size() - start_ - 4);
        buf[start_ + 2] = static_cast<char>(len & 0xFF);
        buf[start_ + 3] = static_cast<char>(len >> 8);
    }
    std::size_t DataSize() const { return buf.size() - start_ - 4; }
    std::size_t RecordStart() const { return start_; }
    void Raw(uint16_t type, std::string_view data) {
        Begin(type);
        buf.append(data);
        End();
    }

    void U8(uint8_t v) { buf.push_back(static_cast<char>(v)); }
    void U16(uint16_t v) {
        const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
        buf.append(b, 2);
    }
    void U32(uint32_t v) {
        char b[4];
        for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        buf.append(b, 4);
    }
    void F64(double v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        char b[8];
        for (int i = 0; i < 8; ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
        buf.append(b, 8);
    }

private:
    std::size_t start_ = 0;
};

}  // namespace orb::biff
