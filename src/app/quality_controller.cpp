#include "app/quality_controller.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <array>

#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/device_bridge.h"
#include "app/dock_split.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/quality_set_dlg.h"
#include "app/survey_table_adapter.h"
#include "app/trajectory_panel.h"
#include "app/ui_language.h"

namespace orb {

namespace {

// A pause after a change before the panel recomputes, so a burst of changes
// (a download appends thousands of rows) costs one update.
constexpr int kTrajectoryDelayMs = 60;
// The status-bar count is refreshed at most this often.
constexpr int kStatusDelayMs = 100;

QAction* MakeCommand(QObject* parent, int id, const QString& text, const QString& tip) {
    auto* a = new QAction(text, parent);
    a->setProperty("commandId", id);
    a->setStatusTip(tip);
    a->setWhatsThis(tip);
    return a;
}

bool IsDefaultCalibration(const ProbeCalibration& cal) {
    std::array<uint8_t, ProbeCalibration::kBytes> a{}, b{};
    cal.ToBytes(a);
    ProbeCalibration::Default().ToBytes(b);
    return a == b;
}

}  // namespace

CQualityController::CQualityController(CMainFrame* frame)
    : QObject(frame), frame_(frame), adapter_(frame->View()->adapter()), dialog_(new CQualitySetDlg(frame)) {
    setObjectName(QStringLiteral("qualityController"));
    CreateActions();
    CreateDock();
    statusPane_ = new QLabel(frame->statusBar());
    statusPane_->setObjectName(QStringLiteral("qualityPane"));
    statusPane_->setFrameShape(QFrame::StyledPanel);
    statusPane_->setFrameShadow(QFrame::Sunken);
    frame->statusBar()->insertPermanentWidget(1, statusPane_);  // after the message pane
    trajectoryTimer_ = new QTimer(this);
    trajectoryTimer_->setSingleShot(true);
    trajectoryTimer_->setInterval(kTrajectoryDelayMs);
    connect(trajectoryTimer_, &QTimer::timeout, this, &CQualityController::UpdateTrajectoryNow);
    statusTimer_ = new QTimer(this);
    statusTimer_->setSingleShot(true);
    statusTimer_->setInterval(kStatusDelayMs);
    connect(statusTimer_, &QTimer::timeout, this, &CQualityController::UpdateStatusPane);
    ConnectSignals();
    Reload();
    UpdateStatusPane();
}

QAction* CQualityController::panelAction() const {
    return dock_->toggleViewAction();
}

void CQualityController::CreateActions() {
    settingsAction_ = MakeCommand(this, cmd::kQualitySettings, tr("测量质量设置..."),
                                  tr("本井的当地重力、总磁场、磁倾角及容差，狗腿度单位和视平移方位"));
    ConnectCommand(settingsAction_, this, frame_, [this] { OnQualitySettings(); });
    reportPageAction_ = MakeCommand(this, cmd::kTrajectoryReportPage, tr("打印报告时附轨迹页"),
                                    tr("打印、预览和PDF报告的最后一页为井眼轨迹图"));
    reportPageAction_->setCheckable(true);
    reportPageAction_->setChecked(TrajectoryPageWanted());
    connect(reportPageAction_, &QAction::toggled, this, [](bool on) { SetTrajectoryPageWanted(on); });
}

void CQualityController::CreateDock() {
    dock_ = new QDockWidget(OrbText(kTrajectoryPanelTitle), frame_);
    dock_->setObjectName(QStringLiteral("trajectoryDock"));
    dock_->setAllowedAreas(Qt::AllDockWidgetAreas);
    panel_ = new CTrajectoryPanel(dock_);
    panel_->savePngAction()->setProperty("commandId", cmd::kTrajectorySavePng);
    panel_->toolBar()->addAction(reportPageAction_);
    dock_->setWidget(panel_);
    frame_->addDockWidget(Qt::BottomDockWidgetArea, dock_);
    KeepDockSplit(frame_, dock_, "Settings/TrajectoryPanelHeight");
    dock_->hide();
    QAction* toggle = dock_->toggleViewAction();
    toggle->setText(OrbText(kTrajectoryPanelTitle));
    toggle->setProperty("commandId", cmd::kTrajectoryPanel);
    toggle->setStatusTip(tr("显示或隐藏井眼轨迹面板"));
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && trajectoryDirty_) ScheduleTrajectory();
    });
}

void CQualityController::ConnectSignals() {
    connect(adapter_, &SurveyTableAdapter::qualityChanged, this, [this] {
        if (!statusTimer_->isActive()) statusTimer_->start();
        ScheduleTrajectory();
    });
    connect(adapter_, &QAbstractItemModel::modelReset, this, &CQualityController::OnTableReset);
    // The well number and the declination change in the well dialog; this
    // runs after the frame's own handler.
    if (QAction* well = frame_->Action(cmd::kWellInfo))
        ConnectCommand(well, this, frame_, [this] { Reload(); });
}

QString CQualityController::CurrentWell() const {
    return QString::fromStdU16String(frame_->wellInfo().wellNumber);
}

std::optional<ProbeCalibration> CQualityController::MatchingCalibration() const {
    DeviceBridge* bridge = frame_->findChild<DeviceBridge*>();
    if (!bridge) return std::nullopt;
    const DeviceController& dc = bridge->controller();
    const std::u16string& probe = frame_->Document().probeNumber();
    if (IsDefaultCalibration(dc.calibration) || probe.empty() ||
        QString::fromStdU16String(probe) != QString::fromStdString(dc.probeNumber))
        return std::nullopt;
    return dc.calibration;
}

void CQualityController::Reload() {
    well_ = CurrentWell();
    settings_ = LoadWellQualitySettings(well_);
    const std::optional<ProbeCalibration> cal = MatchingCalibration();
    calibrationMatched_ = cal.has_value();
    const TemperatureRange range = cal ? PlausibleTemperatureRange(*cal) : kDefaultTemperatureRange;
    adapter_->SetQcSettings(MakeQcSettings(settings_, range), cal);
    trajectoryDirty_ = true;
    ScheduleTrajectory();
}

void CQualityController::OnTableReset() {
    // A file was opened or a download started: the well or the probe changed.
    if (CurrentWell() != well_ || MatchingCalibration().has_value() != calibrationMatched_) Reload();
    // The counts of a survey just opened show at once, not after the pause
    // that keeps a download from relabelling the pane for every record.
    UpdateStatusPane();
}

void CQualityController::OnQualitySettings() {
    CQualitySetDlg& dlg = *dialog_;
    dlg.wellNumber = CurrentWell();
    dlg.values = LoadWellQualitySettings(dlg.wellNumber);
    if (dlg.exec() != QDialog::Accepted) return;
    SaveWellQualitySettings(dlg.wellNumber, dlg.values);
    Reload();
}

void CQualityController::UpdateStatusPane() {
    const SurveyTableAdapter::QcCounts c = adapter_->qcCounts();
    statusPane_->setText(tr("超差测点 %1/%2，超差记录 %3/%4")
                             .arg(c.failedStations)
                             .arg(c.stations)
                             .arg(c.failedRecords)
                             .arg(c.records));
    statusPane_->setStyleSheet(c.failedStations > 0 ? QStringLiteral("color: rgb(190, 0, 0);") : QString());
}

void CQualityController::ScheduleTrajectory() {
    trajectoryDirty_ = true;
    if (!dock_->isVisible()) return;
    if (!trajectoryTimer_->isActive()) trajectoryTimer_->start();
}

void CQualityController::UpdateTrajectoryNow() {
    trajectoryTimer_->stop();
    trajectoryDirty_ = false;
    QString northNote;
    panel_->Update(frame_->Document().records(), PanelOptions(northNote));
    if (!northNote.isEmpty()) panel_->note()->setText(panel_->note()->text() + QLatin1Char('\n') + northNote);
}

TrajectoryPlotOptions CQualityController::PanelOptions(QString& northNote) const {
    TrajectoryPlotOptions options = MakeTrajectoryPlotOptions(
        settings_, frame_->wellInfo().magneticDeclination, &frame_->Document().context());
    if (!northSource_) return options;
    const NorthResolution north = northSource_();
    if (!north.correction) {
        // Shown in true north with the well's declination, and why.
        northNote = tr("方位参考无法使用: ") + CoreText(north.problem) + tr("（按真北显示）");
        return options;
    }
    options.trajectory = WithNorthCorrection(options.trajectory, *north.correction);
    northNote = CoreText(NorthCorrectionText(*north.correction));
    if (!north.warning.empty()) northNote += QStringLiteral("  ") + CoreText(north.warning);
    return options;
}

}  // namespace orb
