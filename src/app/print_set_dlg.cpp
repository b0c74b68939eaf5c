#include "app/print_set_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orb {

CPrintSetDlg::CPrintSetDlg(QWidget* parent)
    : QDialog(parent),
      multi_(new QRadioButton(tr("多点"), this)),
      single_(new QRadioButton(tr("单点"), this)) {
    setWindowTitle(tr("打印方式设置"));
    setProperty("dialogId", 316);
    multi_->setProperty("controlId", 1025);
    multi_->setObjectName(QStringLiteral("control1025"));
    single_->setProperty("controlId", 1026);
    single_->setObjectName(QStringLiteral("control1026"));
    auto* group = new QGroupBox(tr("打印方式"), this);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(multi_);
    groupLayout->addWidget(single_);
    groupLayout->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPrintSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPrintSetDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(280);
}

int CPrintSetDlg::exec() {
    (mode_ == PrintMode::SinglePoint ? single_ : multi_)->setChecked(true);
    return QDialog::exec();
}

void CPrintSetDlg::accept() {
    mode_ = single_->isChecked() ? PrintMode::SinglePoint : PrintMode::MultiPoint;
    QDialog::accept();
}

}  // namespace orb
