#include "app/data_modify_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orb {

CDataModifyDlg::CDataModifyDlg(QWidget* parent) : CNumberDialog(parent) {
    setWindowTitle(tr("数据修改"));
    setProperty("dialogId", 320);
    static const char* const labels[7] = {
        QT_TR_NOOP("井斜补偿"), QT_TR_NOOP("方位补偿"), QT_TR_NOOP("GTF补偿"), QT_TR_NOOP("MTF补偿"),
        QT_TR_NOOP("GT补偿"),   QT_TR_NOOP("MT补偿"),   QT_TR_NOOP("DIP补偿")};
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("请输入数据补偿量，生成数据 = 原数据 + 补偿量"), this));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        fields_[i] = NumberEdit(1029 + i);
        grid->addWidget(new QLabel(tr(labels[i]), this), i % 4, (i / 4) * 2);
        grid->addWidget(fields_[i], i % 4, (i / 4) * 2 + 1);
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDataModifyDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDataModifyDlg::reject);
    layout->addWidget(buttons);
}

std::array<double*, 7> CDataModifyDlg::Values() {
    return {&inclinationOffset,
            &azimuthOffset,
            &gravityToolFaceOffset,
            &magneticToolFaceOffset,
            &totalGravityOffset,
            &totalMagneticOffset,
            &dipOffset};
}

int CDataModifyDlg::exec() {
    const auto values = Values();
    for (int i = 0; i < 7; ++i) fields_[i]->setText(FormatNumberField(*values[i]));
    fields_[0]->setFocus();
    return CNumberDialog::exec();
}

void CDataModifyDlg::accept() {
    std::array<double, 7> read{};
    for (int i = 0; i < 7; ++i)
        if (!TakeNumber(fields_[i], read[i])) return;
    const auto values = Values();
    for (int i = 0; i < 7; ++i) *values[i] = read[i];
    CNumberDialog::accept();
}

}  // namespace orb
