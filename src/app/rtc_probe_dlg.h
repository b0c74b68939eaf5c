// The clock dialog of the probe and the synchronizer: the PC's time (1042),
// the device's answer (1043) and the four read / calibrate buttons, whose
// clicks go to the device logic.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace orb {

class CRtcProbeDlg : public QDialog {
    Q_OBJECT
public:
    CRtcProbeDlg(std::function<void(int button)> onButton, QWidget* parent = nullptr);
    void SetField(int id, const QString& text);
    QString FieldText(int id) const;

private:
    QLineEdit* now_;
    QLineEdit* device_;
    QLineEdit* deviceName_;
};

}  // namespace orb
