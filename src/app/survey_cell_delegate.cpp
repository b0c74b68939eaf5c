#include "app/survey_cell_delegate.h"

#include <QPainter>

#include "view/survey_columns.h"

namespace orb {

void SurveyCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    // The quality colour of the check-box and number cells.
    const QVariant background = index.data(Qt::BackgroundRole);
    if (!selected && background.canConvert<QBrush>())
        painter->fillRect(option.rect, background.value<QBrush>());
    if (index.column() == kCheckColumn) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) return;
    const QRect area = option.rect.adjusted(3, 0, -3, 0);
    if (option.fontMetrics.horizontalAdvance(text) > area.width())
        text = option.fontMetrics.elidedText(text, Qt::ElideRight, area.width());
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace orb
