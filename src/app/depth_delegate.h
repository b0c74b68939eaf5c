// The in-place editor of a depth cell (control id 7778). Qt's delegate
// commits the text when editing ends or the editor loses the focus, which
// is when the operator clicks back into the table.
#pragma once

#include <QStyledItemDelegate>

namespace orb {

class DepthDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

}  // namespace orb
