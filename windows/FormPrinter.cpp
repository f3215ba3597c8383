#include "windows/FormPrinter.h"
#include "layout/PainterSurface.h"
#include "foundation/TextUtilities.h"
#include "pages/DocumentRender.h"
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace FormPrinter {

PrinterChooser systemPrinterDialog(QWidget *parent)
{
    return [parent](QPrinter &printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

QString pagePrompt()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("请选择打印的页：") + crlf + crlf
        + QStringLiteral("    0 - 两页均不打印") + crlf
        + QStringLiteral("    1 - 打印第一页") + crlf
        + QStringLiteral("    2 - 打印第二页") + crlf
        + QStringLiteral("    3 - 两页均打印");
}

QString pagePromptTitle() { return QStringLiteral("请选择打印的页"); }

int pagesFromAnswer(const QString &answer)
{
    const QString a = trimSpaces(answer);
    if (a == QLatin1String("1"))
        return 1;
    if (a == QLatin1String("2"))
        return 2;
    if (a == QLatin1String("3"))
        return 3;
    return 0;
}

int askPages(Interaction &ui)
{
    QString answer;
    if (!ui.inputText(pagePromptTitle(), pagePrompt(), QStringLiteral("3"), &answer))
        return 0;
    return pagesFromAnswer(answer);
}

void setUpForForm(QPrinter &printer, bool b5)
{
    // Paper-size code 13 of the printer drivers: B5 as 182 x 257 mm, the
    // sheet trays hold for "B5或16开" paper, and the sheet of the preview and the PDF.
    if (b5)
        printer.setPageSize(DocumentRender::pageSize(DocumentRender::Paper::B5));
    // The drawing is laid out for an upright sheet whatever the dialog chose.
    printer.setPageOrientation(QPageLayout::Portrait);
    // Coordinates from the paper's corner, as on the preview and in the PDF.
    printer.setFullPage(true);
}

int print(FormPages &pages, Interaction &ui, bool b5, const PrinterChooser &choose)
{
    const int which = askPages(ui);
    if (which == 0)
        return 0;

    // From here on every failure ends the command silently.
    QPrinter printer(QPrinter::HighResolution);
    if (!choose || !choose(printer))
        return 0;
    setUpForForm(printer, b5);

    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    PainterSurface surface(&painter, printer.resolution());
    surface.setInteraction(&ui);
    const QList<int> chosen = which == 3 ? QList<int>{1, 2} : QList<int>{which};
    int printed = 0;
    for (int page : chosen) {
        if (printed > 0 && !printer.newPage())
            return 0;
        DocumentRender::drawPage(pages, surface, page);
        ++printed;
    }
    if (!painter.end())
        return 0;
    return printed;
}

}
