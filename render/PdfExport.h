#pragma once
#include "app/Interaction.h"
#include "render/FormPages.h"
#include <QString>

// Both pages of the form written as a PDF of B5 sheets (176 x 250 mm), one
// sheet per form page, drawn exactly as the printer draws them: full-page
// coordinates from the sheet's corner, pens 12 and 6 at kPdfResolution.
// The preview's "导出PDF" and the command line share this one routine so
// that the two files never differ.
constexpr int kPdfResolution = 600;
constexpr int kPrintThickPen = 12;   // XIANKUAN1 on the printer
constexpr int kPrintThinPen = 6;     // XIANKUAN2 on the printer

enum PdfPages { PdfPageOne = 1, PdfPageTwo = 2, PdfBothPages = 3 };

// Writes atomically: on failure the file at `path` is left as it was and
// `error` says why. Messages raised while drawing go to `ui` when given.
bool writeFormPdf(FormPages &pages, const QString &path, Interaction *ui, QString *error,
                  int whichPages = PdfBothPages);
