// The real-time display: eight read-only fields, no buttons; Enter, Esc and
// the close box all close it (and so stop the polling).
#pragma once

#include <QDialog>
#include <array>

#include "device/device_interfaces.h"

class QLineEdit;

namespace orb {

class CRealDisDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRealDisDlg(QWidget* parent = nullptr);
    void SetTexts(const RealTimeTexts& texts);
    QString FieldText(int id) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::array<QLineEdit*, 8> fields_{};
};

}  // namespace orb
