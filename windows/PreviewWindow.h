#pragma once
#include "foundation/Interaction.h"
#include "pages/FormPages.h"
#include "windows/FormPrinter.h"
#include "windows/PreviewZoom.h"
#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QScrollBar;
class QWidget;
class PaperPicture;

// The window's interaction for drawing: a message the drawing raises is
// shown once per opening, not again when the same pages are printed or
// exported; everything else passes through.
class OncePerPreview : public Interaction {
public:
    explicit OncePerPreview(Interaction &ui) : m_ui(ui) {}
    void forgetShown() { m_shown.clear(); }

    void message(const QString &title, const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &title, const QString &text) override { return m_ui.askYesNoCancel(title, text); }
    bool askYesNo(const QString &title, const QString &text) override { return m_ui.askYesNo(title, text); }
    QString openFileName(const QString &title, const QString &startPath, const QString &filter) override
    {
        return m_ui.openFileName(title, startPath, filter);
    }
    QString saveFileName(const QString &title, const QString &startPath, const QString &filter) override
    {
        return m_ui.saveFileName(title, startPath, filter);
    }
    bool inputText(const QString &title, const QString &prompt, const QString &defaultText, QString *answer) override
    {
        return m_ui.inputText(title, prompt, defaultText, answer);
    }
    void setBusy(bool busy) override { m_ui.setBusy(busy); }

private:
    Interaction &m_ui;
    QStringList m_shown;
};

// The renderer window: both pages of the form as they will print, one at a
// time, on paper that scrolls and drags inside a viewport; prints them and
// exports them as a PDF. Positions are kept in twips of the sheet and shown
// at the screen's resolution times the zoom. The window opens at the size
// and zoom it was left at (within the screen) and can be resized and
// maximised; the sheet follows the window at page width and whole page.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    // Draws from `pages`, which the caller keeps: the entry window's
    // renderer variables, margins and photo, filled by every hand-off.
    PreviewWindow(FormPages &pages, Interaction &ui, QWidget *parent = nullptr);
    // Draws from renderer variables of its own.
    explicit PreviewWindow(Interaction &ui, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    FormPages &pages() { return *m_pages; }

    // Set-up and modal display: draws both pages afresh from pages().
    int showModal();

    // Run once each time the window closes.
    std::function<void()> onUnload;
    // The printer dialog of "打印"; the system dialog unless replaced.
    FormPrinter::PrinterChooser printerChooser;
    // The drag cursor file; by default 资源/H_MOVE.CUR beside the program.
    QString cursorPath;

    static constexpr double kPaperWidth = kPaperWidthTwips;    // B5
    static constexpr double kPaperHeight = kPaperHeightTwips;
    static constexpr double kViewportWidth = 11625;    // at the first opening
    static constexpr double kViewportHeight = 7665;
    static constexpr int kPaperTopAtZero = 1080;     // Top = 1080 - Value

    // What the window's controls do, public so the window can be driven step by step.
    void setUp();
    void drawAndShowPage(int pageNumber);
    void showPageOne();      // "上页"
    void showPageTwo();      // "下页"
    void scrollPageOne();
    void scrollPageTwo();
    // Dragging a paper up and down with the mouse; y in twips of the sheet.
    void startPaperDrag(double y);
    void dragPaper(int index, Qt::MouseButtons buttons, double y);
    void endPaperDrag();
    // Zoom: Ctrl+Plus, Ctrl+Minus, Ctrl+0 (100 %), the wheel with Ctrl, the
    // zoom box (page width, whole page, fixed steps).
    void setZoom(PreviewZoom zoom);
    void zoomIn();
    void zoomOut();
    PreviewZoom zoom() const { return m_zoom; }
    double zoomScale() const;   // the scale shown now
    int printPages();        // pages printed
    bool exportPdf();        // "导出PDF"; true when a file was written
    bool exportWord();       // "导出Word"; the same rules, a .docx
    void unload();

    // What the window shows, for its users and tests.
    QWidget *paper(int index) const;
    double paperTop(int index) const { return m_top[index]; }   // twips of the sheet below paperViewport's top
    const QImage &paperImage(int index) const { return m_paper[index]; }   // at 100 %
    const QImage &shownImage(int index);   // at the zoom shown, drawn when first needed
    double screenDpi() const { return m_dpi; }
    int twipsToPixels(double twips) const;
    double pixelsToTwips(double pixels) const;
    bool dragging() const { return m_dragging; }

    QWidget *paperViewport = nullptr;
    QScrollBar *pageOneScrollBar = nullptr;
    QScrollBar *pageTwoScrollBar = nullptr;
    QScrollBar *sidewaysScrollBar = nullptr;   // when the sheet is wider than the viewport
    QComboBox *zoomBox = nullptr;
    QPushButton *cmdPageOne = nullptr;    // "上页"
    QPushButton *cmdPageTwo = nullptr;    // "下页"
    QPushButton *cmdPrint = nullptr;      // "打印" (object name 打印)
    QPushButton *cmdExportPdf = nullptr;  // "导出PDF"
    QPushButton *cmdExportWord = nullptr; // "导出Word"
    QPushButton *cmdClose = nullptr;      // "关闭"
    QCheckBox *chkDefaultB5 = nullptr;
    QFrame *buttonFrame = nullptr;

protected:
    void done(int result) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool exportFile(bool word);   // exportPdf, exportWord
    void restoreWindow();
    void storeWindow();
    void layoutPaper();
    QImage renderPaper(int index, double scale, Interaction *ui) const;
    void showPage(int index);
    void setPaperTop(int index, double top);
    void drawPaper(int index);

    Interaction &m_ui;
    OncePerPreview m_drawingUi{m_ui};
    std::unique_ptr<FormPages> m_ownPages;
    FormPages *m_pages;
    double m_dpi = 96;
    QImage m_paper[2];
    QImage m_zoomed[2];   // the pages at the zoom shown when it is not 100 %
    double m_zoomedScale[2] = {0, 0};
    PreviewZoom m_zoom;
    QSize m_naturalSize;  // the window's size at the first opening
    int m_wheelZoom = 0;  // Ctrl+wheel angle not yet turned into a step
    PaperPicture *m_sheet[2] = {nullptr, nullptr};   // the two sheets of paper shown
    double m_top[2] = {kPaperTopAtZero, kPaperTopAtZero};
    double m_dragStartY = 0;
    bool m_dragging = false;
    bool m_overrideCursor = false;
    bool m_unloaded = false;
    QString m_exportFolder;   // folder of the last export in this run
};
