#pragma once
#include <QString>
#include <QStringList>

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
