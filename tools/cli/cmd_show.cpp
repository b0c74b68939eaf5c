// orb-cli show FILE.tlm: the texts, the timing values, the counts and the
// records in the table's cell formats.
#include <charconv>
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/angles.h"
#include "core/ole_date.h"

namespace orbcli {
namespace {

// printf "%0.<precision>f" without the process locale.
std::string Fixed(double v, int precision) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
    if (res.ec != std::errc()) return "?";
    return std::string(buf, res.ptr);
}

std::string TwoDigits(int64_t v) {
    return v < 10 ? "0" + std::to_string(v) : std::to_string(v);
}

// Delay plus index intervals as hours (not reduced to a day), minutes, seconds.
std::string RelativeTime(const orb::TlmTiming& t, std::size_t index) {
    int64_t s = int64_t{t.sampleDelayMinutes} * 60 + int64_t{t.sampleIntervalSeconds} * int64_t(index);
    const std::string sign = s < 0 ? "-" : "";
    if (s < 0) s = -s;
    return sign + TwoDigits(s / 3600) + ":" + TwoDigits(s / 60 % 60) + ":" + TwoDigits(s % 60);
}

void Cell(std::string& line, const std::string& text, std::size_t width) {
    line.push_back(' ');
    if (text.size() < width) line.append(width - text.size(), ' ');
    line += text;
}

struct Column {
    const char* title;
    std::size_t width;
};
constexpr Column kColumns[] = {
    {"#", 6},     {"sel", 3}, {"time", 9}, {"depth", 9}, {"inc", 7},  {"azi", 6},  {"gtf", 6},
    {"mtf", 6},   {"dip", 6}, {"gt", 7},   {"mt", 7},    {"temp", 6}, {"volt", 5}, {"sample time", 19},
    {"field", 6}, {"gx", 8},  {"gy", 8},   {"gz", 8},    {"mx", 8},   {"my", 8},   {"mz", 8}};

std::string RecordLine(const orb::SurveyRecord& r, std::size_t i, const orb::TlmTiming& t) {
    std::string azimuth = Fixed(r.azimuth, 1);
    if (azimuth == "360.0") azimuth = "0.0";
    const std::string cells[] = {std::to_string(i),
                                 std::to_string(r.selected),
                                 RelativeTime(t, i),
                                 r.selected != 0 ? Fixed(r.depth, 2) : "",
                                 Fixed(r.inclination, 2),
                                 azimuth,
                                 Fixed(r.gravityToolFace, 1),
                                 Fixed(r.magneticToolFace, 1),
                                 Fixed(r.dip, 1),
                                 Fixed(r.totalGravity, 4),
                                 Fixed(r.totalMagnetic, 4),
                                 Fixed(r.temperature, 1),
                                 Fixed(r.batteryVoltage, 1),
                                 orb::FormatOleDate(r.sampleTime, r.sampleTimeStatus),
                                 Fixed(r.totalMagnetic * 52326.0f, 0),
                                 Fixed(r.gx, 4),
                                 Fixed(r.gy, 4),
                                 Fixed(r.gz, 4),
                                 Fixed(r.mx, 4),
                                 Fixed(r.my, 4),
                                 Fixed(r.mz, 4)};
    std::string line;
    for (std::size_t c = 0; c < std::size(kColumns); ++c) Cell(line, cells[c], kColumns[c].width);
    line.push_back('\n');
    return line;
}

void PrintRecords(const orb::COrbDoc& doc, const orb::TlmTiming& timing) {
    std::string out;
    for (const Column& c : kColumns) Cell(out, c.title, c.width);
    out.push_back('\n');
    for (std::size_t i = 0; i < doc.RecordCount(); ++i) {
        out += RecordLine(doc.Record(i), i, timing);
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

void PrintMarks(const orb::COrbDoc& doc) {
    std::printf("\n%8s %5s  %s\n", "sequence", "valid", "mark time");
    for (const orb::SyncRecord& m : doc.syncRecords()) {
        std::printf("%8d %5d  %s\n", m.sequence, m.valid,
                    orb::FormatOleDate(m.markTime, m.markTimeStatus).c_str());
    }
}

void PrintSummary(const std::string& path, const orb::COrbDoc& doc, const orb::TlmTiming& t) {
    std::printf("file:      %s\n", path.c_str());
    std::printf("井队编号:  %s\n", ToUtf8(doc.teamNumber()).c_str());
    std::printf("井号:      %s\n", ToUtf8(doc.wellNumber()).c_str());
    std::printf("探管编号:  %s\n", ToUtf8(doc.probeNumber()).c_str());
    std::printf("delay:     %d min\n", t.sampleDelayMinutes);
    std::printf("interval:  %d s\n", t.sampleIntervalSeconds);
    std::printf("records:   %zu (selected: %u)\n", doc.RecordCount(), orb::CountSelected(doc.records()));
    std::printf("marks:     %zu\n", doc.MarkCount());
}

struct ShowArgs {
    SurveyFileArgs file;
    bool noRecords = false;
    bool marks = false;
};

int RunShow(const ShowArgs& args) {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    bool empty = false;
    if (!LoadSurvey(args.file.file, doc, timing, true, &empty)) return kExitFileError;
    if (empty) {
        std::printf("%s: 文件为空（empty file, nothing to show）\n", args.file.file.c_str());
        return kExitOk;
    }
    PrintSummary(args.file.file, doc, timing);
    if (!args.noRecords) {
        std::printf("\n");
        PrintRecords(doc, timing);
    }
    if (args.marks) PrintMarks(doc);
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<ShowArgs>();
    AddSurveyFileArgs(sub, args->file, false);
    sub.add_flag("--no-records", args->noRecords, "Only the texts, timing values and counts");
    sub.add_flag("--marks", args->marks, "Also list the synchronizer marks");
    return [args] { return RunShow(*args); };
}

Register reg{"show", "Show a survey file: texts, delay, interval, counts and the records table", Setup};

}  // namespace
}  // namespace orbcli
