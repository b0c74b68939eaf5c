#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace orb {

namespace {

struct Options {
    QCommandLineOption port{QStringLiteral("port"), QStringLiteral("打开这个串口设备（例如 /dev/ttyUSB0）"),
                            QStringLiteral("path")};
    QCommandLineOption simulate{
        QStringLiteral("simulate"),
        QStringLiteral("启动模拟的探管和同步器（orb-devsim）；其后可跟一个场景文件 SCENARIO.json")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("把主窗口保存为 PNG 图片后退出"), QStringLiteral("png")};
};

void Describe(QCommandLineParser& parser, const Options& o) {
    parser.setApplicationDescription(QStringLiteral("Orb 测斜数据处理系统"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({o.port, o.simulate, o.screenshot});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("启动时打开的 TLM 文件"),
                                 QStringLiteral("[FILE]"));
}

bool IsScenario(const QString& arg) {
    return arg.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCoreApplication::setApplicationVersion(QStringLiteral(ORB_VERSION));
    QCommandLineParser parser;
    const Options o;
    Describe(parser, o);
    parser.process(arguments);

    CommandLine cl;
    cl.port = parser.value(o.port);
    cl.simulate = parser.isSet(o.simulate);
    cl.screenshot = parser.value(o.screenshot);
    for (const QString& arg : parser.positionalArguments()) {
        // "--simulate SCENARIO.json": the scenario is the simulator's, not a survey.
        if (cl.simulate && cl.scenario.isEmpty() && IsScenario(arg))
            cl.scenario = arg;
        else if (cl.file.isEmpty())
            cl.file = arg;
    }
    return cl;
}

QString CommandLineHelpText() {
    QCommandLineParser parser;
    const Options o;
    Describe(parser, o);
    return parser.helpText();
}

}  // namespace orb
