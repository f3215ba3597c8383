#include "support/ScriptedInteraction.h"

QString ScriptedInteraction::nextFile(Shown::Kind kind, const QString &title, const QString &filter,
                                      const QString &start)
{
    shown.append({kind, title, filter, MessageIcon::None, start});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedInteraction::inputText(const QString &title, const QString &prompt, const QString &defaultText,
                                    QString *answer)
{
    shown.append({Shown::Input, title, prompt, MessageIcon::None, defaultText});
    const QString next = inputs.isEmpty() ? QString() : inputs.dequeue();
    if (!next.isNull() && answer)
        *answer = next;
    return !next.isNull();
}

QStringList ScriptedInteraction::openFileNames(const QString &title, const QString &startPath,
                                               const QString &filter)
{
    shown.append({Shown::OpenFile, title, filter, MessageIcon::None, startPath});
    return fileLists.isEmpty() ? QStringList() : fileLists.dequeue();
}

bool ScriptedInteraction::progress(const QString &title, const QString &label, int done, int total)
{
    shown.append({Shown::Progress, title, QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(label),
                  MessageIcon::None, {}});
    ++progressCalls;
    return stopAtProgressCall <= 0 || progressCalls < stopAtProgressCall;
}

QStringList ScriptedInteraction::texts(Shown::Kind kind) const
{
    QStringList out;
    for (const Shown &s : shown)
        if (s.kind == kind)
            out << s.text;
    return out;
}

QList<ScriptedInteraction::Shown::Kind> ScriptedInteraction::kinds() const
{
    QList<Shown::Kind> out;
    for (const Shown &s : shown)
        out << s.kind;
    return out;
}
