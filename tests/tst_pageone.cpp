#include "support/PageTestSupport.h"

using namespace PageTest;

namespace {
const double T = 1134, L = 850;
} // namespace

class TestPageOne : public QObject {
    Q_OBJECT
private slots:
    void partyCell_data()
    {
        QTest::addColumn<QStringList>("in");    // partyJoinDate, partyName1..3
        QTest::addColumn<QStringList>("out");   // upper, lower; no lower: the whole cell
        // The golden lists hold a date alone, one name alone, names alone and
        // names over the date.
        QTest::newRow("period date loses dots") << QStringList{"1985.春", "中共"} << QStringList{"1985春"};
        QTest::newRow("one other party") << QStringList{"1990.01", "民盟", "中共"} << QStringList{"民盟", "（1990.01）"};
        QTest::newRow("中共 and two, no date") << QStringList{"", "中共", "民盟", "民进"} << QStringList{"、民盟、民进"};
    }
    void partyCell()
    {
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        FormPages p;
        p.partyJoinDate = in.value(0);
        p.partyName1 = in.value(1);
        p.partyName2 = in.value(2);
        p.partyName3 = in.value(3);
        const QList<Op> ops = recordPage(p, 1);
        const double top = roundHalfEven(T + 1216.5);
        const QList<Op> cell = textsIn(ops, roundHalfEven(L + 907.2), L + 2041.2, top, top + 600);
        const QString upper = out.value(0), lower = out.value(1);
        if (lower.isEmpty()) {   // the whole cell, wrapped when it must be
            QCOMPARE(joined(cell), upper);
            QVERIFY(cell.size() > 1 || (cell[0].y > top + 100 && cell[0].y < top + 300));
        } else {
            QCOMPARE(cell.size(), 2);
            QVERIFY(cell[0].text == upper && cell[1].text == lower);
            QVERIFY(cell[0].y < top + 300 && cell[1].y >= top + 300);
            QVERIFY(cell[0].size <= cell[1].size);   // the upper line starts at the lower line's size
        }
    }

    // Ages count against ageReferenceDate; no age leaves the gap in "(    岁)" empty.
    void birthAndAge()
    {
        const QList<QStringList> cases = {   // birthDate, ageReferenceDate, birth shown, age shown
            {"196005", "20030326", "1960.05", "42"}, {"196005", "20030526", "1960.05", "43"},
            {"1960秋", "20030526", "1960秋", "42"}, {"19xx", "20030526", "19xx", ""},
            {"19.5", "20030526", "19.5", "1984"}};   // 1983.5 as a whole number
        for (const QStringList &c : cases) {
            FormPages p;
            p.birthDate = c[0];
            p.ageReferenceDate = c[1];
            const QList<Op> ops = recordPage(p, 1);
            const QList<Op> gap = textsIn(ops, L + 5443.2, L + 5443.3, T + 316.5, T + 316.6);
            QVERIFY2(findText(ops, c[2]) && joined(gap) == c[3], qPrintable(c.join(QLatin1Char(' '))));
        }
    }

    // A filled form moves with the margins while the table keeps its size.
    void filledFormAndMargins()
    {
        FormPages a;
        a.name = QStringLiteral("张三");
        a.sex = QStringLiteral("男");
        a.ethnicGroup = QStringLiteral("汉族");
        a.partyJoinDate = QStringLiteral("1990.01");
        a.partyName1 = QStringLiteral("民盟");
        a.partyName2 = QStringLiteral("中共");
        a.educationItems = QStringLiteral("大学#学士@#");
        a.currentPosts = QStringLiteral("甲").repeated(60);
        a.resume = QStringLiteral("1980--1984  学生\r\n1984--  干部");
        a.birthDate = QStringLiteral("19600512");
        a.ageReferenceDate = QStringLiteral("20240101");
        a.hasPhoto = true;
        a.photoPicture = QImage(30, 40, QImage::Format_RGB32);
        const QList<Op> ops = recordPage(a, 1);
        QCOMPARE(ofKind(ops, Op::Picture).size(), 1);   // placed as in the golden lists, which have photos

        FormPages b = a;
        b.margins.top += 240;   // even shifts keep every half-even rounding in step
        b.margins.pageOneLeft -= 100;
        b.margins.pageTwoLeft += 300;   // page two's margin leaves page one alone
        verifyShifted(ops, recordPage(b, 1), -100, 240);
        b.margins.top = 1135;   // cell tops are rounded half to even: T + 616.5 is 1752
        QCOMPARE(findText(recordPage(b, 1), a.ethnicGroup)->y, 1752 + 300 - kaiTiLineHeight() / 2);
        a.hasPhoto = false;   // a picture kept but not attached is not drawn
        QVERIFY(ofKind(recordPage(a, 1), Op::Picture).isEmpty());
    }
};

QTEST_MAIN(TestPageOne)
#include "tst_pageone.moc"
