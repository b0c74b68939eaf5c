// The operator of the window's device logic: message boxes and the device
// dialogs. Every one is modal through a nested event loop, so replies and
// timers keep being handled while it is open.
#include <QMessageBox>
#include <QPushButton>

#include "app/com_set_dlg.h"
#include "app/delay_set_dlg.h"
#include "app/device_bridge.h"
#include "app/infor_dlg.h"
#include "app/main_frame.h"
#include "app/real_dis_dlg.h"
#include "app/rtc_probe_dlg.h"
#include "app/ui_language.h"

namespace orb {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kInformation:
            return QMessageBox::Information;
        case MessageIcon::kWarning:
            return QMessageBox::Warning;
        case MessageIcon::kError:
            return QMessageBox::Critical;
        case MessageIcon::kQuestion:
            return QMessageBox::Question;
        case MessageIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer AskBox(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
                     MessageButtons buttons) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    // A destructive question defaults to its safe button.
    const bool safe = buttons == MessageButtons::kYesNoSafe || buttons == MessageButtons::kOkCancelSafe;
    if (IsYesNo(buttons)) {
        yes = box.addButton(QCoreApplication::translate("Orb", "是(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QCoreApplication::translate("Orb", "否(&N)"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        box.setDefaultButton(safe ? no : yes);
    } else {
        ok = box.addButton(QCoreApplication::translate("Orb", "确定"), QMessageBox::AcceptRole);
        QPushButton* cancel = nullptr;
        if (IsOkCancel(buttons)) {
            cancel = box.addButton(QCoreApplication::translate("Orb", "取消"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        }
        box.setDefaultButton(safe && cancel ? cancel : ok);
    }
    box.exec();
    if (IsYesNo(buttons)) return box.clickedButton() == yes ? MessageAnswer::kYes : MessageAnswer::kNo;
    if (IsOkCancel(buttons)) return box.clickedButton() == ok ? MessageAnswer::kOk : MessageAnswer::kCancel;
    return MessageAnswer::kOk;
}

}  // namespace

MessageAnswer DeviceBridge::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                       MessageButtons buttons) {
    QString shown = CoreText(text);
    // A failed open for lack of permission says why and how to mend it.
    if (text == "串口打开失败" && lastError_ == SerialError::kPermissionDenied)
        shown += QStringLiteral("\n") + OrbText(kPermissionHint);
    messages << shown;
    if (messageHook) return messageHook(shown, CoreText(caption));
    return AskBox(frame_, shown, CoreText(caption), icon, buttons);
}

bool DeviceBridge::ShowPortDialog(int& portNumber) {
    CComSetDlg dlg(portNumber, ListSerialPorts(Options()), frame_);
    if (dlg.exec() != QDialog::Accepted) return false;
    portNumber = dlg.portNumber();
    return true;
}

bool DeviceBridge::AskSaveChanges() {
    return frame_->SaveModified();
}

void DeviceBridge::ShowInfoDialog(const ProbeInfoView& info) {
    CInforDlg dlg(info, frame_);
    dlg.exec();
}

bool DeviceBridge::ShowWorkModeDialog(int32_t& delayMinutes, int32_t& intervalSeconds) {
    CDelaySetDlg dlg(delayMinutes, intervalSeconds, frame_);
    if (dlg.exec() != QDialog::Accepted) return false;
    delayMinutes = dlg.delayMinutes();
    intervalSeconds = dlg.intervalSeconds();
    return true;
}

void DeviceBridge::ShowRealTimeDialog() {
    CRealDisDlg dlg(frame_);
    realDlg_ = &dlg;
    dlg.exec();
    realDlg_ = nullptr;
}

void DeviceBridge::UpdateRealTime(const RealTimeTexts& texts) {
    if (realDlg_) realDlg_->SetTexts(texts);
}

void DeviceBridge::ShowClockDialog() {
    CRtcProbeDlg dlg([this](int button) { dc_->OnClockButton(button); }, frame_);
    clockDlg_ = &dlg;
    dlg.exec();
    clockDlg_ = nullptr;
}

void DeviceBridge::SetClockField(int field, std::string_view text) {
    if (clockDlg_) clockDlg_->SetField(field, CoreText(text));
}

void DeviceBridge::SetStatusText(std::string_view text) {
    frame_->SetStatusText(CoreText(text));
}

void DeviceBridge::SetProgress(int position) {
    frame_->SetProgress(position);
}

}  // namespace orb
