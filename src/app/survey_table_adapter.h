// Shows the survey table model in a Qt item view: rows, check boxes and cell
// texts come from the model on demand, operator changes go back to it, and
// the model's change notifications become the item model's signals. It also
// keeps the station-quality verdict of every record: a record that fails a
// check (or carries a flag) colours its check-box and number cells and
// explains itself in their tooltip; the cell texts never change. The verdicts
// follow the survey's change notices: only changed records are checked again.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <optional>
#include <vector>

#include "core/calibration.h"
#include "core/probe_limits.h"
#include "core/station_qc.h"
#include "view/survey_table_model.h"
#include "view/table_listener.h"

namespace orb {

class SurveyTableAdapter : public QAbstractTableModel, private TableListener {
    Q_OBJECT
public:
    explicit SurveyTableAdapter(SurveyTableModel& model, QObject* parent = nullptr);
    ~SurveyTableAdapter() override;

    SurveyTableModel& model() const { return model_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Station quality. The calibration, when given, must be the one the
    // records were computed with: saturation is then estimated from it.
    void SetQcSettings(const QcSettings& settings, const std::optional<ProbeCalibration>& estimateWith = {});
    const QcSettings& qcSettings() const { return qcSettings_; }
    // The verdict of the record a row shows (worked out again, with its
    // values for the tooltip); none for a mark row.
    std::optional<QcResult> QcResultOfRow(int row) const;
    struct QcCounts {
        std::size_t failedStations = 0, stations = 0;  // selected records
        std::size_t failedRecords = 0, records = 0;
    };
    QcCounts qcCounts() const { return counts_; }
    // Cell colours: a failed check, and a flag only (temperature, saturation).
    static QColor QcFailedColour() { return QColor(255, 120, 120); }
    static QColor QcFlaggedColour() { return QColor(255, 205, 90); }

signals:
    // A synchronizer mark row was appended: the view shows the bottom.
    void scrollToBottomRequested();
    // The verdicts or their counts may have changed.
    void qualityChanged();

private:
    void BeginReset() override;
    void EndReset() override;
    void BeginAppend(std::size_t first, std::size_t last) override;
    void EndAppend() override;
    void BeginRemove(std::size_t first, std::size_t last) override;
    void EndRemove() override;
    void RowChanged(std::size_t row) override;
    void AllRowsChanged() override;
    void ScrollToBottom() override;
    void SurveyChanged(const SurveyChange& change) override;

    // Brings the verdicts in line with the records: everything anew, only
    // the records appended since the last time, or a range that changed.
    void RecheckAll();
    void FlagMovingAtMark();
    void CheckAppended();
    void Recheck(std::size_t first, std::size_t count);
    void Recount();
    // Per record only what colours and counts need: 2 bits instead of the
    // whole result (a million records would otherwise cost over 100 MB).
    enum Verdict : uint8_t { kFailed = 1, kFlagged = 2, kMovingAtMark = 4 };
    static uint8_t VerdictOf(const QcResult& result);
    uint8_t VerdictOfRow(int row) const;
    void Count(const SurveyRecord& record, uint8_t verdict);
    QcResult Check(std::size_t record) const;

    SurveyTableModel& model_;
    QcSettings qcSettings_;
    std::optional<RawCountEstimator> estimator_;
    std::vector<uint8_t> qc_;  // Verdict bits by record index
    QcCounts counts_;
};

}  // namespace orb
