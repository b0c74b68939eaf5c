// "测量质量设置": the well's local gravity, total field and dip with their
// tolerances, the unit of the dogleg severity and the azimuth of the
// vertical section. A blank reference skips its check; a blank azimuth
// means the closure azimuth. The frame keeps one instance.
#pragma once

#include <QString>
#include <optional>

#include "app/number_field.h"
#include "app/quality_settings.h"
#include "app/ui_language.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace orb {

inline constexpr const char* kQualitySetCaption = QT_TRANSLATE_NOOP("Orb", "测量质量设置");

class CQualitySetDlg : public CNumberDialog {
    Q_OBJECT
public:
    explicit CQualitySetDlg(QWidget* parent = nullptr);

    // Shown when the dialog opens, replaced on OK.
    QString wellNumber;
    WellQualitySettings values;

    QLineEdit* gravityEdit() const { return gravity_; }
    QLineEdit* fieldEdit() const { return field_; }
    QLineEdit* dipEdit() const { return dip_; }
    QLineEdit* gravityToleranceEdit() const { return gravityTol_; }
    QLineEdit* fieldToleranceEdit() const { return fieldTol_; }
    QLineEdit* dipToleranceEdit() const { return dipTol_; }
    QComboBox* dlsUnitBox() const { return dlsUnit_; }
    QLineEdit* vsAzimuthEdit() const { return vsAzimuth_; }
    // The still-period limits: mg, nT, degrees (inclination, azimuth, the
    // inclination from which azimuth counts) and the fewest samples.
    QLineEdit* stillEdit(int k) const { return still_[k]; }
    static constexpr int kStillFields = 6;

    int exec() override;
    void accept() override;

private:
    // A blank field gives an unset value; anything else must be a number.
    bool TakeOptional(QLineEdit* field, std::optional<double>& out);
    QLineEdit* Edit(const char* name);
    QGroupBox* MakeStillGroup();
    bool TakeStill(StillLimits& l);

    QLabel* well_;
    QLineEdit* gravity_;
    QLineEdit* field_;
    QLineEdit* dip_;
    QLineEdit* gravityTol_;
    QLineEdit* fieldTol_;
    QLineEdit* dipTol_;
    QComboBox* dlsUnit_;
    QLineEdit* vsAzimuth_;
    QLineEdit* still_[kStillFields];
};

}  // namespace orb
