// orb-cli show FILE.tlm: the texts, the timing values, the counts and the
// records in the table's cell formats.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/angles.h"
#include "core/fixed_text.h"
#include "core/ole_date.h"
#include "core/text_codec.h"
#include "view/cell_format.h"
#include "view/survey_columns.h"

namespace orbcli {
namespace {

// Delay plus index intervals as hours (not reduced to a day), minutes, seconds.
std::string RelativeTime(const orb::TlmTiming& t, std::size_t index) {
    return orb::FormatRelativeTime(
        orb::RelativeSeconds(t.sampleDelayMinutes, t.sampleIntervalSeconds, index));
}

void Cell(std::string& line, const std::string& text, int width) {
    line.push_back(' ');
    line += orb::PadLeft(text, width);
}

// The record's index and `selected` value, then the table's cells from the
// relative time on (the depth for stations only).
std::string RecordLine(const orb::SurveyRecord& r, std::size_t i, const orb::TlmTiming& t) {
    std::string line;
    Cell(line, std::to_string(i), orb::TableColumnAt(orb::kRowColumn).textWidth);
    Cell(line, std::to_string(r.selected), orb::TableColumnAt(orb::kCheckColumn).textWidth);
    Cell(line, RelativeTime(t, i), orb::TableColumnAt(orb::kRelativeTimeColumn).textWidth);
    for (int c = orb::kDepthColumn; c < orb::kTableColumns; ++c) {
        const bool shown = c != orb::kDepthColumn || r.selected != 0;
        Cell(line, shown ? orb::RecordFieldText(r, c) : std::string(), orb::TableColumnAt(c).textWidth);
    }
    line.push_back('\n');
    return line;
}

void HeaderCell(std::string& out, int column) {
    Cell(out, orb::TableColumnAt(column).shortName, orb::TableColumnAt(column).textWidth);
}

void HeaderLine(std::string& out) {
    HeaderCell(out, orb::kRowColumn);
    HeaderCell(out, orb::kCheckColumn);
    for (int c = orb::kRelativeTimeColumn; c < orb::kTableColumns; ++c) HeaderCell(out, c);
    out.push_back('\n');
}

void PrintRecords(const orb::COrbDoc& doc, const orb::TlmTiming& timing) {
    std::string out;
    HeaderLine(out);
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

// Code points that move the cursor, change the terminal's state or reorder
// what follows: C0 and C1 controls, DEL, the line separators and the
// directional formatting characters.
bool TerminalControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// A text of the file as the terminal may show it: printable UTF-8 as it is,
// controls as \x1b or \u202e. The file's texts come from whoever wrote it.
std::string TerminalText(std::u16string_view text) {
    std::string out;
    char buf[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (!TerminalControl(u)) {
            // Surrogate pairs stay together; the codec handles lone ones.
            const bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
            out += orb::Utf16ToUtf8(text.substr(i, pair ? 2 : 1));
            i += pair ? 1 : 0;
            continue;
        }
        std::snprintf(buf, sizeof buf, u < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(u));
        out += buf;
    }
    return out;
}

void PrintSummary(const std::string& path, const orb::COrbDoc& doc, const orb::TlmTiming& t) {
    std::printf("file:      %s\n", path.c_str());
    std::printf("井队编号:  %s\n", TerminalText(doc.teamNumber()).c_str());
    std::printf("井号:      %s\n", TerminalText(doc.wellNumber()).c_str());
    std::printf("探管编号:  %s\n", TerminalText(doc.probeNumber()).c_str());
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
