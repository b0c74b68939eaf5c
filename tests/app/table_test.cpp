// The survey table widget: check boxes by mouse and keyboard, the depth
// editor, the display filters and the reverse order, all through the real
// widget and the model behind it.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/survey_table_adapter.h"
#include "app_test_support.h"

using namespace orb;

namespace {

void Load(CMainFrame& f, std::size_t n) {
    f.Document().EditRecords([n](std::vector<SurveyRecord>& r) { r = test::MakeRecords(n); });
    f.Document().SetModified(false);
    f.TableModel().ReloadTable();
}

QPoint CheckBoxCentre(COrbView* view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    QStyleOptionViewItem opt;
    opt.initFrom(view->viewport());
    opt.rect = view->visualRect(index);
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    opt.checkState = Qt::Unchecked;
    const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
    return box.center();
}

// What a real double-click delivers: a click, then the double-click event.
void DoubleClick(COrbView* view, int row, int column) {
    const QPoint at = view->visualRect(view->model()->index(row, column)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// The open depth editor (a closed one may wait for its deletion).
QLineEdit* DepthEditor(COrbView* view) {
    for (QLineEdit* e : view->findChildren<QLineEdit*>(QStringLiteral("depthEditor")))
        if (e->isVisible()) return e;
    return nullptr;
}

QString Cell(COrbView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

}  // namespace

class TableTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init();
    void cleanup() {
        frame_->Document().SetModified(false);
        frame_.reset();
        settings_.reset();
    }

    void showsColumnsHeadingsAndColours();
    void clickOnACheckBoxChangesThatRowsRecord();
    void clickInReverseOrderChangesTheRecordShown();
    void spaceBarTogglesTheCurrentRowsRecord();
    void clickOnRowTextChangesNoRecord();
    void depthEditorStoresTheTypedValue();
    void depthEditorOpensOnlyOnCheckedDepthCells();
    void filtersAndReverseOrder();
    void showAutoSelectedKeepsOnlyMatchedRecords();
    void copyAndContextMenuDoNothing();

private:
    COrbView* view() const { return frame_->View(); }
    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

void TableTest::init() {
    settings_ = test::UseTemporarySettings();
    frame_ = std::make_unique<CMainFrame>();
    frame_->resize(1200, 700);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void TableTest::showsColumnsHeadingsAndColours() {
    Load(*frame_, 5);
    QCOMPARE(view()->model()->columnCount(), 21);
    QCOMPARE(view()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("序号"));
    QCOMPARE(view()->model()->headerData(13, Qt::Horizontal).toString(), QStringLiteral("标准时间"));
    QCOMPARE(view()->model()->headerData(20, Qt::Horizontal).toString(), QStringLiteral("mz"));
    QCOMPARE(view()->columnWidth(0), 25);
    QVERIFY(view()->columnWidth(6) >= 100);
    QVERIFY(view()->showGrid());
    QCOMPARE(view()->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view()->palette().color(QPalette::Base), QColor(200, 200, 200));
    QCOMPARE(view()->palette().color(QPalette::Text), QColor(10, 10, 80));
    QCOMPARE(view()->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(view()->model()->index(0, 4).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    // A look change leaves the table's own colours alone.
    frame_->OnApplicationLook(216);
    QCOMPARE(view()->palette().color(QPalette::Base), QColor(200, 200, 200));
    QCOMPARE(Cell(view(), 3, 1), QStringLiteral("3"));
    QCOMPARE(Cell(view(), 3, 4), QStringLiteral("3.00"));
    QCOMPARE(view()->model()->index(3, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(view()->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
}

void TableTest::clickOnACheckBoxChangesThatRowsRecord() {
    Load(*frame_, 8);
    QCOMPARE(frame_->Document().Record(1).selected, 0);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, CheckBoxCentre(view(), 1));
    QCOMPARE(frame_->Document().Record(1).selected, 1);
    QCOMPARE(view()->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(frame_->Document().IsModified());
    QCOMPARE(frame_->TableModel().lastClickedRow(), 1);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, CheckBoxCentre(view(), 1));
    QCOMPARE(frame_->Document().Record(1).selected, 0);
    for (std::size_t i = 0; i < 8; ++i)
        if (i != 1) QCOMPARE(frame_->Document().Record(i).selected, i % 3 == 0 ? 1 : 0);
}

void TableTest::clickInReverseOrderChangesTheRecordShown() {
    Load(*frame_, 8);
    frame_->Action(cmd::kReverse)->trigger();
    // Row 0 shows record 7 (not selected); record 0 keeps its mark.
    QCOMPARE(Cell(view(), 0, 4), QStringLiteral("7.00"));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, CheckBoxCentre(view(), 0));
    QCOMPARE(frame_->Document().Record(7).selected, 1);
    QCOMPARE(frame_->Document().Record(0).selected, 1);
    QCOMPARE(Cell(view(), 0, 1), QStringLiteral("0"));
}

void TableTest::spaceBarTogglesTheCurrentRowsRecord() {
    Load(*frame_, 6);
    view()->setFocus();
    view()->setCurrentIndex(view()->model()->index(2, 5));
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(frame_->Document().Record(2).selected, 1);
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(frame_->Document().Record(2).selected, 0);
    view()->setCurrentIndex(view()->model()->index(3, 0));
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(frame_->Document().Record(3).selected, 0);  // was selected
    QCOMPARE(view()->model()->index(3, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
}

void TableTest::clickOnRowTextChangesNoRecord() {
    Load(*frame_, 6);
    const QRect cell = view()->visualRect(view()->model()->index(4, 5));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(frame_->TableModel().lastClickedRow(), 4);
    QCOMPARE(frame_->Document().Record(4).selected, 0);
    QVERIFY(!frame_->Document().IsModified());
    // Filling the table changes no record either.
    frame_->Action(cmd::kReverse)->trigger();
    frame_->Action(cmd::kShowSelected)->trigger();
    frame_->Action(cmd::kShowAll)->trigger();
    QVERIFY(!frame_->Document().IsModified());
}

void TableTest::depthEditorStoresTheTypedValue() {
    Load(*frame_, 6);
    const QModelIndex depth = view()->model()->index(3, 3);  // record 3 is selected
    QCOMPARE(depth.data().toString(), QStringLiteral("30.00"));
    DoubleClick(view(), 3, 3);
    auto* editor = DepthEditor(view());
    QVERIFY(editor);
    QCOMPARE(editor->property("controlId").toInt(), 7778);
    QCOMPARE(editor->text(), QStringLiteral("30.00"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("1234.5"));
    // Clicking back into the table commits the edit.
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                      view()->visualRect(view()->model()->index(1, 6)).center());
    QTRY_VERIFY(!DepthEditor(view()));
    QCOMPARE(frame_->Document().Record(3).depth, 1234.5f);
    QCOMPARE(view()->model()->index(3, 3).data().toString(), QStringLiteral("1234.5"));
    QVERIFY(frame_->Document().IsModified());
    frame_->TableModel().RefreshTable();
    QCOMPARE(view()->model()->index(3, 3).data().toString(), QStringLiteral("1234.50"));

    // Return commits too; a text that is not a number is refused with the
    // message and the old value stays on screen and in the document.
    DoubleClick(view(), 3, 3);
    editor = DepthEditor(view());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("abc"));
    QString refusal;
    test::WhenModal(
        [&refusal](QWidget* w) {
            refusal = static_cast<QMessageBox*>(w)->text();
            static_cast<QMessageBox*>(w)->accept();
        },
        5000, "QMessageBox");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(refusal, QStringLiteral("请输入一个数字。"));
    QCOMPARE(frame_->Document().Record(3).depth, 1234.5f);
    QCOMPARE(view()->model()->index(3, 3).data().toString(), QStringLiteral("1234.50"));
}

void TableTest::depthEditorOpensOnlyOnCheckedDepthCells() {
    Load(*frame_, 6);
    DoubleClick(view(), 1, 3);
    QVERIFY(!DepthEditor(view()));
    DoubleClick(view(), 3, 4);
    QVERIFY(!DepthEditor(view()));
    QCOMPARE(frame_->Document().Record(3).inclination, 3.0f);
}

void TableTest::filtersAndReverseOrder() {
    Load(*frame_, 7);  // records 0, 3 and 6 selected
    QCOMPARE(view()->model()->rowCount(), 7);
    frame_->Action(cmd::kShowSelected)->trigger();
    QCOMPARE(view()->model()->rowCount(), 3);
    QCOMPARE(Cell(view(), 1, 4), QStringLiteral("3.00"));
    QCOMPARE(Cell(view(), 1, 1), QStringLiteral("1"));
    frame_->Action(cmd::kReverse)->trigger();
    QCOMPARE(Cell(view(), 0, 4), QStringLiteral("6.00"));
    QCOMPARE(Cell(view(), 2, 4), QStringLiteral("0.00"));
    frame_->Action(cmd::kReverse)->trigger();
    QCOMPARE(Cell(view(), 0, 4), QStringLiteral("0.00"));
    frame_->Action(cmd::kSelectNone)->trigger();
    QCOMPARE(view()->model()->rowCount(), 0);
    frame_->Action(cmd::kShowAll)->trigger();
    QCOMPARE(view()->model()->rowCount(), 7);
    QCOMPARE(Cell(view(), 3, 3), QString());  // no depth for a record that is not a station
    frame_->Action(cmd::kSelectAll)->trigger();
    QCOMPARE(frame_->Document().Record(5).selected, 1);
    frame_->Action(cmd::kSelectInvert)->trigger();
    for (std::size_t i = 0; i < 7; ++i) QCOMPARE(frame_->Document().Record(i).selected, 0);
    QVERIFY(frame_->Document().IsModified());
}

void TableTest::showAutoSelectedKeepsOnlyMatchedRecords() {
    Load(*frame_, 6);
    frame_->Document().EditRecords([](std::vector<SurveyRecord>& r) {
        r[1].syncMatched = 1;
        r[4].syncMatched = 1;
    });
    frame_->Action(cmd::kShowAutoSelected)->trigger();
    QCOMPARE(view()->model()->rowCount(), 2);
    QCOMPARE(Cell(view(), 0, 4), QStringLiteral("1.00"));
    QCOMPARE(Cell(view(), 1, 4), QStringLiteral("4.00"));
    for (std::size_t i = 0; i < 6; ++i)
        QCOMPARE(frame_->Document().Record(i).selected, i == 1 || i == 4 ? 1 : 0);
    frame_->Action(cmd::kShowAll)->trigger();
    QCOMPARE(view()->model()->rowCount(), 6);
}

void TableTest::copyAndContextMenuDoNothing() {
    // Cut and paste stay off; copy, undo and redo are the only live items.
    Load(*frame_, 3);
    QApplication::clipboard()->setText(QStringLiteral("unchanged"));
    view()->setFocus();
    view()->setCurrentIndex(view()->model()->index(1, 4));
    QTest::keyClick(view(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("unchanged"));
    QMenu* menu = view()->editMenu();
    QCOMPARE(menu->title(), QStringLiteral("编辑"));
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        items << a->text();
        if (a->text().startsWith(QStringLiteral("剪切")) || a->text().startsWith(QStringLiteral("粘贴")))
            QVERIFY(!a->isEnabled());
    }
    QCOMPARE(items.mid(0, 3), QStringList({"剪切(&T)\tCtrl+X", "复制(&C)\tCtrl+C", "粘贴(&P)\tCtrl+V"}));
}

QTEST_MAIN(TableTest)
#include "table_test.moc"
