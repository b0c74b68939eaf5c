#include "app/geo_ref_controller.h"

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QToolBar>

#include "app/command_guard.h"
#include "app/geo_ref_dlg.h"
#include "app/main_frame.h"
#include "app/quality_controller.h"
#include "app/quality_settings.h"
#include "app/trajectory_panel.h"
#include "app/ui_language.h"
#include "document/well_info.h"

namespace orb {

namespace {

constexpr NorthReference kNorthOrder[] = {NorthReference::kMagnetic, NorthReference::kTrue,
                                          NorthReference::kGrid};

QDate ToQDate(const CalendarDate& d) {
    return QDate(d.year, d.month, d.day);
}

}  // namespace

CGeoRefController::CGeoRefController(CMainFrame* frame, CQualityController* quality)
    : QObject(frame), frame_(frame), quality_(quality) {
    dialog_ = new CGeoRefDlg(BuiltInMagneticReference(), frame);
    dialog_->setObjectName(QStringLiteral("geoRefDlg"));
    action_ = new QAction(tr("井位与地磁参考"), this);
    action_->setProperty("commandId", cmd::kGeoReference);
    action_->setStatusTip(tr("由井位和日期计算地磁场、正常重力和子午线收敛角"));
    ConnectCommand(action_, this, frame_, [this] { OnGeoReference(); });
    connect(dialog_, &CGeoRefDlg::declinationTaken, this, &CGeoRefController::TakeDeclination);
    connect(dialog_, &CGeoRefDlg::qualityReferencesTaken, this, &CGeoRefController::TakeQualityReferences);

    north_ = new QComboBox;
    north_->setObjectName(QStringLiteral("northReferenceBox"));
    for (NorthReference r : kNorthOrder) north_->addItem(CoreText(NorthReferenceName(r)));
    north_->setCurrentIndex(1);
    north_->setToolTip(tr("轨迹的方位参考"));
    quality_->panel()->toolBar()->addWidget(north_);
    connect(north_, &QComboBox::activated, this, &CGeoRefController::OnNorthChosen);
    quality_->SetNorthSource([this] {
        north_->setCurrentIndex(static_cast<int>(LoadWellGeoSettings(Well()).north));
        return CurrentNorth();
    });
}

QString CGeoRefController::Well() const {
    return QString::fromStdU16String(frame_->wellInfo().wellNumber);
}

NorthResolution CGeoRefController::CurrentNorth() const {
    return ResolveNorthCorrection(
        MakeNorthInputs(LoadWellGeoSettings(Well()), frame_->wellInfo().magneticDeclination,
                        frame_->Document().records()),
        BuiltInMagneticReference());
}

void CGeoRefController::OnGeoReference() {
    const QString well = Well();
    const WellGeoSettings saved = LoadWellGeoSettings(well);
    dialog_->SetValues(saved, ToQDate(FirstSampleDate(frame_->Document().records()).value_or(TodayUtc())));
    dialog_->exec();
    SaveWellGeoSettings(well, dialog_->Values(LoadWellGeoSettings(well)));
    quality_->Reload();
}

void CGeoRefController::TakeDeclination(double declination, const QString& model) {
    const float d = static_cast<float>(declination);
    if (!DeclinationInRange(d)) return;
    frame_->wellInfo().magneticDeclination = d;
    WellGeoSettings g = dialog_->Values(LoadWellGeoSettings(Well()));
    g.modelDeclination = d;
    g.declinationModel = model;
    SaveWellGeoSettings(Well(), g);
    quality_->Reload();
}

void CGeoRefController::TakeQualityReferences(double field, double dip, double gravity) {
    WellQualitySettings q = LoadWellQualitySettings(Well());
    q.references.fieldStrength = field;
    q.references.dip = dip;
    if (gravity > 0) q.references.totalGravity = gravity;
    SaveWellQualitySettings(Well(), q);
    SaveWellGeoSettings(Well(), dialog_->Values(LoadWellGeoSettings(Well())));
    quality_->Reload();
}

void CGeoRefController::OnNorthChosen(int index) {
    if (index < 0 || index > 2) return;
    WellGeoSettings g = LoadWellGeoSettings(Well());
    g.north = kNorthOrder[index];
    SaveWellGeoSettings(Well(), g);
    quality_->UpdateTrajectoryNow();
}

}  // namespace orb
