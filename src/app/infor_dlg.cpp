#include "app/infor_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "app/ui_language.h"

namespace orb {

namespace {

void AddField(QGridLayout* grid, int row, const QString& caption, int id, const std::string& text) {
    auto* edit = new QLineEdit(CoreText(text));
    edit->setReadOnly(true);
    edit->setProperty("controlId", id);
    edit->setObjectName(QStringLiteral("field%1").arg(id));
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(edit, row, 1);
}

QProgressBar* Bar(int id, int value) {
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(value);
    bar->setTextVisible(false);
    bar->setProperty("controlId", id);
    bar->setObjectName(QStringLiteral("bar%1").arg(id));
    return bar;
}

}  // namespace

CInforDlg::CInforDlg(const ProbeInfoView& info, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("探管信息"));
    setProperty("dialogId", 312);
    auto* grid = new QGridLayout(this);
    AddField(grid, 0, tr("探管编号"), 1015, info.probeNumber);
    AddField(grid, 1, tr("探管类型"), 1016, info.probeModel);
    AddField(grid, 2, tr("探管容量"), 1020, info.probeCapacity);
    AddField(grid, 3, tr("采样延时时间"), 1019, info.delayText);
    AddField(grid, 4, tr("采样间隔时间"), 1017, info.intervalText);
    AddField(grid, 5, tr("存储数据数量"), 1021, info.storedText);
    grid->addWidget(Bar(1023, info.storagePercent), 5, 2);
    AddField(grid, 6, tr("电池电压"), 1018, info.batteryText);
    AddField(grid, 7, tr("剩余电量"), 1022, info.chargeText);
    grid->addWidget(Bar(1024, info.chargePercent), 7, 2);
    grid->setColumnMinimumWidth(2, 120);
}

}  // namespace orb
