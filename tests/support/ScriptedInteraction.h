#pragma once
#include "foundation/Interaction.h"
#include <QList>
#include <QQueue>

// Answers dialogs from a script and records every message; used by tests.
// When the script runs dry, questions answer Cancel / No, dialogs cancel.
class ScriptedInteraction : public Interaction {
public:
    struct Shown {
        enum Kind { Message, Question, OpenFile, SaveFile, Input, Progress, Folder } kind;
        QString title;
        QString text;        // message text, question text, prompt or filter
        MessageIcon icon = MessageIcon::None;
        QString startPath;   // file dialogs and the input box's default
    };

    QQueue<Answer> answers;        // for askYesNoCancel and askYesNo (Yes/No)
    QQueue<QString> fileNames;     // for open/save and folder dialogs; "" cancels
    QQueue<QString> inputs;        // for input boxes; a null QString cancels
    QQueue<QStringList> fileLists; // for multi-select open dialogs; empty cancels
    int stopAtProgressCall = 0;    // the n-th progress call (from 1) and later answer "stop"; 0: never
    int progressCalls = 0;
    QList<Shown> shown;            // everything shown, in order

    void message(const QString &title, const QString &text, MessageIcon icon) override
    { shown.append({Shown::Message, title, text, icon, {}}); }
    Answer askYesNoCancel(const QString &title, const QString &text) override
    {
        shown.append({Shown::Question, title, text, MessageIcon::Question, {}});
        return answers.isEmpty() ? Answer::Cancel : answers.dequeue();
    }
    bool askYesNo(const QString &title, const QString &text) override
    { return ScriptedInteraction::askYesNoCancel(title, text) == Answer::Yes; }
    QString openFileName(const QString &title, const QString &startPath, const QString &filter) override
    { return nextFile(Shown::OpenFile, title, filter, startPath); }
    QString saveFileName(const QString &title, const QString &startPath, const QString &filter) override
    { return nextFile(Shown::SaveFile, title, filter, startPath); }
    QString folderName(const QString &title, const QString &startFolder) override
    { return nextFile(Shown::Folder, title, QString(), startFolder); }
    bool inputText(const QString &title, const QString &prompt, const QString &defaultText,
                   QString *answer) override;
    QStringList openFileNames(const QString &title, const QString &startPath, const QString &filter) override;
    // Recorded with text "done/total label".
    bool progress(const QString &title, const QString &label, int done, int total) override;

    QStringList texts(Shown::Kind kind) const;   // texts of one kind of entry, in order
    QStringList messageTexts() const { return texts(Shown::Message); }
    QList<Shown::Kind> kinds() const;   // what was shown, in order

private:
    QString nextFile(Shown::Kind kind, const QString &title, const QString &filter, const QString &start);
};
