// The fast path of PutCells: the worksheet's cells are walked as text and
// the block written as text, while libxml2 parses and rewrites the rest of
// the part (the sheet with its cells taken out). Sheet1 of a long earlier
// export holds over 200,000 cells; a tree of them costs several times what
// the export itself does.
#include <charconv>
#include <stdexcept>

#include "report/xlsx_file.h"
#include "report/xlsx_sheet_cells.h"
#include "report/xlsx_xml.h"
#include "report/xlsx_xml_scan.h"

namespace orb::xlsx {

namespace {

// Stands for the cells in the sheet that libxml2 rewrites.
constexpr std::string_view kMarker = "<!--orb-cells-->";

struct OldCell {
    uint32_t col = 0;
    std::size_t begin = 0, end = 0;  // the element's bytes
    std::string_view style;          // its s attribute as written, or empty
    bool formula = false;
};

bool DeclaresNamespace(const XmlTag& tag) {
    for (const XmlAttr& a : tag.attrs)
        if (a.name.substr(0, 5) == "xmlns") return true;
    return false;
}

bool RowNumber(const XmlTag& row, uint32_t& index) {
    const XmlAttr* r = row.Find("r");
    uint32_t n = 0;
    if (!r) return false;
    const auto [p, ec] = std::from_chars(r->value.data(), r->value.data() + r->value.size(), n);
    if (ec != std::errc() || p != r->value.data() + r->value.size() || n < 1 || n > kXlsxMaxRows)
        return false;
    index = n - 1;
    return true;
}

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
}

void AppendNumber(std::string& out, uint32_t n) {
    char digits[12];
    const auto res = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, res.ptr);
}

// CellRef without a string of its own.
void AppendCellRef(std::string& out, uint32_t row, uint32_t col) {
    char letters[4];
    int n = 0;
    for (uint32_t c = col + 1; c > 0 && n < 4; c = (c - 1) / 26)
        letters[n++] = static_cast<char>('A' + (c - 1) % 26);
    while (n > 0) out += letters[--n];
    AppendNumber(out, row + 1);
}

class SheetText {
public:
    SheetText(std::string_view text, const XlsRows& rows, std::set<std::string>& formulas)
        : text_(text), rows_(rows), width_(rows.empty() ? 0 : rows[0].size()), formulas_(formulas) {}

    bool Run(std::string& out) {
        if (!IsXmlText(text_) || !FindSheetData()) return false;
        cells_.reserve(text_.size() + rows_.size() * width_ * 24);
        if (!Cells()) return false;
        std::string sheet;
        if (!RewriteRest(sheet)) return false;
        const std::size_t at = sheet.find(kMarker);
        if (at == std::string::npos || sheet.find(kMarker, at + 1) != std::string::npos) return false;
        out.reserve(sheet.size() + cells_.size());
        out.assign(sheet, 0, at);
        out += cells_;
        out.append(sheet, at + kMarker.size());
        return true;
    }

private:
    // The first sheetData child of the worksheet, as the tree path takes it.
    bool FindSheetData() {
        XmlScan scan(text_, text_.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
        if (scan.At("<?xml")) {
            const std::size_t end = text_.find("?>", scan.pos());  // libxml2 checks it below
            if (end == std::string_view::npos) return false;
            scan = XmlScan(text_, end + 2);
        }
        while (!scan.AtStartTag())
            if (!scan.Misc()) return false;
        XmlTag tag;
        if (!scan.StartTag(tag) || tag.empty || tag.Local() != "worksheet") return false;
        for (;;) {
            if (scan.NextChild(tag) != XmlScan::Step::kElement) return false;
            if (tag.Local() == "sheetData") break;
            if (!tag.empty && !scan.Content(tag.name)) return false;
        }
        if (DeclaresNamespace(tag)) return false;
        sheetData_ = tag;
        const std::string_view prefix = tag.Prefix();
        auto qualified = [prefix](const char* local) {
            return prefix.empty() ? std::string(local) : std::string(prefix) + ":" + local;
        };
        row_ = qualified("row");
        cellName_ = qualified("c");
        const std::string& c = cellName_;
        const std::string v = qualified("v"), is = qualified("is"), t = qualified("t");
        cellOpen_ = "<" + c + " r=\"";
        numberOpen_ = "><" + v + ">";
        numberClose_ = "</" + v + "></" + c + ">";
        textOpen_ = " t=\"inlineStr\"><" + is + "><" + t + ">";
        textOpenPreserve_ = " t=\"inlineStr\"><" + is + "><" + t + " xml:space=\"preserve\">";
        textClose_ = "</" + t + "></" + is + "></" + c + ">";
        return true;
    }

    // The new content of sheetData: the block's rows, then the rows below
    // it as they are.
    bool Cells() {
        XmlScan scan(text_, sheetData_.end);
        uint32_t next = 0;
        int64_t last = -1;
        XmlTag row;
        while (!sheetData_.empty) {
            scan.SkipSpace();
            if (scan.AtEndTag()) {
                if (!scan.EndTag(sheetData_.name)) return false;
                break;
            }
            uint32_t r = 0;
            if (!scan.StartTag(row) || row.name != row_ || DeclaresNamespace(row) || !RowNumber(row, r) ||
                int64_t{r} <= last)
                return false;
            last = r;
            for (; next < r && next < rows_.size(); ++next) WriteRow(next, nullptr);
            if (r >= rows_.size()) {
                if (!row.empty && !scan.Content(row.name)) return false;
                cells_.append(text_.substr(row.begin, scan.pos() - row.begin));
                continue;
            }
            old_.clear();
            if (!row.empty && !ReadRow(scan, row, r)) return false;
            WriteRow(r, &row);
            next = r + 1;
        }
        sheetDataEnd_ = scan.pos();
        for (; next < rows_.size(); ++next) WriteRow(next, nullptr);
        return true;
    }

    bool ReadRow(XmlScan& scan, const XmlTag& row, uint32_t r) {
        for (;;) {
            scan.SkipSpace();
            if (scan.AtEndTag()) return scan.EndTag(row.name);
            uint32_t cr = 0, col = 0;
            if (!scan.StartTag(cell_) || cell_.name != cellName_ || DeclaresNamespace(cell_)) return false;
            const XmlAttr* ref = cell_.Find("r");
            if (!ref || !ParseCellRef(ref->value, cr, col) || cr != r) return false;
            if (!old_.empty() && col <= old_.back().col) return false;
            OldCell old{col, cell_.begin, 0, {}, false};
            if (!cell_.empty && !scan.Content(cell_.name, &old.formula)) return false;
            old.end = scan.pos();
            if (const XmlAttr* s = cell_.Find("s")) old.style = s->whole;
            old_.push_back(old);
        }
    }

    void WriteRow(uint32_t r, const XmlTag* row) {
        cells_ += '<';
        cells_ += row_;
        if (row) {
            for (const XmlAttr& a : row->attrs)
                if (a.name != "spans") cells_ += a.whole;  // a hint only, and the columns may change
        } else {
            cells_ += " r=\"";
            AppendNumber(cells_, r + 1);
            cells_ += '"';
        }
        cells_ += '>';
        const std::vector<XlsCell>& values = rows_[r];
        const uint32_t limit = static_cast<uint32_t>(std::min(width_, values.size()));
        std::size_t i = 0;
        for (uint32_t col = 0; col < limit; ++col) {
            const OldCell* old = row && i < old_.size() && old_[i].col == col ? &old_[i++] : nullptr;
            if (old && old->formula) formulas_.insert(CellRef(r, col));
            WriteCell(r, col, old, values[col]);
        }
        for (; row && i < old_.size(); ++i)
            cells_.append(text_.substr(old_[i].begin, old_[i].end - old_[i].begin));
        cells_ += "</";
        cells_ += row_;
        cells_ += '>';
    }

    void WriteCell(uint32_t r, uint32_t col, const OldCell* old, const XlsCell& v) {
        if (IsEmptyCell(v) && !(old && !old->style.empty())) return;  // an empty cell without a format goes
        cells_ += cellOpen_;
        AppendCellRef(cells_, r, col);
        cells_ += '"';
        if (old) cells_ += old->style;
        switch (v.kind) {
            case XlsCell::Kind::Number:
                cells_ += numberOpen_;
                AppendCellNumber(cells_, v.number);  // digits, sign, point and exponent: nothing to escape
                cells_ += numberClose_;
                return;
            case XlsCell::Kind::Text:
                if (v.text.empty()) break;
                InlineText(EscapeCellText(v.text));
                return;
            case XlsCell::Kind::Boolean:
                Element(" t=\"b\">", v.code ? "1" : "0");
                return;
            case XlsCell::Kind::Error:
                Element(" t=\"e\">", XlsxErrorText(v.code));
                return;
            case XlsCell::Kind::Blank:
                break;
        }
        cells_ += "/>";
    }

    // The rest of the cell's start tag, then its value and its end.
    void Element(const char* tagRest, std::string_view value) {
        cells_ += tagRest;
        cells_ += numberOpen_.substr(1);
        AppendEscaped(cells_, value);
        cells_ += numberClose_;
    }

    void InlineText(const std::string& text) {
        cells_ += NeedsSpacePreserve(text) ? textOpenPreserve_ : textOpen_;
        AppendEscaped(cells_, text);
        cells_ += textClose_;
    }

    // The sheet with sheetData's content replaced by the marker, through
    // libxml2, with the dimension widened to the block.
    bool RewriteRest(std::string& out) {
        const XmlTag& sd = sheetData_;
        const std::size_t attrsBegin = sd.begin + 1 + sd.name.size();
        const std::size_t attrsEnd = sd.end - (sd.empty ? 2 : 1);
        std::string skeleton(text_.substr(0, sd.begin));
        skeleton += '<';
        skeleton += sd.name;
        skeleton += text_.substr(attrsBegin, attrsEnd - attrsBegin);
        skeleton += '>';
        skeleton += kMarker;
        skeleton += "</";
        skeleton += sd.name;
        skeleton += '>';
        skeleton += text_.substr(sheetDataEnd_);
        try {
            const XmlDoc doc = Parse(skeleton, "sheet");
            const char* encoding = reinterpret_cast<const char*>(doc->encoding);
            if (encoding && std::string_view(encoding) != "UTF-8" && std::string_view(encoding) != "utf-8")
                return false;  // the cells' bytes are copied as UTF-8
            WidenDimension(xmlDocGetRootElement(doc.get()), static_cast<uint32_t>(rows_.size()),
                           static_cast<uint32_t>(width_));
            out = Serialize(doc.get());
        } catch (const std::runtime_error&) {
            return false;  // the tree path says what is wrong
        }
        return true;
    }

    std::string_view text_;
    const XlsRows& rows_;
    std::size_t width_;
    std::set<std::string>& formulas_;
    XmlTag sheetData_, cell_;
    std::size_t sheetDataEnd_ = 0;
    // The names as the sheet writes them (with sheetData's prefix) and the
    // pieces of markup around a cell's value.
    std::string row_, cellName_, cellOpen_, numberOpen_, numberClose_, textOpen_, textOpenPreserve_,
        textClose_;
    std::vector<OldCell> old_;
    std::string cells_;
};

}  // namespace

bool PutCellsInText(std::string_view sheet, const XlsRows& rows, std::string& out,
                    std::set<std::string>& formulas) {
    std::set<std::string> found;
    if (!SheetText(sheet, rows, found).Run(out)) return false;
    formulas = std::move(found);
    return true;
}

}  // namespace orb::xlsx
