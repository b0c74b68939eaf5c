// The window's furniture: the menu tree, accelerators, prompts, toolbar,
// status bar and the application look.
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include "app/app_look.h"
#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/lock_indicators.h"
#include "app/main_frame.h"
#include "app/toolbar_customize_dlg.h"
#include "app_test_support.h"

using namespace orb;

namespace {

// A menu as "caption#id" lines, "-" for separators and "caption>" for submenus.
QStringList Describe(const QMenu* menu) {
    QStringList lines;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            lines << QStringLiteral("-");
        else if (a->menu())
            lines << a->text() + QStringLiteral(">");
        else if (a->isVisible())
            lines << a->text() + QStringLiteral("#") + a->property("commandId").toString();
    }
    return lines;
}

QMenu* TopMenu(CMainFrame& f, int i) {
    return f.FrameMenuBar()->actions().at(i)->menu();
}

QMenu* SubMenu(QMenu* m, const QString& title) {
    for (QAction* a : m->actions())
        if (a->menu() && a->text() == title) return a->menu();
    return nullptr;
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void init() { settings_ = test::UseTemporarySettings(); }

    void menuBarHasTheDocumentedMenusAndItems();
    void acceleratorsPromptsAndTooltips();
    void deviceItemsPrintAndExportAreEnabled();
    void toolbarFollowsTheDocumentedOrderAndRemembersCustomisation();
    void customiseDialogEditsTheButtonList();
    void statusBarPanes();
    void lookDefaultsTo215AndSurvivesRestart();
    void storedLookOutsideTheRangeFallsBack();
    void looksAreVisiblyDistinct();
    void captionIsTheProductCaption();
    void memoryThatRunsOutEndsTheCommandNotTheWindow();

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void ShellTest::menuBarHasTheDocumentedMenusAndItems() {
    CMainFrame f;
    QStringList titles;
    for (QAction* a : f.FrameMenuBar()->actions()) titles << a->text();
    QCOMPARE(titles, QStringList({"文件(&F)", "通信", "探管", "同步器", "数据", "视图(&V)", "帮助(&H)"}));

    QCOMPARE(Describe(TopMenu(f, 0)),
             QStringList({"打开(&O)...\tCtrl+O#57601", "保存(&S)\tCtrl+S#57603", "另存为(&A)...#57604", "-",
                          "导出文本文件#32800", "导出Excel表格#32845", "导出>", "-",
                          "打印(&P)...\tCtrl+P#57607", "打印预览(&V)#57609", "打印设置(&R)...#57606", "-",
                          "最近的文件#57616", "-", "退出(&X)#57665"}));
    QCOMPARE(Describe(TopMenu(f, 1)), QStringList({"端口选择#32791"}));
    QCOMPARE(Describe(TopMenu(f, 2)),
             QStringList({"通信测试#32781", "探管信息查询#32782", "时钟校准#32819", "实时数据输出#32783",
                          "读取探管数据#32784", "工作模式设置#32786"}));
    QCOMPARE(Describe(TopMenu(f, 3)),
             QStringList({"连接测试#32820", "时钟校准#32821", "数据读取#32822", "清空数据#32823"}));
    QCOMPARE(Describe(TopMenu(f, 4)),
             QStringList({"钻井参数输入#32811", "井位与地磁参考#33100", "井深自动计算#32813",
                          "全部选择#32788", "全部不选择#32789", "反向选择#32790", "显示全部数据#32797",
                          "显示选中数据#32798", "显示自动选中的数据#32825", "按静止段选择测点#33300",
                          "逆序显示#32793", "-", "测量质量设置...#33000", "打印报告时附轨迹页#33002"}));
    QMenu* view = TopMenu(f, 5);
    QCOMPARE(Describe(view), QStringList({"工具栏和停靠窗口(&T)>", "状态栏(&S)#59393", "应用程序外观(&A)>",
                                          "井眼轨迹#33001", "-", "语言 (Language)>"}));
    QCOMPARE(Describe(SubMenu(view, "语言 (Language)")), QStringList({"中文#33400", "English#33401"}));
    QMenu* looks = SubMenu(view, "应用程序外观(&A)");
    QVERIFY(looks);
    QCOMPARE(Describe(looks), QStringList({"Windows 2000(&2)#205", "Office XP(&X)#206", "Windows XP(&W)#207",
                                           "Office 2003(&3)#208", "Visual Studio 200&5#209",
                                           "Visual Studio 200&8#210", "Office 2007(&7)>"}));
    QCOMPARE(Describe(SubMenu(looks, "Office 2007(&7)")),
             QStringList({"蓝色样式(&B)#215", "黑色样式(&L)#216", "银色样式(&S)#217", "水绿色样式(&A)#218"}));
    QCOMPARE(Describe(TopMenu(f, 6)), QStringList({"帮助主题(&H)#57667", "-", "关于 TALO(&A)...#57664"}));

    // The toolbar list replaces the placeholder when the submenu opens.
    QMenu* bars = SubMenu(view, "工具栏和停靠窗口(&T)");
    emit bars->aboutToShow();
    QStringList barItems;
    for (QAction* a : bars->actions()) barItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(barItems, QStringList({"菜单栏", "标准", "-", "自定义..."}));
}

void ShellTest::acceleratorsPromptsAndTooltips() {
    CMainFrame f;
    QCOMPARE(f.Action(cmd::kFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(f.Action(cmd::kFileSave)->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(f.Action(cmd::kFilePrint)->shortcut(), QKeySequence("Ctrl+P"));
    QCOMPARE(f.Action(cmd::kFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(f.Action(cmd::kDataModify)->shortcut(), QKeySequence("Alt+Shift+S"));
    QCOMPARE(f.Action(cmd::kHelp)->shortcut(), QKeySequence("F1"));
    QCOMPARE(f.Action(cmd::kContextHelp)->shortcut(), QKeySequence("Shift+F1"));
    QCOMPARE(f.Action(cmd::kEditCopy)->shortcuts(),
             QList<QKeySequence>({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
    // Copy is always there; undo only once there is an edit to undo.
    QVERIFY(f.Action(cmd::kEditCopy)->isEnabled());
    QVERIFY(!f.Action(cmd::kEditUndo)->isEnabled());

    QCOMPARE(f.Action(cmd::kFileOpen)->statusTip(), QStringLiteral("打开现有文档"));
    QCOMPARE(f.Action(cmd::kFileOpen)->toolTip(), QStringLiteral("打开"));
    QCOMPARE(f.Action(cmd::kAppExit)->statusTip(), QStringLiteral("退出应用程序；提示保存文档"));
    QCOMPARE(f.Action(cmd::kDepthCalc)->toolTip(), QStringLiteral("井深计算"));
    QCOMPARE(f.Action(cmd::kAbout)->statusTip(), QStringLiteral("显示程序信息、版本号和版权信息"));
    QCOMPARE(f.Action(cmd::kSelectAll)->statusTip(), QString());
    QCOMPARE(f.Action(cmd::kSelectAll)->toolTip(), QStringLiteral("全部选择"));

    // Commands without a menu item still answer their accelerators.
    QVERIFY(f.actions().contains(f.Action(cmd::kDataModify)));
    QVERIFY(f.actions().contains(f.Action(cmd::kFileNew)));
}

void ShellTest::deviceItemsPrintAndExportAreEnabled() {
    CMainFrame f;
    for (int id : {32791, 32781, 32782, 32819, 32783, 32784, 32786, 32820, 32821, 32822, 32823}) {
        // Triggering them opens the device dialogs: see device_test.cpp.
        QVERIFY2(f.Action(id) && f.Action(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    for (int id : {32800, 32845, 57607, 57609, 57606, 57608}) QVERIFY(f.Action(id)->isEnabled());
}

void ShellTest::toolbarFollowsTheDocumentedOrderAndRemembersCustomisation() {
    const QList<int> documented{57601, 57603, 0,     32781, 32783, 32819, 32784, 32786, 0,
                                32797, 32798, 32811, 32813, 0,     57607, 57664, 57669};
    {
        CMainFrame f;
        QList<int> shown;
        for (QAction* a : f.StandardToolBar()->actions())
            shown << (a->isSeparator() ? 0 : a->property("commandId").toInt());
        QCOMPARE(shown, documented);
        QCOMPARE(f.StandardToolBar()->iconSize(), QSize(32, 32));
        for (QAction* a : f.StandardToolBar()->actions())
            if (!a->isSeparator()) QVERIFY(!a->icon().isNull());
        QVERIFY(f.StandardToolBar()->isMovable());
        QVERIFY(f.MenuToolBar()->isMovable());
        QCOMPARE(f.StandardToolBar()->windowTitle(), QStringLiteral("标准"));
        f.SetToolbarButtons({57664, 0, 57601, 0, 0, 12345, 57601, 0});
        QCOMPARE(f.ToolbarButtons(), QList<int>({57664, 0, 57601}));
    }
    CMainFrame restarted;
    QCOMPARE(restarted.ToolbarButtons(), QList<int>({57664, 0, 57601}));
    QCOMPARE(restarted.StandardToolBar()->actions().size(), 3);
}

void ShellTest::customiseDialogEditsTheButtonList() {
    CToolbarCustomizeDlg dlg(DefaultToolbarButtons());
    QCOMPARE(dlg.buttons(), DefaultToolbarButtons());
    dlg.currentList()->setCurrentRow(0);
    dlg.MoveSelected(1);  // save before open
    QCOMPARE(dlg.buttons().mid(0, 2), QList<int>({57603, 57601}));
    dlg.RemoveSelected();  // open is gone
    QVERIFY(!dlg.buttons().contains(57601));
    dlg.availableList()->setCurrentRow(0);
    dlg.AddSelected();
    QVERIFY(dlg.buttons().contains(57601));
    dlg.AddSelected();  // never twice
    QCOMPARE(dlg.buttons().count(57601), 1);
    dlg.Reset();
    QCOMPARE(dlg.buttons(), DefaultToolbarButtons());
}

void ShellTest::statusBarPanes() {
    CMainFrame f;
    f.show();
    QCOMPARE(f.StatusTextPane()->text(), QStringLiteral("程序准备就绪      "));
    QCOMPARE(f.ProgressPane()->width(), 400);
    QSignalSpy started(&f, &CMainFrame::startupFinished);
    QVERIFY(started.wait(5000));
    QProgressBar* bar = f.ProgressBar();
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->property("controlId").toInt(), cmd::kProgressControlId);
    f.SetProgress(42);
    QCOMPARE(bar->value(), 42);
    f.SetProgress(400);
    QCOMPARE(bar->value(), 100);
    f.SetStatusText(QStringLiteral("正在读取数据..."));
    QCOMPARE(f.StatusTextPane()->text(), QStringLiteral("正在读取数据..."));
    QCOMPARE(f.lockIndicators()->pane(0)->text(), QStringLiteral("CAP"));
    QCOMPARE(f.lockIndicators()->pane(1)->text(), QStringLiteral("NUM"));
    QCOMPARE(f.lockIndicators()->pane(2)->text(), QStringLiteral("SCRL"));
    f.Action(cmd::kStatusBar)->trigger();
    QVERIFY(!f.statusBar()->isVisible());
}

void ShellTest::lookDefaultsTo215AndSurvivesRestart() {
    {
        CMainFrame f;
        QCOMPARE(f.ApplicationLook(), 215);
        QVERIFY(f.Action(215)->isChecked());
        f.Action(cmd::kLookOffice2007Black)->trigger();
        QCOMPARE(f.ApplicationLook(), 216);
        QVERIFY(f.Action(216)->isChecked());
        QVERIFY(!f.Action(215)->isChecked());
        QCOMPARE(qApp->palette().color(QPalette::Window), LookPalette(216).color(QPalette::Window));
    }
    CMainFrame restarted;
    QCOMPARE(restarted.ApplicationLook(), 216);
    QVERIFY(restarted.Action(216)->isChecked());
    QCOMPARE(QSettings().value("ApplicationLook").toInt(), 216);
}

void ShellTest::storedLookOutsideTheRangeFallsBack() {
    for (int stored : {0, 204, 220, -1}) {
        QSettings().setValue("ApplicationLook", stored);
        CMainFrame f;
        QCOMPARE(f.ApplicationLook(), 215);
    }
    QSettings().setValue("ApplicationLook", 219);  // reachable only through the settings
    CMainFrame f;
    QCOMPARE(f.ApplicationLook(), 219);
    QVERIFY(f.Action(219)->isChecked());
}

void ShellTest::looksAreVisiblyDistinct() {
    const QList<int> looks{205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219};
    for (int a : looks) {
        const QPalette pa = LookPalette(a);
        // Readable: text and its background differ clearly.
        QVERIFY(qAbs(pa.color(QPalette::WindowText).lightness() - pa.color(QPalette::Window).lightness()) >
                100);
        for (int b : looks) {
            if (a >= b) continue;
            const QPalette pb = LookPalette(b);
            const bool differ = pa.color(QPalette::Window) != pb.color(QPalette::Window) ||
                                pa.color(QPalette::Highlight) != pb.color(QPalette::Highlight) ||
                                QByteArray(LookStyleName(a)) != LookStyleName(b);
            QVERIFY2(differ, qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
        }
    }
    QCOMPARE(QByteArray(LookStyleName(205)), QByteArray("Windows"));
    // 211 to 214 keep the Office 2007 colour style chosen last.
    ApplyLook(217);
    QCOMPARE(LookPalette(212).color(QPalette::Window), LookPalette(217).color(QPalette::Window));
}

void ShellTest::captionIsTheProductCaption() {
    CMainFrame f;
    QCOMPARE(f.windowTitle(), QString::fromUtf8(kProductCaption));
}

// A command that runs out of memory (thrown, or a size beyond any vector)
// ends with a message box; the window and its unsaved survey stay.
void ShellTest::memoryThatRunsOutEndsTheCommandNotTheWindow() {
    CMainFrame f;
    f.show();
    f.Document().EditRecords([](std::vector<SurveyRecord>& r) { r = test::MakeRecords(6); });
    f.Document().SetModified(true);
    const std::vector<std::function<void()>> commands = {
        [] { throw std::bad_alloc(); },
        [] { std::vector<SurveyRecord>().reserve(std::vector<SurveyRecord>().max_size() + 1); },
    };
    for (const auto& command : commands) {
        QAction action(&f);
        int ran = 0;
        ConnectCommand(&action, &f, [&] {
            ++ran;
            command();
        });
        QString text, title;
        test::WhenModal([&](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                text = box->text();
                title = box->windowTitle();
                box->accept();
            }
        });
        action.trigger();
        QCOMPARE(ran, 1);
        QCOMPARE(text, QString::fromUtf8(kOutOfMemoryMessage));
        QCOMPARE(title, QString::fromUtf8(kOutOfMemoryCaption));
        QVERIFY(f.isVisible());
        QCOMPARE(f.Document().RecordCount(), std::size_t{6});
        QVERIFY(f.Document().IsModified());
    }
}

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
