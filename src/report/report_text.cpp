#include "report/report_text.h"

#include <charconv>
#include <cmath>

namespace orb::report_text {

namespace {

std::string PadLeft(std::string s, int width) {
    if (width > 0 && s.size() < static_cast<std::size_t>(width)) s.insert(0, width - s.size(), ' ');
    return s;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Fixed(double value, int precision, int width) {
    if (std::isnan(value)) return PadLeft(std::signbit(value) ? "-nan" : "nan", width);
    if (std::isinf(value)) return PadLeft(value < 0 ? "-inf" : "inf", width);
    char buf[400];  // the largest double in fixed notation has 309 digits
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    return PadLeft(std::string(buf, res.ptr), width);
}

std::string Integer(long long value, int width) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return PadLeft(std::string(buf, res.ptr), width);
}

std::string Utf8(const std::u16string& s) {
    std::string out;
    out.reserve(s.size() * 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace orb::report_text
