// "钻井信息输入" (dialog 315): team number, well number and magnetic
// declination. The frame keeps one instance, so the fields show the last
// confirmed values.
#pragma once

#include <QString>

#include "app/number_field.h"

class QLineEdit;

namespace orb {

class CWellInputDlg : public CNumberDialog {
    Q_OBJECT
public:
    explicit CWellInputDlg(QWidget* parent = nullptr);

    // The values the dialog holds; shown when it opens, replaced on OK.
    QString teamNumber;
    QString wellNumber;
    float magneticDeclination = 0.0f;

    QLineEdit* teamEdit() const { return team_; }
    QLineEdit* wellEdit() const { return well_; }
    QLineEdit* declinationEdit() const { return declination_; }

    int exec() override;
    void accept() override;

private:
    QLineEdit* team_;
    QLineEdit* well_;
    QLineEdit* declination_;
};

}  // namespace orb
