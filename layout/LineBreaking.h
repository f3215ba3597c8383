#pragma once
#include <QString>
#include <QStringList>

// Punctuation-aware line breaking.
void LoadBreakPunct(QStringList &noLineEndChars, QStringList &noLineStartChars);
bool InList(const QString &s, const QStringList &list, int count);
// Breaks by measured width on the MeasuringSurface (caller sets its font).
int BreakTextToLines(const QString &text, int width, QStringList &lines);
// Breaks by a fixed count of characters per line and only counts.
int CountWrappedLines(const QString &text, int n);

// Written by CountWrappedLines, read by page one right after the call.
extern int PulledLineCount;
extern int PushedLineCount;
