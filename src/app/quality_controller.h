// Station quality and the trajectory panel in the main window: the
// "测量质量设置" command, the trajectory dock and its toggle, the report-page
// switch, the status-bar count of failing stations, and keeping the table's
// verdicts and the panel in step with the survey, the well and its settings.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "app/quality_settings.h"
#include "core/calibration.h"
#include "geo/north_resolver.h"

class QAction;
class QDockWidget;
class QLabel;
class QTimer;

namespace orb {

class CMainFrame;
class CQualitySetDlg;
class CTrajectoryPanel;
class SurveyTableAdapter;

namespace cmd {
inline constexpr int kQualitySettings = 33000;
inline constexpr int kTrajectoryPanel = 33001;
inline constexpr int kTrajectoryReportPage = 33002;
inline constexpr int kTrajectorySavePng = 33003;
}  // namespace cmd

class CQualityController : public QObject {
    Q_OBJECT
public:
    // Needs the frame's view (the table adapter) to exist.
    explicit CQualityController(CMainFrame* frame);

    // The actions, with the command id as property "commandId".
    QAction* settingsAction() const { return settingsAction_; }
    QAction* panelAction() const;
    QAction* reportPageAction() const { return reportPageAction_; }

    CQualitySetDlg& dialog() const { return *dialog_; }
    QDockWidget* dock() const { return dock_; }
    CTrajectoryPanel* panel() const { return panel_; }
    QLabel* statusPane() const { return statusPane_; }

    // The settings in force and the well they belong to.
    const WellQualitySettings& settings() const { return settings_; }
    QString wellNumber() const { return well_; }

    // The dialog; on OK the values are saved for the well and applied.
    void OnQualitySettings();
    // Reads the settings of the current well and applies them.
    void Reload();
    // Recomputes the panel now (normally done shortly after a change).
    void UpdateTrajectoryNow();
    // Shows the count now (normally done shortly after a change, so that a
    // download does not relabel the status bar for every record).
    void UpdateStatusPane();
    // Where the panel's north reference comes from; without one the panel
    // shows true north with the well's declination.
    void SetNorthSource(std::function<NorthResolution()> source) { northSource_ = std::move(source); }

private:
    TrajectoryPlotOptions PanelOptions(QString& northNote) const;
    void CreateActions();
    void CreateDock();
    void ConnectSignals();
    void OnTableReset();
    void ScheduleTrajectory();
    QString CurrentWell() const;
    // The downloaded calibration when the document comes from the same
    // probe; the records were computed with it.
    std::optional<ProbeCalibration> MatchingCalibration() const;

    CMainFrame* frame_;
    SurveyTableAdapter* adapter_;
    CQualitySetDlg* dialog_;
    QDockWidget* dock_ = nullptr;
    CTrajectoryPanel* panel_ = nullptr;
    QLabel* statusPane_ = nullptr;
    QAction* settingsAction_ = nullptr;
    QAction* reportPageAction_ = nullptr;
    QTimer* trajectoryTimer_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    bool trajectoryDirty_ = true;
    WellQualitySettings settings_;
    QString well_;
    bool calibrationMatched_ = false;
    std::function<NorthResolution()> northSource_;
};

}  // namespace orb
