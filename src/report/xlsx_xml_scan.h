// A lexical reader of XML text for the patcher's fast path over a
// worksheet's cells: it walks tags, attributes, text, comments, CDATA and
// processing instructions by their byte ranges, so that what stays can be
// copied as it is. It checks what it walks as strictly as the parser would
// (names, quoting, references, matching end tags, characters XML allows);
// whatever it does not accept sends the caller to the full parser, which
// gives the reason. No document type, no entities beyond the predefined
// ones.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace orb::xlsx {

struct XmlAttr {
    std::string_view name;   // as written, with its prefix
    std::string_view value;  // between the quotes, references unresolved
    std::string_view whole;  // the white space before it through the closing quote
};

struct XmlTag {
    std::size_t begin = 0, end = 0;  // from '<' to after '>'
    std::string_view name;           // as written, with its prefix
    bool empty = false;              // written as <name .../>
    std::vector<XmlAttr> attrs;

    std::string_view Prefix() const;
    std::string_view Local() const;
    const XmlAttr* Find(std::string_view attrName) const;
};

// True when every character of `text` is well-formed UTF-8 and one that XML
// 1.0 allows.
bool IsXmlText(std::string_view text);

class XmlScan {
public:
    explicit XmlScan(std::string_view text, std::size_t pos = 0) : s_(text), p_(pos) {}

    std::size_t pos() const { return p_; }
    bool AtEnd() const { return p_ >= s_.size(); }
    // Skips white space; true when some was there.
    bool SkipSpace();
    bool At(std::string_view what) const { return s_.substr(p_, what.size()) == what; }
    bool AtEndTag() const { return At("</"); }
    bool AtStartTag() const;

    // A start tag at the position.
    bool StartTag(XmlTag& tag);
    // The end tag of `name` at the position (white space before '>' allowed).
    bool EndTag(std::string_view name);
    // After the start tag of `name`: its content through its end tag. Sets
    // `childF` when a child element has the local name "f".
    bool Content(std::string_view name, bool* childF = nullptr);
    // A comment, processing instruction or white space at the position (what
    // may stand outside the root element); false at anything else.
    bool Misc();

    enum class Step { kElement, kEnd, kBad };
    // Inside an element: skips character data, comments, CDATA and processing
    // instructions up to the next child's start tag (read into `tag`) or the
    // element's end tag (not read).
    Step NextChild(XmlTag& tag);

private:
    bool Name(std::string_view& name);
    bool Attribute(XmlAttr& attr);
    bool Text();  // character data up to the next '<'
    bool Reference();
    bool Comment();
    bool CData();
    bool ProcessingInstruction();

    std::string_view s_;
    std::size_t p_;
    std::vector<std::string_view> open_;
    XmlTag inner_;
};

}  // namespace orb::xlsx
