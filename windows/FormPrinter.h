#pragma once
#include "foundation/Interaction.h"
#include "pages/FormPages.h"
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Printing both pages of the form (the preview window's "打印").
namespace FormPrinter {

// Chooses and sets up the printer; false when the user cancels. The window
// shows the system printer dialog; tests hand in a PDF printer instead.
using PrinterChooser = std::function<bool(QPrinter &printer)>;
PrinterChooser systemPrinterDialog(QWidget *parent);

QString pagePrompt();          // the input box's text, with its CR LF breaks
QString pagePromptTitle();     // "请选择打印的页"
// The trimmed answer as 1, 2 or 3; anything else is 0 (print nothing).
int pagesFromAnswer(const QString &answer);
// Asks for the pages with the input box: 1, 2, 3, or 0 when cancelled or
// answered otherwise.
int askPages(Interaction &ui);
// A chosen printer set up for the form: B5 paper when `b5`, upright, and
// coordinates from the paper's corner.
void setUpForForm(QPrinter &printer, bool b5);

// printPages: asks for the pages, lets `choose` pick the printer, and prints
// page one, page two or both (a new page between them) in full-page
// coordinates, with the pens of the preview and the PDF. B5 paper when `b5` is set; always portrait.
// A cancel or a printer error ends without a message. Returns the number
// of pages sent to the printer.
int print(FormPages &pages, Interaction &ui, bool b5, const PrinterChooser &choose);

}
