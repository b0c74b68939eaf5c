#include "app/com_set_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orb {

CComSetDlg::CComSetDlg(int portNumber, const std::vector<PortInfo>& ports, QWidget* parent)
    : QDialog(parent),
      number_(new QLineEdit(QString::number(portNumber), this)),
      list_(new QTreeWidget(this)),
      portNumber_(portNumber) {
    setWindowTitle(tr("通信端口设置"));
    setProperty("dialogId", 317);
    number_->setProperty("controlId", 1028);
    number_->setObjectName(QStringLiteral("field1028"));
    list_->setObjectName(QStringLiteral("portList"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("编号"), tr("设备"), tr("说明")});
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const PortInfo& p = ports[i];
        QString device = QString::fromStdString(p.path);
        if (!p.byIdPath.empty()) device += QStringLiteral(" (%1)").arg(QString::fromStdString(p.byIdPath));
        auto* item = new QTreeWidgetItem(
            list_, {QString::number(i + 1), device, QString::fromStdString(p.description)});
        if (static_cast<int>(i + 1) == portNumber) list_->setCurrentItem(item);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) number_->setText(item->text(0));
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CComSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("请选择通信端口"), this));
    layout->addWidget(number_);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(520, 300);
}

// Any integer is taken; the open then decides whether the number is useful.
void CComSetDlg::accept() {
    bool ok = false;
    const int n = number_->text().trimmed().toInt(&ok);
    if (!ok) {
        QMessageBox::warning(this, windowTitle(), tr("请输入一个整数。"));
        number_->setFocus();
        number_->selectAll();
        return;
    }
    portNumber_ = n;
    QDialog::accept();
}

}  // namespace orb
