// The trajectory panel (a dock of the main window): a tool bar (save as
// PNG, the report-page switch), the summary line, which says that stations
// are taken in ascending depth, and the pictures of the selected stations.
#pragma once

#include <QImage>
#include <QWidget>
#include <span>

#include "app/ui_language.h"
#include "core/survey_record.h"
#include "report/trajectory_plot.h"

class QLabel;
class QToolBar;

namespace orb {

class CTrajectoryPlotWidget;

inline constexpr const char* kTrajectoryPanelTitle = QT_TRANSLATE_NOOP("Orb", "井眼轨迹");

class CTrajectoryPanel : public QWidget {
    Q_OBJECT
public:
    explicit CTrajectoryPanel(QWidget* parent = nullptr);

    // Recomputes from the records and redraws.
    void Update(std::span<const SurveyRecord> records, const TrajectoryPlotOptions& options);
    const TrajectoryPlotData& data() const { return data_; }
    int updateCount() const { return updates_; }

    QToolBar* toolBar() const { return toolBar_; }
    QLabel* note() const { return note_; }
    CTrajectoryPlotWidget* plot() const { return plot_; }
    QAction* savePngAction() const { return savePng_; }

    // The pictures with the summary, `size` in logical pixels at twice the
    // resolution, as the PNG export writes them.
    QImage RenderImage(QSize size) const;
    // Writes RenderImage of the panel's size; false with a reason on failure.
    bool SavePng(const QString& path, QString* error = nullptr) const;
    // Asks for the file name, then saves.
    void OnSavePng();

private:
    TrajectoryPlotData data_;
    QToolBar* toolBar_;
    QLabel* note_;
    CTrajectoryPlotWidget* plot_;
    QAction* savePng_;
    int updates_ = 0;
};

}  // namespace orb
