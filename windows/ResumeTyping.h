#pragma once
#include <QString>

// What Enter does in the résumé box. Continuation lines of an entry are
// indented by 18 spaces, the width of the date column; Enter on a fresh
// continuation line takes the indent back so the next entry starts at the
// left margin. Positions count a line break as CR LF, two characters.
struct ResumeEnterEdit {
    int removeBefore = 0;   // characters to delete just before the caret
    bool insertBreak = false; // insert a line break and the indent at the caret
};

constexpr int kResumeIndent = 18;

// `beforeCaret` is the box's text before the caret, lines separated by LF.
ResumeEnterEdit resumeEnterEdit(const QString &beforeCaret);
