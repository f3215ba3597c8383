#include "windows/PreviewZoom.h"
#include <QtGlobal>
#include <cmath>

const QList<double> &PreviewZoom::steps()
{
    static const QList<double> list = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0};
    return list;
}

double PreviewZoom::nextStep(double shown, int direction)
{
    // A little slack, so that a fitted scale just below a step goes past it.
    const double slack = 0.01;
    const QList<double> &list = steps();
    if (direction > 0) {
        for (double s : list)
            if (s > shown + slack)
                return s;
        return list.last();
    }
    for (auto it = list.crbegin(); it != list.crend(); ++it)
        if (*it < shown - slack)
            return *it;
    return list.first();
}

double PreviewZoom::fitScale(Fit fit, QSizeF sheet, QSizeF viewport, double gap)
{
    if (fit == Fit::None || sheet.isEmpty() || viewport.isEmpty())
        return 1.0;
    double s = viewport.width() / (sheet.width() + 2 * kSideGap);
    if (fit == Fit::WholePage)
        s = std::min(s, viewport.height() / (sheet.height() + 2 * gap));
    return qBound(kMinScale / 2, s, kMaxScale);
}

QString PreviewZoom::toSetting() const
{
    switch (fit) {
    case Fit::PageWidth: return QStringLiteral("PAGE_WIDTH");
    case Fit::WholePage: return QStringLiteral("WHOLE_PAGE");
    case Fit::None: break;
    }
    return QString::number(std::lround(scale * 100));
}

PreviewZoom PreviewZoom::fromSetting(const QString &text)
{
    PreviewZoom z;
    if (text == QLatin1String("PAGE_WIDTH")) {
        z.fit = Fit::PageWidth;
    } else if (text == QLatin1String("WHOLE_PAGE")) {
        z.fit = Fit::WholePage;
    } else {
        bool ok = false;
        const int percent = text.toInt(&ok);
        if (ok && steps().contains(percent / 100.0))
            z.scale = percent / 100.0;
    }
    return z;
}

QString PreviewZoom::label() const
{
    switch (fit) {
    case Fit::PageWidth: return QStringLiteral("页宽");
    case Fit::WholePage: return QStringLiteral("整页");
    case Fit::None: break;
    }
    return QStringLiteral("%1%").arg(std::lround(scale * 100));
}
