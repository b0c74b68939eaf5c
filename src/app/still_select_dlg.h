// "按静止段选择测点": proposes one station per still period of the survey,
// shows the proposal (how many, which records, the periods on strips of
// inclination, azimuth and gravity tool face against the record number, and
// how it compares with the stations the synchronizer matched) and, on
// confirmation, makes exactly the proposed records the stations.
#pragma once

#include <QDialog>
#include <QWidget>
#include <span>
#include <vector>

#include "app/ui_language.h"
#include "core/still_periods.h"
#include "core/survey_record.h"

class QAction;
class QLabel;
class QPlainTextEdit;

namespace orb {

class CMainFrame;

namespace cmd {
inline constexpr int kStillSelect = 33300;
}  // namespace cmd

inline constexpr const char* kStillSelectTitle = QT_TRANSLATE_NOOP("Orb", "按静止段选择测点");
inline constexpr const char* kNoStillPeriodText =
    QT_TRANSLATE_NOOP("Orb", "没有找到静止段：请检查静止段的限值（测量质量设置）");

// Inclination, azimuth and gravity tool face against the record number, the
// still periods shaded, the proposed records and the matched ones marked.
class CStillStripWidget : public QWidget {
    Q_OBJECT
public:
    explicit CStillStripWidget(QWidget* parent = nullptr);
    // Both must outlive the widget's use.
    void SetData(std::span<const SurveyRecord> records, const StillProposal* proposal);
    QSize sizeHint() const override { return {760, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::span<const SurveyRecord> records_;
    const StillProposal* proposal_ = nullptr;
};

class CStillSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStillSelectDlg(QWidget* parent = nullptr);

    // Shows the proposal for these records; both must outlive exec().
    void SetProposal(std::span<const SurveyRecord> records, const StillProposal* proposal);

    QLabel* summary() const { return summary_; }
    QPlainTextEdit* periodList() const { return list_; }
    CStillStripWidget* strips() const { return strips_; }

private:
    QLabel* summary_;
    QPlainTextEdit* list_;
    CStillStripWidget* strips_;
};

// One line per period: "静止段 k：记录 a–b（n 个样本），建议测点 r".
QString StillPeriodListText(const StillProposal& p);

// The command: its action (added to the frame's actions by id) and handler.
QAction* MakeStillSelectAction(CMainFrame* frame);
// Finds the periods with the limits in force, asks, and applies.
void OnStillSelect(CMainFrame* frame);
// Applies a proposal to the frame's document as one edit and refills the table.
void ApplyStillProposal(CMainFrame* frame, const StillProposal& p);

}  // namespace orb
