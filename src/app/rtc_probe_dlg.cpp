#include "app/rtc_probe_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "device/device_controller.h"

namespace orb {

namespace {

QLineEdit* Field(int id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setProperty("controlId", id);
    edit->setObjectName(QStringLiteral("field%1").arg(id));
    edit->setMinimumWidth(200);
    return edit;
}

}  // namespace

CRtcProbeDlg::CRtcProbeDlg(std::function<void(int)> onButton, QWidget* parent)
    : QDialog(parent),
      now_(Field(kClockFieldNow, this)),
      device_(Field(kClockFieldDevice, this)),
      deviceName_(Field(kClockFieldDeviceName, this)) {
    deviceName_->setMinimumWidth(60);
    setWindowTitle(tr("设备时钟校准"));
    setProperty("dialogId", 327);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("当前时间:"), this), 0, 0);
    grid->addWidget(now_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("设备时间:"), this), 1, 0);
    grid->addWidget(device_, 1, 1, 1, 2);
    grid->addWidget(deviceName_, 1, 3);
    const struct {
        int id;
        const char* text;
    } kButtons[4] = {{clock_button::kReadProbe, QT_TR_NOOP("读探管时间")},
                     {clock_button::kSetProbe, QT_TR_NOOP("校准探管时间")},
                     {clock_button::kReadSync, QT_TR_NOOP("读同步器时间")},
                     {clock_button::kSetSync, QT_TR_NOOP("校准同步器时间")}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(tr(kButtons[i].text), this);
        b->setAutoDefault(false);
        b->setProperty("controlId", kButtons[i].id);
        b->setObjectName(QStringLiteral("button%1").arg(kButtons[i].id));
        const int id = kButtons[i].id;
        connect(b, &QPushButton::clicked, this, [onButton, id] { onButton(id); });
        grid->addWidget(b, 2 + i / 2, (i % 2) * 2, 1, 2);
    }
}

void CRtcProbeDlg::SetField(int id, const QString& text) {
    if (id == kClockFieldNow) now_->setText(text);
    if (id == kClockFieldDevice) device_->setText(text);
    if (id == kClockFieldDeviceName) deviceName_->setText(text);
}

QString CRtcProbeDlg::FieldText(int id) const {
    if (id == kClockFieldDeviceName) return deviceName_->text();
    return id == kClockFieldNow ? now_->text() : id == kClockFieldDevice ? device_->text() : QString();
}

}  // namespace orb
