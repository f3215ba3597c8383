#pragma once
#include "foundation/Result.h"
#include <QString>
#include <QList>
#include <QStringList>

// Every message box, question, file dialog and input box goes through this
// interface. The windows use a QMessageBox/QFileDialog implementation, tests
// a scripted one; the command line collects messages (CollectedMessages)
// and writes them to stderr.
enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class Answer { Yes, No, Cancel };

class Interaction {
public:
    virtual ~Interaction();

    // A modal message with one OK button.
    virtual void message(const QString &title, const QString &text, MessageIcon icon) = 0;
    // Yes / No / Cancel question (question icon).
    virtual Answer askYesNoCancel(const QString &title, const QString &text) = 0;
    // Yes / No question; false means No.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
    // File dialogs. `filter` uses the "描述|*.a;*.b|描述|*.c" form; `startPath`
    // is a folder or a file path. An empty result means the user cancelled.
    virtual QString openFileName(const QString &title, const QString &startPath, const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &startPath, const QString &filter) = 0;
    // Open dialog that takes several files; empty when cancelled.
    virtual QStringList openFileNames(const QString &title, const QString &startPath, const QString &filter);
    // Folder dialog; empty when cancelled.
    virtual QString folderName(const QString &title, const QString &startFolder);
    // Input box; false when cancelled.
    virtual bool inputText(const QString &title, const QString &prompt, const QString &defaultText,
                           QString *answer) = 0;
    // Busy (hourglass) pointer around long operations.
    virtual void setBusy(bool busy);
    // Progress of a long operation that the user may stop: `done` of
    // `total` steps, `label` saying what is being done. Returns false once
    // the user has asked to stop. `done == total` ends the display.
    virtual bool progress(const QString &title, const QString &label, int done, int total);
};

// Keeps the messages raised while a painter is at work, to be shown once it
// has ended: a modal box in the middle of a print job would hold the
// printer, and one over a half-drawn page shows nothing finished. The
// command line and the batch commands keep a document's messages the same
// way, to report them together. Drawing asks no questions; were one asked,
// it would answer no.
class CollectedMessages : public Interaction {
public:
    struct Kept {
        QString title, text;
        MessageIcon icon;
    };

    void message(const QString &title, const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &, const QString &) override { return Answer::Cancel; }
    bool askYesNo(const QString &, const QString &) override { return false; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    bool inputText(const QString &, const QString &, const QString &, QString *) override { return false; }
    // Shows what was collected, in order, and forgets it.
    void showTo(Interaction &ui);
    const QList<Kept> &kept() const { return m_kept; }
    QStringList texts() const;

private:
    QList<Kept> m_kept;
};

// How failures of a kind are shown: the one place that chooses their
// message boxes' titles and icons.
struct FailureLook {
    QString title;
    MessageIcon icon;
};
FailureLook failureLook(FailureKind kind);

// Shows a failure as a message under its kind's title and icon.
void showFailure(Interaction &ui, const Failure &failure);
template<typename T>
void showFailure(Interaction &ui, const Result<T> &result)
{
    showFailure(ui, result.failure());
}

// Converts the "描述|pattern|描述|pattern" filter form into Qt's ";;" form.
QString qtFileFilter(const QString &vbFilter);
