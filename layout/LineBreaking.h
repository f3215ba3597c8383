#pragma once
#include <QString>
#include <QStringList>

class MeasuringSurface;

// Punctuation-aware line breaking.
void loadBreakPunctuation(QStringList &noLineEndChars, QStringList &noLineStartChars);
bool isInList(const QString &s, const QStringList &list, int count);
// Breaks by measured width on `ms`, in the font the caller set up there.
int breakTextToLines(MeasuringSurface &ms, const QString &text, int width, QStringList &lines);

// What countWrappedLines found: the number of lines, and how many of them
// took one more character because a closing mark followed (pulled) or gave
// up their last one because it was an opening mark (pushed).
struct WrappedLineCount {
    int lines = 0;
    int pulled = 0;
    int pushed = 0;
};
// Breaks by a fixed count of characters per line and only counts.
WrappedLineCount countWrappedLines(const QString &text, int n);
