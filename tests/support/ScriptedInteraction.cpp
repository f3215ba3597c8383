#include "support/ScriptedInteraction.h"
#include <cstdio>

void ScriptedInteraction::message(const QString &title, const QString &text, MessageIcon icon)
{
    shown.append({Shown::Message, title, text, icon, {}});
}

Answer ScriptedInteraction::askYesNoCancel(const QString &title, const QString &text)
{
    shown.append({Shown::Question, title, text, MessageIcon::Question, {}});
    return answers.isEmpty() ? Answer::Cancel : answers.dequeue();
}

bool ScriptedInteraction::askYesNo(const QString &title, const QString &text)
{
    shown.append({Shown::Question, title, text, MessageIcon::Question, {}});
    return !answers.isEmpty() && answers.dequeue() == Answer::Yes;
}

QString ScriptedInteraction::openFileName(const QString &title, const QString &startPath, const QString &filter)
{
    shown.append({Shown::OpenFile, title, filter, MessageIcon::None, startPath});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedInteraction::saveFileName(const QString &title, const QString &startPath, const QString &filter)
{
    shown.append({Shown::SaveFile, title, filter, MessageIcon::None, startPath});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedInteraction::inputText(const QString &title, const QString &prompt, const QString &defaultText,
                                    QString *answer)
{
    shown.append({Shown::Input, title, prompt, MessageIcon::None, defaultText});
    if (inputs.isEmpty())
        return false;
    const QString next = inputs.dequeue();
    if (next.isNull())
        return false;
    if (answer)
        *answer = next;
    return true;
}

QStringList ScriptedInteraction::openFileNames(const QString &title, const QString &startPath,
                                               const QString &filter)
{
    shown.append({Shown::OpenFile, title, filter, MessageIcon::None, startPath});
    return fileLists.isEmpty() ? QStringList() : fileLists.dequeue();
}

QString ScriptedInteraction::folderName(const QString &title, const QString &startFolder)
{
    shown.append({Shown::Folder, title, QString(), MessageIcon::None, startFolder});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedInteraction::progress(const QString &title, const QString &label, int done, int total)
{
    shown.append({Shown::Progress, title, QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(label),
                  MessageIcon::None, {}});
    ++progressCalls;
    return stopAtProgressCall <= 0 || progressCalls < stopAtProgressCall;
}

QStringList ScriptedInteraction::messageTexts() const
{
    QStringList out;
    for (const Shown &s : shown)
        if (s.kind == Shown::Message)
            out << s.text;
    return out;
}
