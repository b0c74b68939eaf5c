// "数据修改" (dialog 320): the seven compensation offsets. The frame keeps
// one instance, so confirming it again applies the shown offsets again.
#pragma once

#include <array>

#include "app/number_field.h"

class QLineEdit;

namespace orb {

class CDataModifyDlg : public CNumberDialog {
    Q_OBJECT
public:
    explicit CDataModifyDlg(QWidget* parent = nullptr);

    // Inclination, azimuth, GTF, MTF, GT, MT, dip: controls 1029 to 1035.
    double inclinationOffset = 0, azimuthOffset = 0, gravityToolFaceOffset = 0, magneticToolFaceOffset = 0,
           totalGravityOffset = 0, totalMagneticOffset = 0, dipOffset = 0;

    QLineEdit* field(int i) const { return fields_[i]; }

    int exec() override;
    void accept() override;

private:
    std::array<double*, 7> Values();
    std::array<QLineEdit*, 7> fields_{};
};

}  // namespace orb
