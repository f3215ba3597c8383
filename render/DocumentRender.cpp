#include "render/DocumentRender.h"

#include "app/AppInfo.h"
#include "entry/FieldChecks.h"
#include "layout/DrawingSurface.h"
#include "layout/PainterSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/Twips.h"
#include "model/AppointmentRecord.h"
#include "model/DocumentFile.h"
#include "model/RendererHandoff.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

// Lays text out exactly as a drawing would, measures included, but keeps
// nothing except the messages raised.
class LayoutOnlySurface : public DrawingSurface {
public:
    QStringList messages;

protected:
    void drawText(double, double, const QString &) override {}
    void drawLine(double, double, double, double) override {}
    void drawPicture(const QImage &, double, double, double, double) override {}
    void recordMessage(const QString &, const QString &text, MessageIcon) override { messages << text; }
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

bool prepareDocument(const QString &path, FormPages &pages, Interaction &ui)
{
    pages.resumeFontSize = 12;   // a load starts the résumé afresh
    AppointmentRecord record;
    if (!loadDocumentFile(path, record, ui))
        return false;
    FieldCheckFailure failure;
    if (!CheckAllFields(record, &failure)) {
        ui.message(AppInfo::title(), failure.message, MessageIcon::Exclamation);
        return false;
    }
    if (!FillRenderer(record, pages, ui))
        return false;
    pages.takePhoto(record);
    return true;
}

void drawPage(FormPages &pages, DrawingSurface &surface, int page, int thick, int thin)
{
    if (page == 1)
        pages.预览(surface, thick, thin);
    else
        pages.DRAWTHEPHOTO(surface, thick, thin);
}

QString displayList(FormPages &pages, Pages which)
{
    RecordingSurface surface;
    for (int page : pageNumbers(which)) {
        surface.beginPage(page);
        drawPage(pages, surface, page, kPrinterThick, kPrinterThin);
    }
    return surface.displayList();
}

QStringList layoutMessages(FormPages &pages, Pages which)
{
    LayoutOnlySurface surface;
    for (int page : pageNumbers(which))
        drawPage(pages, surface, page, kPrinterThick, kPrinterThin);
    return surface.messages;
}

int scaledPen(int printerPen, int dpi)
{
    return qMax(1, roundHalfEven(printerPen * dpi / 600.0));
}

bool writePdf(const QString &outPath, const QList<PdfDocument> &documents, Pages which, QString *error)
{
    // Through a temporary file: a failed or interrupted export never leaves a
    // half-written PDF in place of an earlier one.
    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(outPath, file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QSizeF(kPaperWidthMm, kPaperHeightMm), QPageSize::Millimeter,
                                 QStringLiteral("B5"), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(AppInfo::programName());
    writer.setTitle(AppInfo::title());

    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(outPath);
        return false;
    }
    bool first = true;
    for (const PdfDocument &doc : documents) {
        for (int page : pageNumbers(which)) {
            if (!first)
                writer.newPage();
            first = false;
            PainterSurface surface(&painter, 600);
            surface.setInteraction(doc.ui);
            drawPage(*doc.pages, surface, page, kPrinterThick, kPrinterThin);
        }
    }
    if (!painter.end() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(outPath);
        return false;
    }
    return true;
}

bool writePng(const QString &outPath, FormPages &pages, int page, int dpi, Interaction *ui, QString *error)
{
    const int width = roundHalfEven(kPaperWidthMm / 25.4 * dpi);
    const int height = roundHalfEven(kPaperHeightMm / 25.4 * dpi);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("image of %1 x %2 pixels too large").arg(width).arg(height);
        return false;
    }
    image.fill(Qt::white);
    image.setDotsPerMeterX(roundHalfEven(dpi / 0.0254));
    image.setDotsPerMeterY(roundHalfEven(dpi / 0.0254));
    {
        QPainter painter(&image);
        PainterSurface surface(&painter, dpi);
        surface.setInteraction(ui);
        drawPage(pages, surface, page, scaledPen(kPrinterThick, dpi), scaledPen(kPrinterThin, dpi));
    }
    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(outPath);
        return false;
    }
    return true;
}

} // namespace DocumentRender
