#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/Twips.h"
#include "render/FormPages.h"

#include <QtTest>

using Op = RecordingSurface::Op;

namespace {

QList<Op> drawPageTwo(FormPages &p)
{
    RecordingSurface s;
    s.setFontName(QStringLiteral("楷体"));
    s.setFontSize(12);
    p.DRAWTHEPHOTO(s, 12, 6);
    return s.ops();
}

QList<Op> ofKind(const QList<Op> &ops, Op::Kind kind)
{
    QList<Op> out;
    for (const Op &op : ops)
        if (op.kind == kind)
            out << op;
    return out;
}

const Op *findText(const QList<Op> &ops, const QString &text)
{
    for (const Op &op : ops)
        if (op.kind == Op::Text && op.text == text)
            return &op;
    return nullptr;
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-6; }

// Texts whose x lies in [x0, x1): the cells of one family column.
QList<Op> textsBetween(const QList<Op> &ops, double x0, double x1, double yFrom)
{
    QList<Op> out;
    for (const Op &op : ops)
        if (op.kind == Op::Text && op.x >= x0 && op.x < x1 && op.y >= yFrom && op.y < 1134 + 8055.6)
            out << op;
    return out;
}

QString repeated(const QString &piece, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += piece;
    return s;
}

const double T = 1134, B = 510, W = 8165, H = 11624;
const double kFamilyTop = T + 3855.6;   // below the header row

} // namespace

class TestPageTwo : public QObject {
    Q_OBJECT
private slots:
    void frameAndGrid()
    {
        FormPages p;
        const QList<Op> lines = ofKind(drawPageTwo(p), Op::Line);
        struct Seg { double x1, y1, x2, y2; int w; };
        QList<Seg> e = {
            {B, T, B + W, T, 12}, {B + W, T, B + W, T + H, 12}, {B + W, T + H, B, T + H, 12}, {B, T + H, B, T, 12},
            {B, T + 1210.8, B + W, T + 1210.8, 6}, {B, T + 2044.8, B + W, T + 2044.8, 6},
            {B, T + 3255.6, B + W, T + 3255.6, 6}, {B + 623.7, T, B + 623.7, T + H, 6},
        };
        for (int k = 1; k <= 7; ++k)
            e.append({B + 623.7, T + 3255.6 + 600 * k, B + W, T + 3255.6 + 600 * k, 6});
        e.append({B, T + 8055.6, B + W, T + 8055.6, 6});
        e.append({B + 1587.6, T + 3255.6, B + 1587.6, T + 8055.6, 6});
        e.append({B + 2721.6, T + 8055.6, B + 2721.6, T + 3255.6, 6});
        e.append({B + 3175.2, T + 3255.6, B + 3175.2, T + 8055.6, 6});
        e.append({B + 4082.4, T + 8055.6, B + 4082.4, T + 3255.6, 6});
        e.append({B, T + 9809.1, B + W, T + 9809.1, 12});
        e.append({B + 4139.1, T + 9809.1, B + 4139.1, T + H, 6});
        e.append({B + 4819.5, T + H, B + 4819.5, T + 9809.1, 6});
        QCOMPARE(lines.size(), e.size());
        for (int i = 0; i < e.size(); ++i) {
            const Op &l = lines.at(i);
            QVERIFY2(near(l.x, e[i].x1) && near(l.y, e[i].y1) && near(l.x2, e[i].x2) && near(l.y2, e[i].y2)
                         && l.width == e[i].w,
                     qPrintable(QStringLiteral("line %1").arg(i)));
        }
    }

    void labelsAndFillInPerson()
    {
        FormPages p;
        p.XINGMINGFILL = QStringLiteral("王某");
        const QList<Op> ops = drawPageTwo(p);
        const QString family = QStringLiteral("家庭主要成员及重要社会关系");
        int found = 0;
        for (const Op &op : ops)
            if (op.kind == Op::Text && near(op.x, B + 198.45) && op.y >= T + 3766.4 && op.y <= T + 7366.6) {
                QCOMPARE(op.text, family.mid(found, 1));
                QVERIFY(near(op.y, T + 3766.5 + 300 * found));
                ++found;
            }
        QCOMPARE(found, 13);
        const Op *work = findText(ops, QStringLiteral("工 作 单 位 及 职 务"));
        QVERIFY(work && near(work->x, B + 4932.9) && near(work->y, T + 3466.5));
        QCOMPARE(work->font, QStringLiteral("楷体"));
        const Op *filler = findText(ops, QStringLiteral("填表人：王某"));
        QVERIFY(filler);
        QVERIFY(near(filler->x, B + 283.5) && near(filler->y, T + H + 177.55));
    }

    void reportingDate_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::newRow("20030326") << "20030326" << "3" << "26";
        QTest::newRow("20031105") << "20031105" << "11" << "5";
    }
    void reportingDate()
    {
        QFETCH(QString, date);
        QFETCH(QString, month);
        QFETCH(QString, day);
        FormPages p;
        p.FillDATE = date;
        const QList<Op> ops = drawPageTwo(p);
        const double y = T + 9316.5;
        struct Piece { QString text; double x; };
        const Piece pieces[] = {{QStringLiteral("2003 年"), B + 5273.1}, {month, B + 6254.01},
                                {QStringLiteral("月"), B + 6577.2}, {day, B + 6917.4}, {QStringLiteral("日"), B + 7257.6}};
        for (const Piece &piece : pieces) {
            bool seen = false;
            for (const Op &op : ops)
                seen |= op.kind == Op::Text && op.text == piece.text && near(op.x, piece.x) && near(op.y, y);
            QVERIFY2(seen, qPrintable(piece.text));
        }
    }

    void familyColumnsWithGaps()
    {
        FormPages p;
        p.CHENWEI = QStringLiteral("父亲@@妻子@@@@@@@");
        p.XINGMING = QStringLiteral("无分隔");   // no "@": nothing drawn
        const QList<Op> ops = drawPageTwo(p);
        const QList<Op> rel = textsBetween(ops, B + 680.4, B + 1587.6, kFamilyTop);
        QCOMPARE(rel.size(), 2);
        QCOMPARE(rel[0].text, QStringLiteral("父亲"));
        QVERIFY(rel[0].y > T + 3859.8 && rel[0].y < T + 4459.8);
        QCOMPARE(rel[1].text, QStringLiteral("妻子"));
        QVERIFY(rel[1].y > T + 3859.8 + 1200 && rel[1].y < T + 4459.8 + 1200);
        QVERIFY(!findText(ops, QStringLiteral("无分隔")));
    }

    void familyAgesAgainstReferenceDate()
    {
        FormPages p;
        p.MYDATE = QStringLiteral("20030326");
        p.BIRTHHH = QStringLiteral("193005@@19350301@1960秋@@@@@@");
        const QList<Op> ops = drawPageTwo(p);
        const QList<Op> ages = textsBetween(ops, B + 2721.6, B + 3175.2, kFamilyTop);
        QStringList texts;
        for (const Op &op : ages)
            texts << op.text;
        QCOMPARE(texts, QStringList({QStringLiteral("72"), QStringLiteral("68"), QStringLiteral("42")}));
        QVERIFY(ages[1].y > T + 3859.8 + 1200);   // row 2: row 1 was empty
    }

    void politicalStatus()
    {
        FormPages p;
        p.MIANMAO = QStringLiteral("中共党员@群众@@@@@@@@");
        const QList<Op> ops = drawPageTwo(p);
        const Op *a = findText(ops, QStringLiteral("中共"));
        const Op *b = findText(ops, QStringLiteral("党员"));
        const Op *c = findText(ops, QStringLiteral("群众"));
        QVERIFY(a && b && c);
        const int top = roundHalfEven(T + 3859.8);
        QVERIFY(a->y >= top && a->y < top + 300);
        QVERIFY(b->y >= top + 300 && b->y < top + 600);
        // two characters fill the full 600-high cell, centred
        MeasuringSurface::instance().picPrameterSetup(QStringLiteral("楷体"), 12, false, 1);
        const double lh = roundHalfEven(MeasuringSurface::instance().getHeight(QStringLiteral("高")));
        QCOMPARE(c->y, double(roundHalfEven(roundHalfEven(T + 4459.8) + 300 - lh / 2)));
    }

    void reportingUnitByLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<double>("x");
        QTest::newRow("9") << 9 << B + 4932.9;
        QTest::newRow("10") << 10 << double(roundHalfEven(B + 567));
        QTest::newRow("30") << 30 << double(roundHalfEven(B + 737.1));
        QTest::newRow("33") << 33 << double(roundHalfEven(B + 737.1));
    }
    void reportingUnitByLength()
    {
        QFETCH(int, length);
        QFETCH(double, x);
        FormPages p;
        p.CHENGBAO = QStringLiteral("  ") + repeated(QStringLiteral("单"), length) + QStringLiteral(" ");
        const QList<Op> ops = drawPageTwo(p);
        QList<Op> unit;
        for (const Op &op : ops)
            if (op.kind == Op::Text && op.x > B + 500 && op.text.startsWith(QStringLiteral("单")))
                unit << op;
        QVERIFY(!unit.isEmpty());
        QVERIFY(near(unit.first().x, x));
        QString joined;
        for (const Op &op : unit)
            joined += op.text;
        QCOMPARE(joined, repeated(QStringLiteral("单"), length));
        if (length == 9) {
            QVERIFY(near(unit.first().y, T + 8788.5));
            QCOMPARE(unit.first().size, 12.0);
        } else {
            // fitted: inside its box (227 high, or 454 from 33 characters)
            const double h = length >= 33 ? 454 : 227;
            QVERIFY(unit.first().y >= roundHalfEven(T + 8788.5) - 1);
            QVERIFY(unit.last().y < roundHalfEven(T + 8788.5) + h);
        }
        QVERIFY(ofKind(ops, Op::Message).isEmpty());
    }

    void marginsShiftEverything()
    {
        FormPages a;
        a.JIANGCHENG = QStringLiteral("无");
        a.CHENWEI = QStringLiteral("父亲@母亲@@@@@@@@");
        a.MIANMAO = QStringLiteral("中共党员@@@@@@@@@");
        a.CHENGBAO = QStringLiteral("某某市委组织部");
        a.FillDATE = QStringLiteral("20240315");
        FormPages b = a;
        b.margins.T -= 200;
        b.margins.B += 80;
        b.margins.L += 500;   // page two ignores page one's left margin
        const QList<Op> oa = drawPageTwo(a);
        const QList<Op> ob = drawPageTwo(b);
        QCOMPARE(oa.size(), ob.size());
        for (int i = 0; i < oa.size(); ++i) {
            const Op &p = oa.at(i), &q = ob.at(i);
            QCOMPARE(q.text, p.text);
            QVERIFY2(near(q.x, p.x + 80) && near(q.y, p.y - 200), qPrintable(p.text));
        }
    }

    void tooLongTextIsReportedWithItsLabel()
    {
        FormPages p;
        p.DANWEI = repeated(QStringLiteral("长"), 200) + QStringLiteral("@@@@@@@@@");
        const QList<Op> msgs = ofKind(drawPageTwo(p), Op::Message);
        QCOMPARE(msgs.size(), 1);
        QVERIFY(msgs[0].text.startsWith(QStringLiteral("家庭成员工作单位")));
    }
};

QTEST_MAIN(TestPageTwo)
#include "tst_pagetwo.moc"
