// Shows the survey table model in a Qt item view: rows, check boxes and cell
// texts come from the model on demand, operator changes go back to it, and
// the model's change notifications become the item model's signals.
#pragma once

#include <QAbstractTableModel>

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

signals:
    // A synchronizer mark row was appended: the view shows the bottom.
    void scrollToBottomRequested();

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

    SurveyTableModel& model_;
};

}  // namespace orb
