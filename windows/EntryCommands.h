#pragma once
#include "commands/DocumentCommands.h"
#include "pages/FormPages.h"
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class BatchCommands;
class EntryWindow;
class QMenu;
class QTimer;
class RecoveryStore;
class Interaction;
class PreviewWindow;

// The entry window's document, preview, margin and photo commands and its
// close step with the save prompt. The window creates it as a child; the
// work itself is done by the core (DocumentCommands, fillRendererVars, the pages).
class EntryCommands : public QObject {
    Q_OBJECT
public:
    EntryCommands(EntryWindow &window, Interaction &ui);
    ~EntryCommands() override;

    DocumentCommands &documents() { return m_documents; }
    // The renderer variables every hand-off fills, with margins and photo.
    FormPages &rendererVars() { return m_vars; }
    // The margins of this session: read from the settings store when the
    // window opens, changed by the margin dialog, used by every preview and
    // written back when the application ends.
    PageMargins &margins() { return m_margins; }
    // The renderer window, created on the first preview and reused.
    PreviewWindow *renderer() const;
    // Called once when the renderer window has been created (tests set its printer here).
    std::function<void(PreviewWindow &)> onRendererCreated;

    void load();
    // Loads a file named without the dialog (argument, drop), as 调入 does.
    void openDocument(const QString &path);
    // Several saved documents printed in one job or exported as one PDF.
    BatchCommands &batch() { return *m_batch; }
    void saveDocument();
    void preview();
    void editMargins();
    void choosePhoto();
    void choosePicture() { choosePhoto(); }
    // A picture file dropped on the form: attached as the photo dialog would.
    void attachPhoto(const QString &path);
    // The recent documents under 调入, built afresh each time it opens.
    QMenu *recentMenu() const { return m_recentMenu; }
    void openRecent(const QString &path);

    // The photo frame on page 1 shows the current photo, or its caption.
    void showPhotoFrame();

    // Keeps a recovery copy of unsaved work in `store` (which the caller
    // keeps) while the record has unsaved changes: a moment after the clerk
    // stops typing or changes the photo, on every page switch, and every 30
    // seconds.
    void setRecoveryStore(RecoveryStore *store);
    static constexpr int kRecoveryInterval = 30 * 1000;   // ms
    static constexpr int kRecoveryDelay = 2 * 1000;       // ms after the last change

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusPartyText();
    void fillRecentMenu();
    // After a command: the photo frame and the title as the record now is.
    void commandDone();
    void photoChanged();
    // The recovery copy a few seconds after the last change.
    void keepRecoveryCopySoon();
    void endOfApplication();

    EntryWindow &m_window;
    Interaction &m_ui;
    FormPages m_vars;
    PageMargins m_margins;
    DocumentCommands m_documents;
    QPointer<PreviewWindow> m_renderer;
    std::unique_ptr<BatchCommands> m_batch;
    QTimer *m_recoveryTimer = nullptr;
    QMenu *m_recentMenu = nullptr;
    QTimer *m_recoveryDelay = nullptr;   // restarted by every change
};
