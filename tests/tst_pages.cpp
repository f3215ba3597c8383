// The two pages drawn onto the recording surface: what the golden display
// lists cannot show (cells no document can produce, margins).
#include "layout/RecordingSurface.h"
#include "foundation/Twips.h"
#include "pages/FormPages.h"
#include <QtTest>
#include <cmath>

using Op = RecordingSurface::Op;

namespace {

const double T = 1134, L = 850, B = 510;   // the default top and left margins

// Page 1 or 2 with the usual pens, from the font its caller leaves set.
QList<Op> recordPage(FormPages &p, int page)
{
    RecordingSurface s;
    s.setFontName(page == 1 ? QStringLiteral("宋体") : QStringLiteral("楷体"));
    s.setFontSize(12);
    page == 1 ? p.drawPageOne(s) : p.drawPageTwo(s);
    return s.ops();
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-6; }

// The ops for which `keep` holds, in drawing order.
template <class Keep> QList<Op> where(const QList<Op> &ops, Keep keep)
{
    QList<Op> out;
    for (const Op &op : ops)
        if (keep(op))
            out << op;
    return out;
}
// Texts drawn inside the box [x0, x1) x [y0, y1).
QList<Op> textsIn(const QList<Op> &ops, double x0, double x1, double y0, double y1)
{
    return where(ops, [=](const Op &op) { return op.kind == Op::Text && op.x >= x0 && op.x < x1 && op.y >= y0 && op.y < y1; });
}
Op textOp(const QList<Op> &ops, const QString &text)
{
    return where(ops, [&](const Op &op) { return op.kind == Op::Text && op.text == text; }).value(0);
}
int pictures(const QList<Op> &ops) { return where(ops, [](const Op &op) { return op.kind == Op::Picture; }).size(); }

// Two recordings of the same page that differ only by a shift of (dx, dy):
// texts, lines (both ends) and pictures move, messages stay as they are.
void verifyShifted(const QList<Op> &a, const QList<Op> &b, double dx, double dy)
{
    QCOMPARE(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i) {
        const Op &p = a.at(i), &q = b.at(i);
        const double mx = p.kind == Op::Message ? 0 : dx, my = p.kind == Op::Message ? 0 : dy;
        const double ex = p.kind == Op::Line ? dx : 0, ey = p.kind == Op::Line ? dy : 0;
        QVERIFY2(q.kind == p.kind && q.text == p.text && q.size == p.size && q.width == p.width
                     && near(q.x, p.x + mx) && near(q.y, p.y + my) && near(q.x2, p.x2 + ex) && near(q.y2, p.y2 + ey),
                 qPrintable(QStringLiteral("op %1 %2").arg(i).arg(p.text)));
    }
}

} // namespace

class TestPages : public QObject {
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
        int i = 0;
        for (QString *field : {&p.partyJoinDate, &p.partyName1, &p.partyName2, &p.partyName3})
            *field = in.value(i++);
        const QList<Op> ops = recordPage(p, 1);
        const double top = roundHalfEven(T + 1216.5);
        const QList<Op> cell = textsIn(ops, roundHalfEven(L + 907.2), L + 2041.2, top, top + 600);
        const QString upper = out.value(0), lower = out.value(1);
        if (lower.isEmpty()) {   // the whole cell, wrapped when it must be
            QString whole;
            for (const Op &op : cell)
                whole += op.text;
            QCOMPARE(whole, upper);
            QVERIFY(cell.size() > 1 || (cell[0].y > top + 100 && cell[0].y < top + 300));
        } else {
            QCOMPARE(cell.size(), 2);
            QVERIFY(cell[0].text == upper && cell[1].text == lower);
            QVERIFY(cell[0].y < top + 300 && cell[1].y >= top + 300);
            QVERIFY(cell[0].size <= cell[1].size);   // the upper line starts at the lower line's size
        }
    }

    // The résumé's size comes from its text alone: shortened after a long
    // one, it prints at 12 points again.
    void resumeSizeFromItsText()
    {
        FormPages p;
        for (const auto &[lines, size] : {std::pair{30, 9.0}, std::pair{3, 12.0}}) {
            p.resume = QStringLiteral("1990--  某地工作\r\n").repeated(lines - 1) + QStringLiteral("至今");
            QCOMPARE(textOp(recordPage(p, 1), QStringLiteral("至今")).size, size);
        }
    }

    // A filled form moves with the margins while the table keeps its size.
    void pageOneFilledFormAndMargins()
    {
        FormPages a;
        a.name = QStringLiteral("张三"), a.sex = QStringLiteral("男"), a.ethnicGroup = QStringLiteral("汉族");
        a.partyJoinDate = QStringLiteral("1990.01"), a.partyName1 = QStringLiteral("民盟"), a.partyName2 = QStringLiteral("中共");
        a.educationItems = QStringLiteral("大学#学士@#");
        a.currentPosts = QStringLiteral("甲").repeated(60);
        a.resume = QStringLiteral("1980--1984  学生\r\n1984--  干部");
        a.birthDate = QStringLiteral("19600512"), a.ageReferenceDate = QStringLiteral("20240101");
        a.hasPhoto = true, a.photoPicture = QImage(30, 40, QImage::Format_RGB32);
        const QList<Op> ops = recordPage(a, 1);
        QCOMPARE(pictures(ops), 1);   // placed as in the golden lists, which have photos

        FormPages b = a;
        b.margins.top += 240;   // even shifts keep every half-even rounding in step
        b.margins.pageOneLeft -= 100;
        b.margins.pageTwoLeft += 300;   // page two's margin leaves page one alone
        verifyShifted(ops, recordPage(b, 1), -100, 240);
        b.margins.top = 1135;   // cell tops are rounded half to even: T + 616.5 is 1752; KaiTi's line is 240
        QCOMPARE(textOp(recordPage(b, 1), a.ethnicGroup).y, 1752 + 300 - 120);
        a.hasPhoto = false;   // a picture kept but not attached is not drawn
        QCOMPARE(pictures(recordPage(a, 1)), 0);
    }

    // A column without "@" draws nothing (documents always have them); then
    // the filled page, a message among it, moves with the margins.
    void pageTwoFilledFormAndMargins()
    {
        FormPages p;
        p.ageReferenceDate = QStringLiteral("20030326");
        p.familyRelations = QStringLiteral("父亲@@妻子@@@@@@@");
        p.familyNames = QStringLiteral("无分隔");   // no "@": nothing drawn
        p.familyBirthDates = QStringLiteral("193005@@19350301@1960秋@@@@@@");
        p.familyPoliticalStatus = QStringLiteral("中共党员@群众@@@@@@@@");
        p.familyWorkplaces = QStringLiteral("长").repeated(200) + QStringLiteral("@@@@@@@@@");
        p.rewardsAndPunishments = QStringLiteral("无");
        p.reportingUnit = QStringLiteral("某某市委组织部"), p.fillingDate = QStringLiteral("20240315");
        const QList<Op> ops = recordPage(p, 2);
        // Nothing in the names column from its first row down (columns as drawn: the golden lists).
        QVERIFY(textsIn(ops, B + 1587.6, B + 2721.6, T + 3858.8, T + 8055.6).isEmpty());

        FormPages b = p;
        b.margins.top -= 200;
        b.margins.pageTwoLeft += 80;
        b.margins.pageOneLeft += 500;   // page one's left margin leaves page two alone
        verifyShifted(ops, recordPage(b, 2), 80, -200);
    }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
