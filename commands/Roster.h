#pragma once
#include "commands/BatchOutput.h"
#include "foundation/Result.h"
#include "pages/FormPages.h"

#include <QString>
#include <QStringList>
#include <optional>

// The roster of many documents: one row per document, in the order given,
// its cells the texts the form prints, under the form's labels, the
// document's path last. A spreadsheet (.xlsx) or a CSV file; the documents
// that fail the checks get no row and are listed with their reason.
namespace Roster {

// The column headings, the document's file last.
QStringList headings();

// The cells of one prepared document as page one prints them, without the
// file column.
QStringList rowOf(const FormPages &pages);

// One document loaded, checked and handed off as for printing; its cells,
// or why it gets no row (one line).
Result<QStringList> documentRow(const QString &document);

enum class Format { Xlsx, Csv };
// By the file's extension, in any letter case; none for any other.
std::optional<Format> formatOf(const QString &path);

struct Report {
    int rows = 0;                            // documents in the roster
    QList<BatchOutput::Problem> failed;      // in the order given, reasons on one line
    bool stopped = false;                    // the progress asked to stop: nothing written
    Result<> written;                        // the file could not be written: why
};

// Writes the roster of `documents` to `path` (its format by its extension)
// through a temporary file: the target is replaced only by a whole roster,
// and stays as it was when writing fails or the progress stops. The
// spreadsheet lists the failed documents on a second sheet; a CSV file has
// only the rows. Documents are loaded on `jobs` threads.
Report write(const QStringList &documents, const QString &path, int jobs, const BatchOutput::Progress &progress,
             bool replaceReadOnly = false);

} // namespace Roster
