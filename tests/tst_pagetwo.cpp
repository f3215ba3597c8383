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

    // Empty parts keep their row; ages count against ageReferenceDate; four-character
    // political status stands two over two; a text too long is reported.
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
        auto column = [&](double x0, double x1) {
            QStringList out;
            for (const Op &op : textsIn(ops, x0, x1, kFamilyTop - 1, T + 8055.6))
                out << QStringLiteral("%1:%2").arg(int((op.y - kFamilyTop) / 300)).arg(op.text);
            return out;
        };
        // row k of 600 is half-rows 2k and 2k + 1
        QCOMPARE(column(B + 680.4, B + 1587.6), QStringList({"0:父亲", "4:妻子"}));
        QCOMPARE(column(B + 1587.6, B + 2721.6), QStringList());
        QCOMPARE(column(B + 2721.6, B + 3175.2), QStringList({"0:72", "4:68", "6:42"}));
        QCOMPARE(column(B + 3175.2, B + 4082.4), QStringList({"0:中共", "1:党员", "2:群众"}));
        // two characters fill the whole 600-high cell, centred
        const double second = roundHalfEven(kFamilyTop + 600);
        QCOMPARE(findText(ops, QStringLiteral("群众"))->y, double(roundHalfEven(second + 300 - kaiTiLineHeight() / 2)));

        FormPages b = p;
        b.margins.top -= 200;
        b.margins.pageTwoLeft += 80;
        b.margins.pageOneLeft += 500;   // page one's left margin leaves page two alone
        verifyShifted(ops, recordPage(b, 2), 80, -200);
    }

};

QTEST_MAIN(TestPageTwo)
#include "tst_pagetwo.moc"
