// Quality checks of survey stations against the well's local field: total
// gravity, field strength and dip, each within a tolerance of a reference the
// operator enters; plus flags for an implausible probe temperature and for
// sensor counts at the limits of their 16-bit range, and for a station a
// synchronizer mark picked while the probe was moving.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "core/probe_limits.h"
#include "core/still_periods.h"
#include "core/survey_record.h"
#include "core/ui_text.h"

namespace orb {

// Turns the normalised total magnetic field into a field strength in nT (the
// table's "地磁场强度" column multiplies the same way, in single precision).
inline constexpr float kFieldStrengthReference = 52326.0f;

enum class QcRule : uint8_t { kTotalGravity, kFieldStrength, kDip };
inline constexpr std::size_t kQcRuleCount = 3;

// The local field of the well. A reference that is unset (or not finite)
// skips its check.
struct QcReferences {
    std::optional<double> totalGravity = 1.0;  // g
    std::optional<double> fieldStrength;       // nT
    std::optional<double> dip;                 // degrees, signed (-90..90); 330 is read as -30
};

struct QcTolerances {
    double totalGravity = 0.003;
    double fieldStrength = 300.0;
    double dip = 0.25;
};

struct QcSettings {
    QcReferences references;
    QcTolerances tolerances;
    TemperatureRange temperature;  // see PlausibleTemperatureRange
    StillLimits still;             // what counts as the probe standing still
};

// Empty when the settings can be used; otherwise the reason (a tolerance
// that is negative or not finite, a temperature range that is empty).
std::string QcSettingsProblem(const QcSettings& settings);

// One failed check. `measured` and `reference` are in the units of the rule
// (the dip signed).
struct QcFailure {
    QcRule rule = QcRule::kTotalGravity;
    double measured = 0;
    double reference = 0;
    double tolerance = 0;
};

struct QcResult {
    std::array<QcFailure, kQcRuleCount> failures{};
    uint8_t failureCount = 0;
    bool temperatureOutOfRange = false;
    float temperature = 0;         // the record's, for the text
    bool saturationKnown = false;  // raw counts were given or estimated
    bool saturationEstimated = false;
    uint8_t saturatedChannels = 0;  // bit k: channel k (gx gy gz mx my mz) at an int16 limit
    bool movingAtMark = false;      // matched by a mark, but in no still period

    // No check failed (the flags do not count).
    bool passed() const { return failureCount == 0; }
    // Something to show: a failed check or a flag.
    bool flagged() const {
        return !passed() || temperatureOutOfRange || saturatedChannels != 0 || movingAtMark;
    }
    std::span<const QcFailure> failed() const { return {failures.data(), failureCount}; }
};

// Field strength in nT: totalMagnetic * 52326, multiplied in float.
float FieldStrength(const SurveyRecord& r);
// The stored dip (normalised to [0, 360)) back as a signed angle: values
// above 180 become negative (330 -> -30).
double SignedDip(double storedDip);

// The three checks and the temperature flag. A value passes when its
// distance from the reference is at most the tolerance, widened by half a
// float step of the measured value (a stored float cannot hold 1.003
// exactly; its nearest float counts as on the edge). A NaN value fails.
// Saturation is not known from a record alone (it keeps no raw counts).
QcResult CheckStation(const SurveyRecord& record, const QcSettings& settings);
// The same with the raw counts the record was computed from (download,
// real-time display): saturation is then known exactly.
QcResult CheckStation(const SurveyRecord& record, const QcSettings& settings, const RawCounts& raw);

// Checks every record into `out` (resized to records.size(), reused). With a
// calibration, saturation is estimated by inverting it (EstimateRawCounts);
// that is only meaningful when it is the calibration the records came from.
void CheckStations(std::span<const SurveyRecord> records, const QcSettings& settings,
                   std::vector<QcResult>& out, const ProbeCalibration* estimateWith = nullptr);

// Sets movingAtMark of every record matched by a synchronizer mark
// (syncMatched) that lies outside every still period, and clears it
// elsewhere; `results` runs parallel to `records`. CheckStations does this.
void FlagMovingAtMark(std::span<const SurveyRecord> records, const StillLimits& limits,
                      std::span<QcResult> results);
// The records that flag would be set on, in ascending order (nothing is
// computed when no record is matched by a mark).
std::vector<std::size_t> MovingAtMarkRecords(std::span<const SurveyRecord> records,
                                             const StillLimits& limits);

// The flag's name, "测量时探管未静止".
inline constexpr const char* kMovingAtMarkText = ORB_TEXT("core", "测量时探管未静止");

// Number of results that did not pass.
std::size_t CountFailed(std::span<const QcResult> results);

// Chinese name of a rule as the table heads its column: "总加速度",
// "地磁场强度", "地磁倾角".
const char* QcRuleName(QcRule rule);

// One line per failed check and flag, joined by '\n' (UTF-8), e.g.
// "总加速度超差: 1.0042 (参考 1.000 ± 0.003)"; empty when nothing is flagged.
std::string QcTooltipText(const QcResult& result, const QcSettings& settings);

// The verdict word: "合格" (passed) or "超差" (a check failed).
const char* QcVerdictText(const QcResult& result);

}  // namespace orb
