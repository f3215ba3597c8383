#include "layout/CellFitting.h"
#include "layout/LineBreaking.h"
#include "layout/MeasuringSurface.h"
#include "foundation/Twips.h"

namespace {

constexpr double kSmallestSize = 8;

// The size search shared by both fitters; `step` is how far the size drops
// per trial (the test for another trial is the same for both).
void fitText(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
             const QString &label, double sizeFactor, HorizontalAlignment hAlign, VerticalAlignment vAlign,
             OverflowMode overflowMode, double step)
{
    const QString t = stripLineBreaks(text);
    if (t.isEmpty())
        return;
    MeasuringSurface &ms = surface.measuring();
    const QString fontName = surface.fontName();
    const double savedSize = surface.fontSize();
    double size = sizeFactor * savedSize;

    QStringList lines;
    bool overflow = false;
    for (;;) {
        surface.setFontSize(size);
        ms.setUpFont(fontName, size);
        const int tw = roundHalfEven(ms.textWidth(t));
        const int lh = roundHalfEven(ms.textHeight(QStringLiteral("人")));
        if (tw <= w) {
            lines = QStringList{t};
            if (lh <= h)
                break;
            if (size - 1 >= kSmallestSize) {
                size -= step;
                continue;
            }
            surface.showMessage(
                {FailureKind::DoesNotFitCell, label + QStringLiteral("区域高度过小,文本内容垂直方向超出区域范围！")});
            overflow = true;
            break;
        }
        const int n = breakTextToLines(ms, t, w, lines);
        if (qint64(n) * lh <= h)
            break;
        if (size - 1 >= kSmallestSize) {
            size -= step;
            continue;
        }
        surface.showMessage({FailureKind::DoesNotFitCell, label + QStringLiteral("区域过小,文本内容超出区域范围！")});
        break;
    }
    drawLinesInArea(lines, x, y, w, h, surface, hAlign, vAlign, overflow, overflowMode);
    surface.setFontSize(savedSize);
}

} // namespace

void fitTextInArea(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
                   const QString &label, double sizeFactor, HorizontalAlignment hAlign,
                   VerticalAlignment vAlign, OverflowMode overflowMode)
{
    fitText(text, x, y, w, h, surface, label, sizeFactor, hAlign, vAlign, overflowMode, 1);
}

void fitTextInAreaInTwoPointSteps(const QString &text, int x, int y, int w, int h, DrawingSurface &surface,
                                  const QString &label, double sizeFactor, HorizontalAlignment hAlign,
                                  VerticalAlignment vAlign, OverflowMode overflowMode)
{
    fitText(text, x, y, w, h, surface, label, sizeFactor, hAlign, vAlign, overflowMode, 2);
}

// Alignment values outside the named ones are taken as the edge.
void drawLinesInArea(const QStringList &linesIn, int x, int y, int w, int h, DrawingSurface &surface,
                     HorizontalAlignment hAlign, VerticalAlignment vAlign, bool overflowFlag,
                     OverflowMode overflowMode)
{
    MeasuringSurface &ms = surface.measuring();
    QStringList lines = linesIn;
    int n = lines.size();
    const int lh = roundHalfEven(ms.textHeight(QStringLiteral("高")));
    if (n >= 2)
        hAlign = HorizontalAlignment::Left;
    if (overflowFlag) {
        if (n >= 2 && overflowMode == OverflowMode::FittingLines) {
            if (lh <= h) {
                const int k = lh > 0 ? h / lh : n;
                lines = lines.mid(0, qMin(k, n));
            } else {
                lines = QStringList{QString()};
            }
        } else if (n >= 2 && overflowMode == OverflowMode::Nothing) {
            lines = QStringList{QString()};
        } else if (n < 2 && (overflowMode == OverflowMode::FittingLines || overflowMode == OverflowMode::Nothing)) {
            lines = QStringList{QString()};
        }
    }
    n = lines.size();
    const int tw = n == 1 ? roundHalfEven(ms.textWidth(lines.first())) : w;

    int left = x;
    if (hAlign == HorizontalAlignment::Centre)
        left = roundHalfEven(x + w / 2.0 - tw / 2.0);
    else if (hAlign == HorizontalAlignment::Right)
        left = x + w - tw;
    int top = y;
    if (vAlign == VerticalAlignment::Middle)
        top = roundHalfEven(y + h / 2.0 - (double(n) * lh) / 2.0);
    else if (vAlign == VerticalAlignment::Bottom)
        top = y + h - n * lh;

    for (int i = 0; i < n; ++i)
        surface.drawText(left, top + double(i) * lh, lines.at(i));
}

double findFittingFontSize(MeasuringSurface &ms, const QString &text, int w, int h, const QString &fontName,
                           double startSize)
{
    const QString t = stripLineBreaks(text);
    QStringList scratch;
    double size = startSize;
    for (;;) {
        ms.setUpFont(fontName, size);
        const int lh = roundHalfEven(ms.textHeight(QStringLiteral("人")));
        const int maxLines = lh > 0 ? roundHalfEven(double(h) / lh) : 0;
        const int n = breakTextToLines(ms, t, w, scratch);
        if (n <= maxLines)
            return size;
        if (size - 1 >= kSmallestSize)
            size -= 1;
        else
            return kSmallestSize;
    }
}
