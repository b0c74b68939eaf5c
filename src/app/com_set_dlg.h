// The port dialog: the port number (control 1028, any integer) and, to pick
// from, the numbered port list with device paths and descriptions.
#pragma once

#include <QDialog>
#include <vector>

#include "device/port_list.h"

class QLineEdit;
class QTreeWidget;

namespace orb {

class CComSetDlg : public QDialog {
    Q_OBJECT
public:
    CComSetDlg(int portNumber, const std::vector<PortInfo>& ports, QWidget* parent = nullptr);
    int portNumber() const { return portNumber_; }
    QLineEdit* numberField() const { return number_; }
    QTreeWidget* portList() const { return list_; }

    void accept() override;

private:
    QLineEdit* number_;
    QTreeWidget* list_;
    int portNumber_;
};

}  // namespace orb
