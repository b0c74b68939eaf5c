#include "app/quality_settings.h"

#include <QSettings>

#include "app/number_field.h"

namespace orb {

namespace {

// A stored value: absent keeps the default, an empty text is "not set".
void ReadOptional(const QSettings& s, const char* key, std::optional<double>& value) {
    const QVariant v = s.value(QString::fromLatin1(key));
    if (!v.isValid()) return;
    double d = 0;
    if (ParseNumberField(v.toString(), d))
        value = d;
    else
        value.reset();
}

void ReadNumber(const QSettings& s, const char* key, double& value) {
    double d = 0;
    if (ParseNumberField(s.value(QString::fromLatin1(key)).toString(), d)) value = d;
}

QString Text(const std::optional<double>& v) {
    return v ? FormatNumberField(*v) : QString();
}

constexpr const char* kStillGroup = "Quality/Still";

void ReadStillLimits(QSettings& s, StillLimits& l) {
    s.beginGroup(QString::fromLatin1(kStillGroup));
    ReadNumber(s, "GravityMg", l.gravityMg);
    ReadNumber(s, "MagneticNt", l.magneticNt);
    ReadNumber(s, "Inclination", l.inclination);
    ReadNumber(s, "Azimuth", l.azimuth);
    ReadNumber(s, "AzimuthMinInclination", l.azimuthMinInclination);
    double samples = l.minSamples;
    ReadNumber(s, "MinSamples", samples);
    if (samples >= 2 && samples <= 1e6) l.minSamples = static_cast<int>(samples);
    s.endGroup();
    if (!StillLimitsProblem(l).empty()) l = {};  // a damaged file gives the defaults
}

void WriteStillLimits(QSettings& s, const StillLimits& l) {
    s.beginGroup(QString::fromLatin1(kStillGroup));
    s.setValue(QStringLiteral("GravityMg"), FormatNumberField(l.gravityMg));
    s.setValue(QStringLiteral("MagneticNt"), FormatNumberField(l.magneticNt));
    s.setValue(QStringLiteral("Inclination"), FormatNumberField(l.inclination));
    s.setValue(QStringLiteral("Azimuth"), FormatNumberField(l.azimuth));
    s.setValue(QStringLiteral("AzimuthMinInclination"), FormatNumberField(l.azimuthMinInclination));
    s.setValue(QStringLiteral("MinSamples"), l.minSamples);
    s.endGroup();
}

}  // namespace

QString WellQualityGroup(const QString& wellNumber) {
    // Hex keeps any well number (slashes, spaces, ideographs) a single key.
    return QStringLiteral("Quality/well_") + QString::fromLatin1(wellNumber.toUtf8().toHex());
}

WellQualitySettings LoadWellQualitySettings(const QString& wellNumber) {
    WellQualitySettings w;
    QSettings s;
    s.beginGroup(WellQualityGroup(wellNumber));
    ReadOptional(s, "LocalGravity", w.references.totalGravity);
    ReadOptional(s, "LocalField", w.references.fieldStrength);
    ReadOptional(s, "LocalDip", w.references.dip);
    ReadNumber(s, "GravityTolerance", w.tolerances.totalGravity);
    ReadNumber(s, "FieldTolerance", w.tolerances.fieldStrength);
    ReadNumber(s, "DipTolerance", w.tolerances.dip);
    if (s.value(QStringLiteral("DlsUnit")).toString() == QStringLiteral("100ft"))
        w.dlsInterval = DlsInterval::kPer100Feet;
    ReadOptional(s, "VsAzimuth", w.vsAzimuth);
    s.endGroup();
    ReadStillLimits(s, w.still);
    return w;
}

void SaveWellQualitySettings(const QString& wellNumber, const WellQualitySettings& w) {
    QSettings s;
    s.beginGroup(WellQualityGroup(wellNumber));
    s.setValue(QStringLiteral("WellNumber"), wellNumber);  // for a reader of the file
    s.setValue(QStringLiteral("LocalGravity"), Text(w.references.totalGravity));
    s.setValue(QStringLiteral("LocalField"), Text(w.references.fieldStrength));
    s.setValue(QStringLiteral("LocalDip"), Text(w.references.dip));
    s.setValue(QStringLiteral("GravityTolerance"), FormatNumberField(w.tolerances.totalGravity));
    s.setValue(QStringLiteral("FieldTolerance"), FormatNumberField(w.tolerances.fieldStrength));
    s.setValue(QStringLiteral("DipTolerance"), FormatNumberField(w.tolerances.dip));
    s.setValue(QStringLiteral("DlsUnit"),
               w.dlsInterval == DlsInterval::kPer100Feet ? QStringLiteral("100ft") : QStringLiteral("30m"));
    s.setValue(QStringLiteral("VsAzimuth"), Text(w.vsAzimuth));
    s.endGroup();
    WriteStillLimits(s, w.still);
}

QcSettings MakeQcSettings(const WellQualitySettings& w, TemperatureRange temperature) {
    QcSettings q;
    q.references = w.references;
    q.tolerances = w.tolerances;
    q.temperature = temperature;
    q.still = w.still;
    return q;
}

TrajectorySettings MakeTrajectorySettings(const WellQualitySettings& w, float declination) {
    TrajectorySettings t;
    t.declination = declination;
    t.vsAzimuth = w.vsAzimuth;
    t.dlsInterval = w.dlsInterval;
    t.depthUnit = w.dlsInterval == DlsInterval::kPer100Feet ? DepthUnit::kFeet : DepthUnit::kMetres;
    return t;
}

TrajectoryPlotOptions MakeTrajectoryPlotOptions(const WellQualitySettings& w, float declination,
                                                const SurveyContext* context) {
    TrajectoryPlotOptions o{MakeTrajectorySettings(w, declination), MakeQcSettings(w), {}};
    o.references.declination.value = declination;
    if (context) {
        o.references = SessionReferences(*context, declination);
        if (context->tieOn) o.trajectory.tieOn = *context->tieOn;
        o.trajectory.declination = AzimuthCorrection(o.references);
    }
    return o;
}

bool TrajectoryPageWanted() {
    return QSettings().value(QString::fromLatin1(kTrajectoryPageKey), false).toBool();
}

void SetTrajectoryPageWanted(bool on) {
    QSettings().setValue(QString::fromLatin1(kTrajectoryPageKey), on);
}

}  // namespace orb
