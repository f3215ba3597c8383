#pragma once
#include "app/Interaction.h"
#include "render/FormPages.h"
#include <QList>
#include <QString>
#include <QStringList>

class DrawingSurface;

// A document on its way to paper without the window: the same path as the
// entry window's preview (load, checks, hand-off), then both pages.
namespace DocumentRender {

// Which pages to draw: both, or only page 1 or 2.
enum class Pages { Both = 0, One = 1, Two = 2 };

// Printer pens in device pixels at 600 dpi.
constexpr int kPrinterThick = 12;
constexpr int kPrinterThin = 6;

// Loads the document into `pages` (renderer variables, photo) with the
// résumé size reset to 12 as a load does. On failure the message has been
// shown through `ui` and false is returned.
bool prepareDocument(const QString &path, FormPages &pages, Interaction &ui);

// Draws page 1 (预览) or page 2 (DRAWTHEPHOTO) with the given pens.
void drawPage(FormPages &pages, DrawingSurface &surface, int page, int thick, int thin);

// The display list of the chosen pages, drawn as for the printer.
QString displayList(FormPages &pages, Pages which);

// Lays the chosen pages out without drawing; returns the messages raised.
QStringList layoutMessages(FormPages &pages, Pages which);

// Pens for a raster image at `dpi`: the printer pens scaled from 600 dpi,
// so that lines keep their printed weight; never below one pixel.
int scaledPen(int printerPen, int dpi);

// A document for a PDF and where its drawing messages go (may be null).
struct PdfDocument {
    FormPages *pages;
    Interaction *ui;
};

// Writes the chosen pages of every document into one PDF: B5 pages at 600
// dpi, printer pens, one PDF page per form page.
bool writePdf(const QString &outPath, const QList<PdfDocument> &documents, Pages which, QString *error);

// One page as a PNG image at `dpi` on white.
bool writePng(const QString &outPath, FormPages &pages, int page, int dpi, Interaction *ui, QString *error);

} // namespace DocumentRender
