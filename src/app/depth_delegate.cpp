#include "app/depth_delegate.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "app/command_ids.h"
#include "app/ui_language.h"
#include "document/well_info.h"

namespace orb {

QWidget* DepthDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("depthEditor"));
    edit->setProperty("controlId", cmd::kDepthEditorId);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFrame(true);
    return edit;
}

void DepthDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    edit->setText(index.data(Qt::EditRole).toString());
    edit->selectAll();
}

void DepthDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole)) return;
    // Refused (no number): the cell keeps its old value. The message waits
    // until the editor has closed, which happens inside this commit.
    QWidget* window = editor->window();
    QTimer::singleShot(0, window, [window] {
        QMessageBox::warning(window, QStringLiteral("Orb"), CoreText(kNotANumberMessage));
    });
}

}  // namespace orb
