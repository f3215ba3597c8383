#pragma once
#include "app/Interaction.h"
#include "entry/FieldChecks.h"
#include "model/AppointmentRecord.h"
#include "model/RendererVars.h"

#include <QString>
#include <functional>

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
    std::function<void(const FieldCheckFailure &)> onCheckFailed;
    // The hand-off refused the party text after its message: page 1, focus
    // txtRudang, select all.
    std::function<void()> onPartyTextRejected;
    // The record's fields or photo were replaced or normalised: show them.
    std::function<void()> onRecordChanged;
    // The résumé box's font size, in points.
    std::function<void(int)> onResumeFontSize;

    // The checks, then the hand-off to the renderer variables, as before
    // every preview and save; a failure has shown its message and called
    // its hook.
    bool checkAndHandOff();

    // Load (调  入): true when a document was loaded.
    bool CmdDiaoru_Click();
    // The same load for a file named without the dialog (the program's
    // argument, a file dropped on the window): save prompt, then the file.
    bool openDocument(const QString &path);
    // Save (保  存): true when the document and its photo were saved.
    bool CmdSave_Click() { return save() == SaveResult::Saved; }
    SaveResult save();
    // The save prompt when the record has changed: Yes saves and goes on
    // (also when the save dialog is cancelled), No goes on, Cancel stops.
    // A save that was tried and failed stops as well, so nothing typed is
    // thrown away by the step that follows.
    bool confirmUnsavedChanges();
    // The close step: whether the window may close.
    bool canClose() { return confirmUnsavedChanges(); }

    // The document open now: the one loaded or last saved; empty for a new
    // record or an imported brief or older document.
    QString currentDocumentPath() const { return m_currentPath; }

    static QString loadDialogTitle();
    static QString loadDialogFilter();
    static QString saveDialogTitle();
    static QString saveDialogFilter();
    static QString savePromptText();
    // The folder stored under "preRMDir", or the documents folder beside the program.
    static QString lastSaveFolderSetting();
    static QString defaultDocumentsFolder();

private:
    bool loadDocument(const QString &givenPath);
    void recordChanged();
    QString loadStartPath() const;

    AppointmentRecord &m_record;
    RendererVars &m_vars;
    Interaction &m_ui;
    QString m_currentPath;
    // Load and save share one dialog: it reopens on the file of its last
    // use, in that file's folder (this run only).
    QString m_lastDialogPath;
};
