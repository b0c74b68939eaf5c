#include "app/toolbar_customize_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/command_icons.h"
#include "app/command_ids.h"
#include "app/command_table.h"

namespace orb {

namespace {

QListWidgetItem* MakeItem(int id) {
    auto* item = new QListWidgetItem;
    if (id == 0) {
        item->setText(CToolbarCustomizeDlg::tr("———— 分隔符 ————"));
    } else {
        item->setText(CommandToolTip(id));
        item->setIcon(CommandIcon(id));
    }
    item->setData(Qt::UserRole, id);
    return item;
}

}  // namespace

QList<int> DefaultToolbarButtons() {
    using namespace cmd;
    return {
        kFileOpen,      kFileSave, 0,           kProbeTest,    kProbeRealTime, kProbeClock, kProbeDownload,
        kProbeWorkMode, 0,         kShowAll,    kShowSelected, kWellInfo,      kDepthCalc,  0,
        kFilePrint,     kAbout,    kContextHelp};
}

QList<int> CustomizableCommands() {
    using namespace cmd;
    QList<int> ids;
    for (int id : DefaultToolbarButtons())
        if (id) ids.append(id);
    ids << kFileNew << kFileSaveAs << kExportText << kExportExcel << kFilePrintPreview << kFilePageSetup
        << kPortSelect << kProbeInfo << kSyncTest << kSyncClock << kSyncDownload << kSyncClear << kSelectAll
        << kSelectNone << kSelectInvert << kShowAutoSelected << kReverse << kDataModify << kHelpFinder;
    return ids;
}

QList<int> CleanToolbarButtons(const QList<int>& buttons) {
    const QList<int> allowed = CustomizableCommands();
    QList<int> out;
    for (int id : buttons) {
        if (id == 0) {
            if (!out.isEmpty() && out.last() != 0) out.append(0);
        } else if (allowed.contains(id) && !out.contains(id)) {
            out.append(id);
        }
    }
    while (!out.isEmpty() && out.last() == 0) out.removeLast();
    return out;
}

CToolbarCustomizeDlg::CToolbarCustomizeDlg(const QList<int>& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("自定义"));
    available_ = new QListWidget(this);
    current_ = new QListWidget(this);
    for (int id : CustomizableCommands()) available_->addItem(MakeItem(id));
    Fill(current);

    auto button = [this](const char* text, auto slot) {
        auto* b = new QPushButton(tr(text), this);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(button(QT_TR_NOOP("添加(&A) >"), [this] { AddSelected(); }));
    middle->addWidget(button(QT_TR_NOOP("< 删除(&R)"), [this] { RemoveSelected(); }));
    middle->addWidget(button(QT_TR_NOOP("分隔符(&S)"), [this] { AddSeparator(); }));
    middle->addSpacing(12);
    middle->addWidget(button(QT_TR_NOOP("上移(&U)"), [this] { MoveSelected(-1); }));
    middle->addWidget(button(QT_TR_NOOP("下移(&D)"), [this] { MoveSelected(1); }));
    middle->addSpacing(12);
    middle->addWidget(button(QT_TR_NOOP("重置(&E)"), [this] { Reset(); }));
    middle->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("可用的命令(&V):"), this), 0, 0);
    grid->addWidget(new QLabel(tr("工具栏按钮(&T):"), this), 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(current_, 1, 2);
    grid->addWidget(buttons, 2, 0, 1, 3);
    resize(560, 420);
}

void CToolbarCustomizeDlg::Fill(const QList<int>& buttons) {
    current_->clear();
    for (int id : CleanToolbarButtons(buttons)) current_->addItem(MakeItem(id));
}

QList<int> CToolbarCustomizeDlg::buttons() const {
    QList<int> ids;
    for (int i = 0; i < current_->count(); ++i) ids.append(current_->item(i)->data(Qt::UserRole).toInt());
    return CleanToolbarButtons(ids);
}

void CToolbarCustomizeDlg::AddSelected() {
    QListWidgetItem* item = available_->currentItem();
    if (!item) return;
    const int id = item->data(Qt::UserRole).toInt();
    if (!buttons().contains(id)) current_->insertItem(current_->currentRow() + 1, MakeItem(id));
}

void CToolbarCustomizeDlg::AddSeparator() {
    const int row = current_->currentRow() + 1;
    current_->insertItem(row, MakeItem(0));
    current_->setCurrentRow(row);
}

void CToolbarCustomizeDlg::RemoveSelected() {
    delete current_->takeItem(current_->currentRow());
}

void CToolbarCustomizeDlg::MoveSelected(int delta) {
    const int row = current_->currentRow();
    const int to = row + delta;
    if (row < 0 || to < 0 || to >= current_->count()) return;
    current_->insertItem(to, current_->takeItem(row));
    current_->setCurrentRow(to);
}

void CToolbarCustomizeDlg::Reset() {
    Fill(DefaultToolbarButtons());
}

}  // namespace orb
