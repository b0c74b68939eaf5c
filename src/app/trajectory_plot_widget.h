// The trajectory pictures on screen: the report's trajectory drawing through
// the QPainter canvas, sized to the widget.
#pragma once

#include <QWidget>

#include "report/trajectory_plot.h"

class QPainter;

namespace orb {

class CTrajectoryPlotWidget : public QWidget {
    Q_OBJECT
public:
    explicit CTrajectoryPlotWidget(QWidget* parent = nullptr);

    // The data stays owned by the caller and must outlive the widget's use.
    void SetData(const TrajectoryPlotData* data);

    // Draws the pictures on a white ground into `rect` of the painter's
    // device (logical units), with or without the summary line.
    static void Render(QPainter& painter, const QRect& rect, const TrajectoryPlotData& data,
                       bool withSummary);

    QSize sizeHint() const override { return {900, 560}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TrajectoryPlotData* data_ = nullptr;
};

}  // namespace orb
