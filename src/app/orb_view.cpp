#include "app/orb_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/depth_delegate.h"
#include "app/survey_cell_delegate.h"
#include "app/survey_table_adapter.h"

namespace orb {

COrbView::COrbView(SurveyTableModel& model, QWidget* parent)
    : QTableView(parent), model_(model), adapter_(new SurveyTableAdapter(model, this)) {
    setModel(adapter_);
    setItemDelegate(new SurveyCellDelegate(this));
    setItemDelegateForColumn(SurveyTableModel::kDepthColumn, new DepthDelegate(this));
    SetUpAppearance();
    CreateEditMenu();
    connect(adapter_, &SurveyTableAdapter::scrollToBottomRequested, this, &QTableView::scrollToBottom);
}

void COrbView::SetUpAppearance() {
    setObjectName(QStringLiteral("surveyTable"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QPalette p = palette();
    const QColor background(200, 200, 200), text(10, 10, 80);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, background);
        p.setColor(g, QPalette::AlternateBase, background);
        p.setColor(g, QPalette::Text, text);
    }
    setPalette(p);

    QFont f(QStringLiteral("Tahoma"));
    f.setWeight(QFont::Medium);
    f.setPixelSize(12);
    setFont(f);

    // Uniform rows: the view never measures row contents, so a page of a
    // very long survey scrolls as fast as a short one.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* cols = horizontalHeader();
    cols->setDefaultAlignment(Qt::AlignCenter);
    cols->setHighlightSections(false);
    cols->setMinimumSectionSize(16);
    for (int c = 0; c < kTableColumns; ++c) setColumnWidth(c, ColumnWidthFor(c));
}

int COrbView::ColumnWidthFor(int column) const {
    // The documented widths, widened where the substituted face needs more
    // room than the widest text of the column, so no value is cut off.
    static const char* const widest[kTableColumns] = {
        "",       "00000",   "000:00:00", "0000.00", "000.00",  "000.0",   "000.0",
        "000.0",  "000.0",   "-0.0000",   "-0.0000", "-000.0",  "00.0",    "0000-00-00 00:00:00",
        "000000", "-0.0000", "-0.0000",   "-0.0000", "-0.0000", "-0.0000", "-0.0000"};
    const int needed = fontMetrics().horizontalAdvance(QString::fromLatin1(widest[column])) + 12;
    return std::max(SurveyTableModel::ColumnWidth(column), column == kCheckColumn ? 0 : needed);
}

void COrbView::CreateEditMenu() {
    editMenu_ = new QMenu(tr("编辑"), this);
    editMenu_->setProperty("menuId", 119);
    for (int id : {cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste}) {
        QAction* a = editMenu_->addAction(CommandCaption(id));
        a->setProperty("commandId", id);
        a->setEnabled(false);  // the window puts its copy command in place of this one
    }
}

void COrbView::OnInitialUpdate() {
    model_.ReloadTable();
    QTimer::singleShot(0, this, &QTableView::scrollToBottom);
}

void COrbView::OnSelectAll() {
    model_.SelectAll();
}
void COrbView::OnSelectNone() {
    model_.SelectNone();
}
void COrbView::OnSelectInvert() {
    model_.InvertSelection();
}
void COrbView::OnShowAll() {
    model_.ShowAll();
}
void COrbView::OnShowSelected() {
    model_.ShowSelected();
}
void COrbView::OnReverse() {
    model_.ReverseDisplay();
}
void COrbView::OnShowAutoSelected() {
    model_.OnShowAutoSelected();
}

void COrbView::keyPressEvent(QKeyEvent* event) {
    // Copy, undo and redo are the window's commands (its shortcuts come
    // first); cut and paste have no handler. None of them falls through to
    // the item view's own copy of the current cell.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Undo) ||
        event->matches(QKeySequence::Redo)) {
        event->accept();
        return;
    }
    // The space bar toggles the current row's box, like a click on it.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && state() != EditingState) {
        const QModelIndex current = currentIndex();
        if (current.isValid()) {
            const QModelIndex box = adapter_->index(current.row(), 0);
            if (adapter_->flags(box) & Qt::ItemIsUserCheckable) {
                const bool checked = box.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                adapter_->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            }
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void COrbView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (hit.isValid()) model_.RowClicked(hit.row());
    QTableView::mousePressEvent(event);
}

void COrbView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QModelIndex current = currentIndex();
        const QRect r = current.isValid() ? visualRect(current) : QRect();
        at = viewport()->mapToGlobal(r.isValid() ? r.center() : QPoint(0, 0));
    }
    editMenu_->popup(at);
}

}  // namespace orb
