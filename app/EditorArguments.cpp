#include "app/EditorArguments.h"
#include "foundation/AppInfo.h"

#include <QCommandLineParser>
#include <QLocale>

#include <cstdio>

namespace {

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

QString usageText(const char *english, const char *chinese)
{
    return chineseUsage() ? QString::fromUtf8(chinese) : QString::fromUtf8(english);
}

bool chineseUsage()
{
    return QLocale::system().language() == QLocale::Chinese;
}

EditorArguments parseEditorArguments(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        usageText("Editor for the cadre appointment and removal approval form (干部任免审批表).\n"
             "Without FILE the editor opens an empty form.\n\n"
             "Without a window:\n"
             "  appointform render DOC... -o OUT.pdf|OUT.png | --output-dir DIR | --display-list\n"
             "  appointform check DOC...\n"
             "(\"appointform render --help\" lists their options)",
             "干部任免审批表的录入、预览和打印程序。\n"
             "不给文件时打开一张空白表。\n\n"
             "不开窗口的用法：\n"
             "  appointform render 文档... -o 输出.pdf|输出.png | --output-dir 文件夹 | --display-list\n"
             "  appointform check 文档...\n"
             "（“appointform render --help”列出它们的选项）"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  usageText("Show this help and exit.", "显示本帮助后退出。"));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     usageText("Show the version and exit.", "显示版本后退出。"));
    parser.addOption(help);
    parser.addOption(version);
    // The toolkit's own options (-platform offscreen, -style …) are taken by
    // the application object later; they are known here so as not to be refused.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "style",
                             "stylesheet", "geometry", "qwindowgeometry", "qwindowtitle", "qwindowicon", "session",
                             "title", "name"}) {
        QCommandLineOption toolkitOption(QLatin1String(name), QString(), QStringLiteral("value"));
        toolkitOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkitOption);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption toolkitFlag{QLatin1String(name)};
        toolkitFlag.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkitFlag);
    }
    parser.addPositionalArgument(usageText("FILE", "文件"),
                                 usageText("A document to open (.dwz, .ren, .ljy, .jan).",
                                      "要打开的文档（.dwz、.ren、.ljy、.jan）。"),
                                 usageText("[FILE]", "[文件]"));

    EditorArguments result;
    if (!parser.parse(args)) {
        print(stderr, AppInfo::executableName() + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n') +
                          usageText("Try \"appointform --help\".\n", "请看“appointform --help”。\n"));
        result.exitNow = true;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        result.exitNow = true;
        return result;
    }
    if (parser.isSet(version)) {
        print(stdout, AppInfo::executableName() + QLatin1Char(' ') + AppInfo::version() + QLatin1Char('\n'));
        result.exitNow = true;
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        print(stderr, AppInfo::executableName() +
                          usageText(": the editor opens one document at a time\n", "：编辑器一次只打开一个文档\n"));
        result.exitNow = true;
        result.exitCode = 2;
        return result;
    }
    result.document = files.value(0);
    return result;
}
