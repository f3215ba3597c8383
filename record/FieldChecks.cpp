#include "record/FieldChecks.h"
#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "record/TextRules.h"

namespace {

const QString kDateMessage = QStringLiteral("您所输入的日期值不是编辑器认可的日期值,请参看帮助。");

// Every ASCII space, then every CR and LF removed.
QString normalised(const QString &text)
{
    return stripLineBreaks(removeSpaces(text));
}

// Writes a prepared text back; a change counts as an edit.
void writeBack(AppointmentRecord &record, QString &field, const QString &value)
{
    if (field != value) {
        field = value;
        record.isDirty = true;
    }
}

Failure fail(FieldPlace *place, const char *control, int row, int page, const QString &text)
{
    if (place)
        *place = FieldPlace{QLatin1String(control), row, page};
    return Failure{text + QStringLiteral("\r\n请重试！"), AppInfo::title(), FailureWeight::Warning};
}

bool emptyOrValidDate(const QString &text)
{
    QString t = text;
    return t.isEmpty() || isValidDateText(t);
}

// The whole years from `date` to today are 0 or more; an age that cannot be
// computed reads as 0, as the form's numeric conversion does.
bool notAfterToday(const QString &date)
{
    if (date.isEmpty())
        return true;
    return ageAt(Clock::todayDigits(), date).toDouble() >= 0;
}

} // namespace

Result<> checkAllFields(AppointmentRecord &record, FieldPlace *failedPlace)
{
    AppointmentRecord &r = record;

    writeBack(r, r.sex, removeSpaces(r.sex));
    if (!r.sex.isEmpty() && r.sex != QStringLiteral("男") && r.sex != QStringLiteral("女"))
        return fail(failedPlace, "txtSex", -1, 1, QStringLiteral("性别请填写“男”或“女”！"));

    writeBack(r, r.birthDate, normalised(r.birthDate));
    if (!emptyOrValidDate(r.birthDate))
        return fail(failedPlace, "txtBirthday", -1, 1,
                    QStringLiteral("您所输入的日期值不是编辑器认可的日期值。"));

    QString party = normalised(r.partyMembership);
    party.replace(QLatin1Char(';'), QStringLiteral("；"));
    writeBack(r, r.partyMembership, party);
    if (!r.partyMembership.isEmpty() && !isValidPartyText(r.partyMembership))
        return fail(failedPlace, "txtRudang", -1, 1,
                    QStringLiteral("入党时间输入不正确，请参看帮助，重新输入！"));

    writeBack(r, r.workStartDate, normalised(r.workStartDate));
    if (!emptyOrValidDate(r.workStartDate))
        return fail(failedPlace, "txtWorktime", -1, 1, kDateMessage);
    if (!notAfterToday(r.workStartDate))
        return fail(failedPlace, "txtWorktime", -1, 1,
                    QStringLiteral("工作时间不能晚于当前时间，重新输入！"));

    for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row) {
        QString &cell = r.familyBirthDates[row];
        writeBack(r, cell, normalised(cell));
        if (!emptyOrValidDate(cell))
            return fail(failedPlace, "txtcsrq", row, 2, kDateMessage);
        if (!notAfterToday(cell))
            return fail(failedPlace, "txtcsrq", row, 2,
                        QStringLiteral("出生时间不能晚于当前时间，重新输入！"));
    }

    writeBack(r, r.ageReferenceDate, normalised(r.ageReferenceDate));
    if (r.ageReferenceDate.isEmpty())
        return fail(failedPlace, "txtDate", -1, 2, QStringLiteral("年龄计算参照时间不能为空！"));
    // Ages are computed from this date, so it must be digits; four arbitrary
    // characters would otherwise pass and print nonsense ages.
    if (!isValidDateDigits(r.ageReferenceDate) || !isDigitString(r.ageReferenceDate, 0, 0, 0))
        return fail(failedPlace, "txtDate", -1, 2, kDateMessage);

    writeBack(r, r.fillingDate, normalised(r.fillingDate));
    if (r.fillingDate.isEmpty())
        return fail(failedPlace, "txtFillDate", -1, 2, QStringLiteral("填表时间不能为空！"));
    if (!isValidDateDigits(r.fillingDate))
        return fail(failedPlace, "txtFillDate", -1, 2, kDateMessage);

    return {};
}
