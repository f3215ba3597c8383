#pragma once
#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The editor's own command line: "appointform [FILE]", with --help and
// --version answered on stdout without a display. "render" and "check"
// have their own options (CommandLine.h).
struct EditorArguments {
    QString document;      // to load on start-up, or empty
    bool exitNow = false;  // help, version or a mistake was printed
    int exitCode = 0;
};

// `args` as QCoreApplication::arguments(); needs an application object.
EditorArguments parseEditorArguments(const QStringList &args);

// True when usage texts are best given in Chinese (a Chinese system locale).
bool chineseUsage();
// The usage text in the language chineseUsage() chooses.
QString usageText(const char *english, const char *chinese);

// A command's --help, headings in the language chineseUsage() chooses
// ("用法：", "选项：", "参数："): the usage line "`command` [options] `synopsis`",
// the description, then the options shown and the arguments (name,
// description), in two aligned columns.
QString helpText(const QString &command, const QString &synopsis, const QString &description,
                 const QList<QCommandLineOption> &options,
                 const QList<std::pair<QString, QString>> &arguments);
