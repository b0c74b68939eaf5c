#include "app/still_select_dlg.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/command_guard.h"
#include "app/main_frame.h"
#include "app/quality_controller.h"
#include "app/ui_language.h"
#include "document/well_info.h"

namespace orb {

namespace {

struct StripSpec {
    const char* name;
    double lo, hi;  // fixed scale, degrees
    std::function<double(const SurveyRecord&)> value;
};

const StripSpec kStrips[] = {
    {QT_TRANSLATE_NOOP("Orb", "井斜 (°)"), 0, 180,
     [](const SurveyRecord& r) { return static_cast<double>(r.inclination); }},
    {QT_TRANSLATE_NOOP("Orb", "磁方位 (°)"), 0, 360,
     [](const SurveyRecord& r) { return static_cast<double>(r.azimuth); }},
    {QT_TRANSLATE_NOOP("Orb", "重力工具面 (°)"), 0, 360,
     [](const SurveyRecord& r) { return static_cast<double>(r.gravityToolFace); }},
};

// Inclination scale fitted to the survey (a vertical well would otherwise
// be a flat line at the top).
std::pair<double, double> InclinationRange(std::span<const SurveyRecord> records) {
    double lo = INFINITY, hi = -INFINITY;
    for (const SurveyRecord& r : records) {
        if (!std::isfinite(r.inclination)) continue;
        lo = std::min(lo, static_cast<double>(r.inclination));
        hi = std::max(hi, static_cast<double>(r.inclination));
    }
    if (!(lo <= hi)) return {0, 180};
    const double pad = std::max(1.0, (hi - lo) * 0.1);
    return {std::max(0.0, lo - pad), std::min(180.0, hi + pad)};
}

void DrawStrip(QPainter& p, const QRectF& box, const StripSpec& s, double lo, double hi,
               std::span<const SurveyRecord> records, const StillProposal& proposal) {
    const std::size_t n = records.size();
    const auto x = [&](double k) { return box.left() + box.width() * (k + 0.5) / static_cast<double>(n); };
    const auto y = [&](double v) { return box.bottom() - box.height() * (v - lo) / (hi - lo); };
    p.fillRect(box, Qt::white);
    for (const StillPeriod& period : proposal.periods) {
        p.fillRect(
            QRectF(QPointF(x(period.first - 0.5), box.top()), QPointF(x(period.last + 0.5), box.bottom())),
            QColor(170, 225, 170));
    }
    p.setPen(QPen(QColor(40, 70, 160), 1));
    // One vertical stroke per pixel column, from the lowest to the highest
    // value in it, so a long survey costs the width of the strip.
    const int columns = std::max(1, static_cast<int>(box.width()));
    for (int c = 0; c < columns; ++c) {
        const std::size_t a = n * c / columns, b = std::max(a + 1, n * (c + 1) / columns);
        double vlo = INFINITY, vhi = -INFINITY;
        for (std::size_t k = a; k < b && k < n; ++k) {
            const double v = s.value(records[k]);
            if (!std::isfinite(v)) continue;
            vlo = std::min(vlo, v), vhi = std::max(vhi, v);
        }
        if (vlo <= vhi)
            p.drawLine(QPointF(box.left() + c + 0.5, y(vlo)), QPointF(box.left() + c + 0.5, y(vhi) - 0.5));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    for (std::size_t k : proposal.records) {
        const double v = s.value(records[k]);
        if (std::isfinite(v)) p.drawEllipse(QPointF(x(k), y(v)), 2.5, 2.5);
    }
    p.setPen(QPen(QColor(230, 140, 0), 1));
    for (std::size_t k = 0; k < n; ++k)
        if (records[k].syncMatched != 0) p.drawLine(QPointF(x(k), box.top()), QPointF(x(k), box.top() + 6));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::gray, 1));
    p.drawRect(box);
    p.setPen(Qt::black);
    p.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, OrbText(s.name));
}

}  // namespace

CStillStripWidget::CStillStripWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("stillStrips"));
    setMinimumSize(420, 200);
}

void CStillStripWidget::SetData(std::span<const SurveyRecord> records, const StillProposal* proposal) {
    records_ = records;
    proposal_ = proposal;
    update();
}

void CStillStripWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!proposal_ || records_.empty()) return;
    constexpr int kGap = 6, kAxis = 18;
    const double h = (height() - kAxis - kGap * 2.0) / 3.0;
    const auto [incLo, incHi] = InclinationRange(records_);
    for (int i = 0; i < 3; ++i) {
        const QRectF box(2, i * (h + kGap), width() - 4, h);
        const bool inc = i == 0;
        DrawStrip(p, box, kStrips[i], inc ? incLo : kStrips[i].lo, inc ? incHi : kStrips[i].hi, records_,
                  *proposal_);
    }
    p.setPen(Qt::black);
    const QRectF axis(2, height() - kAxis, width() - 4, kAxis);
    p.drawText(axis, Qt::AlignLeft | Qt::AlignVCenter, tr("记录 0"));
    p.drawText(axis, Qt::AlignHCenter | Qt::AlignVCenter,
               tr("绿色：静止段  红点：建议测点  橙色：同步器匹配测点"));
    p.drawText(axis, Qt::AlignRight | Qt::AlignVCenter, tr("记录 %1").arg(records_.size() - 1));
}

QString StillPeriodListText(const StillProposal& p) {
    QStringList lines;
    for (std::size_t k = 0; k < p.periods.size(); ++k) {
        const StillPeriod& s = p.periods[k];
        lines << QCoreApplication::translate("Orb", "静止段 %1：记录 %2–%3（%4 个样本），建议测点 %5")
                     .arg(k)
                     .arg(s.first)
                     .arg(s.last)
                     .arg(s.size())
                     .arg(s.stillest);
    }
    return lines.join(QLatin1Char('\n'));
}

CStillSelectDlg::CStillSelectDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("stillSelectDlg"));
    setWindowTitle(OrbText(kStillSelectTitle));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("stillSummary"));
    summary_->setWordWrap(true);
    list_ = new QPlainTextEdit(this);
    list_->setObjectName(QStringLiteral("stillPeriods"));
    list_->setReadOnly(true);
    list_->setMaximumHeight(140);
    strips_ = new CStillStripWidget(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("选择建议的测点"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    layout->addWidget(strips_, 1);
    auto* note = new QLabel(tr("确定后，只有建议的记录被选为测点。"), this);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

void CStillSelectDlg::SetProposal(std::span<const SurveyRecord> records, const StillProposal* proposal) {
    summary_->setText(CoreText(StillProposalSummary(*proposal)));
    list_->setPlainText(StillPeriodListText(*proposal));
    strips_->SetData(records, proposal);
}

QAction* MakeStillSelectAction(CMainFrame* frame) {
    auto* a = new QAction(OrbText(kStillSelectTitle), frame);
    a->setProperty("commandId", cmd::kStillSelect);
    const QString tip = QCoreApplication::translate("Orb", "从记录本身找出探管静止的时段，每段建议一个测点");
    a->setStatusTip(tip);
    a->setWhatsThis(tip);
    ConnectCommand(a, frame, [frame] { OnStillSelect(frame); });
    return a;
}

void OnStillSelect(CMainFrame* frame) {
    const std::vector<SurveyRecord>& records = frame->Document().records();
    const CQualityController* quality = frame->qualityController();
    const StillLimits limits = quality ? quality->settings().still : StillLimits{};
    const StillProposal proposal = ProposeStillStations(records, limits);
    if (proposal.periods.empty()) {
        QMessageBox::information(frame, OrbText(kStillSelectTitle), OrbText(kNoStillPeriodText));
        return;
    }
    CStillSelectDlg dlg(frame);
    dlg.SetProposal(records, &proposal);
    if (dlg.exec() != QDialog::Accepted) return;
    ApplyStillProposal(frame, proposal);
}

void ApplyStillProposal(CMainFrame* frame, const StillProposal& p) {
    // One undoable selection edit; the table and the quality counts follow its notice.
    const std::vector<uint8_t> selected = StillSelection(frame->Document().records().size(), p.records);
    frame->TableModel().edits().SetSelection(selected);
}

}  // namespace orb
