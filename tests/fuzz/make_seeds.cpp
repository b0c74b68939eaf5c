// Writes the seed corpora of the fuzz targets from real sessions: the device
// logic downloads from the simulated probe and synchronizer (the same
// simulator orb-devsim runs), and the survey it gets is saved as a TLM file,
// shown in the survey table and exported to TXT layouts and workbooks.
//
// Usage: fuzz_make_seeds <tests/fuzz folder>. Deterministic: the clocks are
// fixed, so the corpora only change when the formats or the simulator do.
#include <gsf/gsf.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "device/device_fakes.h"
#include "devsim/civil_time.h"
#include "devsim/device_simulator.h"
#include "document/tlm_file.h"
#include "frame_dispatch/script_ops.h"
#include "report/biff8_writer.h"
#include "report/excel_export.h"
#include "report/txt_export_format.h"
#include "report/xls_file.h"

namespace fs = std::filesystem;
using orb::test::Bytes;
namespace fz = orb::fuzz;

namespace {

fs::path g_root;

void Save(const std::string& target, const std::string& name, const void* data, std::size_t size) {
    const fs::path dir = g_root / target / "corpus";
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
}
void Save(const std::string& target, const std::string& name, const Bytes& b) {
    Save(target, name, b.data(), b.size());
}
void Save(const std::string& target, const std::string& name, const std::string& s) {
    Save(target, name, s.data(), s.size());
}

// The same moment for the program and the devices: 2025-06-07 10:15:30.
constexpr orb::DateTimeFields kNow{2025, 6, 7, 10, 15, 30};

// A short stretch of the built-in survey: `samples` stored samples from the
// middle of the well and the marks that fall among them.
devsim::Scenario SmallScenario(std::size_t samples) {
    const int64_t now = devsim::CivilSeconds(kNow);
    devsim::Scenario s = devsim::DefaultScenario(now);
    const std::size_t from = s.samples.size() / 3;
    s.samples = {s.samples.begin() + from, s.samples.begin() + from + samples};
    const int64_t first = devsim::CivilSeconds(s.samples.front().time);
    const int64_t last = devsim::CivilSeconds(s.samples.back().time);
    std::vector<devsim::MarkSpec> marks;
    for (const auto& m : s.marks) {
        const int64_t t = devsim::CivilSeconds(m.time);
        if (t >= first && t <= last) marks.push_back(m);
    }
    s.marks = marks;
    for (std::size_t i = 0; i < s.marks.size(); ++i) s.marks[i].sequence = static_cast<int32_t>(i);
    s.announcedMarks = s.keptMarks = -1;
    return s;
}

// Runs the device logic against the simulator and writes down, as a
// fuzz_frame_dispatch script, every event and every byte that reached it.
class Recorder {
public:
    explicit Recorder(devsim::Scenario scenario)
        : sim_(std::move(scenario), [] { return devsim::CivilSeconds(kNow); }) {
        rig.port.present = {1, 2, 3};
        rig.op.workModeDialog = [this](int32_t& delay, int32_t& interval) {
            delay = 7;
            interval = 12;
            Emit({static_cast<uint8_t>(delay - 1), static_cast<uint8_t>(interval - 1), 1});
            return true;
        };
        rig.op.portDialog = [this](int& n) {
            n = portAnswer;
            Emit({static_cast<uint8_t>(n), 1});
            return true;
        };
        rig.op.duringQuestion = [this] {
            Pump();
            Close();
        };
    }

    orb::test::Rig rig;
    Bytes script;
    int portAnswer = 1;

    void Emit(const Bytes& b) { script.insert(script.end(), b.begin(), b.end()); }

    void Command(int id) {
        Emit({fz::kOpCommand, fz::IndexOf(fz::kCommands, id)});
        rig.dc.OnCommand(id);
        Pump();
    }
    void Timer(int id) {
        Emit({fz::kOpTimer, fz::IndexOf(fz::kTimers, id)});
        rig.dc.OnTimer(id);
        Pump();
    }
    void Button(int id) {
        Emit({fz::kOpClockButton, fz::IndexOf(fz::kClockButtons, id)});
        rig.dc.OnClockButton(id);
        Pump();
    }
    void Port(uint8_t e) {
        Emit({fz::kOpPort, e});
        switch (e % 4) {
            case 0:
                if (rig.port.open) rig.port.hungUp = true;
                break;
            case 1:
                rig.port.present.erase(rig.port.open);
                break;
            case 2:
                rig.port.present.insert(1 + (e >> 2) % 3);
                break;
            default:
                rig.dc.OnPortSelect();
                Pump();
                break;
        }
    }
    void Close() { Emit({fz::kOpClose}); }

    // Bytes on the line in chunks of at most `chunk` (256 is the most one
    // event carries).
    void Line(const Bytes& bytes, std::size_t chunk = 256) {
        for (std::size_t at = 0; at < bytes.size(); at += chunk) {
            const std::size_t n = std::min(chunk, bytes.size() - at);
            Emit({fz::kOpRaw, static_cast<uint8_t>(n - 1)});
            const Bytes part(bytes.begin() + at, bytes.begin() + at + n);
            Emit(part);
            rig.Receive(part);
        }
    }

    // Hands every command written so far to the simulator and puts its
    // answers on the line, until the conversation rests.
    void Pump(std::size_t chunk = 256) {
        while (sent_ < rig.port.written.size()) {
            const Bytes command = rig.port.written[sent_++];
            if (!rig.port.IsOpen()) continue;
            for (const devsim::Output& o : sim_.Receive(command)) Line(o.bytes, chunk);
        }
    }

private:
    devsim::DeviceSimulator sim_;
    std::size_t sent_ = 0;
};

// ---- frame_dispatch -------------------------------------------------------------

struct Sessions {
    orb::COrbDoc survey;  // the downloaded survey with its marks
    int16_t delay = 0, interval = 0;
};

Sessions WriteDispatchSeeds() {
    using namespace orb::device_cmd;
    namespace tid = orb::timer_id;
    Sessions out;
    {
        Recorder r(SmallScenario(12));
        r.Command(kProbeDownload);
        r.Command(kSyncDownload);
        Save("frame_dispatch", "probe_and_sync_download.bin", r.script);
        out.survey = r.rig.doc;
        out.delay = r.rig.doc.timing().sampleDelayMinutes;
        out.interval = r.rig.doc.timing().sampleIntervalSeconds;
    }
    {
        Recorder r(SmallScenario(4));
        r.rig.op.duringRealTime = [&] {
            r.Pump();
            for (int i = 0; i < 3; ++i) r.Timer(tid::kRealTime);
            r.Close();
        };
        r.Command(kProbeRealTime);
        Save("frame_dispatch", "real_time.bin", r.script);
    }
    {
        Recorder r(SmallScenario(4));
        r.rig.op.duringClock = [&] {
            r.Timer(tid::kClockNow);
            r.Button(orb::clock_button::kReadProbe);
            r.Timer(tid::kClockReadProbe);
            r.Button(orb::clock_button::kSetProbe);
            r.Button(orb::clock_button::kReadSync);
            r.Timer(tid::kClockReadSync);
            r.Button(orb::clock_button::kSetSync);
            r.Close();
        };
        r.Command(kProbeClock);
        Save("frame_dispatch", "clocks.bin", r.script);
    }
    {
        Recorder r(SmallScenario(4));
        r.Command(kProbeTest);
        r.Command(kProbeInfo);
        r.Command(kSyncTest);
        r.rig.port.open = 0;  // a command nobody answers, then the time-out
        r.Command(kProbeTest);
        r.rig.port.open = 1;
        r.Timer(tid::kReply);
        Save("frame_dispatch", "tests_info_timeout.bin", r.script);
    }
    {
        Recorder r(SmallScenario(4));
        r.Command(kProbeWorkMode);
        r.Command(kSyncClear);
        for (int i = 0; i < 3; ++i) r.Timer(tid::kClearAnimation);
        Save("frame_dispatch", "work_mode_and_clear.bin", r.script);
    }
    {
        Recorder r(SmallScenario(6));
        r.Command(kProbeInfo);
        r.Port(0);             // hang-up
        r.Port(1);             // the port disappears
        r.Port(3);             // choosing it again fails
        r.Port(2 | (0 << 2));  // it comes back as port 1
        r.Port(3);             // and opens again
        r.Command(kProbeDownload);
        Save("frame_dispatch", "unplug_replug_download.bin", r.script);
    }
    {
        devsim::Scenario s = SmallScenario(8);
        s.faults.seed = 7;
        s.faults.garbageBytes = 5;
        s.faults.splitMaxChunk = 9;
        s.faults.corruptChecksum = {{"sample", {2}}};
        s.faults.longHeaderFrames = true;
        Recorder r(std::move(s));
        r.Command(kProbeDownload);
        Save("frame_dispatch", "download_line_faults.bin", r.script);
    }
    {
        devsim::Scenario s = SmallScenario(8);
        s.faults.stopAfterSamples = 3;
        Recorder r(std::move(s));
        r.Command(kProbeDownload);
        r.Timer(tid::kReply);
        r.Command(kSyncDownload);
        Save("frame_dispatch", "stream_stops.bin", r.script);
    }
    {
        // Replies nobody asked for, addressed differently, and counts that lie.
        Recorder r(SmallScenario(2));
        Bytes d(4, 0);
        orb::StoreLE<int32_t>(d, 0, -3);
        r.Emit({fz::kOpFrame | (1 << 3), 0x03, 4});
        r.Emit(d);
        orb::StoreLE<int32_t>(d, 0, 2000000000);
        r.Emit({fz::kOpFrame | (2 << 3), 0x03, 4});
        r.Emit(d);
        r.Emit({fz::kOpFrame, 0x13, 8, 5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
        r.Emit({fz::kOpLongFrame, 0x01, 3, 1, 2, 3});
        r.Emit({fz::kOpFrame | fz::kOpSlow, 0x00, 1, 0});
        Save("frame_dispatch", "unasked_replies.bin", r.script);
    }
    return out;
}

// ---- tlm_loader -------------------------------------------------------------------

Bytes WithTexts(const std::u16string& delay, const std::u16string& interval, const orb::COrbDoc& doc) {
    // The file as written, with the timing texts replaced.
    Bytes out = {'K', 'V', 'O', 'R', 'B'};
    auto text = [&](const std::u16string& s) {
        Bytes n(4, 0);
        orb::StoreLE<uint32_t>(n, 0, static_cast<uint32_t>(s.size()));
        out.insert(out.end(), n.begin(), n.end());
        for (char16_t c : s) {
            out.push_back(static_cast<uint8_t>(c & 0xFF));
            out.push_back(static_cast<uint8_t>(c >> 8));
        }
    };
    text(doc.teamNumber());
    text(doc.wellNumber());
    text(doc.probeNumber());
    text(delay);
    text(interval);
    // Records and marks: everything after the texts of the plain encoding.
    const Bytes full = orb::EncodeTlm(doc, {});
    const std::size_t tail = 4 + doc.RecordCount() * 108 + 4 + doc.MarkCount() * 20;
    out.insert(out.end(), full.end() - static_cast<std::ptrdiff_t>(tail), full.end());
    return out;
}

void WriteTlmSeeds(const Sessions& s) {
    const orb::TlmTiming timing{s.delay, s.interval};
    Save("tlm_loader", "empty_survey.tlm", orb::EncodeTlm(orb::COrbDoc(), {}));
    orb::COrbDoc survey = s.survey;
    survey.SetTeamNumber(u"井队编号 32815");
    survey.SetWellNumber(u"井 号 X-7");
    const Bytes downloaded = orb::EncodeTlm(survey, timing);
    Save("tlm_loader", "downloaded_survey.tlm", downloaded);

    orb::COrbDoc noMarks = survey;
    noMarks.RemoveAllMarks();
    Save("tlm_loader", "records_no_marks.tlm", orb::EncodeTlm(noMarks, {-5, 10}));

    orb::COrbDoc marksOnly;
    for (const auto& m : survey.syncRecords()) marksOnly.AppendMark(m);
    Save("tlm_loader", "marks_only.tlm", orb::EncodeTlm(marksOnly, {32767, -32768}));

    orb::COrbDoc three;
    for (std::size_t i = 0; i < 3 && i < survey.RecordCount(); ++i) three.AppendRecord(survey.Record(i));
    three.SetProbeNumber(u"TALOE20931");
    Save("tlm_loader", "timing_texts_atoi.tlm", WithTexts(u" +07min", u"12abc", three));
    Save("tlm_loader", "timing_texts_letters.tlm", WithTexts(u"abc", u"99999999999", three));

    Bytes truncated = downloaded;
    truncated.resize(truncated.size() / 2);
    Save("tlm_loader", "truncated.tlm", truncated);
    Bytes trailing = orb::EncodeTlm(three, timing);
    trailing.push_back(0);
    Save("tlm_loader", "trailing_byte.tlm", trailing);
    Bytes wrongMagic = orb::EncodeTlm(three, timing);
    wrongMagic[4] = 'C';
    Save("tlm_loader", "wrong_magic.tlm", wrongMagic);
}

// ---- expfmt_loader ----------------------------------------------------------------

std::string TableRows(const orb::TableSource& table, std::size_t rows) {
    std::string out;
    for (std::size_t r = 0; r < table.RowCount() && r < rows; ++r) {
        out += table.IsChecked(r) ? '1' : '0';
        for (int c = 1; c < orb::kTableColumns; ++c) out += '\t' + table.CellText(r, c);
        out += '\n';
    }
    return out;
}

void WriteExpFmtSeeds(const orb::TableSource& table) {
    orb::TxtExportFormat f;
    Save("expfmt_loader", "defaults.ini", orb::EncodeExpFmt(f));
    f.count = 3;
    f.columns[0] = 0;
    f.columns[1] = 3;
    f.columns[2] = 4;
    Save("expfmt_loader", "number_inclination_azimuth.ini", orb::EncodeExpFmt(f));
    const std::string layout = orb::EncodeExpFmt(f);
    orb::TxtExportFormat all;
    all.separator = 0;
    all.count = orb::kExportColumnCount;
    for (int i = 0; i < orb::kExportColumnCount; ++i) all.columns[i] = orb::kExportColumnCount - 1 - i;
    Save("expfmt_loader", "all_columns_comma.ini", orb::EncodeExpFmt(all));
    orb::TxtExportFormat bare;
    bare.writeCaptions = 0;
    bare.count = 4;
    for (int i = 0; i < 4; ++i) bare.columns[i] = 12 + i;
    Save("expfmt_loader", "no_captions_time_true_azimuth.ini", orb::EncodeExpFmt(bare));

    std::string damaged = orb::EncodeExpFmt(f);
    damaged[8 + 4] = 0;  // column 0 twice
    Save("expfmt_loader", "repeated_column.ini", damaged);
    Save("expfmt_loader", "short.ini", layout.substr(0, 99));
    Save("expfmt_loader", "long.ini", layout + '\0');

    Save("expfmt_loader", "layout_with_table.bin", orb::EncodeExpFmt(all) + TableRows(table, 12));
    Save("expfmt_loader", "layout_with_few_rows.bin", layout + TableRows(table, 3));
}

// ---- xls_reader ---------------------------------------------------------------------

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bare "Workbook" stream of an .xls file.
std::string WorkbookStream(const std::string& xls) {
    gsf_init();
    GsfInput* in = gsf_input_memory_new(reinterpret_cast<const guint8*>(xls.data()),
                                        static_cast<gsf_off_t>(xls.size()), FALSE);
    GsfInfile* ole = gsf_infile_msole_new(in, nullptr);
    std::string out;
    if (ole) {
        if (GsfInput* wb = gsf_infile_child_by_name(ole, "Workbook")) {
            out.resize(static_cast<std::size_t>(gsf_input_size(wb)));
            gsf_input_read(wb, out.size(), reinterpret_cast<guint8*>(out.data()));
            g_object_unref(wb);
        }
        g_object_unref(ole);
    }
    g_object_unref(in);
    return out;
}

void WriteXlsSeeds(const orb::TableSource& table) {
    orb::XlsWorkbook fresh;
    orb::PutSurveyRows(fresh, table, -5.5f);
    const std::string exported = orb::EncodeXlsFile(fresh);
    Save("xls_reader", "exported_survey.xls", exported);
    Save("xls_reader", "exported_survey.workbook", orb::EncodeBiff8Workbook(fresh));

    const std::string foreign = ReadFile(g_root / ".." / "report" / "data" / "foreign.xls");
    if (foreign.empty()) return;
    Save("xls_reader", "foreign.xls", foreign);
    Save("xls_reader", "foreign.workbook", WorkbookStream(foreign));
    orb::XlsWorkbook book;
    std::string error;
    if (!orb::DecodeXlsFile(foreign, book, &error)) throw std::runtime_error("foreign.xls: " + error);
    orb::PutSurveyRows(book, table, 2.0f);
    Save("xls_reader", "foreign_updated.xls", orb::EncodeXlsFile(book));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds <tests/fuzz folder>\n";
        return 2;
    }
    g_root = argv[1];
    try {
        const Sessions s = WriteDispatchSeeds();
        WriteTlmSeeds(s);
        orb::COrbDoc doc = s.survey;
        doc.SetTiming(orb::SurveyTiming{s.delay, s.interval});
        orb::SurveyTableModel table(doc);
        table.ReloadTable();
        WriteExpFmtSeeds(table);
        WriteXlsSeeds(table);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
