#include "core/attitude_text.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

namespace orb {
namespace {

constexpr const char* kFieldNames[7] = {"temperature", "gx", "gy", "gz", "mx", "my", "mz"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// from_chars takes no leading '+'; a count written "+12" is still a count.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
    return text;
}

bool ParseTemperature(std::string_view text, float& out) {
    text = WithoutPlus(text);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out, std::chars_format::general);
    return ec == std::errc() && ptr == end;
}

bool ParseCount(std::string_view text, float& out) {
    text = WithoutPlus(text);
    const char* end = text.data() + text.size();
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < INT16_MIN || value > INT16_MAX) return false;
    out = static_cast<float>(value);
    return true;
}

}  // namespace

std::string FormatFloatG9(float value) {
    std::array<char, 48> buf;
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<double>(value),
                                 std::chars_format::general, 9);
    return std::string(buf.data(), r.ptr);
}

std::string FormatAttitudeOutputs(const AttitudeSample& s) {
    std::string out;
    out.reserve(14 * 16);
    for (int i = 0; i <= AttitudeSample::kMz; ++i) {
        if (i > 0) out.push_back(' ');
        out += FormatFloatG9(s.v[i]);
    }
    return out;
}

bool ParseRawSampleLine(std::string_view line, AttitudeSample& s, std::string& error) {
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != 7) {
        error = "expected 7 fields (T gx gy gz mx my mz), found " + std::to_string(fields.size());
        return false;
    }
    std::array<float, 7> values;
    for (int i = 0; i < 7; ++i) {
        const bool ok = i == 0 ? ParseTemperature(fields[i], values[i]) : ParseCount(fields[i], values[i]);
        if (!ok) {
            error = std::string(kFieldNames[i]) + " '" + std::string(fields[i]) +
                    (i == 0 ? "' is not a float value" : "' is not an integer in -32768..32767");
            return false;
        }
    }
    s.v[AttitudeSample::kTemperature] = values[0];
    for (int k = 0; k < 6; ++k) s.v[AttitudeSample::kRawGx + k] = values[1 + k];
    return true;
}

}  // namespace orb
