#pragma once
#include "commands/BatchOutput.h"
#include "windows/FormPrinter.h"
#include <QString>
#include <QStringList>

class Interaction;
class QWidget;
struct PageMargins;

// "批量打印": several saved documents checked together, the failing ones
// listed with their reason, the good ones printed in one print job,
// exported as one PDF or Word document or as one each into a folder, with a
// progress the clerk can stop.
class BatchCommands {
public:
    BatchCommands(Interaction &ui, const PageMargins &margins, QWidget *parent);

    // The printer dialog; tests hand in a PDF printer.
    FormPrinter::PrinterChooser printerChooser;
    // Documents laid out at once.
    int jobs;
    // Print on B5 paper ("B5或16开纸打印"), as the preview's box does.
    bool b5 = false;

    // Each returns the number of documents printed or exported.
    int printDocuments();
    int exportDocuments(BatchOutput::Format format = BatchOutput::Format::Pdf);
    // One PDF (or Word document) per document, named after it ("name.pdf",
    // "name (2).pdf" for namesakes), into a folder the clerk chooses.
    int exportDocumentsToFolder(BatchOutput::Format format = BatchOutput::Format::Pdf);
    // One row per document in a spreadsheet or CSV file ("导出名册"); the
    // failing ones are named in the closing message. Returns the rows written.
    int exportRoster();

    static QString title() { return QStringLiteral("批量打印"); }

private:
    // Asks for the documents and checks them; the good ones, or none when
    // the clerk stops or nothing passes.
    QStringList chooseAndCheck(const QString &action);

    Interaction &m_ui;
    const PageMargins &m_margins;
};
