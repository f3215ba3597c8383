#include "pages/DocumentRender.h"

#include "foundation/AppInfo.h"
#include "layout/DrawingSurface.h"
#include "layout/PainterSurface.h"
#include "layout/RecordingSurface.h"
#include "foundation/Twips.h"
#include "foundation/SafeFile.h"

#include <QDir>
#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Lays text out exactly as a drawing would, measures included, but keeps
// nothing except the messages raised.
class LayoutOnlySurface : public DrawingSurface {
public:
    QList<Failure> messages;

protected:
    void drawText(double, double, const QString &) override {}
    void drawLine(double, double, double, double) override {}
    void drawPicture(const QImage &, double, double, double, double) override {}
    void recordMessage(const Failure &message) override { messages << message; }
};

QList<int> pageNumbers(DocumentRender::Pages which)
{
    switch (which) {
    case DocumentRender::Pages::One: return {1};
    case DocumentRender::Pages::Two: return {2};
    case DocumentRender::Pages::Both: break;
    }
    return {1, 2};
}

} // namespace

namespace DocumentRender {

QPageSize pageSize(Paper paper)
{
    return paper == Paper::A4 ? QPageSize(QPageSize::A4) : QPageSize(QPageSize::JisB5);
}

void drawPage(FormPages &pages, DrawingSurface &surface, int page)
{
    if (page == 1)
        pages.drawPageOne(surface);
    else
        pages.drawPageTwo(surface);
}

QString displayList(FormPages &pages, Pages which, int *messages)
{
    RecordingSurface surface;
    for (int page : pageNumbers(which)) {
        surface.beginPage(page);
        drawPage(pages, surface, page);
    }
    if (messages)
        *messages = int(surface.messages().size());
    return surface.displayList();
}

QList<Failure> layoutMessages(FormPages &pages, Pages which)
{
    LayoutOnlySurface surface;
    for (int page : pageNumbers(which))
        drawPage(pages, surface, page);
    return surface.messages;
}

PdfBook::PdfBook(const QString &outPath, Paper paper, bool replaceReadOnly)
    : m_path(outPath), m_paper(paper), m_replaceReadOnly(replaceReadOnly) {}

PdfBook::~PdfBook()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

Failure notWritten(const char *kind, const QString &path, const QString &reason)
{
    QString text = QLatin1String(kind) + QStringLiteral(" 文件未能写入：") + QDir::toNativeSeparators(path);
    if (!reason.isEmpty())
        text += QStringLiteral("\r\n") + reason;
    return Failure{FailureKind::FileSystem, text};
}

Result<> PdfBook::open()
{
    // Through a temporary file: a failed or interrupted export never leaves a
    // half-written PDF in place of an earlier one.
    m_file = std::make_unique<SafeFile>(m_path);
    m_file->setReplaceReadOnly(m_replaceReadOnly);
    if (!m_file->open(QIODevice::WriteOnly)) {
        const Failure failed = notWritten("PDF", m_path, m_file->failureReason());
        m_file.reset();
        return failed;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setResolution(600);
    m_writer->setPageSize(pageSize(m_paper));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    m_writer->setCreator(AppInfo::programName());
    m_writer->setTitle(AppInfo::title());
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_writer.get())) {
        m_writer.reset();
        m_file.reset();
        return notWritten("PDF", m_path, QString());
    }
    m_painter = std::move(painter);
    return {};
}

void PdfBook::nextPage()
{
    if (!m_first)
        m_writer->newPage();
    m_first = false;
}

void PdfBook::addDocument(FormPages &pages, Pages which, Interaction *ui)
{
    for (int page : pageNumbers(which)) {
        nextPage();
        PainterSurface surface(m_painter.get(), 600);
        surface.setInteraction(ui);
        drawPage(pages, surface, page);
    }
}

void PdfBook::addRecorded(const RecordingSurface &recorded)
{
    PainterSurface surface(m_painter.get(), 600);
    recorded.replay(surface, [this](int) { nextPage(); });
}

Result<> PdfBook::finish()
{
    const bool ended = m_painter && m_painter->end();
    const bool committed = ended && m_file && m_file->commit();
    Result<> result;
    if (!committed)
        result = notWritten("PDF", m_path, m_file ? m_file->failureReason() : QString());
    m_painter.reset();
    m_writer.reset();
    m_file.reset();   // an uncommitted file is discarded, the earlier one stays
    return result;
}

Result<> writePdf(const QString &outPath, const QList<PdfDocument> &documents, Pages which, Paper paper,
                  bool replaceReadOnly)
{
    PdfBook book(outPath, paper, replaceReadOnly);
    if (const Result<> opened = book.open(); !opened)
        return opened;
    for (const PdfDocument &doc : documents)
        book.addDocument(*doc.pages, which, doc.ui);
    return book.finish();
}

std::unique_ptr<RecordingSurface> recordPages(FormPages &pages, Pages which, Interaction *ui)
{
    auto surface = std::make_unique<RecordingSurface>();
    surface->setKeepPictures(true);
    surface->setInteraction(ui);
    for (int page : pageNumbers(which)) {
        surface->beginPage(page);
        drawPage(pages, *surface, page);
    }
    return surface;
}

Result<> writePng(const QString &outPath, FormPages &pages, int page, int dpi, Interaction *ui, Paper paper,
                  bool replaceReadOnly)
{
    const QSizeF sheet = pageSize(paper).size(QPageSize::Millimeter);
    const int width = roundHalfEven(sheet.width() / 25.4 * dpi);
    const int height = roundHalfEven(sheet.height() / 25.4 * dpi);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return Failure{FailureKind::OutOfMemory, QStringLiteral("%1 x %2 像素的图像太大，内存不够").arg(width).arg(height)};
    image.fill(Qt::white);
    image.setDotsPerMeterX(roundHalfEven(dpi / 0.0254));
    image.setDotsPerMeterY(roundHalfEven(dpi / 0.0254));
    {
        QPainter painter(&image);
        PainterSurface surface(&painter, dpi);
        surface.setInteraction(ui);
        drawPage(pages, surface, page);
    }
    // Encoded in memory first: a failed write is then reported once, in
    // Chinese, and never also as the PNG library's own English complaint.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return notWritten("PNG", outPath, QStringLiteral("图像编码失败"));
    SafeFile file(outPath);
    file.setReplaceReadOnly(replaceReadOnly);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit())
        return notWritten("PNG", outPath, file.failureReason());
    return {};
}

} // namespace DocumentRender
