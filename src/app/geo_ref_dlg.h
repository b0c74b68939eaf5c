// "井位与地磁参考": the well's position, height, survey date and grid; shows
// the built-in model's field, the normal gravity and the grid convergence as
// they are typed, and hands values over only on the operator's click:
// 用作磁偏角 (the well's declination) and 用作质量参考 (the station-quality
// field strength, dip and, if ticked, local gravity).
#pragma once

#include <QDate>
#include <QDialog>
#include <optional>

#include "app/geo_ref_settings.h"
#include "geo/magnetic_reference.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orb {

class CGeoRefDlg : public QDialog {
    Q_OBJECT
public:
    CGeoRefDlg(const MagneticReference& models, QWidget* parent = nullptr);

    // Fills the fields; the date is the survey's (first record) or today.
    void SetValues(const WellGeoSettings& settings, const QDate& surveyDate);
    // The fields as they are now (position, grid, the gravity tick).
    WellGeoSettings Values(WellGeoSettings base) const;

    // The field at the typed position and date, if the models give one.
    const std::optional<MagneticField>& field() const { return field_; }
    double normalGravityInG() const { return gravityG_; }

    QLineEdit* latitudeEdit() const { return lat_; }
    QLineEdit* longitudeEdit() const { return lon_; }
    QLineEdit* heightEdit() const { return height_; }
    QDateEdit* dateEdit() const { return date_; }
    QComboBox* projectionBox() const { return projection_; }
    QLineEdit* meridianEdit() const { return meridian_; }
    QCheckBox* gravityBox() const { return useGravity_; }
    QLabel* resultLabel() const { return result_; }
    QPushButton* declinationButton() const { return takeDeclination_; }
    QPushButton* qualityButton() const { return takeQuality_; }

signals:
    void declinationTaken(double declination, const QString& model);
    // gravity < 0: not taken (the box is not ticked).
    void qualityReferencesTaken(double fieldStrength, double dip, double gravity);

private:
    void Recompute();
    QString ProjectionChoice() const;

    const MagneticReference& models_;
    QLineEdit* lat_;
    QLineEdit* lon_;
    QLineEdit* height_;
    QDateEdit* date_;
    QComboBox* projection_;
    QLineEdit* meridian_;
    QCheckBox* useGravity_;
    QLabel* result_;
    QPushButton* takeDeclination_;
    QPushButton* takeQuality_;
    std::optional<MagneticField> field_;
    double gravityG_ = 0;
};

}  // namespace orb
