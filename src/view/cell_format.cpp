#include "view/cell_format.h"

#include <locale.h>

#include <charconv>
#include <cstdlib>

namespace orb {

std::string FormatFixed(double value, int precision) {
    char buf[400];  // DBL_MAX in fixed notation needs 309 digits
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (ec != std::errc{}) return {};
    std::string text(buf, end);
    DropNegativeZeroSign(text);
    return text;
}

void DropNegativeZeroSign(std::string& text) {
    if (text.size() < 2 || text[0] != '-') return;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] != '0' && text[i] != '.') return;
    }
    text.erase(0, 1);
}

namespace {

void AppendTwoDigits(std::string& out, uint64_t v) {
    if (v < 10) out.push_back('0');
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, end);
}

}  // namespace

std::string FormatRelativeTime(int64_t seconds) {
    std::string out;
    // The magnitude of INT64_MIN does not fit in int64_t, so work unsigned.
    uint64_t s = static_cast<uint64_t>(seconds);
    if (seconds < 0) {
        out.push_back('-');
        s = 0 - s;
    }
    AppendTwoDigits(out, s / 3600);
    out.push_back(':');
    AppendTwoDigits(out, s / 60 % 60);
    out.push_back(':');
    AppendTwoDigits(out, s % 60);
    return out;
}

int64_t RelativeSeconds(int16_t delayMinutes, int16_t intervalSeconds, std::size_t index) {
    // Indexes beyond INT64_MAX / 32768 cannot occur (records are 108 bytes each).
    return int64_t{delayMinutes} * 60 + int64_t{intervalSeconds} * static_cast<int64_t>(index);
}

double ParseLeadingNumber(std::string_view text) {
    // strtod_l with an explicit C locale gives strtod's exact prefix rules
    // (sign, hexadecimal, inf/nan, overflow to HUGE_VAL) without looking at
    // the process locale. It needs a terminated copy.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace orb
