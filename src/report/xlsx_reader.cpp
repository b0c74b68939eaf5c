// Reading side of xlsx_file.h: the parts of the zip package that hold sheet
// names and cell values.
#include <gsf/gsf.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "core/fixed_text.h"
#include "core/text_codec.h"
#include "report/export_columns.h"
#include "report/xlsx_file.h"

namespace orb {

namespace {

struct Unreadable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Unref {
    void operator()(void* p) const {
        if (p) g_object_unref(p);
    }
};
template <class T>
using GPtr = std::unique_ptr<T, Unref>;

struct FreeDoc {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, FreeDoc>;

// A member of the package by its path ("xl/workbook.xml"); empty when absent.
bool ReadMember(GsfInfile* zip, const std::string& path, std::string& out) {
    GsfInfile* dir = zip;
    GPtr<GsfInput> holder;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('/', start);
        const std::string part =
            path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        GPtr<GsfInput> child(gsf_infile_child_by_name(dir, part.c_str()));
        if (!child) return false;
        holder = std::move(child);
        if (slash == std::string::npos) break;
        if (!GSF_IS_INFILE(holder.get())) return false;
        dir = GSF_INFILE(holder.get());
        start = slash + 1;
    }
    const gsf_off_t size = gsf_input_size(holder.get());
    if (size < 0) return false;
    out.resize(static_cast<std::size_t>(size));
    return size == 0 ||
           gsf_input_read(holder.get(), out.size(), reinterpret_cast<guint8*>(out.data())) != nullptr;
}

DocPtr ParseXml(const std::string& text, const char* what) {
    xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    if (!doc) throw Unreadable(std::string("damaged ") + what);
    return DocPtr(doc);
}

bool Is(const xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

std::string Attr(const xmlNode* n, const char* name) {
    for (const xmlAttr* a = n->properties; a; a = a->next) {
        if (std::strcmp(reinterpret_cast<const char*>(a->name), name) != 0) continue;
        xmlChar* v = xmlNodeGetContent(a->children ? a->children : nullptr);
        std::string s = v ? reinterpret_cast<const char*>(v) : "";
        xmlFree(v);
        return s;
    }
    return {};
}

std::string Text(const xmlNode* n) {
    xmlChar* v = xmlNodeGetContent(n);
    std::string s = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return s;
}

const xmlNode* Child(const xmlNode* n, const char* name) {
    for (const xmlNode* c = n->children; c; c = c->next) {
        if (Is(c, name)) return c;
    }
    return nullptr;
}

// The text of a shared string or inline string: its <t>, or the <t> of its
// runs; phonetic hints are left out.
std::string StringItem(const xmlNode* si) {
    std::string s;
    for (const xmlNode* c = si->children; c; c = c->next) {
        if (Is(c, "t")) {
            s += Text(c);
        } else if (Is(c, "r")) {
            if (const xmlNode* t = Child(c, "t")) s += Text(t);
        }
    }
    return s;
}

// Resolves a relationship target against the folder of its source part.
std::string ResolveTarget(const std::string& base, const std::string& target) {
    if (!target.empty() && target[0] == '/') return target.substr(1);
    std::string dir = base;
    std::string rest = target;
    while (rest.rfind("../", 0) == 0) {
        rest = rest.substr(3);
        const std::size_t slash = dir.find_last_of('/', dir.size() > 1 ? dir.size() - 2 : 0);
        dir = slash == std::string::npos ? "" : dir.substr(0, slash + 1);
    }
    return dir + rest;
}

struct Package {
    GsfInfile* zip;
    std::map<std::string, std::string> targets;  // relationship id -> part
    std::string sharedStrings;
};

std::string Member(const Package& p, const std::string& path, const char* what) {
    std::string s;
    if (!ReadMember(p.zip, path, s)) throw Unreadable(std::string("missing ") + what);
    return s;
}

void ReadRelationships(Package& p) {
    std::string text;
    if (!ReadMember(p.zip, "xl/_rels/workbook.xml.rels", text))
        throw Unreadable("missing workbook relationships");
    const DocPtr doc = ParseXml(text, "workbook relationships");
    for (const xmlNode* r = xmlDocGetRootElement(doc.get())->children; r; r = r->next) {
        if (!Is(r, "Relationship")) continue;
        const std::string target = ResolveTarget("xl/", Attr(r, "Target"));
        const std::string type = Attr(r, "Type");
        p.targets[Attr(r, "Id")] = target;
        if (type.size() >= 13 && type.compare(type.size() - 13, 13, "sharedStrings") == 0)
            p.sharedStrings = target;
    }
}

std::vector<std::u16string> ReadSharedStrings(const Package& p) {
    std::vector<std::u16string> out;
    std::string text;
    if (p.sharedStrings.empty() || !ReadMember(p.zip, p.sharedStrings, text)) return out;
    const DocPtr doc = ParseXml(text, "shared strings");
    for (const xmlNode* si = xmlDocGetRootElement(doc.get())->children; si; si = si->next) {
        if (Is(si, "si")) out.push_back(Utf8ToUtf16(StringItem(si)));
    }
    return out;
}

// A non-negative decimal integer; SIZE_MAX for anything else.
std::size_t ParseIndex(const std::string& text) {
    std::size_t v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    return (res.ec == std::errc() && res.ptr == text.data() + text.size()) ? v : SIZE_MAX;
}

// "BC12" -> column 54, row 11 (both from 0); false when it is no reference.
bool ParseRef(const std::string& ref, uint32_t& row, uint32_t& col) {
    std::size_t i = 0;
    uint32_t c = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && c < 100000) c = c * 26 + (ref[i++] - 'A' + 1);
    uint32_t r = 0;
    const auto res = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
    if (c == 0 || r == 0 || res.ec != std::errc() || res.ptr != ref.data() + ref.size()) return false;
    row = r - 1;
    col = c - 1;
    return true;
}

uint8_t ErrorCode(const std::string& text) {
    static const std::pair<const char*, uint8_t> kCodes[] = {{"#NULL!", 0x00},  {"#DIV/0!", 0x07},
                                                             {"#VALUE!", 0x0F}, {"#REF!", 0x17},
                                                             {"#NAME?", 0x1D},  {"#NUM!", 0x24}};
    for (const auto& [name, code] : kCodes) {
        if (text == name) return code;
    }
    return 0x2A;  // #N/A
}

bool CellValue(const xmlNode* c, const std::vector<std::u16string>& sst, XlsCell& cell) {
    const std::string type = Attr(c, "t");
    const xmlNode* v = Child(c, "v");
    if (type == "inlineStr") {
        const xmlNode* is = Child(c, "is");
        cell = XlsCell::Str(Utf8ToUtf16(is ? StringItem(is) : ""));
        return true;
    }
    if (!v) return false;
    const std::string value = Text(v);
    if (type == "s") {
        const std::size_t i = ParseIndex(value);
        if (i >= sst.size()) throw Unreadable("a text cell refers to a missing string");
        cell = XlsCell::Str(sst[i]);
    } else if (type == "str" || type == "d") {
        cell = XlsCell::Str(Utf8ToUtf16(value));
    } else if (type == "b") {
        cell.kind = XlsCell::Kind::Boolean;
        cell.code = value == "1" ? 1 : 0;
    } else if (type == "e") {
        cell.kind = XlsCell::Kind::Error;
        cell.code = ErrorCode(value);
    } else {
        cell = XlsCell::Num(ParseLeadingNumber(value));
    }
    return true;
}

void ReadRow(const xmlNode* row, uint32_t& rowIndex, const std::vector<std::u16string>& sst,
             XlsSheet& sheet) {
    const std::string r = Attr(row, "r");
    if (!r.empty()) {
        const std::size_t n = ParseIndex(r);
        if (n == 0 || n > kXlsxMaxRows) throw Unreadable("a row has a damaged number");
        rowIndex = static_cast<uint32_t>(n - 1);
    }
    uint32_t col = 0;
    for (const xmlNode* c = row->children; c; c = c->next) {
        if (!Is(c, "c")) continue;
        uint32_t cellRow = rowIndex;
        const std::string ref = Attr(c, "r");
        if (!ref.empty() && !ParseRef(ref, cellRow, col)) throw Unreadable("a cell has a damaged reference");
        if (cellRow >= kXlsxMaxRows || col >= kXlsxMaxColumns)
            throw Unreadable("a cell lies outside the sheet");
        XlsCell cell;
        if (CellValue(c, sst, cell)) sheet.cells[XlsSheet::Key(cellRow, col)] = cell;
        ++col;
    }
    ++rowIndex;
}

void ReadSheet(const Package& p, const std::string& part, const std::vector<std::u16string>& sst,
               XlsSheet& sheet) {
    const DocPtr doc = ParseXml(Member(p, part, "worksheet"), "worksheet");
    const xmlNode* data = Child(xmlDocGetRootElement(doc.get()), "sheetData");
    if (!data) return;
    uint32_t rowIndex = 0;
    for (const xmlNode* row = data->children; row; row = row->next) {
        if (Is(row, "row")) ReadRow(row, rowIndex, sst, sheet);
    }
}

void ReadWorkbook(Package& p, XlsWorkbook& book) {
    const DocPtr doc = ParseXml(Member(p, "xl/workbook.xml", "workbook part"), "workbook part");
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    ReadRelationships(p);
    const std::vector<std::u16string> sst = ReadSharedStrings(p);
    int activeTab = 0;
    if (const xmlNode* views = Child(root, "bookViews")) {
        if (const xmlNode* view = Child(views, "workbookView"))
            activeTab = static_cast<int>(ParseIndex(Attr(view, "activeTab")));
    }
    const xmlNode* sheets = Child(root, "sheets");
    if (!sheets) throw Unreadable("the workbook lists no sheets");
    int index = 0;
    for (const xmlNode* s = sheets->children; s; s = s->next) {
        if (!Is(s, "sheet")) continue;
        const auto target = p.targets.find(Attr(s, "id"));
        // Chart sheets and other kinds of sheet are not kept.
        if (target != p.targets.end() && target->second.find("worksheets/") != std::string::npos) {
            XlsSheet sheet;
            sheet.name = Utf8ToUtf16(Attr(s, "name"));
            const std::string state = Attr(s, "state");
            sheet.visibility = state == "hidden" ? 1 : state == "veryHidden" ? 2 : 0;
            ReadSheet(p, target->second, sst, sheet);
            if (index == activeTab) book.activeSheet = static_cast<int>(book.sheets.size());
            book.sheets.push_back(std::move(sheet));
        }
        ++index;
    }
}

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        xmlInitParser();
    });
}

}  // namespace

bool DecodeXlsxFile(std::string_view bytes, XlsWorkbook& book, std::string* error) {
    InitOnce();
    GPtr<GsfInput> in(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                           static_cast<gsf_off_t>(bytes.size()), FALSE));
    GError* gerr = nullptr;
    GPtr<GsfInfile> zip(gsf_infile_zip_new(in.get(), &gerr));
    if (gerr) g_error_free(gerr);
    try {
        if (!zip) throw Unreadable("not an Excel workbook (no zip package)");
        Package p{zip.get(), {}, {}};
        XlsWorkbook result;
        ReadWorkbook(p, result);
        book = std::move(result);
    } catch (const Unreadable& e) {
        if (error) *error = e.what();
        return false;
    }
    return true;
}

}  // namespace orb
