#include "app/geo_ref_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/number_field.h"
#include "app/ui_language.h"
#include "geo/coordinate_text.h"
#include "geo/grid_projection.h"
#include "geo/normal_gravity.h"
#include "geo/survey_date.h"

namespace orb {

namespace {

// The grid choices of the box, in its order.
constexpr const char* kProjectionChoices[] = {"utm", "gk3", "gk6", "tm"};

QString Number(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

QString FieldText(const MagneticField& f) {
    QString s = QCoreApplication::translate(
                    "Orb",
                    "模型 %1\n磁偏角 D %2°   磁倾角 I %3°\n总强度 F %4 nT   水平分量 H %5 nT\n"
                    "X %6 nT   Y %7 nT   Z %8 nT")
                    .arg(QString::fromUtf8(f.model), Number(f.declination, 4), Number(f.inclination, 4),
                         Number(f.total, 1), Number(f.horizontal, 1), Number(f.north, 1), Number(f.east, 1),
                         Number(f.down, 1));
    if (f.zone != FieldZone::kNormal) s += QStringLiteral("\n⚠ ") + CoreText(FieldZoneWarning(f.zone));
    return s;
}

}  // namespace

CGeoRefDlg::CGeoRefDlg(const MagneticReference& models, QWidget* parent) : QDialog(parent), models_(models) {
    setWindowTitle(tr("井位与地磁参考"));
    lat_ = new QLineEdit(this);
    lat_->setPlaceholderText(tr("39.9075 或 39°54'27\"N"));
    lon_ = new QLineEdit(this);
    lon_->setPlaceholderText(tr("116.3972 或 116°23'50\"E"));
    height_ = new QLineEdit(QStringLiteral("0"), this);
    date_ = new QDateEdit(this);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setCalendarPopup(true);
    projection_ = new QComboBox(this);
    projection_->addItems({tr("UTM（按位置定带）"), tr("高斯-克吕格 3°带"), tr("高斯-克吕格 6°带"),
                           tr("横轴墨卡托，中央子午线")});
    meridian_ = new QLineEdit(this);
    meridian_->setPlaceholderText(tr("中央子午线 °"));
    useGravity_ = new QCheckBox(tr("同时用正常重力作总加速度参考"), this);
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("geoResult"));
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    result_->setMinimumWidth(420);
    takeDeclination_ = new QPushButton(tr("用作磁偏角"), this);
    takeQuality_ = new QPushButton(tr("用作质量参考"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("关闭"));
    buttons->addButton(takeDeclination_, QDialogButtonBox::ActionRole);
    buttons->addButton(takeQuality_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QHBoxLayout;
    grid->addWidget(projection_, 1);
    grid->addWidget(meridian_);
    auto* form = new QFormLayout;
    form->addRow(tr("纬度:"), lat_);
    form->addRow(tr("经度:"), lon_);
    form->addRow(tr("海拔高度 (m):"), height_);
    form->addRow(tr("测量日期:"), date_);
    form->addRow(tr("网格北投影:"), grid);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(result_);
    layout->addWidget(useGravity_);
    layout->addWidget(buttons);

    for (QLineEdit* e : {lat_, lon_, height_, meridian_})
        connect(e, &QLineEdit::textChanged, this, &CGeoRefDlg::Recompute);
    connect(date_, &QDateEdit::dateChanged, this, &CGeoRefDlg::Recompute);
    connect(projection_, &QComboBox::currentIndexChanged, this, &CGeoRefDlg::Recompute);
    connect(takeDeclination_, &QPushButton::clicked, this, [this] {
        if (field_) emit declinationTaken(field_->declination, QString::fromUtf8(field_->model));
    });
    connect(takeQuality_, &QPushButton::clicked, this, [this] {
        if (field_)
            emit qualityReferencesTaken(field_->total, field_->inclination,
                                        useGravity_->isChecked() ? gravityG_ : -1.0);
    });
    Recompute();
}

void CGeoRefDlg::SetValues(const WellGeoSettings& g, const QDate& surveyDate) {
    lat_->setText(g.latitude);
    lon_->setText(g.longitude);
    height_->setText(FormatNumberField(g.height));
    date_->setDate(surveyDate);
    int index = 0;
    for (int i = 0; i < 4; ++i)
        if (g.projection.startsWith(QString::fromLatin1(kProjectionChoices[i]))) index = i;
    projection_->setCurrentIndex(index);
    meridian_->setText(index == 3 ? g.projection.mid(3) : QString());
    useGravity_->setChecked(g.useGravity);
    Recompute();
}

QString CGeoRefDlg::ProjectionChoice() const {
    const int i = projection_->currentIndex();
    if (i == 3) return QStringLiteral("tm:") + meridian_->text().trimmed();
    return QString::fromLatin1(kProjectionChoices[i < 0 ? 0 : i]);
}

WellGeoSettings CGeoRefDlg::Values(WellGeoSettings g) const {
    g.latitude = lat_->text().trimmed();
    g.longitude = lon_->text().trimmed();
    double h = 0;
    if (ParseNumberField(height_->text(), h)) g.height = h;
    g.projection = ProjectionChoice();
    g.useGravity = useGravity_->isChecked();
    return g;
}

void CGeoRefDlg::Recompute() {
    field_.reset();
    meridian_->setEnabled(projection_->currentIndex() == 3);
    const auto lat = ParseCoordinate(lat_->text().toStdString(), CoordinateAxis::kLatitude);
    const auto lon = ParseCoordinate(lon_->text().toStdString(), CoordinateAxis::kLongitude);
    double height = 0;
    QString text;
    if (!lat || !lon) {
        text = tr("请输入纬度和经度（十进制度或度分秒）");
    } else if (!ParseNumberField(height_->text(), height)) {
        text = tr("高度不是数字");
    } else {
        const QDate d = date_->date();
        const double t = DecimalYear({d.year(), d.month(), d.day()});
        // Heights above sea level are taken as above the ellipsoid: the geoid's
        // ±100 m change the field by a few nT only.
        const MagneticResult r = models_.Evaluate({*lat, *lon, height}, t);
        field_ = r.field;
        gravityG_ = NormalGravityInG(*lat, height);
        text = r.field ? FieldText(*r.field) : tr("没有模型值: ") + CoreText(r.problem);
        text +=
            tr("\n正常重力 %1 m/s² (%2 g)").arg(Number(NormalGravity(*lat, height), 6), Number(gravityG_, 5));
        const auto proj = ProjectionForChoice(ProjectionChoice().toStdString(), *lon);
        const GridResult g = proj ? ProjectGrid(*proj, *lat, *lon) : GridResult{};
        if (g.point)
            text += tr("\n%1  子午线收敛角 %2°  比例 %3")
                        .arg(QString::fromStdString(g.point->zone), Number(g.point->convergence, 4),
                             Number(g.point->scale, 6));
        else
            text += tr("\n网格: ") + (proj ? CoreText(g.problem) : tr("中央子午线不是数字"));
    }
    result_->setText(text);
    takeDeclination_->setEnabled(field_.has_value());
    takeQuality_->setEnabled(field_.has_value());
}

}  // namespace orb
