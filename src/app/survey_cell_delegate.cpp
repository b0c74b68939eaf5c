#include "app/survey_cell_delegate.h"

#include <QPainter>

namespace orb {

void SurveyCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (index.column() == 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    // The quality colour of the number cell.
    else if (const QVariant bg = index.data(Qt::BackgroundRole); bg.canConvert<QBrush>())
        painter->fillRect(option.rect, bg.value<QBrush>());
    QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) return;
    const QRect area = option.rect.adjusted(3, 0, -3, 0);
    if (option.fontMetrics.horizontalAdvance(text) > area.width())
        text = option.fontMetrics.elidedText(text, Qt::ElideRight, area.width());
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace orb
