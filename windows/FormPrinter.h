#pragma once
#include "foundation/Interaction.h"
#include "pages/FormPages.h"
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPdfWriter;
class QPrinter;
class QWidget;
class SafeFile;

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

// Where the pages of one print go: the printer, or, when the print dialog
// chose to print to a PDF file, that file written through a temporary file
// that replaces it only once complete, like every file the program writes.
class PrintJob {
public:
    explicit PrintJob(QPrinter &printer);
    ~PrintJob();
    // The painter is ready; a failure says why.
    Result<> begin();
    QPainter &painter() { return *m_painter; }
    double resolution() const;
    bool newPage();
    // Sends the job or completes the file; a failure says why.
    Result<> end();
    // Drops the job: nothing printed, an earlier file stays.
    void abort();

private:
    QPrinter &m_printer;
    std::unique_ptr<SafeFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
};

// printPages: asks for the pages, lets `choose` pick the printer, and prints
// page one, page two or both (a new page between them) in full-page
// coordinates, with the pens of the preview and the PDF. B5 paper when `b5`
// is set; always portrait. A cancel ends without a message; a printer or file
// failure is reported once the painter has ended, after any message the
// drawing raised. Returns the number of pages sent to the printer.
// Messages the drawing raised go to `drawingMessages` when given (the
// preview says each of those once), else to `ui` like the printer's own.
int print(FormPages &pages, Interaction &ui, bool b5, const PrinterChooser &choose,
          Interaction *drawingMessages = nullptr);

}
