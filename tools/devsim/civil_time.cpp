#include "devsim/civil_time.h"

#include <charconv>
#include <ctime>

namespace devsim {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

bool ReadInt(std::string_view& s, std::size_t digits, int& out) {
    if (s.size() < digits) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + digits, out);
    if (ec != std::errc() || p != s.data() + digits) return false;
    s.remove_prefix(digits);
    return true;
}

bool Expect(std::string_view& s, char c) {
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

}  // namespace

int64_t CivilSeconds(const orb::DateTimeFields& f) {
    return DaysFromCivil(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

orb::DateTimeFields CivilFields(int64_t seconds) {
    const int64_t days = FloorDiv(seconds, 86400);
    const int64_t rest = seconds - days * 86400;
    int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    orb::DateTimeFields f;
    f.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    f.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    f.year = static_cast<int>(yoe + era * 400 + (f.month <= 2));
    f.hour = static_cast<int>(rest / 3600);
    f.minute = static_cast<int>(rest / 60 % 60);
    f.second = static_cast<int>(rest % 60);
    f.dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    f.dayOfYear = static_cast<int>(days - DaysFromCivil(f.year, 1, 1) + 1);
    return f;
}

int64_t LocalCivilNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    orb::DateTimeFields f;
    f.year = tm.tm_year + 1900;
    f.month = tm.tm_mon + 1;
    f.day = tm.tm_mday;
    f.hour = tm.tm_hour;
    f.minute = tm.tm_min;
    f.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    return CivilSeconds(f);
}

std::optional<orb::DateTimeFields> ParseDateTime(std::string_view s) {
    orb::DateTimeFields f;
    if (!ReadInt(s, 4, f.year) || !Expect(s, '-') || !ReadInt(s, 2, f.month) || !Expect(s, '-') ||
        !ReadInt(s, 2, f.day) || s.empty() || (s.front() != ' ' && s.front() != 'T')) {
        return std::nullopt;
    }
    s.remove_prefix(1);
    if (!ReadInt(s, 2, f.hour) || !Expect(s, ':') || !ReadInt(s, 2, f.minute) || !Expect(s, ':') ||
        !ReadInt(s, 2, f.second) || !s.empty()) {
        return std::nullopt;
    }
    const orb::DateTimeFields check = CivilFields(CivilSeconds(f));
    if (check.year != f.year || check.month != f.month || check.day != f.day || f.hour > 23 ||
        f.minute > 59 || f.second > 59) {
        return std::nullopt;
    }
    return check;
}

std::string FormatDateTime(const orb::DateTimeFields& f) {
    char buf[32];
    auto put = [&](char* p, int v, int width) {
        for (int i = width - 1; i >= 0; --i, v /= 10) p[i] = static_cast<char>('0' + v % 10);
    };
    put(buf, f.year, 4);
    buf[4] = '-';
    put(buf + 5, f.month, 2);
    buf[7] = '-';
    put(buf + 8, f.day, 2);
    buf[10] = ' ';
    put(buf + 11, f.hour, 2);
    buf[13] = ':';
    put(buf + 14, f.minute, 2);
    buf[16] = ':';
    put(buf + 17, f.second, 2);
    return std::string(buf, 19);
}

}  // namespace devsim
