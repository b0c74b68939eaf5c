#include "report/biff8_patcher.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "report/biff8_records.h"
#include "report/biff8_sst.h"

namespace orb {

namespace {

using biff::Le16;
using biff::Le32;
using biff::Out;
using biff::PutLe16;
using biff::PutLe32;

struct Damaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Rec {
    uint16_t type = 0;
    std::string_view data;   // payload
    std::string_view bytes;  // header and payload
};

std::vector<Rec> SplitRecords(std::string_view s, std::string_view* tail) {
    std::vector<Rec> recs;
    std::size_t pos = 0;
    while (pos + 4 <= s.size()) {
        const std::size_t len = Le16(s, pos + 2);
        if (pos + 4 + len > s.size()) throw Damaged("a record runs past the end of the workbook stream");
        recs.push_back({Le16(s, pos), s.substr(pos + 4, len), s.substr(pos, 4 + len)});
        pos += 4 + len;
    }
    if (tail) *tail = s.substr(pos);
    return recs;
}

std::size_t SubstreamEnd(const std::vector<Rec>& recs, std::size_t bof) {
    int depth = 0;
    for (std::size_t i = bof; i < recs.size(); ++i) {
        if (recs[i].type == biff::kBof) ++depth;
        if (recs[i].type == biff::kEof && --depth == 0) return i;
    }
    throw Damaged("a substream of the workbook has no end record");
}

bool IsCell(uint16_t t) {
    switch (t) {
        case biff::kNumber:
        case biff::kRk:
        case biff::kLabelSst:
        case biff::kLabel:
        case biff::kRString:
        case biff::kBlank:
        case biff::kBoolErr:
        case biff::kFormula:
        case biff::kMulRk:
        case biff::kMulBlank:
            return true;
        default:
            return false;
    }
}

// Records that belong to the cell before them.
bool IsFollower(uint16_t t) {
    return t == biff::kString || t == biff::kShrFmla || t == biff::kArray || t == biff::kTable ||
           t == biff::kContinue;
}

bool IsCellTable(uint16_t t) {
    return IsCell(t) || t == biff::kRow || t == biff::kDbCell;
}

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

struct SheetRef {
    std::size_t rec = 0;  // its BOUNDSHEET record
    uint32_t offset = 0;
    uint8_t kind = 0;  // 0 worksheet
    std::u16string name;
    std::size_t bof = 0, eof = 0;
    std::size_t patchAt = 0;  // where its new offset goes in the output
};

std::u16string BoundSheetName(std::string_view d) {
    const std::size_t count = static_cast<uint8_t>(d[6]);
    const bool wide = (static_cast<uint8_t>(d[7]) & 1) != 0;
    std::u16string name;
    for (std::size_t i = 0, at = 8; i < count && at + (wide ? 1 : 0) < d.size(); ++i, at += wide ? 2 : 1)
        name.push_back(wide ? Le16(d, at) : static_cast<uint8_t>(d[at]));
    return name;
}

constexpr std::u16string_view kSheetName = u"Sheet1";
constexpr std::size_t kRowData = 16;

std::string Record(uint16_t type, std::string_view data) {
    Out o;
    o.Raw(type, data);
    return std::move(o.buf);
}

std::string CellRecord(uint16_t type, uint32_t row, uint32_t col, uint16_t xf, std::string_view rest) {
    std::string d(6, '\0');
    PutLe16(d, 0, static_cast<uint16_t>(row));
    PutLe16(d, 2, static_cast<uint16_t>(col));
    PutLe16(d, 4, xf);
    d.append(rest);
    return Record(type, d);
}

// The cell table of the patched sheet: ROW records and cell records (each
// with the records that belong to it), keyed by position.
struct CellTable {
    struct Unit {
        std::string bytes;
        uint16_t lastCol = 0;
    };
    std::map<uint64_t, Unit> cells;        // key row << 16 | first column
    std::map<uint32_t, std::string> rows;  // ROW payloads
    std::unordered_map<uint64_t, uint16_t> replacedXf;
    int64_t replacedStrings = 0;

    static uint64_t Key(uint32_t row, uint32_t col) { return uint64_t{row} << 16 | col; }
};

class Patcher {
public:
    Patcher(std::string_view stream, const XlsRows& rows) : block_(rows) {
        recs_ = SplitRecords(stream, &tail_);
        width_ = block_.empty() ? 0 : static_cast<uint32_t>(block_[0].size());
    }

    std::string Run() {
        ReadGlobals();
        ReadSheets();
        sst_.emplace(SstSegments());
        WriteGlobals();
        WriteSubstreams();
        out_.buf.append(tail_);
        for (const SheetRef& s : sheets_) PutLe32(out_.buf, s.patchAt, s.offset);
        if (out_.buf.size() < 4096) out_.buf.resize(4096, '\0');
        return std::move(out_.buf);
    }

private:
    bool InBlock(uint32_t row, uint32_t col) const { return row < block_.size() && col < width_; }

    void ReadGlobals() {
        if (recs_.empty() || recs_[0].type != biff::kBof || recs_[0].data.size() < 4 ||
            Le16(recs_[0].data, 0) != 0x0600 || Le16(recs_[0].data, 2) != 0x0005)
            throw Damaged("not an Excel 97-2003 (BIFF8) workbook");
        globalsEnd_ = SubstreamEnd(recs_, 0);
        for (std::size_t i = 1; i < globalsEnd_; ++i) {
            const Rec& r = recs_[i];
            if (r.type == biff::kFilePass) throw Damaged("the workbook is encrypted");
            if (r.type == biff::kXf) ++xfCount_;
            if (r.type == biff::kSst && sstRec_ == 0) sstRec_ = i;
            if (r.type != biff::kBoundSheet) continue;
            if (r.data.size() < 8) throw Damaged("a sheet entry of the workbook is damaged");
            SheetRef s;
            s.rec = i;
            s.offset = Le32(r.data, 0);
            s.kind = static_cast<uint8_t>(r.data[5]);
            s.name = BoundSheetName(r.data);
            lastBoundSheet_ = i;
            sheets_.push_back(std::move(s));
        }
        if (lastBoundSheet_ == 0) throw Damaged("the workbook has no sheets");
    }

    void ReadSheets() {
        std::vector<std::size_t> recPos;
        recPos.reserve(recs_.size());
        for (std::size_t i = 0, pos = 0; i < recs_.size(); pos += recs_[i].bytes.size(), ++i)
            recPos.push_back(pos);
        std::vector<std::pair<std::size_t, std::size_t>> spans;
        for (std::size_t k = 0; k < sheets_.size(); ++k) {
            SheetRef& s = sheets_[k];
            const auto it = std::lower_bound(recPos.begin(), recPos.end(), std::size_t{s.offset});
            const std::size_t at = static_cast<std::size_t>(it - recPos.begin());
            if (it == recPos.end() || *it != s.offset || at <= globalsEnd_ || recs_[at].type != biff::kBof)
                throw Damaged("a sheet offset of the workbook points to no sheet");
            s.bof = at;
            s.eof = SubstreamEnd(recs_, s.bof);
            spans.emplace_back(s.bof, s.eof);
            if (target_ < 0 && SameSheetName(s.name, kSheetName)) {
                if (s.kind != 0) throw Damaged("the sheet Sheet1 of the workbook is no worksheet");
                target_ = static_cast<int>(k);
            }
        }
        std::sort(spans.begin(), spans.end());
        for (std::size_t k = 1; k < spans.size(); ++k)
            if (spans[k].first <= spans[k - 1].second) throw Damaged("two sheets of the workbook overlap");
    }

    std::vector<std::string_view> SstSegments() const {
        std::vector<std::string_view> segs;
        if (sstRec_ == 0) return segs;
        segs.push_back(recs_[sstRec_].data);
        for (std::size_t i = sstRec_ + 1; i < globalsEnd_ && recs_[i].type == biff::kContinue; ++i)
            segs.push_back(recs_[i].data);
        return segs;
    }

    // --- globals

    void WriteGlobals() {
        // The new cells come first: their strings go into the table.
        PrepareTargetCells();
        for (std::size_t i = 0; i <= globalsEnd_; ++i) {
            const Rec& r = recs_[i];
            if (i == sstRec_ && sstRec_ != 0) {
                out_.buf.append(sst_->Records(static_cast<uint32_t>(out_.buf.size())));
                while (i + 1 < globalsEnd_ && recs_[i + 1].type == biff::kContinue) ++i;
                continue;
            }
            if (r.type == biff::kExtSst) continue;  // rebuilt with the table
            if (i == globalsEnd_ && sstRec_ == 0)
                out_.buf.append(sst_->Records(static_cast<uint32_t>(out_.buf.size())));
            if (r.type == biff::kSupBook && target_ < 0 && r.data.size() == 4 && Le16(r.data, 2) == 0x0401) {
                // The workbook's own sheet count, as references to its sheets see it.
                std::string d(r.data);
                PutLe16(d, 0, static_cast<uint16_t>(Le16(d, 0) + 1));
                out_.Raw(r.type, d);
                continue;
            }
            if (r.type == biff::kBoundSheet) NoteSheetOffset(i);
            out_.buf.append(r.bytes);
            if (i == lastBoundSheet_ && target_ < 0) AddSheetEntry();
        }
    }

    void NoteSheetOffset(std::size_t rec) {
        for (SheetRef& s : sheets_)
            if (s.rec == rec) s.patchAt = out_.buf.size() + 4;
    }

    void AddSheetEntry() {
        SheetRef s;
        s.rec = SIZE_MAX;
        s.name = std::u16string(kSheetName);
        s.patchAt = out_.buf.size() + 4;
        std::string d(8, '\0');
        d[6] = static_cast<char>(kSheetName.size());
        for (char16_t c : kSheetName) d.push_back(static_cast<char>(c));
        out_.Raw(biff::kBoundSheet, d);
        sheets_.push_back(std::move(s));
        target_ = static_cast<int>(sheets_.size() - 1);
        newSheet_ = true;
    }

    // --- sheets

    void WriteSubstreams() {
        std::unordered_map<std::size_t, SheetRef*> byBof;
        for (SheetRef& s : sheets_)
            if (s.rec != SIZE_MAX) byBof[s.bof] = &s;
        for (std::size_t i = globalsEnd_ + 1; i < recs_.size(); ++i) {
            const auto it = byBof.find(i);
            if (it == byBof.end()) {
                out_.buf.append(recs_[i].bytes);
                continue;
            }
            SheetRef& s = *it->second;
            const std::size_t start = out_.buf.size();
            const std::vector<Rec> sub(recs_.begin() + static_cast<long>(s.bof),
                                       recs_.begin() + static_cast<long>(s.eof) + 1);
            if (&s == &sheets_[static_cast<std::size_t>(target_)])
                WriteTarget(sub);
            else
                CopyMoved(sub, static_cast<int64_t>(start) - static_cast<int64_t>(s.offset));
            s.offset = static_cast<uint32_t>(start);
            i = s.eof;
        }
        if (newSheet_) {
            sheets_.back().offset = static_cast<uint32_t>(out_.buf.size());
            WriteTarget(SplitRecords(newSheetStream_, nullptr));
        }
    }

    // A sheet copied as it is, but for the stream positions in its INDEX.
    void CopyMoved(const std::vector<Rec>& sub, int64_t delta) {
        for (const Rec& r : sub) {
            if (r.type != biff::kIndex || delta == 0 || r.data.size() < 16) {
                out_.buf.append(r.bytes);
                continue;
            }
            std::string d(r.data);
            for (std::size_t at = 12; at + 4 <= d.size(); at += 4) {
                if (at == 12 && Le32(d, at) == 0) continue;  // no DEFCOLWIDTH position
                PutLe32(d, at, static_cast<uint32_t>(Le32(d, at) + delta));
            }
            out_.Raw(r.type, d);
        }
    }

    // --- the target sheet's cells

    const std::vector<Rec>& TargetRecords() {
        if (!newSheet_ && target_ >= 0) {
            const SheetRef& s = sheets_[static_cast<std::size_t>(target_)];
            targetRecs_.assign(recs_.begin() + static_cast<long>(s.bof),
                               recs_.begin() + static_cast<long>(s.eof) + 1);
        } else {
            newSheetStream_ = NewSheetStream();
            targetRecs_ = SplitRecords(newSheetStream_, nullptr);
        }
        return targetRecs_;
    }

    std::string NewSheetStream() const {
        Out o;
        const std::string bof = std::string("\x00\x06\x10\x00\xBB\x0D\xCC\x07", 8) +
                                std::string("\x00\x00\x00\x00\x06\x00\x00\x00", 8);
        o.Raw(biff::kBof, bof);
        o.Raw(biff::kDimensions, std::string(14, '\0'));
        o.Raw(biff::kWindow2,
              std::string("\xB6\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 18));
        o.Raw(biff::kEof, {});
        return std::move(o.buf);
    }

    void PrepareTargetCells() {
        newSheet_ = target_ < 0;
        const std::vector<Rec>& sub = TargetRecords();
        int depth = 0;
        for (std::size_t i = 0; i < sub.size(); ++i) {
            const Rec& r = sub[i];
            if (r.type == biff::kBof) ++depth;
            if (r.type == biff::kEof) --depth;
            if (depth != 1 || !IsCellTable(r.type)) continue;
            if (r.type == biff::kRow) {
                if (r.data.size() >= 2) table_.rows[Le16(r.data, 0)] = std::string(r.data);
                continue;
            }
            if (r.type == biff::kDbCell) continue;
            std::string bytes(r.bytes);
            while (i + 1 < sub.size() && IsFollower(sub[i + 1].type)) bytes.append(sub[++i].bytes);
            TakeCell(r, std::move(bytes));
        }
        PutNewCells();
    }

    void TakeCell(const Rec& r, std::string bytes) {
        if (r.data.size() < 6) throw Damaged("a cell record of Sheet1 is damaged");
        const uint32_t row = Le16(r.data, 0);
        const uint32_t col = Le16(r.data, 2);
        if (r.type == biff::kMulRk || r.type == biff::kMulBlank)
            return TakeMulti(r, row, col, std::move(bytes));
        if (!InBlock(row, col)) {
            table_.cells[CellTable::Key(row, col)] = {std::move(bytes), static_cast<uint16_t>(col)};
            return;
        }
        table_.replacedXf[CellTable::Key(row, col)] = Le16(r.data, 4);
        if (r.type == biff::kLabelSst) ++table_.replacedStrings;
    }

    // MULRK and MULBLANK records stay whole unless they reach into the block;
    // then their cells outside it become single RK and BLANK records.
    void TakeMulti(const Rec& r, uint32_t row, uint32_t first, std::string bytes) {
        const bool rk = r.type == biff::kMulRk;
        const std::size_t each = rk ? 6 : 2;
        const std::size_t n = (r.data.size() - 6) / each;
        const uint32_t last = first + static_cast<uint32_t>(n) - 1;
        if (n == 0) return;
        if (!(row < block_.size() && first < width_)) {
            table_.cells[CellTable::Key(row, first)] = {std::move(bytes), static_cast<uint16_t>(last)};
            return;
        }
        for (std::size_t k = 0; k < n; ++k) {
            const uint32_t col = first + static_cast<uint32_t>(k);
            const std::size_t at = 4 + k * each;
            const uint16_t xf = Le16(r.data, at);
            if (InBlock(row, col)) {
                table_.replacedXf[CellTable::Key(row, col)] = xf;
                continue;
            }
            const std::string one = rk ? CellRecord(biff::kRk, row, col, xf, r.data.substr(at + 2, 4))
                                       : CellRecord(biff::kBlank, row, col, xf, {});
            table_.cells[CellTable::Key(row, col)] = {one, static_cast<uint16_t>(col)};
        }
    }

    uint16_t XfFor(uint32_t row, uint32_t col, bool* existed) const {
        const auto it = table_.replacedXf.find(CellTable::Key(row, col));
        *existed = it != table_.replacedXf.end();
        if (*existed) return it->second;
        return xfCount_ > kDefaultCellXf ? kDefaultCellXf : 0;
    }

    void PutNewCells() {
        int64_t added = 0;
        for (uint32_t row = 0; row < block_.size(); ++row) {
            for (uint32_t col = 0; col < width_ && col < block_[row].size(); ++col) {
                bool existed = false;
                const uint16_t xf = XfFor(row, col, &existed);
                std::optional<std::string> rec = NewCell(block_[row][col], row, col, xf, existed, added);
                if (rec)
                    table_.cells[CellTable::Key(row, col)] = {std::move(*rec), static_cast<uint16_t>(col)};
            }
            if (!table_.rows.count(row)) table_.rows[row] = DefaultRow(row);
        }
        sst_->AddReferences(added - table_.replacedStrings);
    }

    std::optional<std::string> NewCell(const XlsCell& cell, uint32_t row, uint32_t col, uint16_t xf,
                                       bool existed, int64_t& strings) {
        std::string rest;
        switch (cell.kind) {
            case XlsCell::Kind::Number: {
                Out o;
                o.F64(cell.number);
                return CellRecord(biff::kNumber, row, col, xf, o.buf);
            }
            case XlsCell::Kind::Text:
                if (cell.text.empty()) break;
                rest.resize(4);
                PutLe32(rest, 0, sst_->Index(cell.text));
                ++strings;
                return CellRecord(biff::kLabelSst, row, col, xf, rest);
            case XlsCell::Kind::Boolean:
            case XlsCell::Kind::Error:
                rest.push_back(static_cast<char>(cell.code));
                rest.push_back(cell.kind == XlsCell::Kind::Error ? 1 : 0);
                return CellRecord(biff::kBoolErr, row, col, xf, rest);
            case XlsCell::Kind::Blank:
                break;
        }
        if (existed) return CellRecord(biff::kBlank, row, col, xf, {});
        return std::nullopt;
    }

    static std::string DefaultRow(uint32_t row) {
        std::string d(kRowData, '\0');
        PutLe16(d, 0, static_cast<uint16_t>(row));
        PutLe16(d, 6, 0x00FF);  // the default height
        PutLe32(d, 12, 0x000F0100);
        return d;
    }

    // Column span of each patched row, as its ROW record states it.
    void FixRowSpans() {
        for (uint32_t row = 0; row < block_.size(); ++row) {
            std::string& d = table_.rows[row];
            if (d.size() < 6) continue;
            auto it = table_.cells.lower_bound(CellTable::Key(row, 0));
            uint16_t lo = 0, hi = 0;
            bool any = false;
            for (; it != table_.cells.end() && (it->first >> 16) == row; ++it) {
                if (!any) lo = static_cast<uint16_t>(it->first & 0xFFFF);
                hi = std::max<uint16_t>(hi, static_cast<uint16_t>(it->second.lastCol + 1));
                any = true;
            }
            PutLe16(d, 2, lo);
            PutLe16(d, 4, hi);
        }
    }

    std::vector<uint32_t> Blocks() const {
        std::set<uint32_t> blocks;
        for (const auto& [row, d] : table_.rows) blocks.insert(row / 32);
        for (const auto& [key, u] : table_.cells) blocks.insert(static_cast<uint32_t>(key >> 16) / 32);
        return {blocks.begin(), blocks.end()};
    }

    void WriteTarget(const std::vector<Rec>& sub) {
        FixRowSpans();
        const std::vector<uint32_t> blocks = Blocks();
        const std::size_t anchor = TableAnchor(sub);
        std::size_t indexAt = 0, defColWidthAt = 0;
        int depth = 0;
        for (std::size_t i = 0; i < sub.size(); ++i) {
            const Rec& r = sub[i];
            if (i == anchor) WriteCellTable(blocks, indexAt);
            if (r.type == biff::kBof) ++depth;
            const bool top = depth == 1;
            if (r.type == biff::kEof) --depth;
            if (top && IsCellTable(r.type)) {
                while (i + 1 < sub.size() && IsFollower(sub[i + 1].type)) ++i;
            } else if (top && r.type == biff::kIndex) {
                indexAt = out_.buf.size();
                out_.Raw(biff::kIndex, std::string(16 + 4 * blocks.size(), '\0'));
            } else if (top && r.type == biff::kDimensions) {
                out_.Raw(biff::kDimensions, Dimensions());
            } else {
                if (top && r.type == biff::kDefColWidth) defColWidthAt = out_.buf.size();
                out_.buf.append(r.bytes);
            }
        }
        if (indexAt != 0) FinishIndex(indexAt, defColWidthAt);
    }

    // Where the cell table goes: where it was, else after the dimensions,
    // else before the window settings or the end.
    static std::size_t TableAnchor(const std::vector<Rec>& sub) {
        int depth = 0;
        std::size_t dims = 0, window = 0;
        for (std::size_t i = 0; i < sub.size(); ++i) {
            if (sub[i].type == biff::kBof) ++depth;
            const bool top = depth == 1;
            if (sub[i].type == biff::kEof) --depth;
            if (!top) continue;
            if (IsCellTable(sub[i].type)) return i;
            if (sub[i].type == biff::kDimensions) dims = i + 1;
            if (sub[i].type == biff::kWindow2 && window == 0) window = i;
        }
        return dims != 0 ? dims : window != 0 ? window : sub.size() - 1;
    }

    std::string Dimensions() const {
        std::string d(14, '\0');
        if (table_.cells.empty()) return d;
        uint32_t r0 = UINT32_MAX, r1 = 0;
        uint16_t c0 = UINT16_MAX, c1 = 0;
        for (const auto& [key, u] : table_.cells) {
            const uint32_t row = static_cast<uint32_t>(key >> 16);
            r0 = std::min(r0, row);
            r1 = std::max(r1, row + 1);
            c0 = std::min<uint16_t>(c0, static_cast<uint16_t>(key & 0xFFFF));
            c1 = std::max<uint16_t>(c1, static_cast<uint16_t>(u.lastCol + 1));
        }
        PutLe32(d, 0, r0);
        PutLe32(d, 4, r1);
        PutLe16(d, 8, c0);
        PutLe16(d, 10, c1);
        return d;
    }

    // Blocks of up to 32 rows: their ROW records, their cells, and a DBCELL
    // record that points back to both.
    void WriteCellTable(const std::vector<uint32_t>& blocks, std::size_t indexAt) {
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            const uint32_t lo = blocks[b] * 32, hi = lo + 32;
            std::vector<std::pair<uint32_t, std::size_t>> rowAt;  // row, its ROW record
            const std::size_t start = out_.buf.size();
            for (auto it = table_.rows.lower_bound(lo); it != table_.rows.end() && it->first < hi; ++it) {
                rowAt.emplace_back(it->first, out_.buf.size());
                out_.Raw(biff::kRow, it->second);
            }
            const std::size_t rowsEnd = out_.buf.size();
            std::map<uint32_t, std::size_t> firstCell;
            for (auto it = table_.cells.lower_bound(CellTable::Key(lo, 0));
                 it != table_.cells.end() && (it->first >> 16) < hi; ++it) {
                firstCell.try_emplace(static_cast<uint32_t>(it->first >> 16), out_.buf.size());
                out_.buf.append(it->second.bytes);
            }
            const std::size_t dbcell = out_.buf.size();
            std::string d(4, '\0');
            PutLe32(d, 0, static_cast<uint32_t>(dbcell - (rowAt.empty() ? start : rowAt[0].second)));
            std::size_t previous = rowAt.size() > 1 ? rowAt[1].second : rowsEnd;
            for (const auto& [row, at] : rowAt) {
                const auto fc = firstCell.lower_bound(row);
                const std::size_t cell = fc == firstCell.end() ? dbcell : fc->second;
                d.append(2, '\0');
                PutLe16(d, d.size() - 2, static_cast<uint16_t>(cell - std::min(cell, previous)));
                previous = cell;
            }
            out_.Raw(biff::kDbCell, d);
            if (indexAt != 0) PutLe32(out_.buf, indexAt + 4 + 16 + 4 * b, static_cast<uint32_t>(dbcell));
        }
    }

    void FinishIndex(std::size_t indexAt, std::size_t defColWidthAt) {
        uint32_t r0 = 0, r1 = 0;
        if (!table_.rows.empty() || !table_.cells.empty()) {
            r0 = UINT32_MAX;
            for (const auto& [row, d] : table_.rows) r0 = std::min(r0, row), r1 = std::max(r1, row + 1);
            for (const auto& [key, u] : table_.cells) {
                const uint32_t row = static_cast<uint32_t>(key >> 16);
                r0 = std::min(r0, row);
                r1 = std::max(r1, row + 1);
            }
        }
        PutLe32(out_.buf, indexAt + 4 + 4, r0);
        PutLe32(out_.buf, indexAt + 4 + 8, r1);
        PutLe32(out_.buf, indexAt + 4 + 12, static_cast<uint32_t>(defColWidthAt));
    }

    const XlsRows& block_;
    uint32_t width_ = 0;
    std::vector<Rec> recs_;
    std::string_view tail_;
    std::size_t globalsEnd_ = 0;
    std::size_t sstRec_ = 0;
    std::size_t lastBoundSheet_ = 0;
    std::size_t xfCount_ = 0;
    std::vector<SheetRef> sheets_;
    int target_ = -1;
    bool newSheet_ = false;
    std::string newSheetStream_;
    std::vector<Rec> targetRecs_;
    std::optional<biff::SharedStrings> sst_;
    CellTable table_;
    Out out_;
};

}  // namespace

bool PatchBiff8Workbook(std::string_view stream, const XlsRows& rows, std::string& out, std::string* error) {
    try {
        Patcher p(stream, rows);
        out = p.Run();
        return true;
    } catch (const std::runtime_error& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace orb
