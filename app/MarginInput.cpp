#include "app/MarginInput.h"
#include "layout/TextRules.h"
#include "layout/Twips.h"

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

MarginInput::Result refuse(const char *control, const QString &message)
{
    MarginInput::Result r;
    r.focusControl = QLatin1String(control);
    r.message = message;
    return r;
}

} // namespace

namespace MarginInput {

int shownMillimetres(int twips)
{
    return static_cast<int>(std::trunc(twips / 56.6));
}

Result check(const QString &top, const QString &left, const QString &backLeft)
{
    if (!usable(top))
        return refuse("txtTop", kNotNumber);
    if (!usable(left))
        return refuse("txtLeft", kNotNumber);
    if (!usable(backLeft))
        return refuse("txtBackLeft", kNotNumber);

    const double t = valueOf(top), l = valueOf(left), b = valueOf(backLeft);
    if (t >= 32)
        return refuse("txtTop", QStringLiteral("下边距不能小于20，上边距请输入小于32的整数值"));
    if (t < 15)
        return refuse("txtTop", QStringLiteral("上边距不能小于15"));
    if (l >= 32)
        return refuse("txtLeft", QStringLiteral("第一页左边距请输入小于32的整数值"));
    if (b >= 32)
        return refuse("txtBackLeft", QStringLiteral("第二页左边距请输入小于32的整数值"));

    Result r;
    r.ok = true;
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

void apply(const Result &result, PageMargins &margins)
{
    if (!result.ok)
        return;
    margins.top = result.top;
    margins.pageOneLeft = result.pageOneLeft;
    margins.pageTwoLeft = result.pageTwoLeft;
}

} // namespace MarginInput
