#include "app/survey_table_adapter.h"

namespace orb {

SurveyTableAdapter::SurveyTableAdapter(SurveyTableModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {
    model_.SetListener(this);
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
            if (index.column() == 0) return {};
            return QString::fromStdString(model_.CellText(row, index.column()));
        case Qt::CheckStateRole:
            if (index.column() != 0) return {};
            return model_.IsChecked(row) ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return {};
    }
}

QVariant SurveyTableAdapter::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kTableColumns) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(SurveyTableModel::HeaderText(section));
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags SurveyTableAdapter::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == 0 && !model_.IsMarkRow(row)) f |= Qt::ItemIsUserCheckable;
    if (model_.CanEditDepth(row, index.column())) f |= Qt::ItemIsEditable;
    return f;
}

bool SurveyTableAdapter::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) return false;
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::CheckStateRole && index.column() == 0) {
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
    endResetModel();
}

void SurveyTableAdapter::BeginAppend(std::size_t first, std::size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void SurveyTableAdapter::EndAppend() {
    endInsertRows();
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

void SurveyTableAdapter::AllRowsChanged() {
    if (rowCount() == 0) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, kTableColumns - 1));
}

void SurveyTableAdapter::ScrollToBottom() {
    emit scrollToBottomRequested();
}

}  // namespace orb
