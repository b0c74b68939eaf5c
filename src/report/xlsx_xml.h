// The XML parts of an .xlsx package, parsed with libxml2 for patching. Parts
// come from outside: a part with a document type declaration is refused
// (no workbook part has one, and it is where entity bombs live), entities are
// never expanded, the parser's huge-document mode stays off and nothing is
// fetched from the network.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>
#include <string_view>

namespace orb::xlsx {

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using XmlDoc = std::unique_ptr<xmlDoc, DocFree>;

// Throws std::runtime_error naming `part` when `bytes` are no well-formed,
// safe XML document.
XmlDoc Parse(std::string_view bytes, const std::string& part);
std::string Serialize(xmlDoc* doc);

// Elements are matched by local name, so transitional and strict documents
// read alike.
bool Is(const xmlNode* n, const char* name);
xmlNode* Child(xmlNode* parent, const char* name);
xmlNode* Next(xmlNode* n, const char* name);  // the next sibling called `name`
std::string Attr(const xmlNode* n, const char* name);
bool HasAttr(const xmlNode* n, const char* name);
void SetAttr(xmlNode* n, const char* name, const std::string& value);
void RemoveAttr(xmlNode* n, const char* name);
// The value of the attribute `name` in a namespace (r:id), or "".
std::string NsAttr(const xmlNode* n, const char* name);
// Inserts `node` as a child of `parent` after the last child whose name is
// one of `after` (a null-terminated list), or as the first child.
void InsertAfterLast(xmlNode* parent, xmlNode* node, const char* const* after);

// "AB12" -> column 27 (from 0) and row 11 (from 0); false when it is no cell.
bool ParseCellRef(std::string_view ref, uint32_t& row, uint32_t& col);
std::string CellRef(uint32_t row, uint32_t col);

}  // namespace orb::xlsx
