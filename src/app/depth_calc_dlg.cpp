#include "app/depth_calc_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orb {

CDepthCalcDlg::CDepthCalcDlg(QWidget* parent) : CNumberDialog(parent) {
    setWindowTitle(tr("自动生成井深"));
    setProperty("dialogId", 323);
    initial_ = NumberEdit(1026);
    segment_ = NumberEdit(1027);
    auto* form = new QFormLayout;
    form->addRow(tr("初始井深"), initial_);
    form->addRow(tr("段 长"), segment_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDepthCalcDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDepthCalcDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(260);
}

int CDepthCalcDlg::exec() {
    initial_->setText(FormatNumberField(initialDepth));
    segment_->setText(FormatNumberField(segmentLength));
    initial_->setFocus();
    return CNumberDialog::exec();
}

void CDepthCalcDlg::accept() {
    float initial = 0, segment = 0;
    if (!TakeNumber(initial_, initial) || !TakeNumber(segment_, segment)) return;
    initialDepth = initial;
    segmentLength = segment;
    CNumberDialog::accept();
}

}  // namespace orb
