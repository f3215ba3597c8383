#include "commands/DocumentPipeline.h"
#include "layout/RecordingSurface.h"
#include "pages/WordDocument.h"
#include "support/DocumentTestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <sys/stat.h>

namespace {

// What document.xml holds, page by page: each table's column widths and the
// texts of its cell paragraphs (pieces joined by tabs).
struct WordPage {
    int gridWidth = 0;
    QStringList cellTexts;
};
struct WordBody {
    QList<WordPage> tables;
    int sections = 0, pictures = 0;
    bool wellFormed = false;
    QStringList pageSizes;
};

WordBody readBody(const QByteArray &xml)
{
    WordBody body;
    QXmlStreamReader r(xml);
    int cellDepth = 0;
    QString paragraph;
    while (!r.atEnd()) {
        r.readNext();
        const QStringView name = r.qualifiedName();
        if (r.isStartElement()) {
            if (name == u"w:tbl")
                body.tables.append(WordPage());
            else if (name == u"w:gridCol")
                body.tables.last().gridWidth += r.attributes().value(QLatin1String("w:w")).toInt();
            else if (name == u"w:tc")
                ++cellDepth;
            else if (name == u"w:p")
                paragraph.clear();
            else if (name == u"w:tab" && r.attributes().isEmpty())
                paragraph += QLatin1Char('\t');
            else if (name == u"w:t")
                paragraph += r.readElementText();
            else if (name == u"w:sectPr")
                ++body.sections;
            else if (name == u"w:pgSz")
                body.pageSizes << r.attributes().value(QLatin1String("w:w")).toString() + QLatin1Char('x') + r.attributes().value(QLatin1String("w:h")).toString();
            else if (name == u"wp:inline")
                ++body.pictures;
        } else if (r.isEndElement()) {
            if (name == u"w:tc")
                --cellDepth;
            else if (name == u"w:p" && cellDepth > 0 && !paragraph.isEmpty())
                body.tables.last().cellTexts << paragraph;
        }
    }
    body.wellFormed = !r.hasError();
    return body;
}

} // namespace

class TestWordExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // Each page is a table as wide as the form's frame; every text the page
    // draws is in a cell, spaced-out labels split where they are spaced; the
    // photo is there; one section a page.
    void pagesAsTables()
    {
        QList<FormPages> pages(2);
        QList<CollectedMessages> messages(2);
        for (int i : {0, 1})
            QVERIFY(prepareDocument(sample(i ? "long_posts.dwz" : "typical.dwz"), pages[i], messages[i]));
        const QString out = m_dir.filePath(QStringLiteral("two.docx"));
        QVERIFY(WordDocument::writeDocx(out, {{&pages[0], &messages[0]}, {&pages[1], &messages[1]}},
                                        DocumentRender::Pages::Both));
        const WordBody body = readBody(zipMember(out, "word/document.xml"));
        QCOMPARE((QList<qsizetype>{body.tables.size(), body.sections, body.pictures}), (QList<qsizetype>{4, 4, 2}));
        QCOMPARE(body.pageSizes, QStringList(4, QStringLiteral("10318x14570")));
        QVERIFY(!QImage::fromData(zipMember(out, "word/media/image1.jpeg")).isNull());
        for (const char *part : {"[Content_Types].xml", "_rels/.rels", "word/_rels/document.xml.rels", "word/styles.xml",
                                 "word/settings.xml", "docProps/core.xml", "docProps/app.xml"})
            QVERIFY2(!zipMember(out, part).isEmpty(), part);

        for (int doc = 0; doc < 2; ++doc) {
            std::unique_ptr<RecordingSurface> drawn = DocumentRender::recordPages(pages[doc], DocumentRender::Pages::Both, nullptr);
            int page = -1;
            for (const RecordingSurface::Op &op : drawn->ops()) {
                if (op.kind == RecordingSurface::Op::Page)
                    ++page;
                if (op.kind != RecordingSurface::Op::Text || op.y < pages[doc].margins.top)
                    continue;   // the title and the fill-in line are outside the table
                const WordPage &table = body.tables.at(doc * 2 + page);
                QCOMPARE(table.gridWidth, pages[doc].margins.tableWidth);
                for (const QString &piece : op.text.split(QRegularExpression(QStringLiteral(" {2,}")), Qt::SkipEmptyParts)) {
                    const bool inCell = std::any_of(table.cellTexts.cbegin(), table.cellTexts.cend(),
                                                    [&](const QString &t) { return t.split(QLatin1Char('\t')).contains(piece); });
                    QVERIFY2(inCell || op.y > pages[doc].margins.top + pages[doc].margins.tableHeight, qPrintable(piece));
                }
            }
        }
    }

    // A read-only file is replaced only when asked; a failed write leaves it whole.
    void readOnlyTargetKept()
    {
        FormPages pages;
        CollectedMessages quiet;
        QVERIFY(prepareDocument(sample("older.ren"), pages, quiet));
        const QString out = m_dir.filePath(QStringLiteral("ro.docx"));
        QVERIFY(writeBytes(out, "kept") && ::chmod(QFile::encodeName(out).constData(), 0444) == 0);
        const Result<> refused = WordDocument::writeDocx(out, {{&pages, nullptr}}, DocumentRender::Pages::One);
        QVERIFY(!refused && refused.error().startsWith(QStringLiteral("Word 文件未能写入")) && readAll(out) == "kept");
        // Control characters in a field leave the XML well-formed.
        pages.name = QStringLiteral("张\x01三\t四");
        QVERIFY(WordDocument::writeDocx(out, {{&pages, nullptr}}, DocumentRender::Pages::One,
                                        DocumentRender::Paper::B5, true));
        const WordBody body = readBody(zipMember(out, "word/document.xml"));
        QVERIFY(body.wellFormed && body.tables.size() == 1 && body.tables[0].cellTexts.contains(QStringLiteral("张 三 四")));
    }
};

QTEST_MAIN(TestWordExport)
#include "tst_wordexport.moc"
