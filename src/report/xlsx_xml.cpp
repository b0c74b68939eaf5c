#include "report/xlsx_xml.h"

#include <libxml/parser.h>

#include <cstring>
#include <mutex>
#include <stdexcept>

namespace orb::xlsx {

namespace {

const xmlChar* X(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

void InitParser() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

}  // namespace

XmlDoc Parse(std::string_view bytes, const std::string& part) {
    InitParser();
    if (bytes.find("<!DOCTYPE") != std::string_view::npos || bytes.find("<!ENTITY") != std::string_view::npos)
        throw std::runtime_error("the part " + part +
                                 " declares a document type, which no workbook part has");
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        throw std::runtime_error("the part " + part + " is too large");
    XmlDoc doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), part.c_str(), nullptr,
                             XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT));
    if (!doc || !xmlDocGetRootElement(doc.get()))
        throw std::runtime_error("the part " + part + " is no readable XML");
    if (doc->intSubset || doc->extSubset)
        throw std::runtime_error("the part " + part +
                                 " declares a document type, which no workbook part has");
    return doc;
}

std::string Serialize(xmlDoc* doc) {
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &mem, &size, "UTF-8");
    if (!mem) throw std::runtime_error("a part of the workbook cannot be written");
    std::string out(reinterpret_cast<const char*>(mem), static_cast<std::size_t>(size));
    xmlFree(mem);
    return out;
}

bool Is(const xmlNode* n, const char* name) {
    return n && n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

xmlNode* Child(xmlNode* parent, const char* name) {
    for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next)
        if (Is(c, name)) return c;
    return nullptr;
}

xmlNode* Next(xmlNode* n, const char* name) {
    for (xmlNode* c = n ? n->next : nullptr; c; c = c->next)
        if (Is(c, name)) return c;
    return nullptr;
}

std::string Attr(const xmlNode* n, const char* name) {
    xmlChar* v = xmlGetNoNsProp(n, X(name));
    if (!v) return {};
    std::string s(reinterpret_cast<const char*>(v));
    xmlFree(v);
    return s;
}

bool HasAttr(const xmlNode* n, const char* name) {
    return xmlHasNsProp(n, X(name), nullptr) != nullptr;
}

void SetAttr(xmlNode* n, const char* name, const std::string& value) {
    xmlSetProp(n, X(name), X(value.c_str()));
}

void RemoveAttr(xmlNode* n, const char* name) {
    if (xmlAttr* a = xmlHasNsProp(n, X(name), nullptr)) xmlRemoveProp(a);
}

std::string NsAttr(const xmlNode* n, const char* name) {
    for (const xmlAttr* a = n->properties; a; a = a->next) {
        if (!a->ns || std::strcmp(reinterpret_cast<const char*>(a->name), name) != 0) continue;
        xmlChar* v = xmlNodeListGetString(n->doc, a->children, 1);
        std::string s = v ? reinterpret_cast<const char*>(v) : "";
        xmlFree(v);
        return s;
    }
    return {};
}

void InsertAfterLast(xmlNode* parent, xmlNode* node, const char* const* after) {
    xmlNode* last = nullptr;
    for (xmlNode* c = parent->children; c; c = c->next)
        for (const char* const* a = after; *a; ++a)
            if (Is(c, *a)) last = c;
    if (last)
        xmlAddNextSibling(last, node);
    else if (parent->children)
        xmlAddPrevSibling(parent->children, node);
    else
        xmlAddChild(parent, node);
}

bool ParseCellRef(std::string_view ref, uint32_t& row, uint32_t& col) {
    std::size_t i = 0;
    uint64_t c = 0, r = 0;
    while (i < ref.size() && i < 4 && ref[i] >= 'A' && ref[i] <= 'Z')
        c = c * 26 + static_cast<uint64_t>(ref[i++] - 'A' + 1);
    const std::size_t letters = i;
    while (i < ref.size() && i < letters + 8 && ref[i] >= '0' && ref[i] <= '9')
        r = r * 10 + static_cast<uint64_t>(ref[i++] - '0');
    if (letters == 0 || i == letters || i != ref.size() || r == 0 || c > 16384 || r > 1048576) return false;
    row = static_cast<uint32_t>(r - 1);
    col = static_cast<uint32_t>(c - 1);
    return true;
}

std::string CellRef(uint32_t row, uint32_t col) {
    std::string letters;
    for (uint32_t c = col + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

}  // namespace orb::xlsx
