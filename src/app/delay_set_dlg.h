// The work-mode dialog: sampling delay 1..999 minutes and interval 1..59
// seconds, "写入探管" or "取消". The fields take any number as typed; a value
// outside its range is refused at "写入探管" with a message naming the range,
// and the dialog stays open with that field focused.
#pragma once

#include <QDialog>
#include <cstdint>

class QSpinBox;

namespace orb {

class CDelaySetDlg : public QDialog {
    Q_OBJECT
public:
    CDelaySetDlg(int32_t delayMinutes, int32_t intervalSeconds, QWidget* parent = nullptr);
    int32_t delayMinutes() const;
    int32_t intervalSeconds() const;
    QSpinBox* delayBox() const { return delay_; }
    QSpinBox* intervalBox() const { return interval_; }
    void accept() override;

private:
    bool TakeField(QSpinBox* box, int low, int high);

    QSpinBox* delay_;
    QSpinBox* interval_;
};

}  // namespace orb
