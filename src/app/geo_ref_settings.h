// What the "井位与地磁参考" dialog and the trajectory's north reference keep
// per well, beside the well's quality references: the position, the grid
// and the north reference, and the declination the operator took from a
// model (so its origin can be shown while it is still the one in force).
#pragma once

#include <QString>

#include "geo/north_resolver.h"

namespace orb {

struct WellGeoSettings {
    QString latitude, longitude;                 // as typed (decimal or D-M-S); empty: unknown
    double height = 0;                           // metres above sea level
    QString projection = QStringLiteral("utm");  // utm, gk3, gk6, tm:CM
    NorthReference north = NorthReference::kTrue;
    bool useGravity = false;  // 用作质量参考 also sets the local gravity
    // The declination last taken from a model, and that model's name.
    double modelDeclination = 0;
    QString declinationModel;
};

WellGeoSettings LoadWellGeoSettings(const QString& wellNumber);
void SaveWellGeoSettings(const QString& wellNumber, const WellGeoSettings& settings);

// The inputs of the north reference: the well's declination (from a model
// when it is still the one taken from it), position, grid and the date of
// the first record (else today).
NorthInputs MakeNorthInputs(const WellGeoSettings& s, float declination,
                            std::span<const SurveyRecord> records);

}  // namespace orb
