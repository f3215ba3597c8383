#include "commands/Roster.h"
#include "commands/DocumentPipeline.h"
#include "foundation/FileErrorText.h"
#include "foundation/Interaction.h"
#include "foundation/OrderedBatch.h"
#include "foundation/SafeFile.h"
#include "foundation/TextUtilities.h"
#include "record/DocumentReader.h"
#include "record/FieldSchema.h"

#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <vector>

namespace Roster {

namespace {

// The one column no field holds: the age page one prints beside the birth
// date, counted from it.
constexpr int kAgeColumn = 4;

int columnCount()
{
    int columns = kAgeColumn;
    for (const RecordField &f : recordFields())
        columns = std::max(columns, f.roster.column);
    return columns;
}

// Line breaks within a cell's text run together on the form, and so they do here.
QString printedValue(const RecordField &field, const FormPages &pages)
{
    if (field.has(RecordField::PartyText))
        return FormPages::printedPartyDate(pages.partyJoinDate);
    if (!field.handOff)
        return QString();
    const QString value = stripLineBreaks(pages.*field.handOff);
    if (field.has(RecordField::HoldsDate))
        return FormPages::printedDate(value);
    if (field.packedPart >= 0) {
        QString lines[4];
        splitEducationItem(value, lines[0], lines[1], lines[2], lines[3]);
        return lines[field.packedPart];
    }
    return value;
}

QString oneLineReason(const Failure &failure)
{
    QString text = failure.message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed();
}

// Columns as wide as their widest text, a CJK character counting two, with
// a little room; very long texts are not worth a screen-wide column.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.isLowSurrogate() ? 0 : (c.unicode() >= 0x2E80 ? 2 : 1);
    return width;
}

double columnWidth(int textWidth)
{
    return std::min(std::max(textWidth, 4) + 2, 60);
}

// Where the rows go: a spreadsheet or a CSV file.
class Sink {
public:
    virtual ~Sink() = default;
    virtual Result<> begin(const QStringList &headings) = 0;
    virtual Result<> addRow(const QStringList &cells) = 0;
    virtual Result<> finish(const QList<BatchOutput::Problem> &failed) = 0;
};

Failure rosterFailure(const QString &path, const QString &why, int osError)
{
    return Failure{FailureKind::FileSystem, QStringLiteral("未能写入名册“%1”：%2").arg(QFileInfo(path).fileName(), why),
                   osError};
}

Failure fileFailure(const SafeFile &file)
{
    return rosterFailure(file.fileName(), file.failureReason(), file.osError());
}

// RFC 4180: fields with a comma, a quote or a line break in quotes, quotes
// doubled, lines ended by CR LF; UTF-8 with a byte order mark, by which
// Excel and WPS know the encoding.
class CsvSink : public Sink {
public:
    CsvSink(const QString &path, bool replaceReadOnly) : m_file(path) { m_file.setReplaceReadOnly(replaceReadOnly); }

    Result<> begin(const QStringList &headings) override
    {
        if (!m_file.open(QIODevice::WriteOnly))
            return fileFailure(m_file);
        m_buffer = QByteArrayLiteral("\xEF\xBB\xBF");
        return addRow(headings);
    }
    Result<> addRow(const QStringList &cells) override
    {
        for (int i = 0; i < cells.size(); ++i) {
            if (i > 0)
                m_buffer += ',';
            m_buffer += field(cells.at(i));
        }
        m_buffer += "\r\n";
        return m_buffer.size() >= 65536 ? flush() : Result<>();
    }
    Result<> finish(const QList<BatchOutput::Problem> &) override
    {
        if (const Result<> flushed = flush(); !flushed)
            return flushed;
        return m_file.commit() ? Result<>() : fileFailure(m_file);
    }

private:
    static QByteArray field(const QString &text)
    {
        QByteArray bytes = text.toUtf8();
        if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r'))
            return bytes;
        bytes.replace('"', QByteArrayLiteral("\"\""));
        return '"' + bytes + '"';
    }
    Result<> flush()
    {
        if (m_file.write(m_buffer) != m_buffer.size())
            return fileFailure(m_file);
        m_buffer.clear();
        return {};
    }

    SafeFile m_file;
    QByteArray m_buffer;
};

// The spreadsheet: sheet "名册" with a bold, frozen heading row and every
// cell a text ("1960.05" and "0012" are not numbers to it), sheet "未通过"
// when documents failed. The library writes rows out as they come
// (constant memory) and only to a file name: it writes SafeFile's
// temporary, which then replaces the target.
class XlsxSink : public Sink {
public:
    XlsxSink(const QString &path, bool replaceReadOnly) : m_file(path) { m_file.setReplaceReadOnly(replaceReadOnly); }
    ~XlsxSink() override
    {
        if (m_book)
            lxw_workbook_free(m_book);   // unfinished: nothing more is written; m_file drops its temporary
    }

    Result<> begin(const QStringList &headings) override
    {
        if (!m_file.open(QIODevice::WriteOnly))
            return fileFailure(m_file);
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(QFile::encodeName(m_file.temporaryFileName()).constData(), &options);
        if (!m_book)
            return failure(LXW_ERROR_MEMORY_MALLOC_FAILED);
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        m_sheet = workbook_add_worksheet(m_book, "名册");
        if (!m_sheet)
            return failure(LXW_ERROR_CREATING_TMPFILE);
        worksheet_freeze_panes(m_sheet, 1, 0);
        m_widths.assign(size_t(headings.size()), 0);
        return writeRow(m_sheet, 0, headings, m_bold, m_widths);
    }
    Result<> addRow(const QStringList &cells) override { return writeRow(m_sheet, ++m_row, cells, nullptr, m_widths); }
    Result<> finish(const QList<BatchOutput::Problem> &failed) override
    {
        setWidths(m_sheet, m_widths);
        if (!failed.isEmpty()) {
            lxw_worksheet *sheet = workbook_add_worksheet(m_book, "未通过");
            if (!sheet)
                return failure(LXW_ERROR_CREATING_TMPFILE);
            worksheet_freeze_panes(sheet, 1, 0);
            std::vector<int> widths(2, 0);
            Result<> written = writeRow(sheet, 0, {QStringLiteral("文件"), QStringLiteral("原因")}, m_bold, widths);
            for (int i = 0; written && i < failed.size(); ++i)
                written = writeRow(sheet, lxw_row_t(i + 1), {failed.at(i).document, failed.at(i).message}, nullptr, widths);
            if (!written)
                return written;
            setWidths(sheet, widths);
        }
        errno = 0;
        const lxw_error closed = workbook_close(m_book);
        m_book = nullptr;
        if (closed != LXW_NO_ERROR)
            return failure(closed);
        return m_file.commit() ? Result<>() : fileFailure(m_file);
    }

private:
    // XML has no room for control characters: they are shown as "\xNN".
    static QByteArray cellText(const QString &text)
    {
        QString out;
        out.reserve(text.size());
        for (const QChar c : text) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
        return out.toUtf8();
    }
    Result<> writeRow(lxw_worksheet *sheet, lxw_row_t row, const QStringList &cells, lxw_format *format,
                      std::vector<int> &widths)
    {
        for (int c = 0; c < cells.size(); ++c) {
            if (cells.at(c).isEmpty())
                continue;
            const lxw_error e = worksheet_write_string(sheet, row, lxw_col_t(c), cellText(cells.at(c)).constData(), format);
            if (e != LXW_NO_ERROR)
                return failure(e);
            widths[size_t(c)] = std::max(widths[size_t(c)], displayWidth(cells.at(c)));
        }
        return {};
    }
    static void setWidths(lxw_worksheet *sheet, const std::vector<int> &widths)
    {
        for (size_t c = 0; c < widths.size(); ++c)
            worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), columnWidth(widths[c]), nullptr);
    }
    Failure failure(lxw_error e) const
    {
        QString why;
        switch (e) {
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE: why = QStringLiteral("行数超过了电子表格的上限"); break;
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED: why = QStringLiteral("有一格的文字超过了电子表格的上限"); break;
        case LXW_ERROR_MEMORY_MALLOC_FAILED: why = QStringLiteral("内存不足"); break;
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE: why = QStringLiteral("无法建立或读取临时文件"); break;
        default:
            why = errno != 0 ? fileErrorText(errno, FileAccess::Write) : QStringLiteral("写入时出错（错误 %1）").arg(int(e));
        }
        return rosterFailure(m_file.fileName(), why, errno);
    }

    SafeFile m_file;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_row_t m_row = 0;
    std::vector<int> m_widths;
};

} // namespace

QStringList headings()
{
    QStringList names(columnCount());
    names[kAgeColumn - 1] = QStringLiteral("年龄");
    for (const RecordField &f : recordFields())
        if (f.roster.column > 0)
            names[f.roster.column - 1] = QString::fromUtf8(f.roster.heading ? f.roster.heading : f.label);
    names << QStringLiteral("文件");
    return names;
}

QStringList rowOf(const FormPages &pages)
{
    QStringList cells(columnCount());
    cells[kAgeColumn - 1] = pages.printedAge();
    for (const RecordField &f : recordFields()) {
        if (f.roster.column <= 0)
            continue;
        const QString value = printedValue(f, pages);
        QString &cell = cells[f.roster.column - 1];
        if (!value.isEmpty())
            cell = cell.isEmpty() ? value : cell + QLatin1Char(' ') + value;
    }
    return cells;
}

Result<QStringList> documentRow(const QString &document)
{
    CollectedMessages quiet;
    FormPages pages;
    // The photo is nothing to a roster, and decoding it would be most of the work.
    if (const Result<> prepared = prepareDocument(document, pages, quiet, PhotoLoading::Skip); !prepared)
        return Failure{prepared.kind(), oneLineReason(prepared.failure())};
    return rowOf(pages);
}

std::optional<Format> formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return Format::Xlsx;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    return std::nullopt;
}

Report write(const QStringList &documents, const QString &path, int jobs, const BatchOutput::Progress &progress,
             bool replaceReadOnly)
{
    Report report;
    const std::optional<Format> format = formatOf(path);
    if (!format) {
        report.written = Failure{FailureKind::Usage, QStringLiteral("名册只能写成 .xlsx 或 .csv 文件")};
        return report;
    }
    std::unique_ptr<Sink> sink;
    if (*format == Format::Xlsx)
        sink = std::make_unique<XlsxSink>(path, replaceReadOnly);
    else
        sink = std::make_unique<CsvSink>(path, replaceReadOnly);
    if (report.written = sink->begin(headings()); !report.written)
        return report;

    // One document's outcome, made on a worker.
    struct Row {
        bool ok = false;
        QStringList cells;
        QString reason;
    };
    std::atomic<bool> stop{false};
    const int total = int(documents.size());
    runOrdered<Row>(
        total, BatchOutput::workersFor(jobs), 4 * std::max(1, jobs),
        [&](int i) -> Row {
            if (stop)
                return {};
            Result<QStringList> row = documentRow(documents.at(i));
            return row ? Row{true, std::move(row.value()), QString()} : Row{false, {}, row.failure().message};
        },
        [&](int i, Row &row) {
            if (stop)
                return;
            if (row.ok) {
                row.cells << documents.at(i);
                report.written = sink->addRow(row.cells);
                if (!report.written) {
                    stop = true;
                    return;
                }
                ++report.rows;
            } else {
                report.failed.append({documents.at(i), row.reason});
            }
            if (progress && !progress(i + 1, total))
                stop = report.stopped = true;
        });
    if (stop)
        return report;   // the sink goes with its temporary; the target stays as it was
    report.written = sink->finish(report.failed);
    return report;
}

} // namespace Roster
