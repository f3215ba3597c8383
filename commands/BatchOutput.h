#pragma once
#include "pages/DocumentRender.h"
#include "record/PageMargins.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class RecordingSurface;

// Many saved documents at once, from the editor: check them all, then draw
// the good ones one after another onto a printer or a PDF. Documents are
// loaded and laid out on several threads and painted on the calling one,
// in the order given; only the documents in flight are held.
namespace BatchOutput {

// Progress after each document: (done, total); false asks to stop.
using Progress = std::function<bool(int done, int total)>;

struct Problem {
    QString document;
    // Why it fails (a refused field without its request to try again: a
    // list is nothing to try again from), or the first layout warning.
    QString message;
};

// One document loaded, checked and laid out as the preview would, with
// every message it raised.
struct DocumentCheck {
    Result<> prepared = Failure{FailureKind::Other, QStringLiteral("没有检查")};   // or why it was refused
    QStringList loadMessages;     // raised while loading that did not stop it (a damaged photo)
    QStringList layoutMessages;   // texts that do not fit their cells, when prepared
};
DocumentCheck checkDocument(const QString &document, const PageMargins &margins);

struct CheckReport {
    QStringList passed;       // in the order given
    QList<Problem> failed;    // load, check or hand-off refused it: not drawn
    QList<Problem> warned;    // drawn, but a text does not fit its cell
    bool stopped = false;
};

// Loads, checks and lays out every document as the preview would.
CheckReport checkDocuments(const QStringList &documents, const PageMargins &margins, int jobs,
                           const Progress &progress);

// Records the chosen pages of every document with printer pens on the
// workers and hands each recording to `paint` on the calling thread, in
// order. Messages raised while drawing are not shown again (the check
// reported them). Returns the number of documents painted (fewer when
// stopped or when one no longer loads).
int drawDocuments(const QStringList &documents, const PageMargins &margins, DocumentRender::Pages which,
                  int jobs, const std::function<void(const RecordingSurface &)> &paint,
                  const Progress &progress);

// A file name per document for a folder, ending in `suffix` (".pdf"): its
// base name, and for every further document of the same name (letter case
// aside) " (2)", " (3)" ..., so that no document replaces the file of
// another in the same run.
QStringList outputNamesFor(const QStringList &documents, const QString &suffix);

// What a folder export writes for each document.
enum class Format { Pdf, Word };
// The ending of its files' names: ".pdf" or ".docx".
QString suffixOf(Format format);

// One PDF or Word document per document (both pages) into `folder`, named by outputNamesFor, on
// several threads. A document that fails to load, check or write is listed
// with its reason and the others go on; `written` holds the files made, in
// the order given.
struct FolderReport {
    QStringList written;
    QList<Problem> failed;
    bool stopped = false;
};
FolderReport exportToFolder(const QStringList &documents, const PageMargins &margins, const QString &folder,
                            int jobs, const Progress &progress, Format format = Format::Pdf);

// One job per processor.
int defaultJobs();
// The threads besides the calling one that `jobs` jobs take (runOrdered).
int workersFor(int jobs);

} // namespace BatchOutput
