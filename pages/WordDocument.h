#pragma once
#include "foundation/Result.h"
#include "pages/DocumentRender.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <memory>

class QXmlStreamWriter;
class RecordingSurface;

// The form as an editable Word document (.docx): each page a table with a
// fixed layout whose columns, rows, borders and texts are read off what the
// pages draw, so that Word shows our layout and not one of its own.
namespace WordDocument {

class TextStyles;

// Writes the chosen pages of every document into one .docx, one Word page
// per form page. Messages raised while laying out go to each document's
// interaction, as for a PDF. A read-only file of that name is replaced only
// when `replaceReadOnly`.
// The pages are of `paper` (B5 as printers know it, 10318 x 14570 twips,
// unless A4), the form at the same place as in a PDF.
Result<> writeDocx(const QString &outPath, const QList<DocumentRender::PdfDocument> &documents,
                   DocumentRender::Pages which, DocumentRender::Paper paper = DocumentRender::Paper::B5,
                   bool replaceReadOnly = false);

// A Word document built page by page and written at the end; until then
// an earlier file of the name stays. Used from one thread.
class WordBook {
public:
    explicit WordBook(const QString &outPath, DocumentRender::Paper paper = DocumentRender::Paper::B5,
                      bool replaceReadOnly = false);
    ~WordBook();
    // Lays out and adds the chosen pages of a document.
    void addDocument(FormPages &pages, DocumentRender::Pages which, Interaction *ui);
    // Adds pages recorded by DocumentRender::recordPages, one per page marker.
    void addRecorded(const RecordingSurface &recorded);
    int pageCount() const { return m_pages; }
    // Writes the package.
    Result<> finish();

    // A page's sheet and margins, in twips.
    struct Margins {
        int width = 0, height = 0;
        int top = 0, left = 0, right = 0, bottom = 0;
    };

private:
    void writeSectionEnd(bool last);

    QString m_path;
    QSize m_sheet;
    bool m_replaceReadOnly;
    QString m_body;      // what the writer has written since the last document
    QByteArray m_bytes;  // document.xml so far
    std::unique_ptr<QXmlStreamWriter> m_xml;
    Margins m_pending;   // the last page's section, written once the next page begins
    QList<QByteArray> m_media;
    std::unique_ptr<TextStyles> m_styles;
    int m_pages = 0;
};

} // namespace WordDocument
