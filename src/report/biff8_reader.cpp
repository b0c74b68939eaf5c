#include "report/biff8_reader.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "report/biff8_records.h"

namespace orb {

namespace {

struct Damaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One record with the payloads of the CONTINUE records that follow it.
struct Record {
    uint16_t type = 0;
    std::vector<std::string_view> segs;
    std::size_t size() const { return segs.empty() ? 0 : segs[0].size(); }
};

class RecordStream {
public:
    explicit RecordStream(std::string_view s, std::size_t pos = 0) : s_(s), pos_(pos) {}

    bool Next(Record& r) {
        if (pos_ + 4 > s_.size()) return false;
        r.type = Header(pos_);
        r.segs.assign(1, Payload());
        while (pos_ + 4 <= s_.size() && Header(pos_) == biff::kContinue) r.segs.push_back(Payload());
        return true;
    }

private:
    uint16_t Header(std::size_t at) const {
        return static_cast<uint16_t>(static_cast<unsigned char>(s_[at]) |
                                     static_cast<unsigned char>(s_[at + 1]) << 8);
    }
    std::string_view Payload() {
        const std::size_t len = Header(pos_ + 2);
        if (pos_ + 4 + len > s_.size()) throw Damaged("a record runs past the end of the workbook stream");
        const std::string_view data = s_.substr(pos_ + 4, len);
        pos_ += 4 + len;
        return data;
    }

    std::string_view s_;
    std::size_t pos_;
};

// Reads a record's payload across its CONTINUE records.
class Cursor {
public:
    explicit Cursor(const Record& r) : segs_(r.segs) {}

    uint8_t U8() {
        NeedByte();
        return static_cast<uint8_t>(segs_[seg_][off_++]);
    }
    uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
    uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
    double F64() {
        const uint64_t u = U32() | static_cast<uint64_t>(U32()) << 32;
        double d;
        std::memcpy(&d, &u, 8);
        return d;
    }
    void Skip(std::size_t n) {
        while (n > 0) {
            NeedByte();
            const std::size_t k = std::min(n, segs_[seg_].size() - off_);
            off_ += k;
            n -= k;
        }
    }
    // Characters of a string; where a CONTINUE cuts them, the next part
    // starts with its own flags byte.
    std::u16string Chars(std::size_t count, bool twoBytes) {
        std::u16string out;
        out.reserve(count);
        while (out.size() < count) {
            if (off_ >= segs_[seg_].size()) {
                NextSegment();
                twoBytes = (U8() & 1) != 0;
            }
            out.push_back(twoBytes ? U16() : U8());
        }
        return out;
    }
    // XLUnicodeString / XLUnicodeRichExtendedString (2-byte length) or
    // ShortXLUnicodeString (1-byte length).
    std::u16string String(bool longLength) {
        const std::size_t count = longLength ? U16() : U8();
        const uint8_t flags = U8();
        const std::size_t runs = (flags & 0x08) ? U16() : 0;
        const std::size_t ext = (flags & 0x04) ? U32() : 0;
        std::u16string s = Chars(count, (flags & 0x01) != 0);
        Skip(4 * runs);
        Skip(ext);
        return s;
    }

private:
    void NeedByte() {
        while (off_ >= segs_[seg_].size()) NextSegment();
    }
    void NextSegment() {
        if (seg_ + 1 >= segs_.size()) throw Damaged("a record is shorter than its content");
        ++seg_;
        off_ = 0;
    }

    const std::vector<std::string_view>& segs_;
    std::size_t seg_ = 0;
    std::size_t off_ = 0;
};

struct SheetEntry {
    uint32_t pos;
    uint8_t visibility;
    uint8_t type;
    std::u16string name;
};

struct Globals {
    std::vector<SheetEntry> sheets;
    std::vector<std::u16string> sst;
    int fonts = 0;
    int xfs = 0;
};

XlsRawRecord RawOf(const Record& r) {
    return {r.type, std::string(r.segs[0])};
}

void KeepRaw(const Record& r, std::vector<XlsRawRecord>& out) {
    out.push_back(RawOf(r));
    for (std::size_t i = 1; i < r.segs.size(); ++i) out.push_back({biff::kContinue, std::string(r.segs[i])});
}

void ExpectBof(RecordStream& rs, uint16_t dt) {
    Record r;
    if (!rs.Next(r) || r.type != biff::kBof || r.size() < 4) throw Damaged("no BIFF record at the start");
    Cursor c(r);
    if (c.U16() != 0x0600) throw Damaged("not an Excel 97-2003 (BIFF8) workbook");
    if (c.U16() != dt) throw Damaged("unexpected substream type");
}

void ReadSst(const Record& r, Globals& g) {
    Cursor c(r);
    c.U32();
    const uint32_t unique = c.U32();
    // Each string takes at least 3 bytes of the record: the count is believed
    // only as far as the bytes are there.
    std::size_t bytes = 0;
    for (std::string_view seg : r.segs) bytes += seg.size();
    g.sst.reserve(std::min<std::size_t>(unique, bytes / 3));
    for (uint32_t i = 0; i < unique; ++i) g.sst.push_back(c.String(true));
}

void ReadGlobalsRecord(const Record& r, Globals& g, XlsWorkbook& book) {
    Cursor c(r);
    switch (r.type) {
        case biff::kFilePass:
            throw Damaged("the workbook is encrypted");
        case biff::kBoundSheet: {
            SheetEntry e;
            e.pos = c.U32();
            e.visibility = c.U8() & 3;
            e.type = c.U8();
            e.name = c.String(false);
            g.sheets.push_back(std::move(e));
            break;
        }
        case biff::kSst:
            ReadSst(r, g);
            break;
        case biff::kWindow1:
            c.Skip(10);
            book.activeSheet = c.U16();
            break;
        case biff::kDate1904:
            book.date1904 = c.U16() != 0;
            break;
        case biff::kFont:
        case biff::kXf:
            (r.type == biff::kFont ? g.fonts : g.xfs)++;
            [[fallthrough]];
        case biff::kFormat:
        case biff::kStyle:
        case biff::kPalette:
            KeepRaw(r, book.styleRecords);
            break;
        default:
            break;
    }
}

Globals ReadGlobals(RecordStream& rs, XlsWorkbook& book) {
    ExpectBof(rs, 0x0005);
    Globals g;
    Record r;
    while (rs.Next(r) && r.type != biff::kEof) ReadGlobalsRecord(r, g, book);
    return g;
}

double DecodeRk(uint32_t rk) {
    double v;
    if (rk & 2) {
        v = static_cast<int32_t>(rk) >> 2;
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 1) ? v / 100.0 : v;
}

class SheetReader {
public:
    SheetReader(XlsSheet& sheet, const Globals& g) : sheet_(sheet), g_(g) {}

    void Read(const Record& r) {
        Cursor c(r);
        switch (r.type) {
            case biff::kNumber: {
                XlsCell& cell = Start(c, XlsCell::Kind::Number);
                cell.number = c.F64();
                break;
            }
            case biff::kRk: {
                XlsCell& cell = Start(c, XlsCell::Kind::Number);
                cell.number = DecodeRk(c.U32());
                break;
            }
            case biff::kMulRk:
                MulRk(c, r.size());
                break;
            case biff::kLabelSst: {
                XlsCell& cell = Start(c, XlsCell::Kind::Text);
                const uint32_t i = c.U32();
                if (i >= g_.sst.size()) throw Damaged("a text cell refers to a missing string");
                cell.text = g_.sst[i];
                break;
            }
            case biff::kLabel:
            case biff::kRString: {
                XlsCell& cell = Start(c, XlsCell::Kind::Text);
                cell.text = c.String(true);
                break;
            }
            case biff::kBoolErr: {
                XlsCell& cell = Start(c, XlsCell::Kind::Boolean);
                cell.code = c.U8();
                if (c.U8() != 0) cell.kind = XlsCell::Kind::Error;
                break;
            }
            case biff::kBlank:
                Start(c, XlsCell::Kind::Blank);
                break;
            case biff::kMulBlank:
                MulBlank(c, r.size());
                break;
            case biff::kFormula:
                Formula(c);
                break;
            case biff::kString:
                if (pendingString_) {
                    pendingString_->text = c.String(true);
                    pendingString_ = nullptr;
                }
                break;
            case biff::kDefColWidth:
            case biff::kColInfo:
                KeepRaw(r, sheet_.columnRecords);
                break;
            case biff::kMergeCells:
                KeepRaw(r, sheet_.mergeRecords);
                break;
            default:
                break;
        }
    }

private:
    XlsCell& Put(uint16_t row, std::size_t col, XlsCell::Kind kind, uint16_t xf) {
        if (col >= 256) throw Damaged("a cell lies beyond column IV");
        XlsCell& cell = sheet_.cells[XlsSheet::Key(row, col)];
        cell = XlsCell{};
        cell.kind = kind;
        cell.xf = xf;
        return cell;
    }
    XlsCell& Start(Cursor& c, XlsCell::Kind kind) {
        const uint16_t row = c.U16();
        const uint16_t col = c.U16();
        return Put(row, col, kind, c.U16());
    }
    void MulRk(Cursor& c, std::size_t size) {
        const uint16_t row = c.U16();
        const uint16_t first = c.U16();
        const std::size_t n = size < 6 ? 0 : (size - 6) / 6;
        for (std::size_t i = 0; i < n; ++i) {
            const uint16_t xf = c.U16();
            Put(row, first + i, XlsCell::Kind::Number, xf).number = DecodeRk(c.U32());
        }
    }
    void MulBlank(Cursor& c, std::size_t size) {
        const uint16_t row = c.U16();
        const uint16_t first = c.U16();
        const std::size_t n = size < 6 ? 0 : (size - 6) / 2;
        for (std::size_t i = 0; i < n; ++i) Put(row, first + i, XlsCell::Kind::Blank, c.U16());
    }
    // A formula is kept as the value it last computed.
    void Formula(Cursor& c) {
        XlsCell& cell = Start(c, XlsCell::Kind::Number);
        uint8_t v[8];
        for (uint8_t& b : v) b = c.U8();
        pendingString_ = nullptr;
        if (v[6] != 0xFF || v[7] != 0xFF) {
            std::memcpy(&cell.number, v, 8);
            return;
        }
        if (v[0] == 0 || v[0] == 3) {
            cell.kind = XlsCell::Kind::Text;
            if (v[0] == 0) pendingString_ = &cell;
        } else {
            cell.kind = v[0] == 1 ? XlsCell::Kind::Boolean : XlsCell::Kind::Error;
            cell.code = v[2];
        }
    }

    XlsSheet& sheet_;
    const Globals& g_;
    XlsCell* pendingString_ = nullptr;
};

// Reads one worksheet; false for other kinds of sheet (charts, macros).
// `budget` counts the records that the sheets may still visit. Sheets never
// share records, so needing more visits than the stream can hold records
// means that sheets overlap: a damaged file whose sheets all point at one
// substream would otherwise be read again for every sheet, in time and
// memory growing with the square of its size.
bool ReadSheet(std::string_view stream, const SheetEntry& e, const Globals& g, XlsSheet& sheet,
               std::size_t& budget) {
    if (e.type != 0 || e.pos >= stream.size()) return false;
    RecordStream rs(stream, e.pos);
    ExpectBof(rs, 0x0010);
    sheet.name = e.name;
    sheet.visibility = e.visibility;
    SheetReader reader(sheet, g);
    Record r;
    int depth = 0;  // embedded chart substreams are skipped whole
    while (rs.Next(r)) {
        if (budget-- == 0) throw Damaged("sheets overlap in the workbook stream");
        if (r.type == biff::kBof) {
            ++depth;
        } else if (r.type == biff::kEof) {
            if (depth-- == 0) return true;
        } else if (depth == 0) {
            reader.Read(r);
        }
    }
    throw Damaged("a sheet has no end record");
}

// Formats are kept only when the table is complete enough to be written
// back; otherwise every cell falls back to the plain format.
void SettleFormats(XlsWorkbook& book, const Globals& g) {
    const bool keep = g.fonts >= 1 && g.xfs > kDefaultCellXf;
    if (!keep) book.styleRecords.clear();
    for (XlsSheet& sheet : book.sheets) {
        for (auto& [key, cell] : sheet.cells) {
            if (!keep || cell.xf >= g.xfs) cell.xf = kDefaultCellXf;
        }
    }
}

}  // namespace

bool DecodeBiff8Workbook(std::string_view stream, XlsWorkbook& book, std::string* error) {
    XlsWorkbook result;
    try {
        RecordStream rs(stream);
        const Globals g = ReadGlobals(rs, result);
        int oldActive = result.activeSheet;
        int index = 0;
        std::size_t budget = stream.size() / 4;  // a record is at least its 4-byte header
        result.activeSheet = 0;
        for (const SheetEntry& e : g.sheets) {
            XlsSheet sheet;
            if (ReadSheet(stream, e, g, sheet, budget)) {
                if (index == oldActive) result.activeSheet = static_cast<int>(result.sheets.size());
                result.sheets.push_back(std::move(sheet));
            }
            ++index;
        }
        SettleFormats(result, g);
    } catch (const Damaged& e) {
        if (error) *error = e.what();
        return false;
    }
    book = std::move(result);
    return true;
}

}  // namespace orb
