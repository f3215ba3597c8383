#include "app/EditorArguments.h"
#include "app/Command.h"
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

namespace {

// Columns a character takes on a terminal: two for the wide characters of
// Chinese text and its full-width punctuation.
int columns(const QString &text)
{
    int n = 0;
    for (QChar ch : text)
        n += ch.unicode() >= 0x2E80 && !(ch.unicode() >= 0xFF61 && ch.unicode() <= 0xFFDC) ? 2 : 1;
    return n;
}

// `text` broken into lines of at most `width` columns: after a space in
// Latin text, anywhere between Chinese characters.
QStringList wrapped(const QString &text, int width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        // A line that goes on keeps the paragraph's indent.
        int lead = 0;
        while (lead < paragraph.size() && paragraph.at(lead) == QLatin1Char(' '))
            ++lead;
        const QString indent(lead, QLatin1Char(' '));
        QString line;
        int lastBreak = -1;
        for (QChar ch : paragraph.mid(lead)) {
            line += ch;
            if (ch == QLatin1Char(' ') || ch.unicode() >= 0x2E80)
                lastBreak = int(line.size());
            if (lead + columns(line) > width && lastBreak > 0) {
                lines << indent + line.left(lastBreak).trimmed();
                line = line.mid(lastBreak).trimmed();
                lastBreak = -1;
            }
        }
        lines << indent + line.trimmed();
    }
    return lines;
}

} // namespace

QString helpText(const QString &command, const QString &synopsis, const QString &description,
                 const QList<QCommandLineOption> &options, const QList<std::pair<QString, QString>> &arguments)
{
    QList<std::pair<QString, QString>> optionRows;
    for (const QCommandLineOption &o : options) {
        if (o.flags() & QCommandLineOption::HiddenFromHelp)
            continue;
        QStringList names;
        for (const QString &name : o.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString left = names.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty())
            left += QStringLiteral(" <") + o.valueName() + QLatin1Char('>');
        optionRows.append({left, o.description()});
    }
    int nameWidth = 0;
    for (const auto &rows : {optionRows, arguments})
        for (const auto &row : rows)
            nameWidth = qMax(nameWidth, columns(row.first));
    const int indent = 2 + nameWidth + 2;
    const int textWidth = qMax(20, 79 - indent);
    auto table = [&](const QList<std::pair<QString, QString>> &rows) {
        QString out;
        for (const auto &row : rows) {
            const QStringList lines = wrapped(row.second, textWidth);
            out += QStringLiteral("  ") + row.first + QString(indent - 2 - columns(row.first), QLatin1Char(' '))
                 + lines.value(0) + QLatin1Char('\n');
            for (qsizetype i = 1; i < lines.size(); ++i)
                out += QString(indent, QLatin1Char(' ')) + lines.at(i) + QLatin1Char('\n');
        }
        return out;
    };
    QString text = usageText("Usage: ", "用法：") + command + usageText(" [options]", " [选项]")
                 + (synopsis.isEmpty() ? QString() : QLatin1Char(' ') + synopsis) + QLatin1Char('\n');
    if (!description.isEmpty())
        text += wrapped(description, 79).join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!optionRows.isEmpty())
        text += QLatin1Char('\n') + usageText("Options:", "选项：") + QLatin1Char('\n') + table(optionRows);
    if (!arguments.isEmpty())
        text += QLatin1Char('\n') + usageText("Arguments:", "参数：") + QLatin1Char('\n') + table(arguments);
    return text;
}

bool chineseUsage()
{
    return QLocale::system().language() == QLocale::Chinese;
}

EditorArguments parseEditorArguments(const QStringList &args)
{
    QCommandLineParser parser;
    const QString description =
        usageText("Editor for the cadre appointment and removal approval form (干部任免审批表).\n"
             "Without FILE the editor opens an empty form.\n\n"
             "Without a window:\n"
             "  appointform render DOC... -o OUT.pdf|OUT.docx|OUT.png | --output-dir DIR | --display-list\n"
             "  appointform check DOC...\n"
             "  appointform roster DOC... -o OUT.xlsx|OUT.csv\n"
             "(\"appointform render --help\" lists their options)",
             "干部任免审批表的录入、预览和打印程序。\n"
             "不给文件时打开一张空白表。\n\n"
             "不开窗口的用法：\n"
             "  appointform render 文档... -o 输出.pdf|输出.docx|输出.png | --output-dir 文件夹 | --display-list\n"
             "  appointform check 文档...\n"
             "  appointform roster 文档... -o 输出.xlsx|输出.csv\n"
             "（“appointform render --help”列出它们的选项）");
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
    const std::pair<QString, QString> fileArgument{
        usageText("FILE", "文件"),
        usageText("A document to open (.dwz, .ren, .ljy, .jan).", "要打开的文档（.dwz、.ren、.ljy、.jan）。")};

    EditorArguments result;
    if (!parser.parse(args)) {
        print(stderr, AppInfo::executableName() + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n') +
                          usageText("Try \"appointform --help\".\n", "请看“appointform --help”。\n"));
        result.exitNow = true;
        result.exitCode = exitStatusFor(FailureKind::Usage);
        return result;
    }
    if (parser.isSet(help)) {
        print(stdout, helpText(AppInfo::executableName(), usageText("[FILE]", "[文件]"), description, {help, version},
                               {fileArgument}));
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
        result.exitCode = exitStatusFor(FailureKind::Usage);
        return result;
    }
    result.document = files.value(0);
    return result;
}
