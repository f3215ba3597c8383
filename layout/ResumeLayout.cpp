#include "layout/ResumeLayout.h"
#include "foundation/Twips.h"
#include "layout/MeasuringSurface.h"

#include <QStringList>

#include <cmath>

namespace {

struct ResumeStep {
    double size;       // points
    double allowance;  // twips per line, used only to count what fits
};

const ResumeStep kSteps[] = {
    {12, 240}, {11, 225}, {10, 210}, {10, 195}, {9, 180}, {8, 165},
};
constexpr double kDefaultBottomMm = 220;
const QString kResumeFont = QStringLiteral("楷体");

// Notes line `number` (from 1) when, printed at x in the surface's font, it
// ends past rightEdge.
void notePastEdge(DrawingSurface &surface, const QString &line, int x, int rightEdge, int number,
                  QList<int> &numbers, QString &first)
{
    if (rightEdge <= 0)
        return;
    MeasuringSurface &ms = surface.measuring();
    ms.setUpFont(surface.fontName(), surface.fontSize());
    if (roundHalfEven(x + ms.textWidth(line)) <= rightEdge)
        return;
    if (numbers.isEmpty())
        first = line.size() > 24 ? line.left(24) + QStringLiteral("……") : line;
    numbers << number;
}

void warnPastEdge(DrawingSurface &surface, const QList<int> &numbers, const QString &first)
{
    if (numbers.isEmpty())
        return;
    QStringList shown;
    for (int n : numbers)
        shown << QString::number(n);
    surface.showMessage({FailureKind::ResumeTooLong,
                         QStringLiteral("简历第 %1 行太长，超出表格右边线：\r\n“%2”\r\n请在适当处换行！")
                             .arg(shown.join(QStringLiteral("、")), first.trimmed())});
}

} // namespace

double resumeFontSize(const QString &text, int y, double bottomMm)
{
    if (bottomMm == 0)
        bottomMm = kDefaultBottomMm;
    const int breaks = text.count(QLatin1Char('\r'));
    const int avail = roundHalfEven(bottomMm * kTwipsPerMm - y);
    for (const ResumeStep &step : kSteps)
        if (breaks <= std::trunc(avail / step.allowance))
            return step.size;
    return 0;
}

void printResume(const QString &text, int x, int y, DrawingSurface &surface, double bottomMm,
                 int rightEdge)
{
    if (text.isEmpty())
        return;
    const double size = resumeFontSize(text, y, bottomMm);
    if (size == 0) {
        surface.showMessage({FailureKind::ResumeTooLong, QStringLiteral("该干部的简历太长！\r\n请适当精简简历内容！")});
        return;
    }

    surface.setFontSize(size);
    surface.setFontName(kResumeFont);
    QString line;
    QList<int> pastEdge;
    QString firstPastEdge;
    int lineNumber = 1;
    double lineTop = y;
    const auto printLine = [&] {
        notePastEdge(surface, line, x, rightEdge, lineNumber++, pastEdge, firstPastEdge);
        surface.drawText(x, lineTop, line);
        lineTop += surface.lineHeight();
    };
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            printLine();
            line.clear();
            if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c != QLatin1Char('\n')) {
            // A line feed without its carriage return is no break and not printable.
            line += c;
        }
    }
    printLine();
    warnPastEdge(surface, pastEdge, firstPastEdge);

    surface.setFontSize(12);
    surface.setFontName(kResumeFont);
}
