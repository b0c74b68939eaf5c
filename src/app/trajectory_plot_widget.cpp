#include "app/trajectory_plot_widget.h"

#include <QPainter>

#include "app/canvas/qt_canvas.h"
#include "app/ui_language.h"

namespace orb {

CTrajectoryPlotWidget::CTrajectoryPlotWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("trajectoryPlot"));
    // Small enough that the panel can share a laptop screen with the table.
    setMinimumSize(360, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTrajectoryPlotWidget::SetData(const TrajectoryPlotData* data) {
    data_ = data;
    update();
}

void CTrajectoryPlotWidget::Render(QPainter& painter, const QRect& rect, const TrajectoryPlotData& data,
                                   bool withSummary) {
    painter.fillRect(rect, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QtCanvas canvas(painter);
    canvas.SetTextFilter(CoreText);
    const QRect inner = rect.adjusted(8, 6, -10, -6);
    DrawTrajectoryPlots(canvas, {inner.left(), inner.top(), inner.right(), inner.bottom()}, data,
                        withSummary);
}

void CTrajectoryPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!data_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    Render(painter, rect(), *data_, false);
}

}  // namespace orb
