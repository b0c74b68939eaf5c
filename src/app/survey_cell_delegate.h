// Paints the survey table's text cells directly (background, centred text,
// elided only when it does not fit) instead of through the style's full
// item layout, which costs several times more per cell. The check-box
// column keeps the standard painting, so clicks hit what is drawn.
#pragma once

#include <QStyledItemDelegate>

namespace orb {

class SurveyCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace orb
