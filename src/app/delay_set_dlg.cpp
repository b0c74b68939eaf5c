#include "app/delay_set_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <limits>

namespace orb {

namespace {

constexpr int kDelayLow = 1, kDelayHigh = 999;
constexpr int kIntervalLow = 1, kIntervalHigh = 59;

// The box's own range would cut a typed 1000 to 100 and turn 0 back into the
// old value: it takes every whole number, and accept() checks the range.
QSpinBox* Spin(int id, int value) {
    auto* box = new QSpinBox;
    box->setRange(0, std::numeric_limits<int>::max());
    box->setValue(value);
    box->setProperty("controlId", id);
    box->setObjectName(QStringLiteral("field%1").arg(id));
    return box;
}

}  // namespace

CDelaySetDlg::CDelaySetDlg(int32_t delayMinutes, int32_t intervalSeconds, QWidget* parent)
    : QDialog(parent), delay_(Spin(1014, delayMinutes)), interval_(Spin(1016, intervalSeconds)) {
    setWindowTitle(tr("延时设置"));
    setProperty("dialogId", 311);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("请设置采样延时时间和采样间隔")), 0, 0, 1, 3);
    grid->addWidget(new QLabel(tr("延时时间：")), 1, 0);
    grid->addWidget(delay_, 1, 1);
    grid->addWidget(new QLabel(tr("分")), 1, 2);
    grid->addWidget(new QLabel(tr("采样间隔：")), 2, 0);
    grid->addWidget(interval_, 2, 1);
    grid->addWidget(new QLabel(tr("秒")), 2, 2);
    auto* write = new QPushButton(tr("写入探管"));
    write->setObjectName(QStringLiteral("writeButton"));
    write->setDefault(true);
    auto* cancel = new QPushButton(tr("取消"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    grid->addWidget(write, 3, 1);
    grid->addWidget(cancel, 3, 2);
    connect(write, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CDelaySetDlg::accept() {
    if (TakeField(delay_, kDelayLow, kDelayHigh) && TakeField(interval_, kIntervalLow, kIntervalHigh))
        QDialog::accept();
}

bool CDelaySetDlg::TakeField(QSpinBox* box, int low, int high) {
    bool ok = false;
    const int v = box->cleanText().trimmed().toInt(&ok);
    if (ok && v >= low && v <= high) return true;
    QMessageBox::warning(this, windowTitle(), tr("请输入一个介于%1和%2之间的整数。").arg(low).arg(high));
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    return false;
}

int32_t CDelaySetDlg::delayMinutes() const {
    return delay_->value();
}

int32_t CDelaySetDlg::intervalSeconds() const {
    return interval_->value();
}

}  // namespace orb
