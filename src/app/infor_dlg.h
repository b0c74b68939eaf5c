// The probe information dialog: read-only values of the last information
// reply, charge and storage as progress bars; closed with Esc or the close box.
#pragma once

#include <QDialog>

#include "device/device_interfaces.h"

namespace orb {

class CInforDlg : public QDialog {
    Q_OBJECT
public:
    CInforDlg(const ProbeInfoView& info, QWidget* parent = nullptr);
};

}  // namespace orb
