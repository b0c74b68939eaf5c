#include "app/command_table.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <array>

#include "app/command_ids.h"

namespace orb {

namespace {

using namespace cmd;

// The captions and prompts are translated where they are read.
constexpr const char* kContext = "Command";

constexpr std::array kCommands{
    // File menu
    CommandInfo{kFileOpen, QT_TRANSLATE_NOOP("Command", "打开(&O)...\tCtrl+O"),
                QT_TRANSLATE_NOOP("Command", "打开现有文档\n打开"), "Ctrl+O"},
    CommandInfo{kFileSave, QT_TRANSLATE_NOOP("Command", "保存(&S)\tCtrl+S"),
                QT_TRANSLATE_NOOP("Command", "保存活动文档\n保存"), "Ctrl+S"},
    CommandInfo{kFileSaveAs, QT_TRANSLATE_NOOP("Command", "另存为(&A)..."),
                QT_TRANSLATE_NOOP("Command", "用新名称保存活动文档\n另存为"), nullptr},
    CommandInfo{kExportText, QT_TRANSLATE_NOOP("Command", "导出文本文件"), nullptr, nullptr},
    CommandInfo{kExportExcel, QT_TRANSLATE_NOOP("Command", "导出Excel表格"), nullptr, nullptr},
    CommandInfo{kFilePrint, QT_TRANSLATE_NOOP("Command", "打印(&P)...\tCtrl+P"),
                QT_TRANSLATE_NOOP("Command", "打印活动文档\n打印"), "Ctrl+P"},
    CommandInfo{kFilePrintPreview, QT_TRANSLATE_NOOP("Command", "打印预览(&V)"),
                QT_TRANSLATE_NOOP("Command", "显示整页\n打印预览"), nullptr},
    CommandInfo{kFilePageSetup, QT_TRANSLATE_NOOP("Command", "打印设置(&R)..."),
                QT_TRANSLATE_NOOP("Command", "更改打印机选项和打印选项\n打印设置"), nullptr},
    CommandInfo{kFileMru1, QT_TRANSLATE_NOOP("Command", "最近的文件"),
                QT_TRANSLATE_NOOP("Command", "打开此文档"), nullptr},
    CommandInfo{kFileMru1 + 1, QT_TRANSLATE_NOOP("Command", "最近的文件"),
                QT_TRANSLATE_NOOP("Command", "打开此文档"), nullptr},
    CommandInfo{kFileMru1 + 2, QT_TRANSLATE_NOOP("Command", "最近的文件"),
                QT_TRANSLATE_NOOP("Command", "打开此文档"), nullptr},
    CommandInfo{kFileMruLast, QT_TRANSLATE_NOOP("Command", "最近的文件"),
                QT_TRANSLATE_NOOP("Command", "打开此文档"), nullptr},
    CommandInfo{kAppExit, QT_TRANSLATE_NOOP("Command", "退出(&X)"),
                QT_TRANSLATE_NOOP("Command", "退出应用程序；提示保存文档\n退出"), nullptr},
    // Communication, probe, synchronizer
    CommandInfo{kPortSelect, QT_TRANSLATE_NOOP("Command", "端口选择"), nullptr, nullptr},
    CommandInfo{kProbeTest, QT_TRANSLATE_NOOP("Command", "通信测试"),
                QT_TRANSLATE_NOOP("Command", "探管通信测试\n通信测试"), nullptr},
    CommandInfo{kProbeInfo, QT_TRANSLATE_NOOP("Command", "探管信息查询"), nullptr, nullptr},
    CommandInfo{kProbeClock, QT_TRANSLATE_NOOP("Command", "时钟校准"),
                QT_TRANSLATE_NOOP("Command", "探管时钟校准\n时钟校准"), nullptr},
    CommandInfo{kProbeRealTime, QT_TRANSLATE_NOOP("Command", "实时数据输出"),
                QT_TRANSLATE_NOOP("Command", "输出探管实时数据\n实时数据"), nullptr},
    CommandInfo{kProbeDownload, QT_TRANSLATE_NOOP("Command", "读取探管数据"),
                QT_TRANSLATE_NOOP("Command", "读取探管历史数据\n读取数据"), nullptr},
    CommandInfo{kProbeWorkMode, QT_TRANSLATE_NOOP("Command", "工作模式设置"),
                QT_TRANSLATE_NOOP("Command", "设置探管工作模式\n工作模式"), nullptr},
    CommandInfo{kSyncTest, QT_TRANSLATE_NOOP("Command", "连接测试"), nullptr, nullptr},
    CommandInfo{kSyncClock, QT_TRANSLATE_NOOP("Command", "时钟校准"), nullptr, nullptr},
    CommandInfo{kSyncDownload, QT_TRANSLATE_NOOP("Command", "数据读取"), nullptr, nullptr},
    CommandInfo{kSyncClear, QT_TRANSLATE_NOOP("Command", "清空数据"), nullptr, nullptr},
    // Data
    CommandInfo{kWellInfo, QT_TRANSLATE_NOOP("Command", "钻井参数输入"),
                QT_TRANSLATE_NOOP("Command", "输入钻井参数\n钻井参数"), nullptr},
    CommandInfo{kDepthCalc, QT_TRANSLATE_NOOP("Command", "井深自动计算"),
                QT_TRANSLATE_NOOP("Command", "自动计算井深\n井深计算"), nullptr},
    CommandInfo{kSelectAll, QT_TRANSLATE_NOOP("Command", "全部选择"), nullptr, nullptr},
    CommandInfo{kSelectNone, QT_TRANSLATE_NOOP("Command", "全部不选择"), nullptr, nullptr},
    CommandInfo{kSelectInvert, QT_TRANSLATE_NOOP("Command", "反向选择"), nullptr, nullptr},
    CommandInfo{kShowAll, QT_TRANSLATE_NOOP("Command", "显示全部数据"),
                QT_TRANSLATE_NOOP("Command", "显示全部数据\n全部数据"), nullptr},
    CommandInfo{kShowSelected, QT_TRANSLATE_NOOP("Command", "显示选中数据"),
                QT_TRANSLATE_NOOP("Command", "显示选中数据\n选中数据"), nullptr},
    CommandInfo{kShowAutoSelected, QT_TRANSLATE_NOOP("Command", "显示自动选中的数据"), nullptr, nullptr},
    CommandInfo{kReverse, QT_TRANSLATE_NOOP("Command", "逆序显示"), nullptr, nullptr},
    // View
    CommandInfo{kToolbarsPlaceholder, QT_TRANSLATE_NOOP("Command", "<占位符>"), nullptr, nullptr},
    CommandInfo{kStatusBar, QT_TRANSLATE_NOOP("Command", "状态栏(&S)"),
                QT_TRANSLATE_NOOP("Command", "显示或隐藏状态栏\n切换状态栏"), nullptr},
    CommandInfo{kLookWin2000, "Windows 2000(&2)", nullptr, nullptr},
    CommandInfo{kLookOfficeXP, "Office XP(&X)", nullptr, nullptr},
    CommandInfo{kLookWinXP, "Windows XP(&W)", nullptr, nullptr},
    CommandInfo{kLookOffice2003, "Office 2003(&3)", nullptr, nullptr},
    CommandInfo{kLookVS2005, "Visual Studio 200&5", nullptr, nullptr},
    CommandInfo{kLookVS2008, "Visual Studio 200&8", nullptr, nullptr},
    CommandInfo{kLookOffice2007Blue, QT_TRANSLATE_NOOP("Command", "蓝色样式(&B)"), nullptr, nullptr},
    CommandInfo{kLookOffice2007Black, QT_TRANSLATE_NOOP("Command", "黑色样式(&L)"), nullptr, nullptr},
    CommandInfo{kLookOffice2007Silver, QT_TRANSLATE_NOOP("Command", "银色样式(&S)"), nullptr, nullptr},
    CommandInfo{kLookOffice2007Aqua, QT_TRANSLATE_NOOP("Command", "水绿色样式(&A)"), nullptr, nullptr},
    // Help
    CommandInfo{kHelpFinder, QT_TRANSLATE_NOOP("Command", "帮助主题(&H)"),
                QT_TRANSLATE_NOOP("Command", "列出帮助主题\n帮助主题"), nullptr},
    CommandInfo{kAbout, QT_TRANSLATE_NOOP("Command", "关于 TALO(&A)..."),
                QT_TRANSLATE_NOOP("Command", "显示程序信息、版本号和版权信息\n关于"), nullptr},
    // Commands without a menu item
    CommandInfo{kDataModify, QT_TRANSLATE_NOOP("Command", "数据补偿"), nullptr, "Alt+Shift+S"},
    CommandInfo{kFileNew, QT_TRANSLATE_NOOP("Command", "新建"), nullptr, "Ctrl+N"},
    CommandInfo{kFilePrintDirect, QT_TRANSLATE_NOOP("Command", "直接打印"), nullptr, nullptr},
    CommandInfo{kHelp, QT_TRANSLATE_NOOP("Command", "帮助"), nullptr, "F1"},
    CommandInfo{kContextHelp, QT_TRANSLATE_NOOP("Command", "上下文帮助"), nullptr, "Shift+F1"},
    CommandInfo{kDefaultHelp, QT_TRANSLATE_NOOP("Command", "默认帮助"), nullptr, nullptr},
    CommandInfo{kCustomize, QT_TRANSLATE_NOOP("Command", "自定义..."), nullptr, nullptr},
    CommandInfo{kLookWindows7, "Windows 7", nullptr, nullptr},
    CommandInfo{kEditCopy, QT_TRANSLATE_NOOP("Command", "复制(&C)\tCtrl+C"), nullptr, "Ctrl+C;Ctrl+Ins"},
    CommandInfo{kEditCut, QT_TRANSLATE_NOOP("Command", "剪切(&T)\tCtrl+X"), nullptr, "Ctrl+X;Shift+Del"},
    CommandInfo{kEditPaste, QT_TRANSLATE_NOOP("Command", "粘贴(&P)\tCtrl+V"), nullptr, "Ctrl+V;Shift+Ins"},
    CommandInfo{kEditUndo, QT_TRANSLATE_NOOP("Command", "撤消(&U)\tCtrl+Z"), nullptr, "Ctrl+Z;Alt+Backspace"},
    CommandInfo{kEditRedo, QT_TRANSLATE_NOOP("Command", "重做(&R)\tCtrl+Y"), nullptr, "Ctrl+Y"},
    CommandInfo{kNextPane, QT_TRANSLATE_NOOP("Command", "下一窗格"), nullptr, "F6"},
    CommandInfo{kPrevPane, QT_TRANSLATE_NOOP("Command", "上一窗格"), nullptr, "Shift+F6"},
};

QString PromptPart(int id, bool tooltip) {
    const CommandInfo* c = FindCommand(id);
    if (!c || !c->prompt) return {};
    const QString p = QCoreApplication::translate(kContext, c->prompt);
    const qsizetype nl = p.indexOf(u'\n');
    if (nl < 0) return tooltip ? QString() : p;
    return tooltip ? p.mid(nl + 1) : p.left(nl);
}

}  // namespace

std::span<const CommandInfo> AllCommands() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    auto it =
        std::find_if(kCommands.begin(), kCommands.end(), [id](const CommandInfo& c) { return c.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

QString CommandCaption(int id) {
    const CommandInfo* c = FindCommand(id);
    return c ? QCoreApplication::translate(kContext, c->caption) : QString();
}

QString CommandStatusTip(int id) {
    return PromptPart(id, false);
}

QString CommandToolTip(int id) {
    QString tip = PromptPart(id, true);
    if (!tip.isEmpty()) return tip;
    QString caption = CommandCaption(id);
    caption = caption.left(caption.indexOf(u'\t') < 0 ? caption.size() : caption.indexOf(u'\t'));
    caption.remove(QStringLiteral("..."));
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
    return caption.remove(mnemonic);
}

QList<QKeySequence> CommandShortcuts(int id) {
    QList<QKeySequence> keys;
    const CommandInfo* c = FindCommand(id);
    if (!c || !c->keys) return keys;
    for (const QString& k : QString::fromLatin1(c->keys).split(u';')) keys.append(QKeySequence(k));
    return keys;
}

}  // namespace orb
