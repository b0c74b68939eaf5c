// The station-quality references and trajectory options of a well, entered
// once per well and remembered in the settings under its well number, and
// the report's trajectory-page switch.
#pragma once

#include <QString>
#include <optional>

#include "core/probe_limits.h"
#include "core/station_qc.h"
#include "core/trajectory.h"
#include "report/trajectory_plot.h"

namespace orb {

struct WellQualitySettings {
    QcReferences references;  // an unset reference skips its check
    QcTolerances tolerances;
    // Per 30 m: depths in metres; per 100 ft: depths in feet.
    DlsInterval dlsInterval = DlsInterval::kPer30Metres;
    std::optional<double> vsAzimuth;  // unset: the closure azimuth
    // Belongs to the probe and the way it is run, not to the well: kept
    // once for all wells ("Quality/Still").
    StillLimits still;
};

// Settings group of a well number (any text, also empty).
QString WellQualityGroup(const QString& wellNumber);

// What was saved for the well, or the defaults (local gravity 1.000, the
// other references unset, tolerances 0.003 g, 300 nT and 0.25°).
WellQualitySettings LoadWellQualitySettings(const QString& wellNumber);
void SaveWellQualitySettings(const QString& wellNumber, const WellQualitySettings& settings);

QcSettings MakeQcSettings(const WellQualitySettings& s,
                          TemperatureRange temperature = kDefaultTemperatureRange);
TrajectorySettings MakeTrajectorySettings(const WellQualitySettings& s, float declination);
// With a survey context, its north reference, convergence and tie-on apply
// and the declination's source is stated.
TrajectoryPlotOptions MakeTrajectoryPlotOptions(const WellQualitySettings& s, float declination,
                                                const SurveyContext* context = nullptr);

// The report's optional trajectory page ("Report/TrajectoryPage", off by default).
inline constexpr const char* kTrajectoryPageKey = "Report/TrajectoryPage";
bool TrajectoryPageWanted();
void SetTrajectoryPageWanted(bool on);

}  // namespace orb
