#pragma once
#include "app/Command.h"
#include "app/EditorArguments.h"

// "appointform roster DOC... -o OUT.xlsx|OUT.csv": one row per document of
// the fields as the form prints them, in a spreadsheet or a CSV file.
class RosterCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    QList<QCommandLineOption> ownOptions() const override;
    Result<> readOwnOptions(const QCommandLineParser &parser, CommandOptions &options) const override;
    Result<> checkOptions(const CommandOptions &options) const override;
    QString unknownOptionHint() const override;
    bool laysOutPages() const override { return false; }
    QString exitStatusHelp() const override;
    int execute(const CommandOptions &options) const override;

private:
    QCommandLineOption m_output{QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                usageText("The roster: a spreadsheet (.xlsx; documents that fail on a second sheet) "
                                          "or a CSV file (UTF-8).",
                                          "名册：电子表格（.xlsx，未通过的文档在第二个工作表）或 CSV 文件（UTF-8）。"),
                                QStringLiteral("OUT.xlsx|OUT.csv")};
    QCommandLineOption m_force{QStringLiteral("force"),
                               usageText("Replace an output file that is read-only (it is left alone otherwise).",
                                         "替换只读的输出文件（否则不替换）。")};
};
