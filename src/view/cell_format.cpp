#include "view/cell_format.h"

#include <charconv>

namespace orb {

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

}  // namespace orb
