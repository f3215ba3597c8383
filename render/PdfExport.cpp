#include "render/PdfExport.h"
#include "app/AppInfo.h"
#include "layout/PainterSurface.h"
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

bool writeFormPdf(FormPages &pages, const QString &path, Interaction *ui, QString *error,
                  int whichPages)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!(whichPages & PdfBothPages))
        return fail(QStringLiteral("没有要输出的页"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());

    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(QPageSize::B5));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(AppInfo::programName());
        writer.setTitle(AppInfo::title());

        QPainter painter;
        if (!painter.begin(&writer))
            return fail(QStringLiteral("PDF 无法开始写入"));
        PainterSurface surface(&painter, kPdfResolution);
        surface.setInteraction(ui);
        if (whichPages & PdfPageOne)
            pages.预览(surface, kPrintThickPen, kPrintThinPen);
        if ((whichPages & PdfPageOne) && (whichPages & PdfPageTwo))
            writer.newPage();
        if (whichPages & PdfPageTwo)
            pages.DRAWTHEPHOTO(surface, kPrintThickPen, kPrintThinPen);
        if (!painter.end())
            return fail(QStringLiteral("PDF 写入失败"));
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
