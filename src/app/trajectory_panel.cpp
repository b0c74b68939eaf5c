#include "app/trajectory_panel.h"

#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/command_guard.h"
#include "app/dialog_folder.h"
#include "app/trajectory_plot_widget.h"
#include "app/ui_language.h"
#include "core/atomic_file.h"
#include "document/well_info.h"

namespace orb {

CTrajectoryPanel::CTrajectoryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("trajectoryPanel"));
    toolBar_ = new QToolBar(this);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    savePng_ = toolBar_->addAction(tr("保存为PNG..."));
    savePng_->setObjectName(QStringLiteral("trajectorySavePng"));
    ConnectCommand(savePng_, this, [this] { OnSavePng(); });
    note_ = new QLabel(CoreText(kAscendingDepthNote), this);
    note_->setObjectName(QStringLiteral("trajectoryNote"));
    note_->setWordWrap(true);
    plot_ = new CTrajectoryPlotWidget(this);
    plot_->SetData(&data_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(toolBar_);
    layout->addWidget(note_);
    layout->addWidget(plot_, 1);
}

void CTrajectoryPanel::Update(std::span<const SurveyRecord> records, const TrajectoryPlotOptions& options) {
    MakeTrajectoryPlotData(records, options, data_);
    note_->setText(CoreText(TrajectorySummaryText(data_)));
    plot_->update();
    ++updates_;
}

QImage CTrajectoryPanel::RenderImage(QSize size) const {
    constexpr qreal kScale = 2;
    QImage image(size * kScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(kScale);
    image.fill(Qt::white);
    QPainter painter(&image);
    CTrajectoryPlotWidget::Render(painter, QRect(QPoint(0, 0), size), data_, true);
    return image;
}

bool CTrajectoryPanel::SavePng(const QString& path, QString* error) const {
    const QSize size = plot_->size().expandedTo(QSize(1000, 640));
    const QImage image = RenderImage(size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        if (error) *error = QStringLiteral("cannot encode the picture");
        return false;
    }
    const FileResult written = WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                                   std::string_view(bytes.constData(), bytes.size()));
    if (!written.ok() && error) *error = CoreText(written.message);
    return written.ok();
}

void CTrajectoryPanel::OnSavePng() {
    QFileDialog dlg(this, tr("保存井眼轨迹图"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters({tr("PNG 图片 (*.png)"), tr("所有文件 (*.*)")});
    dlg.setDefaultSuffix(QStringLiteral("png"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDirectory(StartFolder());
    dlg.selectFile(tr("井眼轨迹.png"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    RememberFolderOf(dlg.selectedFiles().constFirst());
    QString error;
    if (!SavePng(dlg.selectedFiles().constFirst(), &error)) {
        QMessageBox::critical(this, CoreText(kErrorCaption), tr("保存图片失败：") + error);
    }
}

}  // namespace orb
