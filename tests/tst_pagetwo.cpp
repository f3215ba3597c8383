#include "support/PageTestSupport.h"

using namespace PageTest;

namespace {
const double T = 1134, B = 510, W = 8165;
const double kFamilyTop = T + 3859.8;   // first family row, below the header
} // namespace

class TestPageTwo : public QObject {
    Q_OBJECT
private slots:
    void reportingUnitByLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("height");   // 0: printed as it is, at 12
        QTest::addColumn<int>("lines");
        QTest::newRow("9") << 9 << B + 4932.9 << 0.0 << 1;
        QTest::newRow("10") << 10 << double(roundHalfEven(B + 567)) << 227.0 << 1;
        QTest::newRow("30") << 30 << double(roundHalfEven(B + 737.1)) << 227.0 << 1;
        QTest::newRow("33") << 33 << double(roundHalfEven(B + 737.1)) << 454.0 << 2;
    }
    void reportingUnitByLength()
    {
        QFETCH(int, length);
        QFETCH(double, x);
        QFETCH(double, height);
        QFETCH(int, lines);
        FormPages p;
        const QString unit = QStringLiteral("单").repeated(length);
        p.reportingUnit = QStringLiteral("  ") + unit + QStringLiteral(" ");
        const QList<Op> ops = recordPage(p, 2);
        const QList<Op> drawn = textsIn(ops, B + 500, B + W, T + 8700, T + 9300);
        QVERIFY(joined(drawn) == unit && near(drawn.first().x, x) && ofKind(ops, Op::Message).isEmpty());
        QCOMPARE(drawn.size(), lines);
        const double top = roundHalfEven(T + 8788.5);
        if (height == 0)
            QVERIFY(near(drawn.first().y, T + 8788.5) && drawn.first().size == 12.0);
        else
            QVERIFY(drawn.first().y >= top - 1 && drawn.last().y < top + height);
    }

    // A column without "@" draws nothing; a text too long is reported.
    // Then the filled page moves with the margins.
    void filledFormAndMargins()
    {
        FormPages p;
        p.ageReferenceDate = QStringLiteral("20030326");
        p.familyRelations = QStringLiteral("父亲@@妻子@@@@@@@");
        p.familyNames = QStringLiteral("无分隔");   // no "@": nothing drawn
        p.familyBirthDates = QStringLiteral("193005@@19350301@1960秋@@@@@@");
        p.familyPoliticalStatus = QStringLiteral("中共党员@群众@@@@@@@@");
        p.familyWorkplaces = QStringLiteral("长").repeated(200) + QStringLiteral("@@@@@@@@@");
        p.rewardsAndPunishments = QStringLiteral("无");
        p.reportingUnit = QStringLiteral("某某市委组织部");
        p.fillingDate = QStringLiteral("20240315");
        const QList<Op> ops = recordPage(p, 2);
        const QList<Op> msgs = ofKind(ops, Op::Message);
        QVERIFY(msgs.size() == 1 && msgs[0].text.startsWith(QStringLiteral("家庭成员工作单位")));
        // the names column has no "@": nothing is drawn (the columns as drawn are in the golden lists)
        QVERIFY(textsIn(ops, B + 1587.6, B + 2721.6, kFamilyTop - 1, T + 8055.6).isEmpty());

        FormPages b = p;
        b.margins.top -= 200;
        b.margins.pageTwoLeft += 80;
        b.margins.pageOneLeft += 500;   // page one's left margin leaves page two alone
        verifyShifted(ops, recordPage(b, 2), 80, -200);
    }

};

QTEST_MAIN(TestPageTwo)
#include "tst_pagetwo.moc"
