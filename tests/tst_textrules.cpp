#include "app/Clock.h"
#include "layout/TextRules.h"
#include <QtTest>

class TextRulesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Clock::setToday(QDate()); }

    void numeric_data();
    void numeric();
    void digitString();
    void monthAndDay_data();
    void monthAndDay();
    void dateDigits_data();
    void dateDigits();
    void periodDate_data();
    void periodDate();
    void validDateText_data();
    void validDateText();
    void validDateTextTrimsInPlace();
    void periodMonths();
    void ageAt_data();
    void ageAt();
    void dotDate_data();
    void dotDate();
    void splitParty_data();
    void splitParty();
    void validParty_data();
    void validParty();
    void validPartyAgainstToday();
    void smallHelpers();
};

void TextRulesTest::numeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("digits") << "1958" << true;
    QTest::newRow("spaces around") << "  1958 " << true;
    QTest::newRow("sign") << "-12" << true;
    QTest::newRow("plus") << "+12" << true;
    QTest::newRow("dotted") << "1958.03" << true;
    QTest::newRow("trailing dot") << "1958." << true;
    QTest::newRow("leading dot") << ".5" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "   " << false;
    QTest::newRow("dot alone") << "." << false;
    QTest::newRow("inner space") << "19 58" << false;
    QTest::newRow("two dots") << "1958.03.01" << false;
    QTest::newRow("period word") << "1985春" << false;
    QTest::newRow("full-width digits") << "１９８５" << false;
    QTest::newRow("letters") << "abcd" << false;
}

void TextRulesTest::numeric()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumeric(text), numeric);
}

void TextRulesTest::digitString()
{
    QVERIFY(IsDigitString("1985", 0, 0, 0));
    QVERIFY(IsDigitString(" 1985 ", 4, 4, 4));
    QVERIFY(!IsDigitString("1985", 3, 0, 0));
    QVERIFY(!IsDigitString("1985", 0, 5, 0));
    QVERIFY(!IsDigitString("1985", 0, 0, 6));
    QVERIFY(!IsDigitString("-198", 0, 0, 0));
    QVERIFY(!IsDigitString("+198", 0, 0, 0));
    QVERIFY(!IsDigitString("19.8", 0, 0, 0));
    QVERIFY(!IsDigitString("", 0, 0, 0));
    QVERIFY(!IsDigitString("85春", 0, 0, 0));
}

void TextRulesTest::monthAndDay_data()
{
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("d");
    QTest::addColumn<bool>("monthOk");
    QTest::addColumn<bool>("dayOk");
    QTest::newRow("jan 31") << "2003" << "01" << "31" << true << true;
    QTest::newRow("apr 31") << "2003" << "04" << "31" << true << false;
    QTest::newRow("jun 30") << "2003" << "06" << "30" << true << true;
    QTest::newRow("sep 31") << "2003" << "09" << "31" << true << false;
    QTest::newRow("nov 31") << "2003" << "11" << "31" << true << false;
    QTest::newRow("dec 31") << "2003" << "12" << "31" << true << true;
    QTest::newRow("feb 29 leap") << "2004" << "02" << "29" << true << true;
    QTest::newRow("feb 29 common") << "2003" << "02" << "29" << true << false;
    QTest::newRow("feb 29 1900") << "1900" << "02" << "29" << true << true;
    QTest::newRow("feb 30 leap") << "2004" << "02" << "30" << true << false;
    QTest::newRow("day 0") << "2003" << "05" << "00" << true << false;
    QTest::newRow("month 0") << "2003" << "00" << "01" << false << false;
    QTest::newRow("month 13") << "2003" << "13" << "01" << false << false;
    QTest::newRow("month 12 unpadded") << "2003" << "12" << "1" << true << true;
}

void TextRulesTest::monthAndDay()
{
    QFETCH(QString, y);
    QFETCH(QString, m);
    QFETCH(QString, d);
    QFETCH(bool, monthOk);
    QFETCH(bool, dayOk);
    QCOMPARE(CheckMonth(m).isEmpty(), monthOk);
    QCOMPARE(CheckDay(y, m, d), dayOk ? QString() : QStringLiteral("error"));
}

void TextRulesTest::dateDigits_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("result");
    const QString e = QStringLiteral("error");
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("1") << "1" << e;
    QTest::newRow("3") << "195" << e;
    QTest::newRow("year") << "1958" << QString();
    QTest::newRow("any four") << "abcd" << QString();
    QTest::newRow("5") << "19583" << e;
    QTest::newRow("year month") << "195803" << QString();
    QTest::newRow("month 13 of 6") << "195813" << e;
    QTest::newRow("month 00 of 6") << "195800" << e;
    QTest::newRow("7") << "1958031" << e;
    QTest::newRow("full") << "19580312" << QString();
    QTest::newRow("1900-02-29") << "19000229" << QString();
    QTest::newRow("2001-02-29") << "20010229" << e;
    QTest::newRow("month 13") << "19581301" << e;
    QTest::newRow("day 31 in april") << "19580431" << e;
    QTest::newRow("day 32") << "19580132" << e;
    QTest::newRow("9") << "195803121" << e;
}

void TextRulesTest::dateDigits()
{
    QFETCH(QString, digits);
    QFETCH(QString, result);
    QCOMPARE(CheckDateDigits(digits), result);
}

void TextRulesTest::periodDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("period");
    const QString words = QStringLiteral("春夏秋冬初中底");
    for (QChar w : words)
        QTest::newRow(qPrintable(QStringLiteral("1985") + w)) << QStringLiteral("1985") + w << true;
    QTest::newRow("spring season") << "1985春季" << false;
    QTest::newRow("two-digit year") << "85春" << false;
    QTest::newRow("other word") << "1985年" << false;
    QTest::newRow("sign in year") << "-985春" << false;
    QTest::newRow("digits only") << "19851" << false;
    QTest::newRow("word first") << "春1985" << false;
}

void TextRulesTest::periodDate()
{
    QFETCH(QString, text);
    QFETCH(bool, period);
    QCOMPARE(IsPeriodDate(text), period);
}

void TextRulesTest::validDateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("blank") << "  " << true;
    QTest::newRow("year") << "1985" << true;
    QTest::newRow("year month") << "198507" << true;
    QTest::newRow("full date") << "19850701" << true;
    QTest::newRow("period") << "1985春" << true;
    QTest::newRow("period with spaces") << " 1985秋 " << true;
    QTest::newRow("month 13") << "198513" << false;
    QTest::newRow("day 31 of june") << "19850631" << false;
    QTest::newRow("dotted") << "1985.07" << false;
    QTest::newRow("exponent form") << "1e05" << false;
    QTest::newRow("season word") << "1985春季" << false;
    QTest::newRow("words") << "一九八五" << false;
    QTest::newRow("five digits") << "19857" << false;
}

void TextRulesTest::validDateText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidDateText(text), valid);
}

void TextRulesTest::validDateTextTrimsInPlace()
{
    QString blank = QStringLiteral("  ");
    QVERIFY(IsValidDateText(blank));
    QCOMPARE(blank, QString());
    QString spaced = QStringLiteral(" 1985春  ");
    QVERIFY(IsValidDateText(spaced));
    QCOMPARE(spaced, QStringLiteral("1985春"));
}

void TextRulesTest::periodMonths()
{
    const QString words = QStringLiteral("春夏秋冬初中底");
    const int months[] = {4, 7, 10, 12, 3, 6, 12};
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(PeriodMonth(words.at(i)), months[i]);
    QCOMPARE(PeriodMonth(QChar(u'年')), 1);
    QVERIFY(PeriodMonthAfter("20030926", "秋"));
    QVERIFY(!PeriodMonthAfter("20031015", "秋"));
    QVERIFY(!PeriodMonthAfter("20031215", "冬"));   // same month is not after
    QVERIFY(!PeriodMonthAfter("2003", "春"));       // no month to compare
    QVERIFY(PeriodMonthAfter("200300", "年"));      // any other word is January
}

void TextRulesTest::ageAt_data()
{
    QTest::addColumn<QString>("ref");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("age");
    QTest::newRow("autumn before october") << "20030926" << "1960秋" << "42";
    QTest::newRow("autumn in october") << "20031015" << "1960秋" << "43";
    QTest::newRow("month reached") << "200309" << "195809" << "45";
    QTest::newRow("month not reached") << "200309" << "195810" << "44";
    QTest::newRow("no reference month") << "2003" << "195810" << "44";
    QTest::newRow("year only") << "20030926" << "1958" << "45";
    QTest::newRow("day ignored") << "20030901" << "19580930" << "45";
    QTest::newRow("full date") << "20030926" << "19581001" << "44";
    QTest::newRow("spaces trimmed") << "20030926" << "  1958  " << "45";
    QTest::newRow("future year") << "20030926" << "2004" << "-1";
    QTest::newRow("future month") << "20030926" << "200310" << "-1";
    QTest::newRow("too short") << "20030926" << "195" << "";
    QTest::newRow("too long") << "20030926" << "195809301" << "";
    QTest::newRow("five digits") << "20030926" << "19589" << "";
    QTest::newRow("seven digits") << "20030926" << "1958093" << "";
    QTest::newRow("empty") << "20030926" << "" << "";
    QTest::newRow("words") << "20030926" << "一九五八年" << "";
    QTest::newRow("other word is january") << "200300" << "1958年" << "44";
}

void TextRulesTest::ageAt()
{
    QFETCH(QString, ref);
    QFETCH(QString, birth);
    QFETCH(QString, age);
    QCOMPARE(AgeAt(ref, birth), age);
}

void TextRulesTest::dotDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dotted");
    QTest::newRow("full") << "19580312" << "1958.03";
    QTest::newRow("year month") << "195803" << "1958.03";
    QTest::newRow("year") << "1958" << "1958";
    QTest::newRow("five") << "19583" << "1958.3";
    QTest::newRow("period") << "1985春" << "1985.春";
    QTest::newRow("trimmed") << " 195803 " << "1958.03";
    QTest::newRow("empty") << "" << "";
}

void TextRulesTest::dotDate()
{
    QFETCH(QString, text);
    QFETCH(QString, dotted);
    QCOMPARE(DotDate(text), dotted);
    QString inPlace = text;
    DotDate(inPlace);
    QCOMPARE(inPlace, TrimSpaces(text));
}

void TextRulesTest::splitParty_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("p1");
    QTest::addColumn<QString>("p2");
    QTest::addColumn<QString>("p3");
    const QString zg = QStringLiteral("中共");
    QTest::newRow("dotted date") << "1985.07" << "1985.07" << zg << "" << "";
    QTest::newRow("plain date") << "19850701" << "1985.07" << zg << "" << "";
    QTest::newRow("spaced date") << "1985 07" << "1985.07" << zg << "" << "";
    QTest::newRow("date second") << "民盟；199001" << "1990.01" << "民盟" << zg << "";
    QTest::newRow("date first") << "199001；民盟；九三" << "1990.01" << zg << "民盟" << "九三";
    QTest::newRow("date third") << "民盟；九三；1990" << "1990" << "民盟" << "九三" << zg;
    QTest::newRow("trailing semicolon") << "198507；" << "1985.07" << zg << "" << "";
    QTest::newRow("no date") << "民盟；九三" << "" << "民盟" << "九三" << "";
    QTest::newRow("fourth dropped") << "民盟；九三；致公；1990" << "" << "民盟" << "九三" << "致公";
    QTest::newRow("period alone") << "1985春" << "1985春" << zg << "" << "";
    QTest::newRow("period in part") << "民盟；1985春" << "1985.春" << "民盟" << zg << "";
    QTest::newRow("blank") << "   " << "" << zg << "" << "";
    QTest::newRow("name alone") << "民盟" << "" << "民盟" << "" << "";
    QTest::newRow("invalid month part") << "民盟；198513" << "" << "民盟" << "198513" << "";
}

void TextRulesTest::splitParty()
{
    QFETCH(QString, text);
    QFETCH(QString, date);
    QFETCH(QString, p1);
    QFETCH(QString, p2);
    QFETCH(QString, p3);
    QString a = "x", b = "x", c = "x";
    QCOMPARE(SplitPartyText(text, a, b, c), date);
    QCOMPARE(a, p1);
    QCOMPARE(b, p2);
    QCOMPARE(c, p3);
}

void TextRulesTest::validParty_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blank") << "  " << true;
    QTest::newRow("date") << "198507" << true;
    QTest::newRow("period date") << "1985春" << true;
    QTest::newRow("date and parties") << "198507；民盟；九三" << true;
    QTest::newRow("name only") << "民盟" << true;
    QTest::newRow("name then date") << "民盟；198507" << false;   // date only in first part
    QTest::newRow("bad month first") << "198513；民盟" << false;
    QTest::newRow("five digits first") << "19851" << false;
    QTest::newRow("dotted first") << "1985.07" << false;
    QTest::newRow("four parts, blank last") << "198507；民盟；九三；" << true;
    QTest::newRow("four parts, blank last spaces") << "198507；民盟；九三；  " << true;
    QTest::newRow("four parts") << "198507；民盟；九三；致公" << false;
    QTest::newRow("four parts, bad date") << "198513；民盟；九三；" << false;
    QTest::newRow("five parts") << "198507；民盟；九三；；" << false;
    QTest::newRow("trailing semicolon") << "198507；" << true;
    QTest::newRow("invalid later date-like text") << "198507；198513" << true;
}

void TextRulesTest::validParty()
{
    Clock::setToday(QDate(2003, 9, 26));
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidPartyText(text), valid);
}

void TextRulesTest::validPartyAgainstToday()
{
    Clock::setToday(QDate(2003, 9, 26));
    QVERIFY(IsValidPartyText("20030926"));
    QVERIFY(IsValidPartyText("200309"));
    QVERIFY(IsValidPartyText("2003"));
    QVERIFY(!IsValidPartyText("200310"));
    QVERIFY(!IsValidPartyText("2004"));
    QVERIFY(!IsValidPartyText("2004；民盟"));
    QVERIFY(IsValidPartyText("2003夏"));          // July is before September
    QVERIFY(!IsValidPartyText("2003秋"));         // October is after it
    QVERIFY(!IsValidPartyText("2004春"));
    // The same text becomes valid once the day has come.
    Clock::setToday(QDate(2004, 1, 1));
    QVERIFY(IsValidPartyText("2004；民盟"));
}

void TextRulesTest::smallHelpers()
{
    QCOMPARE(RemoveSpaces(" a b  c "), QStringLiteral("abc"));
    QCOMPARE(RemoveSpaces("中　共"), QStringLiteral("中　共"));   // full-width space stays
    QCOMPARE(RemoveChar("1985.07.01", "."), QStringLiteral("19850701"));
    QCOMPARE(RemoveChar("abc", ""), QStringLiteral("abc"));
    QCOMPARE(CurlQuotes("a\"b\"c\"d"), QStringLiteral("a“b”c“d"));
    QCOMPARE(CurlQuotes("no quotes"), QStringLiteral("no quotes"));
    QCOMPARE(CurlQuotes("\"\""), QStringLiteral("“”"));
    QCOMPARE(StripLineBreaks("a\r\nb\rc\nd"), QStringLiteral("abcd"));
    QCOMPARE(TrimSpaces("  a b  "), QStringLiteral("a b"));
    QCOMPARE(TrimSpaces("\ta "), QStringLiteral("\ta"));
    QCOMPARE(TrimSpaces("    "), QString());
}

QTEST_GUILESS_MAIN(TextRulesTest)
#include "tst_textrules.moc"
