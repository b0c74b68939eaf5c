#include "app/real_dis_dlg.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace orb {

CRealDisDlg::CRealDisDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("实时数据显示"));
    setProperty("dialogId", 310);
    static const char* const kCaptions[8] = {
        QT_TR_NOOP("井  斜"),   QT_TR_NOOP("方  位"), QT_TR_NOOP("高边工具面"), QT_TR_NOOP("磁性工具面"),
        QT_TR_NOOP("总加速度"), QT_TR_NOOP("总磁场"), QT_TR_NOOP("地磁倾角"),   QT_TR_NOOP("温  度")};
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 8; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setProperty("controlId", 1001 + i);
        edit->setObjectName(QStringLiteral("field%1").arg(1001 + i));
        edit->setMinimumWidth(110);
        fields_[i] = edit;
        grid->addWidget(new QLabel(tr(kCaptions[i]), this), i % 4, (i / 4) * 2);
        grid->addWidget(edit, i % 4, (i / 4) * 2 + 1);
    }
}

void CRealDisDlg::SetTexts(const RealTimeTexts& texts) {
    for (std::size_t i = 0; i < fields_.size(); ++i) fields_[i]->setText(QString::fromStdString(texts[i]));
}

QString CRealDisDlg::FieldText(int id) const {
    const int i = id - 1001;
    return i >= 0 && i < 8 ? fields_[i]->text() : QString();
}

// A dialog without buttons: Enter closes it as Esc does.
void CRealDisDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orb
