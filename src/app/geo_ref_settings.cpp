#include "app/geo_ref_settings.h"

#include <QSettings>

#include "app/quality_settings.h"
#include "geo/coordinate_text.h"

namespace orb {

WellGeoSettings LoadWellGeoSettings(const QString& well) {
    WellGeoSettings g;
    QSettings s;
    s.beginGroup(WellQualityGroup(well));
    g.latitude = s.value(QStringLiteral("GeoLatitude")).toString();
    g.longitude = s.value(QStringLiteral("GeoLongitude")).toString();
    g.height = s.value(QStringLiteral("GeoHeight"), 0.0).toDouble();
    g.projection = s.value(QStringLiteral("GeoProjection"), g.projection).toString();
    g.north = ParseNorthReference(s.value(QStringLiteral("NorthReference")).toString().toStdString())
                  .value_or(NorthReference::kTrue);
    g.useGravity = s.value(QStringLiteral("GeoUseGravity"), false).toBool();
    g.modelDeclination = s.value(QStringLiteral("ModelDeclination"), 0.0).toDouble();
    g.declinationModel = s.value(QStringLiteral("DeclinationModel")).toString();
    return g;
}

void SaveWellGeoSettings(const QString& well, const WellGeoSettings& g) {
    QSettings s;
    s.beginGroup(WellQualityGroup(well));
    s.setValue(QStringLiteral("GeoLatitude"), g.latitude);
    s.setValue(QStringLiteral("GeoLongitude"), g.longitude);
    s.setValue(QStringLiteral("GeoHeight"), g.height);
    s.setValue(QStringLiteral("GeoProjection"), g.projection);
    s.setValue(QStringLiteral("NorthReference"), QString::fromLatin1(NorthReferenceKey(g.north)));
    s.setValue(QStringLiteral("GeoUseGravity"), g.useGravity);
    s.setValue(QStringLiteral("ModelDeclination"), g.modelDeclination);
    s.setValue(QStringLiteral("DeclinationModel"), g.declinationModel);
}

NorthInputs MakeNorthInputs(const WellGeoSettings& g, float declination,
                            std::span<const SurveyRecord> records) {
    NorthInputs in;
    in.reference = g.north;
    in.operatorDeclination = declination;
    if (!g.declinationModel.isEmpty() && static_cast<float>(g.modelDeclination) == declination)
        in.operatorDeclinationOrigin = g.declinationModel.toStdString();
    const auto lat = ParseCoordinate(g.latitude.toStdString(), CoordinateAxis::kLatitude);
    const auto lon = ParseCoordinate(g.longitude.toStdString(), CoordinateAxis::kLongitude);
    if (lat && lon) {
        in.position = GeoPoint{*lat, *lon, g.height};
        if (const auto p = ProjectionForChoice(g.projection.toStdString(), *lon)) in.projection = *p;
    }
    in.decimalYear = DecimalYear(FirstSampleDate(records).value_or(TodayUtc()));
    return in;
}

}  // namespace orb
