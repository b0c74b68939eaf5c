// The shared-string table of a BIFF8 workbook as the patcher changes it: the
// existing records are kept byte for byte, new strings are appended after
// them, and the index record (EXTSST) is rebuilt for the new positions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orb::biff {

class SharedStrings {
public:
    // `segments`: the payloads of the SST record and of the CONTINUE records
    // that follow it; empty for a workbook without one. Throws
    // std::runtime_error when the table is damaged.
    explicit SharedStrings(const std::vector<std::string_view>& segments);

    // The index of `s`: an existing plain string with the same text, or a
    // new string appended to the table.
    uint32_t Index(std::u16string_view s);
    // Adjusts the count of cell references the header carries.
    void AddReferences(int64_t delta) { references_ += delta; }

    // The SST record with its CONTINUE records and the EXTSST record, for a
    // table whose first record starts at `streamPos` in the workbook stream.
    std::string Records(uint32_t streamPos) const;

private:
    struct Position {
        uint32_t segment;
        uint32_t offset;  // in the segment's payload
    };
    void Parse();
    void Append(std::u16string_view s);

    std::vector<std::string> segments_;
    std::vector<Position> starts_;
    std::unordered_map<std::u16string, uint32_t> plain_;
    int64_t references_ = 0;
};

}  // namespace orb::biff
