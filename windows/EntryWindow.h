#pragma once
#include "windows/EntryLayout.h"
#include "windows/HelpLauncher.h"
#include "record/AppointmentRecord.h"
#include "record/PageMargins.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QVector>
#include <QWidget>

class Interaction;
class EntryCommands;
class EntryPage;
struct FieldPlace;
class QMimeData;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QTimer;

// The entry window "任免审批表录入(VERSION)": two pages laid out like the
// printed form. It owns the record; every box is bound to one field.
class EntryWindow : public QWidget {
    Q_OBJECT
public:
    explicit EntryWindow(Interaction &ui, QWidget *parent = nullptr);
    ~EntryWindow() override;

    AppointmentRecord &record() { return m_record; }
    const AppointmentRecord &record() const { return m_record; }
    bool isDirty() const { return m_record.isDirty; }
    void setDirty(bool dirty)
    {
        m_record.isDirty = dirty;
        setWindowModified(dirty);
    }

    // Shows the record in every box; leaves isDirty as it is.
    void refreshControls();

    // The entry box of a field ("txtName"; family columns take the row).
    QPlainTextEdit *control(const QString &name, int row = -1) const;
    const EntryButtons &buttons() const { return m_buttons; }
    EntryPage *page(int number) const;
    // The bar that scrolls page `number` while it is shown; null otherwise.
    QScrollBar *pageScrollBar(int number) const;
    int currentPage() const { return m_currentPage; }

    HelpLauncher &helpLauncher() { return m_help; }
    // Load, save, preview, margins, photo and the close step.
    EntryCommands &commands() { return *m_commands; }

    // Shows the page of a failed check and focuses its field, first line selected.
    void showField(const FieldPlace &place);
    // The title names the open document and shows whether it has changed.
    void updateTitle();

    // What keeps the box's text out of its printed cell even at the
    // smallest size, as the printing would say it; empty when it fits.
    // Boxes are marked with it a moment after each edit.
    QString printedOverflow(const QPlainTextEdit *box) const;
    // Marks the boxes edited since the last time at once.
    void checkPendingFits();

public slots:
    void showNextPage();
    void showPreviousPage();
    void closeEditor();
    void showHelp();
    // Enter in the résumé box: a new line, indented, the date rule applied.
    void resumeEnterPressed();
    void reportingUnitFocusLost();

signals:
    // The window was closed for good; the application ends.
    void unloaded();
    // The clerk switched between the two entry pages.
    void pageSwitched();
    // The clerk changed the text of a field.
    void recordEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildButtons();
    void buildPages();
    void installCommandKeys();
    // A dragged or dropped document file: accepted, and loaded on drop.
    bool acceptDocumentDrop(QEvent *event, QObject *target = nullptr);
    static QString droppedDocument(const QMimeData *data);
    void bindControl(QPlainTextEdit *box, const QString &name, int row);
    void afterEdit(QPlainTextEdit *box);
    void updateResumeGuide();
    PageMargins margins() const;
    void showPage(int number);
    void layoutForm();
    void setTabOrderFromLayout();
    // What becomes the photo: anything but a document dropped on the photo
    // frame, or a picture file dropped anywhere.
    bool isPhotoDrop(QObject *target, const QString &path) const;
    void focusAndSelectFirstLine(QPlainTextEdit *box);
    void ensureVisible(QPlainTextEdit *box);
    int twipsX(double twips) const;
    int twipsY(double twips) const;

    Interaction &m_ui;
    AppointmentRecord m_record;
    HelpLauncher m_help;
    EntryCommands *m_commands = nullptr;
    // The form centred in a scroll area; the buttons above it move
    // sideways with it and stay when the page scrolls down.
    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_sheet = nullptr;
    QWidget *m_buttonStrip = nullptr;
    EntryPage *m_pages[2] = {nullptr, nullptr};
    int m_pageScroll[2] = {0, 0};   // where each page was scrolled to
    QHash<QString, QPlainTextEdit *> m_controls;   // "txtName", "txtChengwei#3"
    EntryButtons m_buttons;
    QList<QKeySequence> m_commandKeys;
    int m_currentPage = 1;
    bool m_refreshing = false;
    bool m_checkingChengbao = false;
    QTimer *m_fitTimer = nullptr;
    QList<QPointer<QPlainTextEdit>> m_pendingFits;
};
