#include "foundation/Clock.h"
#include "record/FieldSchema.h"
#include "record/FieldChecks.h"
#include <QtTest>

namespace {
AppointmentRecord freshRecord()
{
    AppointmentRecord r;
    r.ageReferenceDate = r.fillingDate = Clock::todayDigits();
    return r;
}
} // namespace

// Each step of the checks on a fresh record (today 2003-09-26) with one
// field set: its message, field, row and page, and what the preparation
// leaves in the field.
class TestFieldChecks : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::setToday(QDate(2003, 9, 26)); }
    void cleanup() { Clock::setToday(QDate()); }

    void steps_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");    // the field afterwards
        QTest::addColumn<QString>("message");   // empty: passes
        QTest::addColumn<int>("page");
        const QString sex = QStringLiteral("性别请填写“男”或“女”！");
        const QString wanted = QStringLiteral("请填写年、年月或年月日，如 1970、197003、19700315，"
                                              "也可写作 1970.03、1970年3月15日；只知季节的，"
                                              "写年份加春、夏、秋、冬、初、中、底，如 1970春。");
        const QString dayWanted = QStringLiteral("请填写实际的日期，如 20240315，也可写作 2024.03.15、2024年3月15日。");
        const QString notADate = QStringLiteral("您所输入的日期值不是编辑器认可的日期值"), later = QStringLiteral("不能晚于当前时间，重新输入！");
        const QString birth = notADate + u'。' + wanted, date = notADate + u'，' + wanted, day = notADate + u'，' + dayWanted;
        const QString bornLater = QStringLiteral("出生年月") + later, work = QStringLiteral("工作时间") + later, born = QStringLiteral("出生时间") + later;
        const QString noDate = QStringLiteral("年龄计算参照时间不能为空！") + dayWanted;
        auto row = [](const char *name, const char *control, int r, const QString &value,
                      const QString &stored, const QString &message, int page) {
            QTest::newRow(name) << QString::fromLatin1(control) << r << value << stored << message << page;
        };
        row("sex spaced", "txtSex", -1, " 男 ", "男", "", 1);
        row("sex empty", "txtSex", -1, "", "", "", 1);
        row("sex other", "txtSex", -1, "male", "male", sex, 1);
        row("sex full-width space", "txtSex", -1, "男　", "男　", sex, 1);
        row("sex line break kept", "txtSex", -1, "男\r\n", "男\r\n", sex, 1);
        row("birthday period", "txtBirthday", -1, "1965春", "1965春", "", 1);
        row("birthday normalised", "txtBirthday", -1, "1965 03\r\n12", "19650312", "", 1);
        row("birthday month 13", "txtBirthday", -1, "196513", "196513", birth, 1);
        // The printed form's own notations are taken and stored as digits.
        row("birthday dotted", "txtBirthday", -1, "1965.03", "196503", "", 1);
        row("birthday dashed", "txtBirthday", -1, "1965-3-5", "19650305", "", 1);
        row("birthday slashed", "txtBirthday", -1, "1965/03", "196503", "", 1);
        row("birthday one-digit month", "txtBirthday", -1, "1965.3", "196503", "", 1);
        row("birthday written", "txtBirthday", -1, "1965年3月", "196503", "", 1);
        row("birthday written day", "txtBirthday", -1, "1965年03月15日", "19650315", "", 1);
        row("birthday full-width", "txtBirthday", -1, "１９６５．０３", "196503", "", 1);
        row("birthday year and season", "txtBirthday", -1, "1965年春", "1965春", "", 1);
        row("birthday mixed separators", "txtBirthday", -1, "1965.03/15", "1965.03/15", birth, 1);
        row("birthday dotted month 13", "txtBirthday", -1, "1965.13", "196513", birth, 1);
        row("birthday after today", "txtBirthday", -1, "20030927", "20030927", bornLater, 1);
        row("birthday today", "txtBirthday", -1, "2003.09.26", "20030926", "", 1);
        row("birthday next year", "txtBirthday", -1, "2004", "2004", bornLater, 1);
        row("party semicolons", "txtRudang", -1, "1985 07; 民盟 ;九三\r\n", "198507；民盟；九三", "", 1);
        row("party after today", "txtRudang", -1, "200310", "200310", "入党时间输入不正确，请参看帮助，重新输入！", 1);
        row("worktime today", "txtWorktime", -1, "20030926", "20030926", "", 1);
        row("worktime normalised", "txtWorktime", -1, " 1985\n", "1985", "", 1);
        row("worktime month 13", "txtWorktime", -1, "198513", "198513", date, 1);
        row("worktime next month", "txtWorktime", -1, "200310", "200310", work, 1);
        row("worktime later this month", "txtWorktime", -1, "20030930", "20030930", work, 1);
        row("party later this month", "txtRudang", -1, "20030930", "20030930", "入党时间输入不正确，请参看帮助，重新输入！", 1);
        row("worktime winter", "txtWorktime", -1, "2003冬", "2003冬", work, 1);
        row("family normalised", "txtcsrq", 3, " 1938 ", "1938", "", 2);
        row("family month 13", "txtcsrq", 2, "19381301", "19381301", date, 2);
        row("family future row 4", "txtcsrq", 4, "2004", "2004", born, 2);
        row("family future row 6", "txtcsrq", 6, "200312", "200312", born, 2);
        row("family later this month", "txtcsrq", 1, "2003-09-30", "20030930", born, 2);
        row("date empty", "txtDate", -1, "", "", noDate, 2);
        row("date blank", "txtDate", -1, "  \r\n", "", noDate, 2);
        row("date normalised", "txtDate", -1, "2003 09", "200309", "", 2);
        row("date period", "txtDate", -1, "2003春", "2003春", day, 2);
        row("date letters", "txtDate", -1, "abcd", "abcd", day, 2);
        row("date written", "txtDate", -1, "2003年9月1日", "20030901", "", 2);
        row("date year 0", "txtDate", -1, "0000", "0000", day, 2);
        row("fill date empty", "txtFillDate", -1, "", "", "填表时间不能为空！" + dayWanted, 2);
        row("fill date letters", "txtFillDate", -1, "abcd", "abcd", day, 2);
        row("fill date normalised", "txtFillDate", -1, "2003\r\n0926", "20030926", "", 2);
        row("fill date feb 30", "txtFillDate", -1, "20030230", "20030230", day, 2);
        row("fill date period", "txtFillDate", -1, "2003春", "2003春", day, 2);
    }

    void steps()
    {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        AppointmentRecord r = freshRecord();
        *recordFieldByControl(r, control, qMax(row, 0)) = value;
        FieldPlace f;
        const Result<> checked = checkAllFields(r, &f);
        QCOMPARE(checked.ok(), message.isEmpty());
        QCOMPARE(*recordFieldByControl(r, control, qMax(row, 0)), stored);
        QCOMPARE(r.isDirty, stored != value);   // only a change counts as an edit
        if (message.isEmpty())
            return;
        QCOMPARE(checked.error(), message + QStringLiteral("\r\n请重试！"));
        QCOMPARE(f.controlName, control);
        QCOMPARE(f.row, row);
        QTEST(f.page, "page");
    }

    // The first failing step is reported; the preparations before it stay,
    // later fields and rows are left as typed.
    void firstFailureWins()
    {
        AppointmentRecord r = freshRecord();
        r.sex = QStringLiteral(" 女");
        r.partyMembership = QStringLiteral("1985 07;民盟");
        r.familyBirthDates[0] = QStringLiteral(" 1940 ");
        r.familyBirthDates[1] = QStringLiteral("2010");       // future: reported
        r.familyBirthDates[2] = QStringLiteral("19381301");   // invalid, but a later row
        r.ageReferenceDate = QStringLiteral(" ");
        FieldPlace f;
        const Result<> checked = checkAllFields(r, &f);
        QCOMPARE(f.row, 1);
        QVERIFY(checked.error().startsWith(QStringLiteral("出生时间不能晚于当前时间")));
        QCOMPARE((QStringList{r.sex, r.partyMembership, r.familyBirthDates[0], r.familyBirthDates[2], r.ageReferenceDate}),
                 (QStringList{"女", "198507；民盟", "1940", "19381301", " "}));
        QVERIFY(!checkAllFields(r));   // no place wanted: still refused
    }
};

QTEST_GUILESS_MAIN(TestFieldChecks)
#include "tst_fieldchecks.moc"
