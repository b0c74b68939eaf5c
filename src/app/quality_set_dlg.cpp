#include "app/quality_set_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui_language.h"
#include "document/well_info.h"

namespace orb {

namespace {

QString Text(const std::optional<double>& v) {
    return v ? FormatNumberField(*v) : QString();
}

}  // namespace

CQualitySetDlg::CQualitySetDlg(QWidget* parent) : CNumberDialog(parent) {
    setWindowTitle(OrbText(kQualitySetCaption));
    setObjectName(QStringLiteral("qualitySetDlg"));
    well_ = new QLabel(this);
    gravity_ = Edit("localGravity");
    field_ = Edit("localField");
    dip_ = Edit("localDip");
    gravityTol_ = Edit("gravityTolerance");
    fieldTol_ = Edit("fieldTolerance");
    dipTol_ = Edit("dipTolerance");
    vsAzimuth_ = Edit("vsAzimuth");
    vsAzimuth_->setPlaceholderText(tr("留空：闭合方位"));
    dlsUnit_ = new QComboBox(this);
    dlsUnit_->setObjectName(QStringLiteral("dlsUnit"));
    dlsUnit_->addItem(tr("°/30m（井深单位 m）"));
    dlsUnit_->addItem(tr("°/100ft（井深单位 ft）"));

    auto* refs = new QGroupBox(tr("当地参考值（留空则不检查该项）"), this);
    auto* form = new QFormLayout(refs);
    form->addRow(tr("井号"), well_);
    form->addRow(tr("当地重力 (g)"), gravity_);
    form->addRow(tr("重力容差 ± (g)"), gravityTol_);
    form->addRow(tr("当地总磁场 (nT)"), field_);
    form->addRow(tr("总磁场容差 ± (nT)"), fieldTol_);
    form->addRow(tr("当地磁倾角 (°)"), dip_);
    form->addRow(tr("磁倾角容差 ± (°)"), dipTol_);
    auto* traj = new QGroupBox(tr("井眼轨迹"), this);
    auto* form2 = new QFormLayout(traj);
    form2->addRow(tr("狗腿度单位"), dlsUnit_);
    form2->addRow(tr("视平移方位 (°)"), vsAzimuth_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CQualitySetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CQualitySetDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(refs);
    layout->addWidget(traj);
    layout->addWidget(MakeStillGroup());
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

QLineEdit* CQualitySetDlg::Edit(const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QGroupBox* CQualitySetDlg::MakeStillGroup() {
    static constexpr const char* kNames[kStillFields] = {"stillGravity",     "stillMagnetic",
                                                         "stillInclination", "stillAzimuth",
                                                         "stillAzimuthFrom", "stillSamples"};
    static constexpr const char* kLabels[kStillFields] = {QT_TR_NOOP("每个重力分量的波动 (mg)"),
                                                          QT_TR_NOOP("每个磁分量的波动 (nT)"),
                                                          QT_TR_NOOP("井斜变化 (°)"),
                                                          QT_TR_NOOP("方位变化 (°)"),
                                                          QT_TR_NOOP("井斜大于此值才检查方位 (°)"),
                                                          QT_TR_NOOP("最少连续样本数")};
    auto* box = new QGroupBox(tr("静止段（按静止段选择测点，测量时探管未静止）"), this);
    auto* form = new QFormLayout(box);
    for (int k = 0; k < kStillFields; ++k) {
        still_[k] = Edit(kNames[k]);
        form->addRow(tr(kLabels[k]), still_[k]);
    }
    return box;
}

bool CQualitySetDlg::TakeStill(StillLimits& l) {
    double samples = 0;
    if (!TakeNumber(still_[0], l.gravityMg) || !TakeNumber(still_[1], l.magneticNt) ||
        !TakeNumber(still_[2], l.inclination) || !TakeNumber(still_[3], l.azimuth) ||
        !TakeNumber(still_[4], l.azimuthMinInclination) || !TakeNumber(still_[5], samples)) {
        return false;
    }
    l.minSamples = samples >= 0 && samples <= 1e6 && samples == static_cast<int>(samples)
                       ? static_cast<int>(samples)
                       : 0;  // refused below
    return true;
}

int CQualitySetDlg::exec() {
    well_->setText(wellNumber.isEmpty() ? tr("（未输入）") : wellNumber);
    gravity_->setText(Text(values.references.totalGravity));
    field_->setText(Text(values.references.fieldStrength));
    dip_->setText(Text(values.references.dip));
    gravityTol_->setText(FormatNumberField(values.tolerances.totalGravity));
    fieldTol_->setText(FormatNumberField(values.tolerances.fieldStrength));
    dipTol_->setText(FormatNumberField(values.tolerances.dip));
    dlsUnit_->setCurrentIndex(values.dlsInterval == DlsInterval::kPer100Feet ? 1 : 0);
    vsAzimuth_->setText(Text(values.vsAzimuth));
    const StillLimits& l = values.still;
    const double still[kStillFields] = {l.gravityMg,
                                        l.magneticNt,
                                        l.inclination,
                                        l.azimuth,
                                        l.azimuthMinInclination,
                                        static_cast<double>(l.minSamples)};
    for (int k = 0; k < kStillFields; ++k) still_[k]->setText(FormatNumberField(still[k]));
    gravity_->setFocus();
    return CNumberDialog::exec();
}

bool CQualitySetDlg::TakeOptional(QLineEdit* field, std::optional<double>& out) {
    if (field->text().trimmed().isEmpty()) {
        out.reset();
        return true;
    }
    double v = 0;
    if (!TakeNumber(field, v)) return false;
    out = v;
    return true;
}

void CQualitySetDlg::accept() {
    WellQualitySettings w;
    if (!TakeOptional(gravity_, w.references.totalGravity) ||
        !TakeNumber(gravityTol_, w.tolerances.totalGravity) ||
        !TakeOptional(field_, w.references.fieldStrength) ||
        !TakeNumber(fieldTol_, w.tolerances.fieldStrength) || !TakeOptional(dip_, w.references.dip) ||
        !TakeNumber(dipTol_, w.tolerances.dip) || !TakeOptional(vsAzimuth_, w.vsAzimuth) ||
        !TakeStill(w.still)) {
        return;
    }
    const std::string problem = QcSettingsProblem(MakeQcSettings(w));
    if (!problem.empty()) {
        QMessageBox::critical(this, CoreText(kErrorCaption), CoreText(problem));
        return;
    }
    w.dlsInterval = dlsUnit_->currentIndex() == 1 ? DlsInterval::kPer100Feet : DlsInterval::kPer30Metres;
    values = w;
    CNumberDialog::accept();
}

}  // namespace orb
