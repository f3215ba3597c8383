#pragma once
#include "foundation/Interaction.h"
#include "pages/FormPages.h"
#include "foundation/Result.h"
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <memory>

class DrawingSurface;
class QPainter;
class QPdfWriter;
class SafeFile;
class RecordingSurface;

// A document's pages on their way to paper without the window: display
// list, PDF, PNG.
namespace DocumentRender {

// Which pages to draw: both, or only page 1 or 2.
enum class Pages { Both = 0, One = 1, Two = 2 };

// The sheet a PDF or PNG is made on: B5 as printers know it (182 x 257 mm,
// the preview's paper and the print dialog's B5 box) or A4. The form stands
// at the same place from the sheet's top-left corner on either.
enum class Paper { B5, A4 };
QPageSize pageSize(Paper paper);

// Draws page 1 (drawPageOne) or page 2 (drawPageTwo).
void drawPage(FormPages &pages, DrawingSurface &surface, int page);

// The display list of the chosen pages;
// `messages` receives the number of messages raised while drawing.
QString displayList(FormPages &pages, Pages which, int *messages = nullptr);

// Lays the chosen pages out without drawing; returns the messages raised.
QList<Failure> layoutMessages(FormPages &pages, Pages which);

// "PDF 文件未能写入：<path>" for a `kind` of file ("PDF", "PNG", "Word"),
// the system's reason (if any) on a line of its own.
Failure notWritten(const char *kind, const QString &path, const QString &reason);

// A document for a PDF and where its drawing messages go (may be null).
struct PdfDocument {
    FormPages *pages;
    Interaction *ui;
};

// Writes the chosen pages of every document into one PDF: pages of `paper`
// at 600 dpi, one PDF page per form page.
// A read-only file of that name is replaced only when `replaceReadOnly`.
Result<> writePdf(const QString &outPath, const QList<PdfDocument> &documents, Pages which,
                  Paper paper = Paper::B5, bool replaceReadOnly = false);

// The chosen pages drawn into a recording that keeps the
// photo, to be painted later (possibly on another thread) by PdfBook.
// Messages raised while drawing go to `ui` (may be null) now.
std::unique_ptr<RecordingSurface> recordPages(FormPages &pages, Pages which, Interaction *ui);

// A PDF of pages at 600 dpi written one document after another, so that
// only the document being painted is held. Painted from one thread.
class PdfBook {
public:
    explicit PdfBook(const QString &outPath, Paper paper = Paper::B5, bool replaceReadOnly = false);
    ~PdfBook();
    Result<> open();
    bool isOpen() const { return m_painter != nullptr; }
    // Draws the chosen pages of a document.
    void addDocument(FormPages &pages, Pages which, Interaction *ui);
    // Paints pages recorded by recordPages, one PDF page per page marker.
    void addRecorded(const RecordingSurface &recorded);
    // Completes the file; until then an earlier file of the name stays.
    Result<> finish();

private:
    void nextPage();

    QString m_path;
    Paper m_paper;
    bool m_replaceReadOnly;
    std::unique_ptr<SafeFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    bool m_first = true;
};

// One page as a PNG image of the sheet at `dpi` on white.
// A read-only file of that name is replaced only when `replaceReadOnly`.
Result<> writePng(const QString &outPath, FormPages &pages, int page, int dpi, Interaction *ui,
                  Paper paper = Paper::B5, bool replaceReadOnly = false);

} // namespace DocumentRender
