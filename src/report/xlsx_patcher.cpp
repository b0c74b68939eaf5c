#include "report/xlsx_patcher.h"

#include <set>
#include <stdexcept>
#include <vector>

#include "report/xlsx_package.h"
#include "report/xlsx_sheet_cells.h"
#include "report/xlsx_xml.h"

namespace orb {

namespace {

using namespace xlsx;

constexpr const char* kContentTypes = "[Content_Types].xml";
constexpr const char* kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kWorksheetType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr const char* kWorksheetContent =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

const xmlChar* X(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string Folder(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship's target as a part name: relative to the source's folder
// unless it starts with '/'.
std::string Resolve(const std::string& folder, const std::string& target) {
    const std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', start), joined.size());
        const std::string seg = joined.substr(start, slash - start);
        if (seg == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!seg.empty() && seg != ".") {
            parts.push_back(seg);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string RelsOf(const std::string& part) {
    const std::string folder = Folder(part);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

xmlNode* RelationshipWhere(xmlDoc* rels, const char* attr, std::string_view value, bool suffix) {
    for (xmlNode* r = Child(xmlDocGetRootElement(rels), "Relationship"); r; r = Next(r, "Relationship")) {
        const std::string v = Attr(r, attr);
        if (suffix ? EndsWith(v, value) : v == value) return r;
    }
    return nullptr;
}

class PackagePatcher {
public:
    PackagePatcher(std::string_view bytes, const XlsRows& rows) : rows_(rows) {
        std::string error;
        if (!package_.Open(bytes, &error)) throw std::runtime_error(error);
    }

    std::string Run() {
        const XmlDoc rootRels = Load("_rels/.rels");
        const xmlNode* office = RelationshipWhere(rootRels.get(), "Type", "/officeDocument", true);
        if (!office) throw std::runtime_error("the package holds no workbook");
        workbookPath_ = Resolve("", Attr(office, "Target"));
        workbook_ = Load(workbookPath_);
        if (!Is(xmlDocGetRootElement(workbook_.get()), "workbook"))
            throw std::runtime_error("the package holds no workbook");
        workbookRels_ = Load(RelsOf(workbookPath_));
        FindOrAddSheet();
        std::string sheet;
        const std::set<std::string> formulas = PatchSheet(sheet);
        if (!formulas.empty()) DropFromCalcChain(formulas);
        AskFullRecalculation();
        Put(sheetPath_, std::move(sheet));
        Store(workbookPath_, workbook_.get());
        if (relsChanged_) Store(RelsOf(workbookPath_), workbookRels_.get());
        if (contentTypes_) Store(kContentTypes, contentTypes_.get());
        std::string out, error;
        if (!package_.Save(out, &error)) throw std::runtime_error(error);
        return out;
    }

private:
    XmlDoc Load(const std::string& part) {
        std::string bytes, error;
        if (!package_.Read(part, bytes, &error)) throw std::runtime_error(error);
        return Parse(bytes, part);
    }

    void Store(const std::string& part, xmlDoc* doc) { Put(part, Serialize(doc)); }

    void Put(const std::string& part, std::string bytes) {
        std::string error;
        if (!package_.Put(part, std::move(bytes), &error)) throw std::runtime_error(error);
    }

    // Sheet1 with the block written; the references of replaced formula
    // cells. The cells as text when the part allows it, else as a tree.
    std::set<std::string> PatchSheet(std::string& out) {
        std::set<std::string> formulas;
        if (PutCellsInText(sheetText_, rows_, out, formulas)) return formulas;
        const XmlDoc sheet = Parse(sheetText_, sheetPath_);
        formulas = PutCells(sheet.get(), rows_);
        out = Serialize(sheet.get());
        return formulas;
    }

    xmlDoc* ContentTypes() {
        if (!contentTypes_) contentTypes_ = Load(kContentTypes);
        return contentTypes_.get();
    }

    xmlNode* Sheets() {
        xmlNode* sheets = Child(xmlDocGetRootElement(workbook_.get()), "sheets");
        if (!sheets) throw std::runtime_error("the workbook lists no sheets");
        return sheets;
    }

    void FindOrAddSheet() {
        for (xmlNode* s = Child(Sheets(), "sheet"); s; s = Next(s, "sheet")) {
            if (!SameName(Attr(s, "name"), "Sheet1")) continue;
            const xmlNode* rel = RelationshipWhere(workbookRels_.get(), "Id", NsAttr(s, "id"), false);
            if (!rel) throw std::runtime_error("the sheet Sheet1 has no part");
            if (!EndsWith(Attr(rel, "Type"), "/worksheet"))
                throw std::runtime_error("the sheet Sheet1 is no worksheet");
            sheetPath_ = Resolve(Folder(workbookPath_), Attr(rel, "Target"));
            sheetId_ = Attr(s, "sheetId");
            std::string error;
            if (!package_.Read(sheetPath_, sheetText_, &error)) throw std::runtime_error(error);
            return;
        }
        AddSheet();
    }

    // A new worksheet part, its relationship, its content type and its entry
    // after the last sheet.
    void AddSheet() {
        int k = 1;
        while (package_.Has(Folder(workbookPath_) + "worksheets/sheet" + std::to_string(k) + ".xml")) ++k;
        const std::string target = "worksheets/sheet" + std::to_string(k) + ".xml";
        sheetPath_ = Folder(workbookPath_) + target;
        std::string id = "rIdOrb" + std::to_string(k);
        while (RelationshipWhere(workbookRels_.get(), "Id", id, false)) id += "x";
        xmlNode* relsRoot = xmlDocGetRootElement(workbookRels_.get());
        xmlNode* rel = xmlNewChild(relsRoot, relsRoot->ns, X("Relationship"), nullptr);
        SetAttr(rel, "Id", id);
        SetAttr(rel, "Type", kWorksheetType);
        SetAttr(rel, "Target", target);
        relsChanged_ = true;

        xmlNode* types = xmlDocGetRootElement(ContentTypes());
        xmlNode* over = xmlNewChild(types, types->ns, X("Override"), nullptr);
        SetAttr(over, "PartName", "/" + sheetPath_);
        SetAttr(over, "ContentType", kWorksheetContent);

        xmlNode* sheets = Sheets();
        long maxId = 0;
        for (xmlNode* s = Child(sheets, "sheet"); s; s = Next(s, "sheet"))
            maxId = std::max(maxId, std::strtol(Attr(s, "sheetId").c_str(), nullptr, 10));
        sheetId_ = std::to_string(maxId + 1);
        xmlNode* entry = xmlNewChild(sheets, sheets->ns, X("sheet"), nullptr);
        SetAttr(entry, "name", "Sheet1");
        SetAttr(entry, "sheetId", sheetId_);
        xmlNs* ns = xmlSearchNsByHref(workbook_.get(), xmlDocGetRootElement(workbook_.get()), X(kRelNs));
        if (!ns) ns = xmlNewNs(xmlDocGetRootElement(workbook_.get()), X(kRelNs), X("r"));
        xmlSetNsProp(entry, ns, X("id"), X(id.c_str()));

        const xmlNode* root = xmlDocGetRootElement(workbook_.get());
        const std::string mainNs = root->ns ? reinterpret_cast<const char*>(root->ns->href) : "";
        sheetText_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"" +
                     mainNs + "\"><dimension ref=\"A1\"/><sheetData/></worksheet>";
    }

    // The calculation chain must not list cells that no longer hold a
    // formula. Each entry names its sheet, or inherits the one before; the
    // kept entries name theirs, so removing one does not move the next.
    void DropFromCalcChain(const std::set<std::string>& cells) {
        xmlNode* rel = RelationshipWhere(workbookRels_.get(), "Type", "/calcChain", true);
        if (!rel) return;
        const std::string path = Resolve(Folder(workbookPath_), Attr(rel, "Target"));
        if (!package_.Has(path)) return;
        XmlDoc chain = Load(path);
        xmlNode* root = xmlDocGetRootElement(chain.get());
        std::string sheet;
        bool any = false;
        for (xmlNode* c = Child(root, "c"); c;) {
            xmlNode* next = Next(c, "c");
            if (HasAttr(c, "i")) sheet = Attr(c, "i");
            if (sheet == sheetId_ && cells.count(Attr(c, "r"))) {
                xmlUnlinkNode(c);
                xmlFreeNode(c);
            } else {
                SetAttr(c, "i", sheet);
                any = true;
            }
            c = next;
        }
        if (any) return Store(path, chain.get());
        // An empty chain is no valid part: it goes, with its relationship
        // and content type.
        package_.Remove(path);
        xmlUnlinkNode(rel);
        xmlFreeNode(rel);
        relsChanged_ = true;
        xmlNode* types = xmlDocGetRootElement(ContentTypes());
        for (xmlNode* o = Child(types, "Override"); o; o = Next(o, "Override")) {
            if (!SameName(Attr(o, "PartName"), "/" + path)) continue;
            xmlUnlinkNode(o);
            xmlFreeNode(o);
            break;
        }
    }

    void AskFullRecalculation() {
        xmlNode* root = xmlDocGetRootElement(workbook_.get());
        xmlNode* calc = Child(root, "calcPr");
        if (!calc) {
            static const char* const kBefore[] = {
                "fileVersion", "fileSharing",    "workbookPr",         "workbookProtection", "bookViews",
                "sheets",      "functionGroups", "externalReferences", "definedNames",       nullptr};
            calc = xmlNewNode(root->ns, X("calcPr"));
            InsertAfterLast(root, calc, kBefore);
        }
        SetAttr(calc, "fullCalcOnLoad", "1");
    }

    const XlsRows& rows_;
    XlsxPackage package_;
    std::string workbookPath_, sheetPath_, sheetId_, sheetText_;
    XmlDoc workbook_, workbookRels_, contentTypes_;
    bool relsChanged_ = false;
};

}  // namespace

bool PatchXlsxFile(std::string_view bytes, const XlsRows& rows, std::string& out, std::string* error) {
    try {
        out = PackagePatcher(bytes, rows).Run();
        return true;
    } catch (const std::runtime_error& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace orb
