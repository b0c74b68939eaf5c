// The exchange exports of the main window (文件 → 导出 → CSV / LAS / WITSML,
// ids from 33200 on) and the survey context at opening and saving: a stored
// declination comes back with the survey, and the session's values are kept
// with it when it is saved.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/quality_controller.h"
#include "app/ui_language.h"
#include "core/atomic_file.h"
#include "core/ui_text.h"
#include "report/exchange_csv.h"
#include "report/exchange_las.h"
#include "report/exchange_witsml.h"

namespace orb {

namespace cmd {
inline constexpr int kExportCsv = 33200;
inline constexpr int kExportLas = 33201;
inline constexpr int kExportWitsml = 33202;
}  // namespace cmd

namespace {

struct ExchangeFormat {
    int id;
    const char* menuText;
    const char* filter;
    const char* suffix;
    std::string (*write)(const ExchangeSurvey&);
};

// Translated by CMainFrame, where the menu is made.
const ExchangeFormat kFormats[] = {
    {cmd::kExportCsv, QT_TRANSLATE_NOOP("orb::CMainFrame", "CSV 测斜数据表..."),
     QT_TRANSLATE_NOOP("orb::CMainFrame", "CSV 文件 (*.csv)"), "csv", ExchangeCsv},
    {cmd::kExportLas, QT_TRANSLATE_NOOP("orb::CMainFrame", "LAS 3.0 测斜文件..."),
     QT_TRANSLATE_NOOP("orb::CMainFrame", "LAS 文件 (*.las)"), "las", ExchangeLas},
    {cmd::kExportWitsml, QT_TRANSLATE_NOOP("orb::CMainFrame", "WITSML 1.4.1.1 轨迹..."),
     QT_TRANSLATE_NOOP("orb::CMainFrame", "WITSML 文件 (*.xml)"), "xml", ExchangeWitsml},
};

const ExchangeFormat* FormatOf(int id) {
    for (const ExchangeFormat& f : kFormats)
        if (f.id == id) return &f;
    return nullptr;
}

}  // namespace

void CMainFrame::ConnectExchangeCommands() {
    auto* menu = new QMenu(tr("导出"), this);
    for (const ExchangeFormat& f : kFormats) {
        auto* a = new QAction(tr(f.menuText), this);
        a->setProperty("commandId", f.id);
        actions_.insert(f.id, a);
        ConnectCommand(a, this, [this, id = f.id] { OnExportExchange(id); });
        menu->addAction(a);
    }
    for (QAction* top : menuBar_->actions()) {
        QMenu* file = top->menu();
        if (!file || file->objectName() != QLatin1String(kFileMenuName)) continue;
        const QList<QAction*> items = file->actions();
        const int after = static_cast<int>(items.indexOf(Action(cmd::kExportExcel)));
        QAction* before = after >= 0 && after + 1 < items.size() ? items[after + 1] : nullptr;
        file->insertMenu(before, menu);
    }
}

ExchangeOptions CMainFrame::SessionExchangeOptions() {
    const WellQualitySettings& quality = quality_->settings();
    const TrajectoryPlotOptions plot =
        MakeTrajectoryPlotOptions(quality, wellInfo_.magneticDeclination, &doc_.context());
    ExchangeOptions o;
    o.trajectory = plot.trajectory;
    o.references = plot.references;
    o.qc = plot.qc;
    return o;
}

void CMainFrame::OnExportExchange(int commandId) {
    const ExchangeFormat* f = FormatOf(commandId);
    if (!f) return;
    const QString path = AskExportFileName({tr(f->filter)}, QString::fromLatin1(f->suffix));
    if (path.isEmpty()) return;
    BeginLongWork(tr("正在导出……"));
    const std::string text = f->write(BuildExchangeSurvey(doc_, SessionExchangeOptions()));
    FileResult r{FileStatus::kFailed, 0, ORB_TEXT("core", "格式化失败"), {}};
    if (!text.empty()) r = WriteFileAtomically(QFile::encodeName(path).toStdString(), text);
    EndLongWork(r.ok());
    if (!r.ok()) QMessageBox::warning(this, QStringLiteral("Orb"), CoreText(r.Text()));
}

void CMainFrame::RestoreSurveyContext(const std::string& notice) {
    const SurveyContext& c = doc_.context();
    if (c.declination) {
        wellInfo_.magneticDeclination = static_cast<float>(c.declination->value);
        SetStatusText(tr("已从文件恢复磁偏角 %1°（%2）")
                          .arg(QString::number(c.declination->value, 'f', 2),
                               CoreText(SourceText(c.declination->source))));
    }
    if (!notice.empty()) SetStatusText(CoreText(notice));
}

void CMainFrame::StoreSessionContext() {
    const WellQualitySettings& q = quality_->settings();
    const SessionValues session{wellInfo_.magneticDeclination, q.references, q.tolerances, q.dlsInterval,
                                q.vsAzimuth};
    SurveyContext next = ContextWithSession(doc_.context(), session);
    if (!(next == doc_.context())) doc_.SetContext(std::move(next));
}

}  // namespace orb
