#include "app/txt_set_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "app/ui_language.h"
#include "report/txt_export_format.h"

namespace orb {

namespace {

constexpr int kCaptionCheckId = 1030;
constexpr int kAvailableListId = 1032;
constexpr int kChosenListId = 1033;
constexpr int kAddId = 1034;
constexpr int kMoveUpId = 1035;
constexpr int kDeleteId = 1036;
constexpr int kCommaId = 1037;
constexpr int kMoveDownId = 1038;
constexpr int kSpaceId = 1039;

QString ControlName(int id) {
    return QStringLiteral("control%1").arg(id);
}

// The row an arrow or paging key moves to, or -2 for keys the list ignores.
int RowAfterKey(int key, int row, int rows) {
    switch (key) {
        case Qt::Key_Up:
            return row < 0 ? rows - 1 : std::max(row - 1, 0);
        case Qt::Key_Down:
            return row < 0 ? 0 : std::min(row + 1, rows - 1);
        case Qt::Key_Home:
        case Qt::Key_PageUp:
            return 0;
        case Qt::Key_End:
        case Qt::Key_PageDown:
            return rows - 1;
        default:
            return -2;
    }
}

}  // namespace

CTxtSetDlg::CTxtSetDlg(QWidget* parent, std::string formatPath)
    : QDialog(parent),
      formatPath_(std::move(formatPath)),
      available_(MakeList(kAvailableListId)),
      chosen_(MakeList(kChosenListId)),
      space_(new QRadioButton(tr("空格"), this)),
      comma_(new QRadioButton(tr("逗号"), this)),
      captions_(new QCheckBox(tr("导出标题，并放在文件第一行"), this)) {
    setWindowTitle(tr("TXT格式设置"));
    setProperty("dialogId", 322);
    for (auto [widget, id] :
         {std::pair<QWidget*, int>{space_, kSpaceId}, {comma_, kCommaId}, {captions_, kCaptionCheckId}}) {
        widget->setProperty("controlId", id);
        widget->setObjectName(ControlName(id));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CTxtSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTxtSetDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(MakeListsRow());
    layout->addWidget(MakeSeparatorGroup());
    layout->addWidget(captions_);
    layout->addWidget(buttons);
    LoadFromFile();
}

// The two lists, with add / delete between them and move up / move down
// beside the chosen one.
QLayout* CTxtSetDlg::MakeListsRow() {
    using Op = void (TxtFormatEditor::*)();
    const auto column = [this](std::initializer_list<std::tuple<int, const char*, Op>> items) {
        auto* box = new QVBoxLayout;
        for (const auto& [id, text, op] : items) {
            QPushButton* b = MakeButton(id, tr(text));
            connect(b, &QPushButton::clicked, this, [this, op = op] {
                (editor_.*op)();
                ShowState();
            });
            box->addWidget(b);
        }
        box->addStretch();
        return box;
    };
    auto* row = new QHBoxLayout;
    row->addWidget(available_);
    row->addLayout(column({{kAddId, QT_TR_NOOP("添加"), &TxtFormatEditor::Add},
                           {kDeleteId, QT_TR_NOOP("删除"), &TxtFormatEditor::Delete}}));
    row->addWidget(chosen_);
    row->addLayout(column({{kMoveUpId, QT_TR_NOOP("上移"), &TxtFormatEditor::MoveUp},
                           {kMoveDownId, QT_TR_NOOP("下移"), &TxtFormatEditor::MoveDown}}));
    return row;
}

QWidget* CTxtSetDlg::MakeSeparatorGroup() {
    auto* group = new QGroupBox(tr("数据间分隔符"), this);
    auto* separators = new QButtonGroup(group);
    separators->addButton(space_, kSpaceId);
    separators->addButton(comma_, kCommaId);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(space_);
    layout->addWidget(comma_);
    layout->addStretch();
    return group;
}

QListWidget* CTxtSetDlg::MakeList(int controlId) {
    auto* list = new QListWidget(this);
    list->setProperty("controlId", controlId);
    list->setObjectName(ControlName(controlId));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumSize(130, 240);
    // The dialog decides which row is selected: mouse and keys go through it.
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);
    return list;
}

QPushButton* CTxtSetDlg::MakeButton(int controlId, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setProperty("controlId", controlId);
    b->setObjectName(ControlName(controlId));
    b->setAutoDefault(false);
    return b;
}

QPushButton* CTxtSetDlg::button(int controlId) const {
    return findChild<QPushButton*>(ControlName(controlId));
}

std::string CTxtSetDlg::FormatPath() const {
    return formatPath_.empty() ? TxtExportFormatPath() : formatPath_;
}

int CTxtSetDlg::exec() {
    // Only when the operator opens the dialog is a layout file that cannot be
    // read worth a word.
    const FileResult unread = LoadFromFile();
    if (!unread.ok())
        QMessageBox::warning(this, QStringLiteral("Orb"), QString::fromStdString(unread.message));
    return QDialog::exec();
}

FileResult CTxtSetDlg::LoadFromFile() {
    FileResult unread;
    editor_.Load(LoadTxtExportFormat(FormatPath(), &unread));
    space_->setChecked(editor_.spaceSeparator());
    comma_->setChecked(!editor_.spaceSeparator());
    captions_->setChecked(editor_.writeCaptions());
    ShowState();
    return unread;
}

void CTxtSetDlg::accept() {
    editor_.SetSpaceSeparator(space_->isChecked());
    editor_.SetWriteCaptions(captions_->isChecked());
    const FileResult saved = editor_.Accept(FormatPath());
    if (!saved.ok()) {
        QMessageBox::warning(this, QStringLiteral("Orb"), CoreText(saved.message));
        return;
    }
    QDialog::accept();
}

void CTxtSetDlg::Fill(QListWidget* list, const std::vector<std::string_view>& captions, int selected) {
    QStringList texts;
    for (std::string_view c : captions) texts.append(CoreText(c));
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown.append(list->item(i)->text());
    if (shown != texts) {
        list->clear();
        list->addItems(texts);
    }
    if (selected >= 0 && selected < list->count()) {
        list->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
}

void CTxtSetDlg::ShowState() {
    Fill(available_, editor_.AvailableCaptions(), editor_.availableSel());
    Fill(chosen_, editor_.ChosenCaptions(), editor_.chosenSel());
    if (editor_.focus() == TxtFormatEditor::List::Available) available_->setFocus();
    if (editor_.focus() == TxtFormatEditor::List::Chosen) chosen_->setFocus();
}

bool CTxtSetDlg::eventFilter(QObject* watched, QEvent* event) {
    QListWidget* list = nullptr;
    for (QListWidget* l : {available_, chosen_})
        if (watched == l || watched == l->viewport()) list = l;
    if (!list) return QDialog::eventFilter(watched, event);
    const bool isAvailable = list == available_;
    const auto click = [&](int row) {
        isAvailable ? editor_.ClickAvailable(row) : editor_.ClickChosen(row);
        ShowState();
    };
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            afterDoubleClick_ = false;
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton) return false;
            // The release that ends a double-click is not a click of its own.
            if (!std::exchange(afterDoubleClick_, false))
                click(list->indexAt(me->position().toPoint()).row());
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton) return false;
            const int row = list->indexAt(me->position().toPoint()).row();
            isAvailable ? editor_.DoubleClickAvailable(row) : editor_.DoubleClickChosen(row);
            afterDoubleClick_ = true;
            ShowState();
            return true;
        }
        case QEvent::KeyPress: {
            if (watched != list) return false;
            const int row = isAvailable ? editor_.availableSel() : editor_.chosenSel();
            const int next = RowAfterKey(static_cast<QKeyEvent*>(event)->key(), row, list->count());
            if (next == -2) return false;
            click(next);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace orb
