// The survey table widget: a QTableView over the survey table model (no
// widget per cell), 21 centred columns with grid lines and check boxes, the
// depth editor, the "编辑" context menu, and the selection and display
// commands, which it forwards to the model.
#pragma once

#include <QTableView>

#include "view/survey_table_model.h"

class QMenu;

namespace orb {

class SurveyTableAdapter;

class COrbView : public QTableView {
    Q_OBJECT
public:
    explicit COrbView(SurveyTableModel& model, QWidget* parent = nullptr);

    SurveyTableModel& tableModel() const { return model_; }
    SurveyTableAdapter* adapter() const { return adapter_; }
    QMenu* editMenu() const { return editMenu_; }

    // The set-up: all rows in record order, then the bottom of the table.
    void OnInitialUpdate();
    // Width of a column: the documented one, or more where a value needs it.
    int ColumnWidthFor(int column) const;

public slots:
    void OnSelectAll();
    void OnSelectNone();
    void OnSelectInvert();
    void OnShowAll();
    void OnShowSelected();
    void OnReverse();
    void OnShowAutoSelected();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetUpAppearance();
    void CreateEditMenu();

    SurveyTableModel& model_;
    SurveyTableAdapter* adapter_;
    QMenu* editMenu_ = nullptr;
};

}  // namespace orb
