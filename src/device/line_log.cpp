#include "device/line_log.h"

#include <ctime>
#include <string_view>

#include "device/device_frame.h"

namespace orb {
namespace {

void AppendPadded(std::string& out, long long v, int width) {
    std::string digits = std::to_string(v);
    if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
    out += digits;
}

}  // namespace

LineLog::LineLog() : clock_([] { return std::chrono::system_clock::now(); }) {}

LineLog::~LineLog() {
    Close();
}

bool LineLog::Open(const std::string& path) {
    Close();
    if (!recorder_.Create(path)) return false;
    constexpr std::string_view kHeader = "# orb line log 1\n";
    return recorder_.Append(std::span(reinterpret_cast<const uint8_t*>(kHeader.data()), kHeader.size()));
}

void LineLog::Close() {
    recorder_.Close();
}

std::string LineLog::FormatLine(std::chrono::system_clock::time_point t, const char* direction,
                                std::span<const uint8_t> frame) {
    using namespace std::chrono;
    const auto secs = floor<seconds>(t);
    const auto micros = duration_cast<microseconds>(t - secs).count();
    const std::time_t tt = system_clock::to_time_t(secs);
    std::tm tm{};
    localtime_r(&tt, &tm);
    std::string line;
    line.reserve(40 + frame.size() * 3);
    AppendPadded(line, tm.tm_year + 1900, 4);
    line += '-';
    AppendPadded(line, tm.tm_mon + 1, 2);
    line += '-';
    AppendPadded(line, tm.tm_mday, 2);
    line += ' ';
    AppendPadded(line, tm.tm_hour, 2);
    line += ':';
    AppendPadded(line, tm.tm_min, 2);
    line += ':';
    AppendPadded(line, tm.tm_sec, 2);
    line += '.';
    AppendPadded(line, micros, 6);
    line += ' ';
    line += direction;
    line += ' ';
    line += BytesToHex(frame);
    return line;
}

void LineLog::Write(const char* direction, std::span<const uint8_t> frame) {
    if (!recorder_.IsOpen()) return;
    std::string line = FormatLine(clock_(), direction, frame);
    line += '\n';
    recorder_.Append(std::span(reinterpret_cast<const uint8_t*>(line.data()), line.size()));
}

}  // namespace orb
