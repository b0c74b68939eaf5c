#include "app/main_frame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>

#include "app/about_dlg.h"
#include "app/app_look.h"
#include "app/command_guard.h"
#include "app/command_icons.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/data_modify_dlg.h"
#include "app/depth_calc_dlg.h"
#include "app/edit_commands.h"
#include "app/help_window.h"
#include "app/lock_indicators.h"
#include "app/orb_view.h"
#include "app/toolbar_customize_dlg.h"
#include "app/well_input_dlg.h"

namespace orb {

namespace {

const char* const kLookKey = "ApplicationLook";
const char* const kToolbarKey = "Toolbar/Buttons";
const char* const kStateKey = "Workspace/State";
const char* const kGeometryKey = "Workspace/Geometry";

QList<int> StoredToolbarButtons() {
    const QVariant v = QSettings().value(QString::fromLatin1(kToolbarKey));
    if (!v.isValid()) return DefaultToolbarButtons();
    QList<int> ids;
    for (const QString& s : v.toStringList()) ids.append(s.toInt());
    return CleanToolbarButtons(ids);
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), model_(edits_) {
    setWindowTitle(OrbText(kProductCaption));
    setWindowIcon(AppIcon());
    setObjectName(QStringLiteral("MainFrame"));
    wellInputDlg_ = new CWellInputDlg(this);
    dataModifyDlg_ = new CDataModifyDlg(this);
    depthCalcDlg_ = new CDepthCalcDlg(this);
    help_ = new CHelpWindow(this);
    model_.SetWellNumbersSink([this](const std::u16string& team, const std::u16string& well) {
        SyncWellInfoFromDocument(team, well);
    });

    look_ = ValidLook(QSettings().value(QString::fromLatin1(kLookKey), kDefaultLook).toInt());
    CreateActions();
    OnApplicationLook(look_);
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    view_ = new COrbView(model_, this);
    setCentralWidget(view_);
    ConnectCommands();
    ConnectDeviceCommands();
    ConnectExportCommands();
    ConnectPrintCommands();
    ConnectQualityCommands();
    ConnectExchangeCommands();
    ConnectEditCommands();
    ConnectLanguageCommands();
    view_->OnInitialUpdate();

    resize(1180, 720);
    QSettings settings;
    restoreGeometry(settings.value(QString::fromLatin1(kGeometryKey)).toByteArray());
    restoreState(settings.value(QString::fromLatin1(kStateKey)).toByteArray());
    // Runs once the event loop delivers it, after the window exists.
    QTimer::singleShot(0, this, &CMainFrame::OnStartup);
}

CMainFrame::~CMainFrame() {
    // The edit commands listen to the frame's edits, and the table widget
    // talks to the model until it is gone; children would otherwise outlive
    // the members they point to.
    delete editCommands_;
    editCommands_ = nullptr;
    delete view_;
    view_ = nullptr;
    model_.SetWellNumbersSink({});
}

QAction* CMainFrame::Action(int id) const {
    return actions_.value(id, nullptr);
}

QAction* CMainFrame::MakeAction(int id) {
    auto* a = new QAction(CommandCaption(id), this);
    a->setProperty("commandId", id);
    a->setShortcuts(CommandShortcuts(id));
    a->setStatusTip(CommandStatusTip(id));
    a->setWhatsThis(CommandStatusTip(id));
    a->setToolTip(CommandToolTip(id));
    a->setIcon(CommandIcon(id));
    a->setIconVisibleInMenu(false);
    actions_.insert(id, a);
    return a;
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& c : AllCommands()) MakeAction(c.id);
    lookGroup_ = new QActionGroup(this);
    lookGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int id = cmd::kLookFirst; id <= cmd::kLookLast; ++id) {
        if (QAction* a = Action(id)) {
            a->setCheckable(true);
            lookGroup_->addAction(a);
        }
    }
    Action(cmd::kStatusBar)->setCheckable(true);
    Action(cmd::kStatusBar)->setChecked(true);
    // Commands that no part of the program handles stay disabled (undo and
    // redo until there is something to undo or redo).
    for (int id : {cmd::kEditCut, cmd::kEditPaste, cmd::kEditUndo, cmd::kEditRedo, cmd::kNextPane,
                   cmd::kPrevPane, cmd::kToolbarsPlaceholder})
        Action(id)->setEnabled(false);
    // Accelerators of commands without a menu item work through the window.
    for (int id : {cmd::kDataModify, cmd::kFileNew, cmd::kFilePrintDirect, cmd::kHelp, cmd::kContextHelp,
                   cmd::kDefaultHelp, cmd::kCustomize, cmd::kLookWindows7, cmd::kEditCopy, cmd::kEditCut,
                   cmd::kEditPaste, cmd::kEditUndo, cmd::kEditRedo, cmd::kNextPane, cmd::kPrevPane})
        addAction(Action(id));
}

void CMainFrame::CreateMenus() {
    menuToolBar_ = new QToolBar(tr("菜单栏"), this);
    menuToolBar_->setObjectName(QStringLiteral("MenuBarToolBar"));
    // A menu bar lays out horizontally only: it docks at the top or bottom.
    menuToolBar_->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    menuBar_ = new QMenuBar(menuToolBar_);
    menuBar_->setNativeMenuBar(false);
    QFont menuFont = menuBar_->font();
    menuFont.setPixelSize(15);
    menuBar_->setFont(menuFont);
    menuBar_->addMenu(CreateFileMenu());
    auto addDeviceMenu = [this](const QString& title, std::initializer_list<int> ids) {
        QMenu* m = menuBar_->addMenu(title);
        for (int id : ids) m->addAction(Action(id));
    };
    addDeviceMenu(tr("通信"), {cmd::kPortSelect});
    addDeviceMenu(tr("探管"), {cmd::kProbeTest, cmd::kProbeInfo, cmd::kProbeClock, cmd::kProbeRealTime,
                               cmd::kProbeDownload, cmd::kProbeWorkMode});
    addDeviceMenu(tr("同步器"), {cmd::kSyncTest, cmd::kSyncClock, cmd::kSyncDownload, cmd::kSyncClear});
    menuBar_->addMenu(CreateDataMenu());
    menuBar_->addMenu(CreateViewMenu());
    QMenu* help = menuBar_->addMenu(tr("帮助(&H)"));
    help->addAction(Action(cmd::kHelpFinder));
    help->addSeparator();
    help->addAction(Action(cmd::kAbout));
    for (QAction* a : menuBar_->actions()) a->menu()->setFont(menuFont);
    menuToolBar_->addWidget(menuBar_);
    addToolBar(Qt::TopToolBarArea, menuToolBar_);
    addToolBarBreak(Qt::TopToolBarArea);
}

QMenu* CMainFrame::CreateFileMenu() {
    auto* m = new QMenu(tr("文件(&F)"), this);
    m->setObjectName(QString::fromLatin1(kFileMenuName));
    m->addAction(Action(cmd::kFileOpen));
    m->addAction(Action(cmd::kFileSave));
    m->addAction(Action(cmd::kFileSaveAs));
    m->addSeparator();
    m->addAction(Action(cmd::kExportText));
    m->addAction(Action(cmd::kExportExcel));
    m->addSeparator();
    m->addAction(Action(cmd::kFilePrint));
    m->addAction(Action(cmd::kFilePrintPreview));
    m->addAction(Action(cmd::kFilePageSetup));
    m->addSeparator();
    for (int id = cmd::kFileMru1; id <= cmd::kFileMruLast; ++id) m->addAction(Action(id));
    m->addSeparator();
    m->addAction(Action(cmd::kAppExit));
    recentMenu_ = m;
    return m;
}

QMenu* CMainFrame::CreateDataMenu() {
    auto* m = new QMenu(tr("数据"), this);
    m->setObjectName(QString::fromLatin1(kDataMenuName));
    for (int id : {cmd::kWellInfo, cmd::kDepthCalc, cmd::kSelectAll, cmd::kSelectNone, cmd::kSelectInvert,
                   cmd::kShowAll, cmd::kShowSelected, cmd::kShowAutoSelected, cmd::kReverse})
        m->addAction(Action(id));
    return m;
}

QMenu* CMainFrame::CreateViewMenu() {
    auto* m = new QMenu(tr("视图(&V)"), this);
    m->setObjectName(QString::fromLatin1(kViewMenuName));
    QMenu* bars = m->addMenu(tr("工具栏和停靠窗口(&T)"));
    // The placeholder entry becomes the list of toolbars when the menu opens.
    bars->addAction(Action(cmd::kToolbarsPlaceholder));
    connect(bars, &QMenu::aboutToShow, this, [this, bars] { FillToolbarsMenu(bars); });
    m->addAction(Action(cmd::kStatusBar));
    CreateLookMenu(m);
    return m;
}

QMenu* CMainFrame::CreateLookMenu(QMenu* parent) {
    QMenu* looks = parent->addMenu(tr("应用程序外观(&A)"));
    for (int id = cmd::kLookWin2000; id <= cmd::kLookVS2008; ++id) looks->addAction(Action(id));
    QMenu* office = looks->addMenu(QStringLiteral("Office 2007(&7)"));
    for (int id = cmd::kLookOffice2007Blue; id <= cmd::kLookOffice2007Aqua; ++id)
        office->addAction(Action(id));
    return looks;
}

void CMainFrame::FillToolbarsMenu(QMenu* menu) {
    menu->clear();
    menu->addAction(menuToolBar_->toggleViewAction());
    menu->addAction(toolBar_->toggleViewAction());
    menu->addSeparator();
    menu->addAction(Action(cmd::kCustomize));
}

QMenu* CMainFrame::createPopupMenu() {
    auto* m = new QMenu(this);
    FillToolbarsMenu(m);
    return m;
}

void CMainFrame::CreateToolBars() {
    toolBar_ = new QToolBar(tr("标准"), this);
    toolBar_->setObjectName(QStringLiteral("StandardToolBar"));
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    toolbarButtons_ = StoredToolbarButtons();
    RebuildToolBar();
}

void CMainFrame::RebuildToolBar() {
    toolBar_->clear();
    for (int id : toolbarButtons_) {
        if (id == 0)
            toolBar_->addSeparator();
        else if (QAction* a = Action(id))
            toolBar_->addAction(a);
    }
}

void CMainFrame::SetToolbarButtons(const QList<int>& buttons) {
    toolbarButtons_ = CleanToolbarButtons(buttons);
    QStringList stored;
    for (int id : toolbarButtons_) stored.append(QString::number(id));
    QSettings().setValue(QString::fromLatin1(kToolbarKey), stored);
    RebuildToolBar();
}

void CMainFrame::OnViewCustomize() {
    CToolbarCustomizeDlg dlg(toolbarButtons_, this);
    if (dlg.exec() == QDialog::Accepted) SetToolbarButtons(dlg.buttons());
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->addWidget(new QLabel(tr("就绪"), bar), 1);
    statusTextPane_ = new QLabel(tr("程序准备就绪      "), bar);
    statusTextPane_->setProperty("indicatorId", 59143);
    statusTextPane_->setFrameShape(QFrame::StyledPanel);
    statusTextPane_->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(statusTextPane_);
    progressPane_ = new QWidget(bar);
    progressPane_->setProperty("indicatorId", 59142);
    progressPane_->setFixedWidth(400);
    auto* layout = new QHBoxLayout(progressPane_);
    layout->setContentsMargins(0, 0, 0, 0);
    progressText_ = new QLabel(tr("进度条"), progressPane_);
    layout->addWidget(progressText_);
    bar->addPermanentWidget(progressPane_);
    locks_ = new LockIndicators(bar);
}

void CMainFrame::SetStatusText(const QString& text) {
    statusTextPane_->setText(text);
}

void CMainFrame::SetProgress(int percent) {
    if (progress_) progress_->setValue(qBound(0, percent, 100));
}

void CMainFrame::OnStartup() {
    StartupDeviceSearch();
    if (!progress_) {
        progress_ = new QProgressBar(progressPane_);
        progress_->setProperty("controlId", cmd::kProgressControlId);
        progress_->setRange(0, 100);
        progress_->setValue(0);
        progress_->setTextVisible(false);
        progressText_->hide();
        progressPane_->layout()->addWidget(progress_);
    }
    emit startupFinished();
}

void CMainFrame::OnApplicationLook(int id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ApplyLook(id);
    look_ = id;
    for (QAction* a : lookGroup_->actions()) a->setChecked(a->property("commandId").toInt() == id);
    QSettings().setValue(QString::fromLatin1(kLookKey), id);
    QApplication::restoreOverrideCursor();
}

void CMainFrame::ShowHelp() {
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void CMainFrame::ShowAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::ConnectCommands() {
    auto on = [this](int id, auto slot) { ConnectCommand(Action(id), this, slot); };
    on(cmd::kFileNew, [this] { OnFileNew(); });
    on(cmd::kFileOpen, [this] { OpenSurveyFile(); });
    on(cmd::kFileSave, [this] { SaveSurveyFile(); });
    on(cmd::kFileSaveAs, [this] { SaveSurveyFile(); });
    on(cmd::kAppExit, [this] { close(); });
    for (int id = cmd::kFileMru1; id <= cmd::kFileMruLast; ++id) {
        on(id, [this, id] {
            const QStringList files = RecentFiles();
            const int i = id - cmd::kFileMru1;
            if (i < files.size()) OpenDocumentFile(files[i]);
        });
    }
    on(cmd::kWellInfo, [this] { InputWellInfo(); });
    on(cmd::kDepthCalc, [this] { OnDepthCalc(); });
    on(cmd::kDataModify, [this] { OnDataModify(); });
    on(cmd::kSelectAll, [this] { view_->OnSelectAll(); });
    on(cmd::kSelectNone, [this] { view_->OnSelectNone(); });
    on(cmd::kSelectInvert, [this] { view_->OnSelectInvert(); });
    on(cmd::kShowAll, [this] { view_->OnShowAll(); });
    on(cmd::kShowSelected, [this] { view_->OnShowSelected(); });
    on(cmd::kShowAutoSelected, [this] { view_->OnShowAutoSelected(); });
    on(cmd::kReverse, [this] { view_->OnReverse(); });
    on(cmd::kStatusBar, [this](bool shown) { statusBar()->setVisible(shown); });
    on(cmd::kCustomize, [this] { OnViewCustomize(); });
    for (QAction* a : lookGroup_->actions()) {
        const int id = a->property("commandId").toInt();
        on(id, [this, id] { OnApplicationLook(id); });
    }
    for (int id : {cmd::kHelpFinder, cmd::kHelp, cmd::kDefaultHelp}) on(id, [this] { ShowHelp(); });
    on(cmd::kContextHelp, [] { QWhatsThis::enterWhatsThisMode(); });
    on(cmd::kAbout, [this] { ShowAbout(); });
    UpdateRecentFilesMenu();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(QString::fromLatin1(kGeometryKey), saveGeometry());
    settings.setValue(QString::fromLatin1(kStateKey), saveState());
    help_->close();
    event->accept();
}

}  // namespace orb
