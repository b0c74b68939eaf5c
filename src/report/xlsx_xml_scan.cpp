#include "report/xlsx_xml_scan.h"

#include <cstdint>

namespace orb::xlsx {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNameStart(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

bool IsXmlChar(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace

std::string_view XmlTag::Prefix() const {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

std::string_view XmlTag::Local() const {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

const XmlAttr* XmlTag::Find(std::string_view attrName) const {
    for (const XmlAttr& a : attrs)
        if (a.name == attrName) return &a;
    return nullptr;
}

bool IsXmlText(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const e = p + text.size();
    while (p < e) {
        const unsigned c = *p;
        if (c >= 0x20 && c < 0x80) {
            ++p;
            continue;
        }
        if (c < 0x80) {
            if (c != 0x9 && c != 0xA && c != 0xD) return false;
            ++p;
            continue;
        }
        int more = 0;
        uint32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1, cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, cp = c & 0x07;
        } else {
            return false;
        }
        if (e - p < more + 1) return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (p[i] & 0x3F);
        }
        const bool overlong = (more == 2 && cp < 0x800) || (more == 3 && cp < 0x10000);
        if (overlong || !IsXmlChar(cp)) return false;
        p += more + 1;
    }
    return true;
}

bool XmlScan::SkipSpace() {
    const std::size_t start = p_;
    while (p_ < s_.size() && IsSpace(s_[p_])) ++p_;
    return p_ > start;
}

bool XmlScan::AtStartTag() const {
    return p_ + 1 < s_.size() && s_[p_] == '<' && IsNameStart(s_[p_ + 1]);
}

bool XmlScan::Name(std::string_view& name) {
    const std::size_t start = p_;
    if (p_ >= s_.size() || !IsNameStart(s_[p_])) return false;
    while (p_ < s_.size() && IsNameChar(s_[p_])) ++p_;
    name = s_.substr(start, p_ - start);
    return true;
}

bool XmlScan::Reference() {
    ++p_;  // '&'
    const std::size_t semi = s_.find(';', p_);
    if (semi == std::string_view::npos || semi == p_) return false;
    const std::string_view ref = s_.substr(p_, semi - p_);
    p_ = semi + 1;
    if (ref == "lt" || ref == "gt" || ref == "amp" || ref == "quot" || ref == "apos") return true;
    if (ref.size() < 2 || ref[0] != '#') return false;
    const bool hex = ref[1] == 'x';
    const std::string_view digits = ref.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t v = 0;
    for (const char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0) return false;
        v = v * (hex ? 16 : 10) + static_cast<uint32_t>(d);
    }
    return IsXmlChar(v);
}

bool XmlScan::Attribute(XmlAttr& attr) {
    const std::size_t start = p_;
    if (!Name(attr.name)) return false;
    SkipSpace();
    if (p_ >= s_.size() || s_[p_] != '=') return false;
    ++p_;
    SkipSpace();
    if (p_ >= s_.size() || (s_[p_] != '"' && s_[p_] != '\'')) return false;
    const char quote = s_[p_++];
    const std::size_t valueStart = p_;
    for (;;) {
        if (p_ >= s_.size() || s_[p_] == '<') return false;
        if (s_[p_] == quote) break;
        if (s_[p_] == '&') {
            if (!Reference()) return false;
        } else {
            ++p_;
        }
    }
    attr.value = s_.substr(valueStart, p_ - valueStart);
    ++p_;
    attr.whole = s_.substr(start, p_ - start);
    return true;
}

bool XmlScan::StartTag(XmlTag& tag) {
    tag.attrs.clear();
    tag.begin = p_;
    if (!AtStartTag()) return false;
    ++p_;
    if (!Name(tag.name)) return false;
    for (;;) {
        const std::size_t spaceStart = p_;
        const bool space = SkipSpace();
        if (At(">") || At("/>")) {
            tag.empty = s_[p_] == '/';
            p_ += tag.empty ? 2 : 1;
            tag.end = p_;
            return true;
        }
        if (!space) return false;
        XmlAttr attr;
        if (!Attribute(attr)) return false;
        attr.whole = s_.substr(spaceStart, p_ - spaceStart);
        if (tag.Find(attr.name)) return false;  // an attribute written twice
        tag.attrs.push_back(attr);
    }
}

bool XmlScan::EndTag(std::string_view name) {
    if (!AtEndTag()) return false;
    p_ += 2;
    std::string_view n;
    if (!Name(n) || n != name) return false;
    SkipSpace();
    if (!At(">")) return false;
    ++p_;
    return true;
}

bool XmlScan::Text() {
    for (;;) {
        while (p_ < s_.size() && s_[p_] != '<' && s_[p_] != '&' && s_[p_] != ']') ++p_;
        if (AtEnd() || s_[p_] == '<') return true;
        if (s_[p_] == '&') {
            if (!Reference()) return false;
        } else if (At("]]>")) {
            return false;
        } else {
            ++p_;
        }
    }
}

bool XmlScan::Comment() {
    const std::size_t dashes = s_.find("--", p_ + 4);
    if (dashes == std::string_view::npos || s_.substr(dashes, 3) != "-->") return false;
    p_ = dashes + 3;
    return true;
}

bool XmlScan::CData() {
    const std::size_t end = s_.find("]]>", p_ + 9);
    if (end == std::string_view::npos) return false;
    p_ = end + 3;
    return true;
}

bool XmlScan::ProcessingInstruction() {
    p_ += 2;
    std::string_view target;
    if (!Name(target)) return false;
    const bool xml = target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
                     (target[2] | 0x20) == 'l';
    if (xml || target.find(':') != std::string_view::npos) return false;
    if (!At("?>") && !SkipSpace()) return false;
    const std::size_t end = s_.find("?>", p_);
    if (end == std::string_view::npos) return false;
    p_ = end + 2;
    return true;
}

bool XmlScan::Misc() {
    if (SkipSpace()) return true;
    if (At("<!--")) return Comment();
    if (At("<?")) return ProcessingInstruction();
    return false;
}

XmlScan::Step XmlScan::NextChild(XmlTag& tag) {
    for (;;) {
        if (!Text() || AtEnd()) return Step::kBad;
        if (AtEndTag()) return Step::kEnd;
        if (At("<!--")) {
            if (!Comment()) return Step::kBad;
        } else if (At("<![CDATA[")) {
            if (!CData()) return Step::kBad;
        } else if (At("<?")) {
            if (!ProcessingInstruction()) return Step::kBad;
        } else {
            return StartTag(tag) ? Step::kElement : Step::kBad;
        }
    }
}

bool XmlScan::Content(std::string_view name, bool* childF) {
    open_.clear();
    open_.push_back(name);
    for (;;) {
        switch (NextChild(inner_)) {
            case Step::kBad:
                return false;
            case Step::kEnd:
                if (!EndTag(open_.back())) return false;
                open_.pop_back();
                if (open_.empty()) return true;
                break;
            case Step::kElement:
                if (childF && open_.size() == 1 && inner_.Local() == "f") *childF = true;
                if (!inner_.empty) open_.push_back(inner_.name);
                break;
        }
    }
}

}  // namespace orb::xlsx
