#include "record/FieldChecks.h"
#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "record/FieldSchema.h"
#include "record/TextRules.h"

namespace {

// What a date field wants, with examples, after the refusal.
const QString kDateWanted = QStringLiteral("请填写年、年月或年月日，如 1970、197003、19700315，"
                                           "也可写作 1970.03、1970年3月15日；只知季节的，"
                                           "写年份加春、夏、秋、冬、初、中、底，如 1970春。");
const QString kDayWanted = QStringLiteral("请填写实际的日期，如 20240315，也可写作 2024.03.15、2024年3月15日。");
const QString kDateMessage = QStringLiteral("您所输入的日期值不是编辑器认可的日期值，") + kDateWanted;
const QString kDayMessage = QStringLiteral("您所输入的日期值不是编辑器认可的日期值，") + kDayWanted;

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

Failure fail(FieldPlace *place, const char *control, int row, const QString &text)
{
    if (place)
        *place = FieldPlace{QLatin1String(control), row, findRecordField(QLatin1String(control))->page};
    return Failure{FailureKind::RefusedField, text};
}

// The reference and fill-in dates: digits naming a real year, month and day.
bool isRealDate(const QString &text)
{
    return isDigitString(text, 0, 0, 0) && isValidDateDigits(text) && !text.startsWith(QLatin1Char('0'));
}

bool emptyOrValidDate(const QString &text)
{
    QString t = text;
    return t.isEmpty() || isValidDateText(t);
}

// A full date is compared by the day; otherwise the whole years from `date`
// to today are 0 or more, and an age that cannot be computed reads as 0, as
// the form's numeric conversion does.
bool notAfterToday(const QString &date)
{
    return date.isEmpty() || !isAfterDay(date, Clock::todayDigits());
}

} // namespace

Result<> checkAllFields(AppointmentRecord &record, FieldPlace *failedPlace)
{
    AppointmentRecord &r = record;

    writeBack(r, r.sex, removeSpaces(r.sex));
    if (!r.sex.isEmpty() && r.sex != QStringLiteral("男") && r.sex != QStringLiteral("女"))
        return fail(failedPlace, "txtSex", -1, QStringLiteral("性别请填写“男”或“女”！"));

    writeBack(r, r.birthDate, normalisedDateText(r.birthDate));
    if (!emptyOrValidDate(r.birthDate))
        return fail(failedPlace, "txtBirthday", -1,
                    QStringLiteral("您所输入的日期值不是编辑器认可的日期值。") + kDateWanted);
    if (!notAfterToday(r.birthDate))
        return fail(failedPlace, "txtBirthday", -1, QStringLiteral("出生年月不能晚于当前时间，重新输入！"));

    QString party = normalised(r.partyMembership);
    party.replace(QLatin1Char(';'), QStringLiteral("；"));
    writeBack(r, r.partyMembership, party);
    if (!r.partyMembership.isEmpty() && !isValidPartyText(r.partyMembership))
        return fail(failedPlace, "txtRudang", -1,
                    QStringLiteral("入党时间输入不正确，请参看帮助，重新输入！"));

    writeBack(r, r.workStartDate, normalisedDateText(r.workStartDate));
    if (!emptyOrValidDate(r.workStartDate))
        return fail(failedPlace, "txtWorktime", -1, kDateMessage);
    if (!notAfterToday(r.workStartDate))
        return fail(failedPlace, "txtWorktime", -1,
                    QStringLiteral("工作时间不能晚于当前时间，重新输入！"));

    for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row) {
        QString &cell = r.familyBirthDates[row];
        writeBack(r, cell, normalisedDateText(cell));
        if (!emptyOrValidDate(cell))
            return fail(failedPlace, "txtcsrq", row, kDateMessage);
        if (!notAfterToday(cell))
            return fail(failedPlace, "txtcsrq", row,
                        QStringLiteral("出生时间不能晚于当前时间，重新输入！"));
    }

    // Ages are computed from this date and the fill-in date is printed as
    // year, month and day: four arbitrary characters would print nonsense.
    writeBack(r, r.ageReferenceDate, normalisedDateText(r.ageReferenceDate));
    if (r.ageReferenceDate.isEmpty())
        return fail(failedPlace, "txtDate", -1, QStringLiteral("年龄计算参照时间不能为空！") + kDayWanted);
    if (!isRealDate(r.ageReferenceDate))
        return fail(failedPlace, "txtDate", -1, kDayMessage);

    writeBack(r, r.fillingDate, normalisedDateText(r.fillingDate));
    if (r.fillingDate.isEmpty())
        return fail(failedPlace, "txtFillDate", -1, QStringLiteral("填表时间不能为空！") + kDayWanted);
    if (!isRealDate(r.fillingDate))
        return fail(failedPlace, "txtFillDate", -1, kDayMessage);

    return {};
}

bool holdsDate(const QString &controlName)
{
    const RecordField *field = findRecordField(controlName);
    return field && field->has(RecordField::HoldsDate);
}
