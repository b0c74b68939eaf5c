// The main window: menus, toolbars, status bar, application look, and the
// owner of the document, the table model, the table widget and the
// long-lived dialogs. File, data and device commands live in
// main_frame_file.cpp, main_frame_data.cpp and main_frame_device.cpp.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "app/ui_language.h"
#include "document/orb_doc.h"
#include "document/survey_edits.h"
#include "document/well_info.h"
#include "report/exchange_survey.h"
#include "view/survey_table_model.h"

class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QPrinter;
class QProgressBar;
class QToolBar;

namespace orb {

class CAboutDlg;
class CDataModifyDlg;
class CDepthCalcDlg;
class CHelpWindow;
class COrbView;
class CWellInputDlg;
class LockIndicators;

// The window caption; it never shows the document name.
inline constexpr const char* kProductCaption = QT_TRANSLATE_NOOP("Orb", "Orb 测斜数据处理系统");
// The save question before a modified survey would be lost.
inline constexpr const char* kSaveQuestion = QT_TRANSLATE_NOOP("Orb", "是否保存更改?");
inline constexpr int kRecentFileCount = 4;
// Object names of the menus that later parts of the window add items to.
inline constexpr const char* kFileMenuName = "fileMenu";
inline constexpr const char* kDataMenuName = "dataMenu";
inline constexpr const char* kViewMenuName = "viewMenu";

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The action of a command id (nullptr when there is none).
    QAction* Action(int id) const;
    QMenuBar* FrameMenuBar() const { return menuBar_; }
    QToolBar* StandardToolBar() const { return toolBar_; }
    QToolBar* MenuToolBar() const { return menuToolBar_; }

    // Status bar outputs for long operations (downloads, exports).
    QLabel* StatusTextPane() const { return statusTextPane_; }
    void SetStatusText(const QString& text);
    // The progress bar (range 0..100) in the progress pane; nullptr until
    // the start-up step has run.
    QProgressBar* ProgressBar() const { return progress_; }
    void SetProgress(int percent);
    QWidget* ProgressPane() const { return progressPane_; }
    LockIndicators* lockIndicators() const { return locks_; }

    // Application look, commands 205 to 219.
    int ApplicationLook() const { return look_; }
    void OnApplicationLook(int id);

    // Toolbar buttons as command ids (0 = separator), remembered in the settings.
    QList<int> ToolbarButtons() const { return toolbarButtons_; }
    void SetToolbarButtons(const QList<int>& buttons);

    // Document, its edit path, table and well values. Every change of the
    // survey goes through Edits(); Document() is for reading (and for tests
    // that set up a survey before the table is reloaded).
    COrbDoc& Document() { return doc_; }
    SurveyEdits& Edits() { return edits_; }
    SurveyTableModel& TableModel() { return model_; }
    COrbView* View() const { return view_; }
    WellInfo& wellInfo() { return wellInfo_; }

    // The long-lived dialogs.
    CWellInputDlg& wellInputDlg() const { return *wellInputDlg_; }
    CDataModifyDlg& dataModifyDlg() const { return *dataModifyDlg_; }
    CDepthCalcDlg& depthCalcDlg() const { return *depthCalcDlg_; }
    CHelpWindow* helpWindow() const { return help_; }

    // File commands. The path forms skip the file dialog and the extension
    // rule (command line, recent files).
    void OnFileNew();
    void OpenSurveyFile();
    void SaveSurveyFile();
    bool OpenDocumentFile(const QString& path);
    bool SaveDocumentFile(const QString& path);
    // Asks "是否保存更改?" when the document is modified; false = cancelled.
    bool SaveModified();
    QString DocumentPathName() const { return pathName_; }
    // The document's title: its file name, or "无标题" before it has one. The
    // caption never shows it; the save dialog proposes it as the file name.
    QString DocumentTitle() const;
    QStringList RecentFiles() const;

    // Data commands.
    void InputWellInfo();
    void OnDepthCalc();
    void OnDataModify();
    void ShowHelp();
    void ShowAbout();
    void OnViewCustomize();

signals:
    // The start-up step ran (port search, progress control).
    void startupFinished();
    // The survey was saved, opened or started anew.
    void surveyStored();

protected:
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    QAction* MakeAction(int id);
    void CreateActions();
    void CreateMenus();
    QMenu* CreateFileMenu();
    QMenu* CreateDataMenu();
    QMenu* CreateViewMenu();
    QMenu* CreateLookMenu(QMenu* parent);
    void FillToolbarsMenu(QMenu* menu);
    void CreateToolBars();
    void CreateStatusBar();
    void ConnectCommands();
    void RebuildToolBar();
    void OnStartup();
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    void UpdateRecentFilesMenu();
    QString AskFileName(bool save);
    // Loads without the save question; the table is reloaded in any case.
    bool LoadDocumentFile(const QString& path);
    void SyncWellInfoFromDocument(const std::u16string& team, const std::u16string& well);

    // Device commands (main_frame_device.cpp).
    void ConnectDeviceCommands();
    void OnDeviceCommand(int id);
    void StartupDeviceSearch();

    // ---- export commands (main_frame_export.cpp)
public:
    // TXT export (32800) and Excel export (32845) of the table's checked rows.
    void OnExportText();
    void OnExportExcel();
    class CTxtSetDlg& txtSetDlg() const;

private:
    void ConnectExportCommands();
    QString AskExportFileName(const QStringList& filters, const QString& defaultSuffix);
    void BeginLongWork(const QString& status);
    void EndLongWork(bool ok);
    class CTxtSetDlg* txtSetDlg_ = nullptr;
    QString statusBeforeWork_;
    // ---- end export commands

    // ---- print commands (main_frame_print.cpp)
public:
    // Printer setup (57606), print (57607), print without dialog on the
    // current printer (57608) and print preview (57609) of the report.
    void OnFilePageSetup();
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // The mode dialog holds the print mode for the life of the window.
    class CPrintSetDlg& printSetDlg() const;
    // The printer all print commands use (kept between jobs, like its setup).
    QPrinter& printer();

private:
    void ConnectPrintCommands();
    // Before every job: the mode dialog, then its warning where it applies.
    void PreparePrinting();
    void ProposePdfFile(QPrinter& p) const;
    struct ReportInput MakeReport() const;
    class CPrintSetDlg* printSetDlg_ = nullptr;
    std::shared_ptr<QPrinter> printer_;
    // ---- end print commands

    // ---- exchange exports and the survey context (main_frame_exchange.cpp)
public:
    // 文件 → 导出 → CSV / LAS / WITSML of the selected stations.
    void OnExportExchange(int commandId);
    // The options the window's trajectory uses, as the exchange files take them.
    ExchangeOptions SessionExchangeOptions();

private:
    void ConnectExchangeCommands();
    // After a load: a stored declination comes back, and the status bar says
    // so (or why the stored context was ignored).
    void RestoreSurveyContext(const std::string& notice);
    // Before a save: the session's declination and quality values join the
    // survey's context.
    void StoreSessionContext();
    // ---- end exchange exports

    // ---- undo, redo and copy (main_frame_edit.cpp, edit_commands.cpp)
private:
    void ConnectEditCommands();
    class CEditCommands* editCommands_ = nullptr;
    // ---- end undo, redo and copy

    // ---- language (main_frame_language.cpp)
private:
    // 视图 → 语言 (Language) at the end of the view menu.
    void ConnectLanguageCommands();
    void OnLanguage(UiLanguage language);
    // ---- end language

    // ---- station quality and trajectory (main_frame_quality.cpp)
public:
    // The station-quality command, the trajectory panel and their state.
    class CQualityController* qualityController() const {
        return quality_;
    }

private:
    void ConnectQualityCommands();
    void ConnectGeoReference();
    class CQualityController* quality_ = nullptr;
    // ---- end station quality and trajectory

    COrbDoc doc_;
    SurveyEdits edits_{doc_};
    WellInfo wellInfo_;
    SurveyTableModel model_;
    QHash<int, QAction*> actions_;
    QActionGroup* lookGroup_ = nullptr;
    CWellInputDlg* wellInputDlg_ = nullptr;
    CDataModifyDlg* dataModifyDlg_ = nullptr;
    CDepthCalcDlg* depthCalcDlg_ = nullptr;
    CHelpWindow* help_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QToolBar* menuToolBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* statusTextPane_ = nullptr;
    QWidget* progressPane_ = nullptr;
    QLabel* progressText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    LockIndicators* locks_ = nullptr;
    COrbView* view_ = nullptr;
    QList<int> toolbarButtons_;
    QString pathName_;
    int look_ = 215;
};

}  // namespace orb
