#include "report/xlsx_sheet_cells.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "core/text_codec.h"
#include "report/xlsx_file.h"
#include "report/xlsx_xml.h"

namespace orb::xlsx {

namespace {

const xmlChar* X(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

xmlNode* SheetData(xmlNode* ws) {
    if (xmlNode* d = Child(ws, "sheetData")) return d;
    static const char* const kBefore[] = {"sheetPr",       "dimension", "sheetViews",
                                          "sheetFormatPr", "cols",      nullptr};
    xmlNode* d = xmlNewNode(ws->ns, X("sheetData"));
    InsertAfterLast(ws, d, kBefore);
    return d;
}

// Rows or cells by number. Rows and cells may leave out their number (then
// they follow the one before); they get it written, since new ones may come
// between them.
template <class NumberOf>
std::map<uint32_t, xmlNode*> Numbered(xmlNode* parent, const char* name, NumberOf numberOf) {
    std::map<uint32_t, xmlNode*> out;
    uint32_t next = 0;
    for (xmlNode* n = Child(parent, name); n; n = Next(n, name)) {
        const uint32_t at = numberOf(n, next);
        out.try_emplace(at, n);
        next = at + 1;
    }
    return out;
}

std::map<uint32_t, xmlNode*> Rows(xmlNode* data) {
    return Numbered(data, "row", [](xmlNode* row, uint32_t next) {
        const std::string r = Attr(row, "r");
        uint32_t n = 0;
        const auto [p, ec] = std::from_chars(r.data(), r.data() + r.size(), n);
        if (ec == std::errc() && p == r.data() + r.size() && n >= 1 && n <= 1048576) return n - 1;
        SetAttr(row, "r", std::to_string(next + 1));
        return next;
    });
}

std::map<uint32_t, xmlNode*> Cells(xmlNode* row, uint32_t rowIndex) {
    return Numbered(row, "c", [rowIndex](xmlNode* c, uint32_t next) {
        uint32_t r = 0, col = 0;
        if (ParseCellRef(Attr(c, "r"), r, col) && r == rowIndex) return col;
        SetAttr(c, "r", CellRef(rowIndex, next));
        return next;
    });
}

// The node of `map` that a new number `at` goes before, or null.
xmlNode* Following(const std::map<uint32_t, xmlNode*>& map, uint32_t at) {
    const auto it = map.upper_bound(at);
    return it == map.end() ? nullptr : it->second;
}

xmlNode* Insert(xmlNode* parent, xmlNode* before, const char* name) {
    xmlNode* n = xmlNewNode(parent->ns, X(name));
    return before ? xmlAddPrevSibling(before, n) : xmlAddChild(parent, n);
}

void Clear(xmlNode* c) {
    for (xmlNode* ch = c->children; ch;) {
        xmlNode* next = ch->next;
        xmlUnlinkNode(ch);
        xmlFreeNode(ch);
        ch = next;
    }
    for (xmlAttr* a = c->properties; a;) {
        xmlAttr* next = a->next;
        const std::string name = reinterpret_cast<const char*>(a->name);
        if (a->ns || (name != "r" && name != "s")) xmlRemoveProp(a);
        a = next;
    }
}

void AddText(xmlNode* parent, const char* name, const std::string& text) {
    xmlNode* n = xmlNewChild(parent, parent->ns, X(name), nullptr);
    xmlNodeAddContent(n, X(text.c_str()));
    if (NeedsSpacePreserve(text)) xmlNodeSetSpacePreserve(n, 1);
}

void Fill(xmlNode* c, const XlsCell& v) {
    Clear(c);
    switch (v.kind) {
        case XlsCell::Kind::Number:
            AddText(c, "v", CellNumberText(v.number));
            break;
        case XlsCell::Kind::Text: {
            SetAttr(c, "t", "inlineStr");
            xmlNode* is = xmlNewChild(c, c->ns, X("is"), nullptr);
            AddText(is, "t", EscapeCellText(v.text));
            break;
        }
        case XlsCell::Kind::Boolean:
            SetAttr(c, "t", "b");
            AddText(c, "v", v.code ? "1" : "0");
            break;
        case XlsCell::Kind::Error:
            SetAttr(c, "t", "e");
            AddText(c, "v", XlsxErrorText(v.code));
            break;
        case XlsCell::Kind::Blank:
            break;
    }
}

void PutRow(xmlNode* row, uint32_t r, const std::vector<XlsCell>& values, std::size_t width,
            std::set<std::string>& formulas) {
    std::map<uint32_t, xmlNode*> cells = Cells(row, r);
    RemoveAttr(row, "spans");  // a hint only, and the columns may change
    for (uint32_t col = 0; col < width && col < values.size(); ++col) {
        const auto it = cells.find(col);
        xmlNode* c = it == cells.end() ? nullptr : it->second;
        if (c && Child(c, "f")) formulas.insert(CellRef(r, col));
        if (IsEmptyCell(values[col])) {
            if (c && HasAttr(c, "s")) {
                Clear(c);
            } else if (c) {
                xmlUnlinkNode(c);
                xmlFreeNode(c);
                cells.erase(col);
            }
            continue;
        }
        if (!c) {
            c = Insert(row, Following(cells, col), "c");
            SetAttr(c, "r", CellRef(r, col));
            cells[col] = c;
        }
        Fill(c, values[col]);
    }
}

}  // namespace

bool IsEmptyCell(const XlsCell& v) {
    return v.kind == XlsCell::Kind::Blank || (v.kind == XlsCell::Kind::Text && v.text.empty());
}

void AppendCellNumber(std::string& out, double v) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    if (ec == std::errc())
        out.append(buf, end);
    else
        out += '0';
}

std::string CellNumberText(double v) {
    std::string s;
    AppendCellNumber(s, v);
    return s;
}

bool NeedsSpacePreserve(const std::string& text) {
    return !text.empty() &&
           (text.front() == ' ' || text.back() == ' ' || text.find_first_of("\t\n") != std::string::npos);
}

void WidenDimension(xmlNode* ws, uint32_t rows, uint32_t cols) {
    xmlNode* dim = Child(ws, "dimension");
    if (!dim || rows == 0 || cols == 0) return;
    const std::string ref = Attr(dim, "ref");
    const std::size_t colon = ref.find(':');
    uint32_t r0 = 0, c0 = 0, r1 = 0, c1 = 0;
    if (!ParseCellRef(ref.substr(0, colon), r0, c0)) r0 = c0 = 0;
    if (colon == std::string::npos || !ParseCellRef(ref.substr(colon + 1), r1, c1)) r1 = r0, c1 = c0;
    SetAttr(dim, "ref", "A1:" + CellRef(std::max(r1, rows - 1), std::max(c1, cols - 1)));
}

std::string EscapeCellText(std::u16string_view text) {
    std::u16string out;
    auto hex4 = [&out](char16_t c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "_x%04X_", static_cast<unsigned>(c));
        for (const char* p = buf; *p; ++p) out.push_back(static_cast<char16_t>(*p));
    };
    auto isHex = [](char16_t c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
        const bool paired = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF || low ||
            (high && !paired)) {
            hex4(c);
            continue;
        }
        if (c == '_' && i + 6 < text.size() + 0 && text[i + 1] == 'x' && isHex(text[i + 2]) &&
            isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_')
            hex4(u'_');
        else
            out.push_back(c);
        if (paired) out.push_back(text[++i]);
    }
    return Utf16ToUtf8(out);
}

std::set<std::string> PutCells(xmlDoc* doc, const XlsRows& rows) {
    xmlNode* ws = xmlDocGetRootElement(doc);
    if (!Is(ws, "worksheet")) throw std::runtime_error("the part of Sheet1 is no worksheet");
    xmlNode* data = SheetData(ws);
    std::map<uint32_t, xmlNode*> rowNodes = Rows(data);
    const std::size_t width = rows.empty() ? 0 : rows[0].size();
    std::set<std::string> formulas;
    for (uint32_t r = 0; r < rows.size(); ++r) {
        xmlNode*& row = rowNodes[r];
        if (!row) {
            row = Insert(data, Following(rowNodes, r), "row");
            SetAttr(row, "r", std::to_string(r + 1));
        }
        PutRow(row, r, rows[r], width, formulas);
    }
    WidenDimension(ws, static_cast<uint32_t>(rows.size()), static_cast<uint32_t>(width));
    return formulas;
}

}  // namespace orb::xlsx
