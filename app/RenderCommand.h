#pragma once
#include "app/Command.h"
#include "app/EditorArguments.h"

// "appointform render DOC...": the documents' pages as a PDF, a PNG, one
// PDF per document or a display list, drawn as the editor prints them.
class RenderCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    QList<QCommandLineOption> ownOptions() const override;
    Result<> readOwnOptions(const QCommandLineParser &parser, CommandOptions &options) const override;
    Result<> checkOptions(const CommandOptions &options) const override;
    int execute(const CommandOptions &options) const override;

private:
    QCommandLineOption m_output{QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                usageText("All pages of every document in one PDF (600 dpi) or one Word document, "
                                          "or one page of one document as PNG.",
                                          "把每个文档的各页写进一个 PDF（600 dpi）或一个 Word 文档，"
                                          "或把一个文档的一页写成 PNG。"),
                                QStringLiteral("OUT.pdf|OUT.docx|OUT.png")};
    QCommandLineOption m_outputDir{QStringLiteral("output-dir"),
                                   usageText("One PDF (or Word document) per document, named after it.",
                                             "每个文档一个 PDF（或 Word 文档），以文档命名。"),
                                   QStringLiteral("DIR")};
    QCommandLineOption m_format{QStringLiteral("format"),
                                usageText("What --output-dir writes: pdf (default) or docx (Word).",
                                          "--output-dir 写出的格式：pdf（默认）或 docx（Word）。"),
                                QStringLiteral("pdf|docx")};
    QCommandLineOption m_displayList{QStringLiteral("display-list"),
                                     usageText("Print the drawing operations to stdout instead of drawing.",
                                               "不绘制，把绘制操作逐行写到标准输出。")};
    QCommandLineOption m_force{QStringLiteral("force"),
                               usageText("Replace output files that are read-only (they are left alone otherwise).",
                                         "替换只读的输出文件（否则不替换）。")};
    QCommandLineOption m_page{QStringLiteral("page"), usageText("Only this page.", "只输出这一页。"),
                              QStringLiteral("1|2")};
    QCommandLineOption m_paper{QStringLiteral("paper"),
                               usageText("Sheet of the PDF, Word document or PNG: b5 (182 x 257 mm, the printers' B5; "
                                                   "default) or a4.",
                                         "PDF、Word 文档或 PNG 的纸张：b5（182 × 257 毫米，即打印机的 B5；默认）或 a4。"),
                               QStringLiteral("b5|a4")};
    QCommandLineOption m_dpi{QStringLiteral("dpi"),
                             usageText("Resolution of a PNG (default 150).", "PNG 的分辨率（默认 150）。"),
                             QStringLiteral("N")};
};
