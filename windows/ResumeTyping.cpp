#include "windows/ResumeTyping.h"

ResumeEnterEdit resumeEnterEdit(const QString &beforeCaret)
{
    ResumeEnterEdit edit;
    const int position = beforeCaret.size() + beforeCaret.count(QLatin1Char('\n'));
    const QString freshLine = QLatin1Char('\n') + QString(kResumeIndent, QLatin1Char(' '));
    if (position >= 20 && beforeCaret.endsWith(freshLine))
        edit.removeBefore = kResumeIndent;
    else
        edit.insertBreak = true;
    return edit;
}
