// orb-cli qc FILE.tlm: the quality verdict of every record against the
// well's local gravity, field strength and dip. A report: the exit status is
// 0 also when stations fail.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/angles.h"
#include "core/fixed_text.h"
#include "core/outside_file.h"
#include "core/station_qc.h"

namespace orbcli {
namespace {

struct QcArgs {
    SurveyFileArgs file;
    std::string gravity = "1.000";
    std::string field;
    std::string dip;
    std::string tolerances;
    std::string temperatureRange;
    std::string calibration;
};

bool ParseReference(const std::string& name, const std::string& text, std::optional<double>& reference) {
    if (text.empty()) return true;
    double v = 0;
    if (!ParseNumberOption(name, text, v)) return false;
    reference = v;
    return true;
}

bool LoadCalibration(const std::string& path, orb::ProbeCalibration& cal) {
    std::string bytes;
    // One byte more than a block, so a longer file is seen as one.
    const orb::FileResult read = orb::ReadOutsideFile(path, bytes, orb::ProbeCalibration::kBytes + 1);
    if (!read.ok() && read.code != orb::FileStatus::kTooLarge) {
        ReportError(path, "cannot read the calibration file: " + read.message);
        return false;
    }
    if (!read.ok()) {
        ReportError(path, "a calibration block has exactly 912 bytes, this file has more");
        return false;
    }
    if (bytes.size() != orb::ProbeCalibration::kBytes) {
        ReportError(
            path, "a calibration block has exactly 912 bytes, this file has " + std::to_string(bytes.size()));
        return false;
    }
    cal = orb::ProbeCalibration::FromBytes(
        std::span<const uint8_t, 912>(reinterpret_cast<const uint8_t*>(bytes.data()), 912));
    return true;
}

bool BuildSettings(const QcArgs& a, orb::QcSettings& s) {
    s.references.totalGravity.reset();
    orb::QcTolerances& t = s.tolerances;
    if (!ParseReference("--gravity", a.gravity, s.references.totalGravity) ||
        !ParseReference("--field", a.field, s.references.fieldStrength) ||
        !ParseReference("--dip", a.dip, s.references.dip) ||
        !ParseNumberList("--tolerances", a.tolerances.empty() ? ",," : a.tolerances,
                         {&t.totalGravity, &t.fieldStrength, &t.dip}) ||
        (!a.temperatureRange.empty() && !ParseNumberList("--temperature-range", a.temperatureRange,
                                                         {&s.temperature.min, &s.temperature.max}))) {
        return false;
    }
    const std::string problem = orb::QcSettingsProblem(s);
    if (!problem.empty()) std::fprintf(stderr, "orb-cli: %s\n", problem.c_str());
    return problem.empty();
}

std::string ReferenceText(orb::QcRule rule, const std::optional<double>& ref, double tolerance,
                          int decimals) {
    std::string s = orb::QcRuleName(rule);
    if (!ref) return s + " 未设置（不检查）";
    return s + " " + orb::FixedTextAtLeast(*ref, decimals) + " ± " +
           orb::FixedTextAtLeast(tolerance, decimals);
}

void PrintSettings(const orb::QcSettings& s, bool estimated) {
    const orb::QcReferences& r = s.references;
    const orb::QcTolerances& t = s.tolerances;
    std::fprintf(stderr, "参考值: %s; %s; %s; 温度范围 %s ~ %s; 饱和检查: %s\n",
                 ReferenceText(orb::QcRule::kTotalGravity, r.totalGravity, t.totalGravity, 3).c_str(),
                 ReferenceText(orb::QcRule::kFieldStrength, r.fieldStrength, t.fieldStrength, 0).c_str(),
                 ReferenceText(orb::QcRule::kDip, r.dip, t.dip, 2).c_str(),
                 orb::FixedTextAtLeast(s.temperature.min, 1).c_str(),
                 orb::FixedTextAtLeast(s.temperature.max, 1).c_str(),
                 estimated ? "按标定反推原始计数" : "文件不含原始计数，未检查");
}

std::string RecordLine(std::size_t i, const orb::SurveyRecord& r, const orb::QcResult& q,
                       const orb::QcSettings& s) {
    std::string details = orb::QcTooltipText(q, s);
    for (std::size_t p; (p = details.find('\n')) != std::string::npos;) details.replace(p, 1, "; ");
    return std::to_string(i) + "\t" + std::to_string(r.selected) + "\t" + orb::QcVerdictText(q) + "\t" +
           details + "\n";
}

int RunQc(const QcArgs& a) {
    orb::QcSettings settings;
    orb::ProbeCalibration cal;
    const bool haveCal = !a.calibration.empty();
    if (haveCal && !LoadCalibration(a.calibration, cal)) return kExitBadArgs;
    if (haveCal) settings.temperature = orb::PlausibleTemperatureRange(cal);
    if (!BuildSettings(a, settings)) return kExitBadArgs;
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    bool empty = false;
    if (!LoadSurvey(a.file.file, doc, timing, true, &empty)) return kExitFileError;
    PrintSettings(settings, haveCal);
    std::vector<orb::QcResult> results;
    orb::CheckStations(doc.records(), settings, results, haveCal ? &cal : nullptr);
    std::string out;
    std::size_t failedStations = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const orb::SurveyRecord& r = doc.Record(i);
        out += RecordLine(i, r, results[i], settings);
        failedStations += r.selected == 1 && !results[i].passed() ? 1 : 0;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fprintf(stderr, "超差记录 %zu / %zu，其中测点 %zu / %u\n", orb::CountFailed(results), results.size(),
                 failedStations, orb::CountSelected(doc.records()));
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<QcArgs>();
    AddSurveyFileArgs(sub, args->file, false);
    sub.add_option("--gravity", args->gravity, "Local gravity in g (default 1.000)");
    sub.add_option("--field", args->field,
                   "Local total field in nT (without it the field strength is not checked)");
    sub.add_option("--dip", args->dip,
                   "Local dip in degrees, negative south of the magnetic equator "
                   "(without it the dip is not checked)");
    sub.add_option("--tolerances", args->tolerances,
                   "g,f,d: tolerances of gravity, field strength (nT) and dip (degrees); "
                   "default 0.003,300,0.25; an empty field keeps its default");
    sub.add_option(
        "--temperature-range", args->temperatureRange,
        "MIN,MAX: plausible probe temperatures in °C (default -40,200, or the calibration's span)");
    sub.add_option(
        "--calibration", args->calibration,
        "912-byte calibration block the records were computed with: its plausible temperature span, "
        "and saturation estimated from the recovered raw counts");
    return [args] { return RunQc(*args); };
}

Register reg{"qc", "Quality check of every record against the local gravity, field strength and dip", Setup};

}  // namespace
}  // namespace orbcli
