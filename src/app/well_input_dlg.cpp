#include "app/well_input_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui_language.h"
#include "document/well_info.h"

namespace orb {

CWellInputDlg::CWellInputDlg(QWidget* parent) : CNumberDialog(parent) {
    setWindowTitle(tr("钻井信息输入"));
    setProperty("dialogId", 315);
    team_ = NumberEdit(1024);
    well_ = NumberEdit(1029);
    declination_ = NumberEdit(1028);
    auto* group = new QGroupBox(tr("井队信息"), this);
    auto* form = new QFormLayout(group);
    form->addRow(tr("井队编号"), team_);
    form->addRow(tr("井 号"), well_);
    form->addRow(tr("磁偏角"), declination_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CWellInputDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CWellInputDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

int CWellInputDlg::exec() {
    team_->setText(teamNumber);
    well_->setText(wellNumber);
    declination_->setText(FormatNumberField(magneticDeclination));
    team_->setFocus();
    return CNumberDialog::exec();
}

void CWellInputDlg::accept() {
    float declination = 0;
    if (!TakeNumber(declination_, declination)) return;
    teamNumber = team_->text();
    wellNumber = well_->text();
    if (!DeclinationInRange(declination)) {
        QMessageBox::critical(this, CoreText(kErrorCaption), CoreText(kDeclinationRangeMessage));
        magneticDeclination = 0.0f;
        declination_->setFocus();
        declination_->selectAll();
        return;
    }
    magneticDeclination = declination;
    CNumberDialog::accept();
}

}  // namespace orb
