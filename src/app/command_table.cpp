#include "app/command_table.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

#include "app/command_ids.h"

namespace orb {

namespace {

using namespace cmd;

constexpr std::array kCommands{
    // File menu
    CommandInfo{kFileOpen, "打开(&O)...\tCtrl+O", "打开现有文档\n打开", "Ctrl+O"},
    CommandInfo{kFileSave, "保存(&S)\tCtrl+S", "保存活动文档\n保存", "Ctrl+S"},
    CommandInfo{kFileSaveAs, "另存为(&A)...", "用新名称保存活动文档\n另存为", nullptr},
    CommandInfo{kExportText, "导出文本文件", nullptr, nullptr},
    CommandInfo{kExportExcel, "导出Excel表格", nullptr, nullptr},
    CommandInfo{kFilePrint, "打印(&P)...\tCtrl+P", "打印活动文档\n打印", "Ctrl+P"},
    CommandInfo{kFilePrintPreview, "打印预览(&V)", "显示整页\n打印预览", nullptr},
    CommandInfo{kFilePageSetup, "打印设置(&R)...", "更改打印机选项和打印选项\n打印设置", nullptr},
    CommandInfo{kFileMru1, "最近的文件", "打开此文档", nullptr},
    CommandInfo{kFileMru1 + 1, "最近的文件", "打开此文档", nullptr},
    CommandInfo{kFileMru1 + 2, "最近的文件", "打开此文档", nullptr},
    CommandInfo{kFileMruLast, "最近的文件", "打开此文档", nullptr},
    CommandInfo{kAppExit, "退出(&X)", "退出应用程序；提示保存文档\n退出", nullptr},
    // Communication, probe, synchronizer
    CommandInfo{kPortSelect, "端口选择", nullptr, nullptr},
    CommandInfo{kProbeTest, "通信测试", "探管通信测试\n通信测试", nullptr},
    CommandInfo{kProbeInfo, "探管信息查询", nullptr, nullptr},
    CommandInfo{kProbeClock, "时钟校准", "探管时钟校准\n时钟校准", nullptr},
    CommandInfo{kProbeRealTime, "实时数据输出", "输出探管实时数据\n实时数据", nullptr},
    CommandInfo{kProbeDownload, "读取探管数据", "读取探管历史数据\n读取数据", nullptr},
    CommandInfo{kProbeWorkMode, "工作模式设置", "设置探管工作模式\n工作模式", nullptr},
    CommandInfo{kSyncTest, "连接测试", nullptr, nullptr},
    CommandInfo{kSyncClock, "时钟校准", nullptr, nullptr},
    CommandInfo{kSyncDownload, "数据读取", nullptr, nullptr},
    CommandInfo{kSyncClear, "清空数据", nullptr, nullptr},
    // Data
    CommandInfo{kWellInfo, "钻井参数输入", "输入钻井参数\n钻井参数", nullptr},
    CommandInfo{kDepthCalc, "井深自动计算", "自动计算井深\n井深计算", nullptr},
    CommandInfo{kSelectAll, "全部选择", nullptr, nullptr},
    CommandInfo{kSelectNone, "全部不选择", nullptr, nullptr},
    CommandInfo{kSelectInvert, "反向选择", nullptr, nullptr},
    CommandInfo{kShowAll, "显示全部数据", "显示全部数据\n全部数据", nullptr},
    CommandInfo{kShowSelected, "显示选中数据", "显示选中数据\n选中数据", nullptr},
    CommandInfo{kShowAutoSelected, "显示自动选中的数据", nullptr, nullptr},
    CommandInfo{kReverse, "逆序显示", nullptr, nullptr},
    // View
    CommandInfo{kToolbarsPlaceholder, "<占位符>", nullptr, nullptr},
    CommandInfo{kStatusBar, "状态栏(&S)", "显示或隐藏状态栏\n切换状态栏", nullptr},
    CommandInfo{kLookWin2000, "Windows 2000(&2)", nullptr, nullptr},
    CommandInfo{kLookOfficeXP, "Office XP(&X)", nullptr, nullptr},
    CommandInfo{kLookWinXP, "Windows XP(&W)", nullptr, nullptr},
    CommandInfo{kLookOffice2003, "Office 2003(&3)", nullptr, nullptr},
    CommandInfo{kLookVS2005, "Visual Studio 200&5", nullptr, nullptr},
    CommandInfo{kLookVS2008, "Visual Studio 200&8", nullptr, nullptr},
    CommandInfo{kLookOffice2007Blue, "蓝色样式(&B)", nullptr, nullptr},
    CommandInfo{kLookOffice2007Black, "黑色样式(&L)", nullptr, nullptr},
    CommandInfo{kLookOffice2007Silver, "银色样式(&S)", nullptr, nullptr},
    CommandInfo{kLookOffice2007Aqua, "水绿色样式(&A)", nullptr, nullptr},
    // Help
    CommandInfo{kHelpFinder, "帮助主题(&H)", "列出帮助主题\n帮助主题", nullptr},
    CommandInfo{kAbout, "关于 TALO(&A)...", "显示程序信息、版本号和版权信息\n关于", nullptr},
    // Commands without a menu item
    CommandInfo{kDataModify, "数据补偿", nullptr, "Alt+Shift+S"},
    CommandInfo{kFileNew, "新建", nullptr, "Ctrl+N"},
    CommandInfo{kFilePrintDirect, "直接打印", nullptr, nullptr},
    CommandInfo{kHelp, "帮助", nullptr, "F1"},
    CommandInfo{kContextHelp, "上下文帮助", nullptr, "Shift+F1"},
    CommandInfo{kDefaultHelp, "默认帮助", nullptr, nullptr},
    CommandInfo{kCustomize, "自定义...", nullptr, nullptr},
    CommandInfo{kLookWindows7, "Windows 7", nullptr, nullptr},
    CommandInfo{kEditCopy, "复制(&C)\tCtrl+C", nullptr, "Ctrl+C;Ctrl+Ins"},
    CommandInfo{kEditCut, "剪切(&T)\tCtrl+X", nullptr, "Ctrl+X;Shift+Del"},
    CommandInfo{kEditPaste, "粘贴(&P)\tCtrl+V", nullptr, "Ctrl+V;Shift+Ins"},
    CommandInfo{kEditUndo, "撤消(&U)\tCtrl+Z", nullptr, "Ctrl+Z;Alt+Backspace"},
    CommandInfo{kEditRedo, "重做(&R)\tCtrl+Y", nullptr, "Ctrl+Y"},
    CommandInfo{kNextPane, "下一窗格", nullptr, "F6"},
    CommandInfo{kPrevPane, "上一窗格", nullptr, "Shift+F6"},
};

QString PromptPart(int id, bool tooltip) {
    const CommandInfo* c = FindCommand(id);
    if (!c || !c->prompt) return {};
    const QString p = QString::fromUtf8(c->prompt);
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
    return c ? QString::fromUtf8(c->caption) : QString();
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
