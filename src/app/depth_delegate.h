// The in-place editor of a depth cell (control id 7778). Qt's delegate
// commits the text when editing ends or the editor loses the focus, which
// is when the operator clicks back into the table.
#pragma once

#include "app/survey_cell_delegate.h"

namespace orb {

class DepthDelegate : public SurveyCellDelegate {
    Q_OBJECT
public:
    using SurveyCellDelegate::SurveyCellDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

}  // namespace orb
