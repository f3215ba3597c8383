#include "app/Clock.h"
#include "entry/FieldChecks.h"
#include <QtTest>

namespace {

const QString kRetry = QStringLiteral("\r\n请重试！");
const QString kDate = QStringLiteral("您所输入的日期值不是编辑器认可的日期值,请参看帮助。");

AppointmentRecord freshRecord()
{
    AppointmentRecord r;
    r.Date = r.FillDate = Clock::todayDigits();
    return r;
}

} // namespace

class FieldChecksTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::setToday(QDate(2003, 9, 26)); }
    void cleanup() { Clock::setToday(QDate()); }

    void freshRecordPasses();
    void failures_data();
    void failures();
    void preparations();
    void preparationsStayAfterLaterFailure();
    void cleanRecordStaysClean();
    void familyRowsInOrder();
    void firstFailureWins();
    void nullFailureIsAllowed();
};

void FieldChecksTest::freshRecordPasses()
{
    AppointmentRecord r = freshRecord();
    FieldCheckFailure f;
    QVERIFY(CheckAllFields(r, &f));
    QVERIFY(!r.dirtyFlag);
}

void FieldChecksTest::failures_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");   // empty: passes
    QTest::addColumn<int>("page");

    auto row = [](const char *name, const QString &control, int r, const QString &value,
                  const QString &message, int page) {
        QTest::newRow(name) << control << r << value << message << page;
    };
    const QString sex = QStringLiteral("性别请填写“男”或“女”！");
    row("sex man", "txtSex", -1, "男", "", 1);
    row("sex woman spaced", "txtSex", -1, " 女 ", "", 1);
    row("sex empty", "txtSex", -1, "", "", 1);
    row("sex other", "txtSex", -1, "male", sex, 1);
    row("sex twice", "txtSex", -1, "男男", sex, 1);
    row("sex full-width space", "txtSex", -1, "男　", sex, 1);
    row("sex with line break", "txtSex", -1, "男\r\n", sex, 1);

    const QString birth = QStringLiteral("您所输入的日期值不是编辑器认可的日期值。");
    row("birthday full", "txtBirthday", -1, "19650312", "", 1);
    row("birthday period", "txtBirthday", -1, "1965春", "", 1);
    row("birthday split over lines", "txtBirthday", -1, "1965\r\n03", "", 1);
    row("birthday month 13", "txtBirthday", -1, "196513", birth, 1);
    row("birthday april 31", "txtBirthday", -1, "19650431", birth, 1);
    row("birthday dotted", "txtBirthday", -1, "1965.03", birth, 1);
    row("birthday text", "txtBirthday", -1, "一九六五年", birth, 1);

    const QString party = QStringLiteral("入党时间输入不正确，请参看帮助，重新输入！");
    row("party date", "txtRudang", -1, "198507", "", 1);
    row("party ascii semicolons", "txtRudang", -1, "198507;民盟", "", 1);
    row("party future", "txtRudang", -1, "200310", party, 1);
    row("party five parts", "txtRudang", -1, "198507；a；b；c；d", party, 1);
    row("party date second", "txtRudang", -1, "民盟；198507", party, 1);
    row("party bad date", "txtRudang", -1, "19851", party, 1);

    row("worktime today", "txtWorktime", -1, "20030926", "", 1);
    row("worktime this month, later day", "txtWorktime", -1, "20030930", "", 1);
    row("worktime period", "txtWorktime", -1, "1985秋", "", 1);
    row("worktime invalid", "txtWorktime", -1, "198513", kDate, 1);
    row("worktime next month", "txtWorktime", -1, "200310",
        QStringLiteral("工作时间不能晚于当前时间，重新输入！"), 1);
    row("worktime later season", "txtWorktime", -1, "2003冬",
        QStringLiteral("工作时间不能晚于当前时间，重新输入！"), 1);

    const QString familyFuture = QStringLiteral("出生时间不能晚于当前时间，重新输入！");
    row("family birth row 0", "txtcsrq", 0, "19380101", "", 2);
    row("family birth invalid row 2", "txtcsrq", 2, "19381301", kDate, 2);
    row("family birth future row 4", "txtcsrq", 4, "2004", familyFuture, 2);
    row("family birth future row 6", "txtcsrq", 6, "200312", familyFuture, 2);

    row("date empty", "txtDate", -1, "", QStringLiteral("年龄计算参照时间不能为空！"), 2);
    row("date blank", "txtDate", -1, "  \r\n", QStringLiteral("年龄计算参照时间不能为空！"), 2);
    row("date year", "txtDate", -1, "2003", "", 2);
    row("date period", "txtDate", -1, "2003春", kDate, 2);
    row("date month 13", "txtDate", -1, "200313", kDate, 2);
    row("date letters", "txtDate", -1, "abcd", kDate, 2);
    row("date spaced", "txtDate", -1, "2003 09 26", "", 2);

    row("fill date empty", "txtFillDate", -1, "", QStringLiteral("填表时间不能为空！"), 2);
    row("fill date feb 30", "txtFillDate", -1, "20030230", kDate, 2);
    row("fill date period", "txtFillDate", -1, "2003春", kDate, 2);
    row("fill date year month", "txtFillDate", -1, "200309", "", 2);
}

void FieldChecksTest::failures()
{
    QFETCH(QString, control);
    QFETCH(int, row);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(int, page);

    AppointmentRecord r = freshRecord();
    *recordFieldByControl(r, control, qMax(row, 0)) = value;
    FieldCheckFailure f;
    const bool passed = CheckAllFields(r, &f);
    QCOMPARE(passed, message.isEmpty());
    if (passed)
        return;
    QCOMPARE(f.message, message + kRetry);
    QCOMPARE(f.controlName, control);
    QCOMPARE(f.row, row);
    QCOMPARE(f.page, page);
}

void FieldChecksTest::preparations()
{
    AppointmentRecord r = freshRecord();
    r.Sex = QStringLiteral(" 男 ");
    r.Birthday = QStringLiteral("1965 03\r\n12");
    r.Rudang = QStringLiteral("1985 07; 民盟 ;九三\r\n");
    r.Worktime = QStringLiteral(" 1985\n");
    r.csrq[3] = QStringLiteral(" 1938 ");
    r.Date = QStringLiteral(" 2003 09 ");
    r.FillDate = QStringLiteral("2003\r\n0926");
    r.Name = QStringLiteral(" 张 三 ");
    QVERIFY(CheckAllFields(r, nullptr));
    QCOMPARE(r.Sex, QStringLiteral("男"));
    QCOMPARE(r.Birthday, QStringLiteral("19650312"));
    QCOMPARE(r.Rudang, QStringLiteral("198507；民盟；九三"));
    QCOMPARE(r.Worktime, QStringLiteral("1985"));
    QCOMPARE(r.csrq[3], QStringLiteral("1938"));
    QCOMPARE(r.Date, QStringLiteral("200309"));
    QCOMPARE(r.FillDate, QStringLiteral("20030926"));
    QCOMPARE(r.Name, QStringLiteral(" 张 三 "));   // not a checked field
    QVERIFY(r.dirtyFlag);
}

void FieldChecksTest::preparationsStayAfterLaterFailure()
{
    AppointmentRecord r = freshRecord();
    r.Sex = QStringLiteral(" 女");
    r.Rudang = QStringLiteral("1985 07;民盟");
    r.csrq[0] = QStringLiteral(" 1940 ");
    r.csrq[1] = QStringLiteral("2010");
    r.csrq[2] = QStringLiteral(" 1950 ");
    FieldCheckFailure f;
    QVERIFY(!CheckAllFields(r, &f));
    QCOMPARE(f.row, 1);
    QCOMPARE(r.Sex, QStringLiteral("女"));
    QCOMPARE(r.Rudang, QStringLiteral("198507；民盟"));
    QCOMPARE(r.csrq[0], QStringLiteral("1940"));
    QCOMPARE(r.csrq[1], QStringLiteral("2010"));
    QCOMPARE(r.csrq[2], QStringLiteral(" 1950 "));   // rows after the failure untouched
}

void FieldChecksTest::cleanRecordStaysClean()
{
    AppointmentRecord r = freshRecord();
    r.Sex = QStringLiteral("男");
    r.Rudang = QStringLiteral("198507；民盟");
    QVERIFY(CheckAllFields(r, nullptr));
    QVERIFY(!r.dirtyFlag);   // nothing needed preparing
}

void FieldChecksTest::familyRowsInOrder()
{
    // Row 2 is bad as a date, row 1 is in the future: row 1 is reported
    // first because each row is checked completely before the next.
    AppointmentRecord r = freshRecord();
    r.csrq[1] = QStringLiteral("2005");
    r.csrq[2] = QStringLiteral("19381301");
    FieldCheckFailure f;
    QVERIFY(!CheckAllFields(r, &f));
    QCOMPARE(f.row, 1);
    QVERIFY(f.message.startsWith(QStringLiteral("出生时间不能晚于当前时间")));
}

void FieldChecksTest::firstFailureWins()
{
    AppointmentRecord r = freshRecord();
    r.Sex = QStringLiteral("x");
    r.Birthday = QStringLiteral("bad");
    r.Date.clear();
    FieldCheckFailure f;
    QVERIFY(!CheckAllFields(r, &f));
    QCOMPARE(f.controlName, QStringLiteral("txtSex"));
    QCOMPARE(r.Birthday, QStringLiteral("bad"));   // later preparations have not run
    QCOMPARE(r.Date, QString());
}

void FieldChecksTest::nullFailureIsAllowed()
{
    AppointmentRecord r = freshRecord();
    r.Sex = QStringLiteral("x");
    QVERIFY(!CheckAllFields(r, nullptr));
}

QTEST_GUILESS_MAIN(FieldChecksTest)
#include "tst_fieldchecks.moc"
