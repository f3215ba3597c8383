#pragma once
#include "foundation/Interaction.h"
#include "record/FieldChecks.h"
#include "record/AppointmentRecord.h"
#include "record/DocumentLock.h"
#include "record/RendererVars.h"

#include <QString>
#include <QStringList>
#include <functional>

class RecoveryStore;

// The entry window's load and save commands, the save prompt and the close
// step, without any widget: the window forwards its buttons here and keeps
// to what only it can do (focus, page switching, showing the fields) through
// the hooks below.
class DocumentCommands {
public:
    enum class SaveResult { Saved, Cancelled, Failed };

    DocumentCommands(AppointmentRecord &record, RendererVars &vars, Interaction &ui);

    // A field check failed after its message was shown: show its page, focus
    // and select the field.
    std::function<void(const FieldPlace &)> onCheckFailed;
    // The hand-off refused the party text after its message: page 1, focus
    // txtRudang, select all.
    std::function<void()> onPartyTextRejected;
    // The record's fields or photo were replaced or normalised: show them.
    std::function<void()> onRecordChanged;

    // The checks, then the hand-off to the renderer variables, as before
    // every preview and save; a failure has shown its message and called
    // its hook.
    bool checkAndHandOff();

    // Load (调  入): true when a document was loaded.
    bool load();
    // The same load for a file named without the dialog (the program's
    // argument, a file dropped on the window): save prompt, then the file.
    bool openDocument(const QString &path);
    // The documents opened or saved last, newest first.
    QStringList recentDocuments() const;
    // Opens one of them as openDocument() does; one that is gone is said
    // and taken off the list.
    bool openRecent(const QString &path);
    // The window's title: the open document's name, then the program's
    // caption, with "[*]" where the modified mark goes.
    QString windowTitle() const;
    // Save (保  存): true when the document and its photo were saved.
    bool saveDocument() { return save() == SaveResult::Saved; }
    SaveResult save();
    // The save prompt when the record has changed: Yes saves and goes on
    // only once the save is done; anything that keeps it from completing
    // (cancel in the save dialog, No to a replace question, a failed check
    // or write) stops, so nothing typed is thrown away by the step that
    // follows. No goes on, Cancel stops.
    bool confirmUnsavedChanges();
    // The close step: whether the window may close.
    bool canClose() { return confirmUnsavedChanges(); }

    // The document open now: the one loaded or last saved; empty for a new
    // record or an imported brief or older document. It is locked for this
    // editor (unless opened anyway while another had it), and a save over it
    // first checks that nobody changed it since.
    QString currentDocumentPath() const { return m_currentPath; }

    // The recovery copy of unsaved work, kept by the window (may be null).
    void setRecoveryStore(RecoveryStore *store) { m_recovery = store; }
    // Keeps the recovery copy in step with the record: written while it has
    // unsaved changes (only when they differ from the copy), gone otherwise.
    // A copy that cannot be written is reported once in a session.
    void keepRecoveryCopy();
    // At start-up: takes this editor's place in the store (a store that
    // cannot be used is reported), then offers what crashed editors left.
    bool startRecovery();
    // At start-up: offers each copy left by an editor that did not end
    // normally, newest first, with the question "恢复未保存的内容". Yes loads
    // it as a changed record that saves under its document's name and stops;
    // No deletes it and goes on to the next. A copy that cannot be read is
    // kept and reported (once). True when one was loaded.
    bool offerRecovery();
    static QString recoveryTitle();

    static QString loadDialogTitle();
    static QString loadDialogFilter();
    static QString saveDialogTitle();
    static QString saveDialogFilter();
    static QString savePromptText();
    // The folder stored under "preRMDir", or the documents folder: beside
    // the program where that folder exists and is writable, otherwise in the
    // user's own documents folder.
    static QString lastSaveFolderSetting();
    static QString defaultDocumentsFolder();

private:
    bool loadDocument(const QString &givenPath);
    // Another editor has the document open: asks whether to open it anyway.
    bool askOpenLocked(const QString &path);
    // The open document changes: its lock and what it held when taken.
    void setCurrentDocument(const QString &path);
    SaveResult cancelledSave();
    void recordChanged();
    QString loadStartPath() const;

    AppointmentRecord &m_record;
    RendererVars &m_vars;
    Interaction &m_ui;
    QString m_currentPath;
    DocumentLock m_lock;
    FileIdentity m_currentIdentity;   // the open document as loaded or last saved
    // Where the next save dialog opens when not in the last save folder: the
    // name of a recovered document.
    QString m_saveStartPath;
    RecoveryStore *m_recovery = nullptr;
    bool m_recoveryFailureShown = false;
    void reportRecoveryFailure(const QString &why);
    // Load and save share one dialog: it reopens on the file of its last
    // use, in that file's folder (this run only).
    QString m_lastDialogPath;
};
