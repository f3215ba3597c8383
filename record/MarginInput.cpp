#include "record/MarginInput.h"
#include "foundation/TextUtilities.h"
#include "foundation/Twips.h"

#include <cmath>

namespace {

const QString kNotNumber = QStringLiteral("请输入整数值");

// Larger margins would not fit a twip count; they are refused as input
// that is not a usable number.
constexpr double kLargestMillimetres = 1.0e7;

double valueOf(const QString &text)
{
    return text.trimmed().toDouble();
}

bool usable(const QString &text)
{
    return isNumeric(text) && std::fabs(valueOf(text)) < kLargestMillimetres;
}

Failure refuse(QString *refusedControl, const char *control, const QString &message)
{
    if (refusedControl)
        *refusedControl = QLatin1String(control);
    return Failure{FailureKind::RefusedMargins, message};
}

} // namespace

namespace MarginInput {

int shownMillimetres(int twips)
{
    return static_cast<int>(std::trunc(twips / 56.6));
}

::Result<Accepted> check(const QString &top, const QString &left, const QString &backLeft,
                         QString *refusedControl)
{
    if (!usable(top))
        return refuse(refusedControl, "txtTop", kNotNumber);
    if (!usable(left))
        return refuse(refusedControl, "txtLeft", kNotNumber);
    if (!usable(backLeft))
        return refuse(refusedControl, "txtBackLeft", kNotNumber);

    const double t = valueOf(top), l = valueOf(left), b = valueOf(backLeft);
    if (t >= 32)
        return refuse(refusedControl, "txtTop", QStringLiteral("下边距不能小于20，上边距请输入小于32的整数值"));
    if (t < 15)
        return refuse(refusedControl, "txtTop", QStringLiteral("上边距不能小于15"));
    if (l >= 32)
        return refuse(refusedControl, "txtLeft", QStringLiteral("第一页左边距请输入小于32的整数值"));
    if (b >= 32)
        return refuse(refusedControl, "txtBackLeft", QStringLiteral("第二页左边距请输入小于32的整数值"));

    Accepted r;
    const double mmT = std::trunc(t), mmL = std::trunc(l), mmB = std::trunc(b);
    r.topText = QString::number(static_cast<long long>(mmT));
    r.leftText = QString::number(static_cast<long long>(mmL));
    r.backLeftText = QString::number(static_cast<long long>(mmB));
    // 56.7 twips per millimetre, as 567 / 10 so that halves stay exact.
    r.top = roundHalfEven(mmT * 567.0 / 10.0);
    r.pageOneLeft = roundHalfEven(mmL * 567.0 / 10.0);
    r.pageTwoLeft = roundHalfEven(mmB * 567.0 / 10.0);
    return r;
}

void apply(const Accepted &accepted, PageMargins &margins)
{
    margins.top = accepted.top;
    margins.pageOneLeft = accepted.pageOneLeft;
    margins.pageTwoLeft = accepted.pageTwoLeft;
}

} // namespace MarginInput
