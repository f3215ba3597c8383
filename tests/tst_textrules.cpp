#include "foundation/Clock.h"
#include "record/TextRules.h"
#include <QtTest>

class TestTextRules : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Clock::setToday(QDate()); }

    void dateDigits_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("valid");
        const char *valid[] = {"", "1958", "abcd", "195803", "19580312", "19000229", "20040229", "19580430"};
        const char *invalid[] = {"195", "19583", "195813", "195800", "1958031", "20010229", "20040230",
                                 "19581301", "19580431", "19580931", "19580132", "19580500", "195803121"};
        for (const char *d : valid)
            QTest::newRow(d) << QString::fromLatin1(d) << true;
        for (const char *d : invalid)
            QTest::newRow(d) << QString::fromLatin1(d) << false;
    }

    void dateDigits()
    {
        QFETCH(QString, digits);
        QTEST(isValidDateDigits(digits), "valid");
    }

    void dateText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");   // isNumeric
        QTest::addColumn<bool>("valid");     // isValidDateText
        QTest::addColumn<bool>("period");    // isPeriodDate
        for (QChar w : QStringLiteral("春夏秋冬初中底"))
            QTest::newRow(qPrintable(QStringLiteral("1985") + w)) << QStringLiteral("1985") + w << false << true << true;
        QTest::newRow("blank") << "  " << false << true << false;
        QTest::newRow("year spaced") << " 1985 " << true << true << false;
        QTest::newRow("period spaced") << " 1985秋 " << false << true << false;
        QTest::newRow("full date") << "19850701" << true << true << false;
        QTest::newRow("month 13") << "198513" << true << false << false;
        QTest::newRow("dotted") << "1985.07" << true << false << false;
        QTest::newRow("sign") << "-12" << true << false << false;
        QTest::newRow("inner space") << "19 58" << false << false << false;
        QTest::newRow("exponent") << "19e5" << false << false << false;
        QTest::newRow("two dots") << "1958.03.01" << false << false << false;
        QTest::newRow("full-width digits") << "１９８５" << false << false << false;
        QTest::newRow("season") << "1985春季" << false << false << false;
        QTest::newRow("short year") << "85春" << false << false << false;
        QTest::newRow("other word") << "1985年" << false << false << false;
    }

    void dateText()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QTEST(isNumeric(text), "numeric");
        QTEST(isPeriodDate(text), "period");
        QString t = text;
        QCOMPARE(isValidDateText(t), valid);
        if (valid)
            QCOMPARE(t, text.trimmed());   // trimmed in place
    }

    void ageOnReferenceDate_data()
    {
        QTest::addColumn<QString>("ref");
        QTest::addColumn<QString>("birth");
        QTest::addColumn<QString>("age");
        QTest::newRow("autumn before october") << "20030926" << "1960秋" << "42";
        QTest::newRow("autumn in october") << "20031015" << "1960秋" << "43";
        QTest::newRow("winter in december") << "20031215" << "1960冬" << "43";   // same month is not after
        QTest::newRow("period, no ref month") << "2003" << "1960春" << "43";
        QTest::newRow("other word is january") << "200300" << "1958年" << "44";
        QTest::newRow("month reached") << "200309" << "195809" << "45";
        QTest::newRow("month not reached") << "200309" << "195810" << "44";
        QTest::newRow("no ref month") << "2003" << "195810" << "44";
        QTest::newRow("year only") << "20030926" << "  1958  " << "45";
        QTest::newRow("day ignored") << "20030901" << "19580930" << "45";
        QTest::newRow("future month") << "20030926" << "200310" << "-1";
        QTest::newRow("too short") << "20030926" << "195" << "";
        QTest::newRow("five digits") << "20030926" << "19589" << "";
        QTest::newRow("seven digits") << "20030926" << "1958093" << "";
    }

    void ageOnReferenceDate()
    {
        QFETCH(QString, ref);
        QFETCH(QString, birth);
        QTEST(ageAt(ref, birth), "age");
    }

    void validParty_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QDate>("today");
        const QDate day(2003, 9, 26);
        auto row = [&](const char *name, const QString &text, bool valid, QDate today = QDate()) {
            QTest::newRow(name) << text << valid << (today.isValid() ? today : day);
        };
        row("date and parties", "198507；民盟；九三", true);
        row("date not first", "民盟；198507", false);
        row("bad month first", "198513；民盟", false);
        row("five digits first", "19851", false);
        row("four parts, blank last", "198507；民盟；九三；  ", true);
        row("four parts", "198507；民盟；九三；致公", false);
        row("five parts", "198507；民盟；九三；；", false);
        row("invalid later date-like", "198507；198513", true);
        row("today", "20030926", true);
        row("next year", "2004；民盟", false);
        row("next year, once it came", "2004；民盟", true, QDate(2004, 1, 1));
        row("summer before september", "2003夏", true);
        row("autumn after september", "2003秋", false);
    }

    void validParty()
    {
        QFETCH(QDate, today);
        Clock::setToday(today);
        QFETCH(QString, text);
        QTEST(isValidPartyText(text), "valid");
    }

    void smallHelpers()
    {
        QString spaced = QStringLiteral(" 195803 ");
        QCOMPARE(dotDate(spaced), QStringLiteral("1958.03"));
        QCOMPARE(spaced, QStringLiteral("195803"));   // trimmed in place
        QCOMPARE((QStringList{dotDate("19580312"), dotDate("19583"), dotDate("1985春")}),
                 (QStringList{"1958.03", "1958.3", "1985.春"}));
        const int months[] = {4, 7, 10, 12, 3, 6, 12};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(periodMonth(QStringLiteral("春夏秋冬初中底").at(i)), months[i]);
        // Plain digits only, every given length limit holding on the trimmed text.
        QVERIFY(isDigitString(" 1985 ", 4, 4, 4) && isDigitString("1985", 0, 0, 0));
        QVERIFY(!isDigitString("-198", 0, 0, 0) && !isDigitString("19.8", 0, 0, 0) && !isDigitString("85春", 0, 0, 0));
        QVERIFY(!isDigitString("1985", 3, 0, 0) && !isDigitString("1985", 0, 5, 0) && !isDigitString("1985", 0, 0, 6));
        // A full-width space stays; trimming takes spaces only.
        QCOMPARE((QStringList{removeSpaces(" a b  中　共 "), removeChar("1985.07.01", "."), curlQuotes("a\"b\"c\"d"),
                              stripLineBreaks("a\r\nb\rc\nd"), trimSpaces("\ta b  "), trimSpaces("    ")}),
                 (QStringList{"ab中　共", "19850701", "a“b”c“d", "abcd", "\ta b", ""}));
    }
};

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
