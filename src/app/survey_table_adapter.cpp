#include "app/survey_table_adapter.h"

#include <QBrush>
#include <algorithm>

#include "app/ui_language.h"

namespace orb {

SurveyTableAdapter::SurveyTableAdapter(SurveyTableModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {
    model_.SetListener(this);
    RecheckAll();
}

SurveyTableAdapter::~SurveyTableAdapter() {
    model_.SetListener(nullptr);
}

int SurveyTableAdapter::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(model_.RowCount());
}

int SurveyTableAdapter::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kTableColumns;
}

QVariant SurveyTableAdapter::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (index.column() == kCheckColumn) return {};
            return QString::fromStdString(model_.CellText(row, index.column()));
        case Qt::CheckStateRole:
            if (index.column() != 0) return {};
            return model_.IsChecked(row) ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (const uint8_t v = index.column() <= 1 ? VerdictOfRow(index.row()) : 0; v & kFlagged)
                return QBrush(v & kFailed ? QcFailedColour() : QcFlaggedColour());
            return {};
        case Qt::ToolTipRole:
            if (index.column() <= 1 && (VerdictOfRow(index.row()) & kFlagged) != 0)
                return CoreText(QcTooltipText(*QcResultOfRow(index.row()), qcSettings_));
            return {};
        default:
            return {};
    }
}

QVariant SurveyTableAdapter::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kTableColumns) return {};
    if (role == Qt::DisplayRole) return CoreText(SurveyTableModel::HeaderText(section));
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags SurveyTableAdapter::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == kCheckColumn && !model_.IsMarkRow(row)) f |= Qt::ItemIsUserCheckable;
    if (model_.CanEditDepth(row, index.column())) f |= Qt::ItemIsEditable;
    return f;
}

bool SurveyTableAdapter::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) return false;
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::CheckStateRole && index.column() == kCheckColumn) {
        const bool checked = value.toInt() == Qt::Checked;
        model_.OperatorSetChecked(row, checked);
        return true;
    }
    if (role == Qt::EditRole && index.column() == SurveyTableModel::kDepthColumn) {
        return model_.CommitDepthEdit(row, value.toString().toStdString());
    }
    return false;
}

void SurveyTableAdapter::BeginReset() {
    beginResetModel();
}
void SurveyTableAdapter::EndReset() {
    CheckAppended();  // a survey set up without notices (tests, tools)
    FlagMovingAtMark();
    endResetModel();
    emit qualityChanged();
}

void SurveyTableAdapter::BeginAppend(std::size_t first, std::size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void SurveyTableAdapter::EndAppend() {
    CheckAppended();
    endInsertRows();
    emit qualityChanged();
}

void SurveyTableAdapter::BeginRemove(std::size_t first, std::size_t last) {
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void SurveyTableAdapter::EndRemove() {
    endRemoveRows();
}

void SurveyTableAdapter::RowChanged(std::size_t row) {
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, 0), index(r, kTableColumns - 1));
}

void SurveyTableAdapter::SurveyChanged(const SurveyChange& change) {
    using Kind = SurveyChange::Kind;
    switch (change.kind) {
        case Kind::kEverything:
        case Kind::kRecordsCleared:
            RecheckAll();
            break;
        case Kind::kRecordAppended:
            CheckAppended();
            break;
        case Kind::kRecords:
            Recheck(change.first, change.count);
            break;
        default:
            return;
    }
    emit qualityChanged();
}

void SurveyTableAdapter::AllRowsChanged() {
    if (rowCount() == 0) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, kTableColumns - 1));
}

void SurveyTableAdapter::SetQcSettings(const QcSettings& settings,
                                       const std::optional<ProbeCalibration>& estimateWith) {
    qcSettings_ = settings;
    estimator_.reset();
    if (estimateWith) estimator_.emplace(*estimateWith);
    RecheckAll();
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
    emit qualityChanged();
}

std::optional<QcResult> SurveyTableAdapter::QcResultOfRow(int row) const {
    if (row < 0) return std::nullopt;
    const std::ptrdiff_t record = model_.RecordIndexOfRow(static_cast<std::size_t>(row));
    if (record < 0 || static_cast<std::size_t>(record) >= qc_.size()) return std::nullopt;
    return Check(static_cast<std::size_t>(record));
}

uint8_t SurveyTableAdapter::VerdictOf(const QcResult& result) {
    return static_cast<uint8_t>((result.passed() ? 0 : kFailed) | (result.flagged() ? kFlagged : 0) |
                                (result.movingAtMark ? kMovingAtMark : 0));
}

uint8_t SurveyTableAdapter::VerdictOfRow(int row) const {
    if (row < 0) return 0;
    const std::ptrdiff_t record = model_.RecordIndexOfRow(static_cast<std::size_t>(row));
    if (record < 0 || static_cast<std::size_t>(record) >= qc_.size()) return 0;
    return qc_[static_cast<std::size_t>(record)];
}

QcResult SurveyTableAdapter::Check(std::size_t record) const {
    const SurveyRecord& r = model_.document().Record(record);
    QcResult q = CheckStation(r, qcSettings_);
    q.movingAtMark = record < qc_.size() && (qc_[record] & kMovingAtMark) != 0;
    if (estimator_) {
        if (const std::optional<uint8_t> bits = estimator_->SaturatedChannels(r)) {
            q.saturationKnown = q.saturationEstimated = true;
            q.saturatedChannels = *bits;
        }
    }
    return q;
}

void SurveyTableAdapter::RecheckAll() {
    qc_.clear();
    counts_ = {};
    CheckAppended();
    FlagMovingAtMark();
}

// Still periods span many records, so the flag is found for the whole survey
// at once (when the table is reset); a change of single records moves no
// period and no mark.
void SurveyTableAdapter::FlagMovingAtMark() {
    for (std::size_t i = 0; i < qc_.size(); ++i) {
        if ((qc_[i] & kMovingAtMark) == 0) continue;
        qc_[i] &= static_cast<uint8_t>(~kMovingAtMark);
        qc_[i] = VerdictOf(Check(i));
    }
    const auto& records = model_.document().records();
    for (const std::size_t i : MovingAtMarkRecords(records, qcSettings_.still))
        if (i < qc_.size()) qc_[i] |= kMovingAtMark | kFlagged;
}

// Only the new records are checked and counted, so a download that appends
// one record at a time stays linear.
void SurveyTableAdapter::CheckAppended() {
    const auto& records = model_.document().records();
    const std::size_t n = records.size();
    if (qc_.size() > n) {  // records were taken away: start again
        qc_.clear();
        counts_ = {};
    }
    const std::size_t from = qc_.size();
    qc_.resize(n);
    for (std::size_t i = from; i < n; ++i) {
        qc_[i] = VerdictOf(Check(i));
        Count(records[i], qc_[i]);
    }
}

void SurveyTableAdapter::Recheck(std::size_t first, std::size_t count) {
    CheckAppended();
    const std::size_t end = std::min(qc_.size(), first + count);
    for (std::size_t i = first; i < end; ++i) qc_[i] = VerdictOf(Check(i));  // keeps kMovingAtMark
    Recount();                                                               // the selection may have changed
}

void SurveyTableAdapter::Count(const SurveyRecord& record, uint8_t verdict) {
    const bool failed = (verdict & kFailed) != 0;
    const bool station = record.selected == 1;
    ++counts_.records;
    counts_.failedRecords += failed;
    counts_.stations += station;
    counts_.failedStations += failed && station;
}

void SurveyTableAdapter::Recount() {
    const auto& records = model_.document().records();
    counts_ = {};
    for (std::size_t i = 0; i < qc_.size() && i < records.size(); ++i) Count(records[i], qc_[i]);
}

void SurveyTableAdapter::ScrollToBottom() {
    emit scrollToBottomRequested();
}

}  // namespace orb
