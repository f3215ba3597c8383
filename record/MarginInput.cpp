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

Failure refuse(MarginInput::Box *refused, MarginInput::Box box, const QString &message)
{
    if (refused)
        *refused = box;
    return Failure{FailureKind::RefusedMargins, message};
}

} // namespace

namespace MarginInput {

int shownMillimetres(int twips)
{
    return static_cast<int>(std::trunc(twips / 56.6));
}

::Result<Accepted> check(const QString &top, const QString &left, const QString &backLeft, Box *refused)
{
    if (!usable(top))
        return refuse(refused, Box::Top, kNotNumber);
    if (!usable(left))
        return refuse(refused, Box::PageOneLeft, kNotNumber);
    if (!usable(backLeft))
        return refuse(refused, Box::PageTwoLeft, kNotNumber);

    const double t = valueOf(top), l = valueOf(left), b = valueOf(backLeft);
    // The top margin is limited by what it leaves below the table (205 mm
    // of a 257 mm sheet): from 32 mm on, less than 20 mm. So the refusal
    // speaks of the lower margin first.
    if (t >= 32)
        return refuse(refused, Box::Top, QStringLiteral("下边距不能小于20，上边距请输入小于32的整数值"));
    if (t < 15)
        return refuse(refused, Box::Top, QStringLiteral("上边距不能小于15"));
    if (l >= 32)
        return refuse(refused, Box::PageOneLeft, QStringLiteral("第一页左边距请输入小于32的整数值"));
    if (b >= 32)
        return refuse(refused, Box::PageTwoLeft, QStringLiteral("第二页左边距请输入小于32的整数值"));

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
