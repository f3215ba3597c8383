#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/ResumeLayout.h"
#include "layout/Twips.h"
#include "render/FormPages.h"

#include <QtTest>

using Op = RecordingSurface::Op;

namespace {

QList<Op> drawPageOne(FormPages &p)
{
    RecordingSurface s;
    s.setFontName(QStringLiteral("宋体"));
    s.setFontSize(12);
    p.预览(s, 12, 6);
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

int countText(const QList<Op> &ops, const QString &text)
{
    int n = 0;
    for (const Op &op : ops)
        n += op.kind == Op::Text && op.text == text;
    return n;
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-6; }

double width(const QString &font, double size, const QString &text)
{
    MeasuringSurface &ms = MeasuringSurface::instance();
    ms.picPrameterSetup(font, size, false, 1);
    return roundHalfEven(ms.getWidth(text));
}

double lineHeight(const QString &font, double size, const QString &ref = QStringLiteral("高"))
{
    MeasuringSurface &ms = MeasuringSurface::instance();
    ms.picPrameterSetup(font, size, false, 1);
    return roundHalfEven(ms.getHeight(ref));
}

QString repeated(const QString &piece, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += piece;
    return s;
}

} // namespace

class TestPageOne : public QObject {
    Q_OBJECT
private slots:
    void init() { ResumeFontSize = 12; }

    void titleFrameAndGrid()
    {
        FormPages p;
        const QList<Op> ops = drawPageOne(p);
        const double T = 1134, L = 850, W = 8165, H = 11624;

        const Op &title = ops.first();
        QCOMPARE(title.kind, Op::Text);
        QCOMPARE(title.text, QStringLiteral("干 部 任 免 审 批 表"));
        QCOMPARE(title.font, QStringLiteral("宋体"));
        QCOMPARE(title.size, 20.0);
        QVERIFY(near(title.x, L + 1984.5) && near(title.y, T - 567));

        struct Seg { double x1, y1, x2, y2; int w; };
        const QList<Seg> expected = {
            {L, T, L + W, T, 12}, {L + W, T, L + W, T + H, 12}, {L + W, T + H, L, T + H, 12}, {L, T + H, L, T, 12},
            {L, T + 600, L + 6350.4, T + 600, 6}, {L, T + 1200, L + 6350.4, T + 1200, 6},
            {L, T + 1800, L + 6350.4, T + 1800, 6}, {L, T + 2400, L + W, T + 2400, 6},
            {L + 907.2, T + 3000, L + W, T + 3000, 6}, {L, T + 3600, L + W, T + 3600, 6},
            // three empty position rows of 600, the last one thick
            {L, T + 4200, L + W, T + 4200, 6}, {L, T + 4800, L + W, T + 4800, 6},
            {L, T + 5400, L + W, T + 5400, 12},
            {L + 680.4, T + 5400, L + 680.4, T + H, 6}, {L + 2041.2, T + 3600, L + 2041.2, T + 5400, 6},
            {L + 907.2, T, L + 907.2, T + 3600, 6}, {L + 2041.2, T, L + 2041.2, T + 1800, 6},
            {L + 2948.4, T, L + 2948.4, T + 2400, 6}, {L + 4082.4, T, L + 4082.4, T + 3600, 6},
            {L + 5216.4, T, L + 5216.4, T + 1800, 6}, {L + 6350.4, T, L + 6350.4, T + 2400, 6},
            {L + 2041.2, T + 2400, L + 2041.2, T + 3600, 6}, {L + 5216.4, T + 2400, L + 5216.4, T + 3600, 6},
        };
        const QList<Op> lines = ofKind(ops, Op::Line);
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i) {
            const Op &l = lines.at(i);
            const Seg &e = expected.at(i);
            QVERIFY2(near(l.x, e.x1) && near(l.y, e.y1) && near(l.x2, e.x2) && near(l.y2, e.y2) && l.width == e.w,
                     qPrintable(QStringLiteral("line %1").arg(i)));
        }
        QCOMPARE(p.XianRenBottom, 1134 + 4200);
        QCOMPARE(p.NiRenBottom, 1134 + 4800);
        QCOMPARE(p.NiMianBottom, 1134 + 5400);
    }

    void labelsAndEmptyPositionRows()
    {
        FormPages p;
        p.JIANLI = QStringLiteral("1980.09--1984.07  某大学学生\r\n1984.07--  某局干部");
        const QList<Op> ops = drawPageOne(p);
        const double T = 1134, L = 850;
        struct Label { const char *text; double x, y; };
        const Label labels[] = {
            {"姓  名", L + 113.4, T + 186.6}, {"出 生 地", L + 4195.8, T + 786.6},
            {" 现  任  职  务", L + 85.05, T + 3786.6}, {" 拟  任  职  务", L + 85.05, T + 4386.6},
            {" 拟  免  职  务", L + 85.05, T + 4986.6}, {"简", L + 226.8, T + 6786.6},
            {"历", L + 226.8, T + 8886.6}, {"出生年月", L + 4195.8, T + 36.6},
            {"照    片", L + 6804, T + 1020.6},
        };
        for (const Label &l : labels) {
            const Op *op = findText(ops, QString::fromUtf8(l.text));
            QVERIFY2(op, l.text);
            QVERIFY2(near(op->x, l.x) && near(op->y, l.y), l.text);
            QCOMPARE(op->font, QStringLiteral("楷体"));
            QCOMPARE(op->size, 12.0);
        }
        QCOMPARE(countText(ops, QStringLiteral("教  育")), 2);
        QCOMPARE(countText(ops, QStringLiteral("(    岁)")), 2);

        // The résumé starts at T + 5716.5, rounded, at L + 1077.3, rounded.
        const Op *first = findText(ops, QStringLiteral("1980.09--1984.07  某大学学生"));
        QVERIFY(first);
        QCOMPARE(first->x, double(roundHalfEven(L + 1077.3)));
        QCOMPARE(first->y, double(roundHalfEven(T + 5716.5)));
        QCOMPARE(first->font, QStringLiteral("楷体"));
    }

    void positionRowsGrow()
    {
        FormPages p;
        p.XIANREN = repeated(QStringLiteral("甲"), 51);                    // 3 lines
        p.NIREN = repeated(QStringLiteral("乙"), 25) + QStringLiteral("。"); // mark pulled up: 1 line
        p.NIMIAN = repeated(QStringLiteral("丙"), 30);                     // 2 lines
        const QList<Op> ops = drawPageOne(p);
        const int T = 1134;
        QCOMPARE(p.XianRenBottom, T + 3600 + 900);
        QCOMPARE(p.NiRenBottom, p.XianRenBottom + 600);
        QCOMPARE(p.NiMianBottom, p.NiRenBottom + 600);
        // 简历 moves down by the extra 300; labels follow the row centres
        const Op *jian = findText(ops, QStringLiteral("简"));
        QVERIFY(near(jian->y, p.NiMianBottom + 1386.6));
        const Op *xian = findText(ops, QStringLiteral(" 现  任  职  务"));
        QVERIFY(near(xian->y, T + 3600 + 450 - 113.4));
        // raised line counts are written back for the résumé
        QCOMPARE(p.XianRenLines, 3);
        QCOMPARE(p.NiRenLines, 2);
        QCOMPARE(p.NiMianLines, 2);
        // position texts are left-aligned in their row
        int nirenLines = 0;
        for (const Op &op : ops) {
            if (op.kind == Op::Text && op.text.startsWith(QStringLiteral("乙"))) {
                ++nirenLines;
                QCOMPARE(op.x, double(roundHalfEven(850 + 2097.9)));
                QVERIFY(op.y >= p.XianRenBottom && op.y < p.NiRenBottom);
            }
        }
        QCOMPARE(nirenLines, 2);   // 26 characters are wider than the row
    }

    void positionRowLineCounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("25") << repeated(QStringLiteral("字"), 25) << 1;
        QTest::newRow("26") << repeated(QStringLiteral("字"), 26) << 2;
        QTest::newRow("51") << repeated(QStringLiteral("字"), 51) << 3;
        QTest::newRow("26 ending 。") << repeated(QStringLiteral("字"), 25) + QStringLiteral("。") << 1;
        QTest::newRow("51 ending ！") << repeated(QStringLiteral("字"), 50) + QStringLiteral("！") << 2;
        QTest::newRow("opening mark pushed") << repeated(QStringLiteral("字"), 24) + QStringLiteral("（字）") << 2;
    }
    void positionRowLineCounts()
    {
        QFETCH(QString, text);
        QFETCH(int, lines);
        QCOMPARE(FormPages::positionRowLines(text), lines);
    }

    void tooLongPositionTextRaisesMessage()
    {
        FormPages p;
        p.NIREN = repeated(QStringLiteral("长"), 76);
        p.NIMIAN = repeated(QStringLiteral("免"), 75);
        const QList<Op> ops = drawPageOne(p);
        const QList<Op> msgs = ofKind(ops, Op::Message);
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs.first().title, QStringLiteral("系统"));
        QCOMPARE(msgs.first().text, QStringLiteral("输入文字过长，请输入字数少于75！拟任职务"));
        QCOMPARE(msgs.first().icon, MessageIcon::Information);
        for (const Op &op : ops)
            QVERIFY(!(op.kind == Op::Text && op.text.startsWith(QStringLiteral("长长"))));
        // 75 characters are drawn, and the row has grown to 4 lines of 300
        QCOMPARE(p.NiRenBottom - p.XianRenBottom, 1200);
        bool drawn = false;
        for (const Op &op : ops)
            drawn |= op.kind == Op::Text && op.text.contains(QStringLiteral("免免"));
        QVERIFY(drawn);
    }

    void oneLineNiMianFitsTheTopOfItsRow()
    {
        FormPages p;
        p.NIMIAN = QStringLiteral("某局副局长");
        const QList<Op> ops = drawPageOne(p);
        const Op *op = findText(ops, p.NIMIAN);
        QVERIFY(op);
        // a 300-high box at the top of the 600-high row, centred vertically
        const double lh = lineHeight(QStringLiteral("楷体"), 12);
        QCOMPARE(op->y, double(roundHalfEven(p.NiRenBottom + 150 - lh / 2)));
    }

    void partyCellShapes()
    {
        const double T = 1134;
        const int x = roundHalfEven(850 + 907.2);
        auto party = [](const QString &time, const QString &p1, const QString &p2, const QString &p3) {
            FormPages p;
            p.PARTYTIME = time;
            p.PARTY1 = p1;
            p.PARTY2 = p2;
            p.PARTY3 = p3;
            return drawPageOne(p);
        };
        // date alone: centred in the whole 600-high cell
        {
            const QList<Op> ops = party(QStringLiteral("1985.07"), QStringLiteral("中共"), {}, {});
            const Op *d = findText(ops, QStringLiteral("1985.07"));
            QVERIFY(d);
            QVERIFY(d->y > T + 1216.5 + 150 && d->y < T + 1516.5);
            QVERIFY(d->x > x);
        }
        // one other party with a date: name over the date in parentheses
        {
            const QList<Op> ops = party(QStringLiteral("1990.01"), QStringLiteral("民盟"), QStringLiteral("中共"), {});
            const Op *up = findText(ops, QStringLiteral("民盟"));
            const Op *low = findText(ops, QStringLiteral("（1990.01）"));
            QVERIFY(up && low);
            QVERIFY(up->y >= T + 1216 && up->y < T + 1516);
            QVERIFY(low->y >= T + 1516 && low->y < T + 1817);
            QCOMPARE(up->size, low->size);
        }
        // two other parties with a date: joined by "、"
        {
            const QList<Op> ops = party(QStringLiteral("1990"), QStringLiteral("中共"), QStringLiteral("民盟"),
                                        QStringLiteral("九三学社"));
            QVERIFY(findText(ops, QStringLiteral("民盟、九三学社")));
            QVERIFY(findText(ops, QStringLiteral("（1990）")));
        }
        // names without a date: in parentheses, whole cell
        {
            const QList<Op> ops = party({}, QStringLiteral("民盟"), {}, {});
            const Op *n = findText(ops, QStringLiteral("(民盟)"));
            QVERIFY(n);
            QVERIFY(n->y > T + 1216.5 && n->y < T + 1516.5);
        }
        // a period date keeps its word but loses its dots
        {
            const QList<Op> ops = party(QStringLiteral("1985春"), QStringLiteral("中共"), {}, {});
            QVERIFY(findText(ops, QStringLiteral("1985春")));
        }
    }

    void partyNamesLine_data()
    {
        QTest::addColumn<QString>("p1");
        QTest::addColumn<QString>("p2");
        QTest::addColumn<QString>("p3");
        QTest::addColumn<QString>("line");
        QTest::newRow("none") << "" << "" << "" << "";
        QTest::newRow("zhonggong only") << "中共" << "" << "" << "";
        QTest::newRow("one") << "民盟" << "" << "" << "(民盟)";
        QTest::newRow("three") << "民盟" << "民进" << "致公党" << "(民盟、民进、致公党)";
        QTest::newRow("zg+one") << "民盟" << "中共" << "" << "(民盟)";
        QTest::newRow("zg+two") << "中共" << "民盟" << "民进" << "、民盟、民进";
    }
    void partyNamesLine()
    {
        QFETCH(QString, p1);
        QFETCH(QString, p2);
        QFETCH(QString, p3);
        QFETCH(QString, line);
        QCOMPARE(FormPages::partyNamesLine(p1, p2, p3), line);
    }

    void setPartyValueSplits()
    {
        FormPages p;
        p.setPartyValue(QStringLiteral("198507"));
        QCOMPARE(p.PARTYTIME, QStringLiteral("1985.07"));
        QCOMPARE(p.PARTY1, QStringLiteral("中共"));
        p.setPartyValue(QStringLiteral("1985"));
        QCOMPARE(p.PARTYTIME, QStringLiteral("1985"));
        p.setPartyValue(QStringLiteral("1985.07；民盟；民进"));
        QCOMPARE(p.PARTYTIME, QStringLiteral("1985.07"));
        QCOMPARE(p.PARTY1, QStringLiteral("中共"));
        QCOMPARE(p.PARTY2, QStringLiteral("民盟"));
        QCOMPARE(p.PARTY3, QStringLiteral("民进"));
        p.setPartyValue(QStringLiteral("民盟"));
        QCOMPARE(p.PARTYTIME, QString());
        QCOMPARE(p.PARTY1, QStringLiteral("民盟"));
        QCOMPARE(p.PARTY2, QString());
    }

    void educationRows()
    {
        FormPages p;
        p.xueli = QStringLiteral("大学#工学学士@#");
        p.BIYE = QStringLiteral("某工业大学#@中央党校函授学院#经济管理专业");
        const QList<Op> ops = drawPageOne(p);
        const double T = 1134;
        const Op *up = findText(ops, QStringLiteral("大学"));
        const Op *low = findText(ops, QStringLiteral("工学学士"));
        QVERIFY(up && low);
        QVERIFY(up->y >= T + 2416 && up->y < T + 2716);
        QVERIFY(low->y >= T + 2716 && low->y < T + 3016);
        QCOMPARE(up->size, low->size);
        // one line only: the whole 600-high cell, left-aligned for schools
        const Op *school = findText(ops, QStringLiteral("某工业大学"));
        QVERIFY(school);
        QCOMPARE(school->x, double(roundHalfEven(850 + 5273.1)));
        QVERIFY(school->y > T + 2416.5 + 100 && school->y < T + 2716.5);
        const Op *s2 = findText(ops, QStringLiteral("中央党校函授学院"));
        const Op *s3 = findText(ops, QStringLiteral("经济管理专业"));
        QVERIFY(s2 && s3);
        QVERIFY(s2->y >= T + 3016 && s3->y >= T + 3316);
        // empty rows draw nothing
        QCOMPARE(countText(ops, QString()), 1);   // only the empty sex cell
    }

    void birthDateAndAge()
    {
        FormPages p;
        p.BIRTH = QStringLiteral("196005");
        p.MYDATE = QStringLiteral("20030326");
        const QList<Op> ops = drawPageOne(p);
        QVERIFY(findText(ops, QStringLiteral("1960.05")));
        const Op *age = findText(ops, QStringLiteral("42"));   // March is before May
        QVERIFY(age);
        QVERIFY(near(age->x, 850 + 5443.2) && near(age->y, 1134 + 316.5));

        p.MYDATE = QStringLiteral("20030526");
        QVERIFY(findText(drawPageOne(p), QStringLiteral("43")));
        p.BIRTH = QStringLiteral("1960秋");
        const QList<Op> autumn = drawPageOne(p);
        QVERIFY(findText(autumn, QStringLiteral("1960秋")));
        QVERIFY(findText(autumn, QStringLiteral("42")));
        p.BIRTH = QStringLiteral("19xx");   // no age: the gap stays empty
        const QList<Op> none = drawPageOne(p);
        for (const Op &op : none)
            QVERIFY(!(op.kind == Op::Text && near(op.x, 850 + 5443.2)));
    }

    void smallCellsAndSex()
    {
        FormPages p;
        p.TNAME = QStringLiteral("张三");
        p.SEX = QStringLiteral("男");
        const QList<Op> ops = drawPageOne(p);
        // the name cell's text area starts at L + 907.2 + 28.35, rounded once
        const Op *name = findText(ops, QStringLiteral("张三"));
        QVERIFY(name);
        const double tw = width(QStringLiteral("楷体"), 12, QStringLiteral("张三"));
        QCOMPARE(name->x, double(roundHalfEven(1786 + 1134 / 2.0 - tw / 2)));
        const Op *sex = findText(ops, QStringLiteral("男"));
        QVERIFY(near(sex->x, 850 + 3402) && near(sex->y, 1134 + 166.5));
    }

    void photoInItsBox()
    {
        FormPages p;
        p.photoPicture = QImage(30, 40, QImage::Format_RGB32);
        p.hasPhoto = true;
        const QList<Op> ops = drawPageOne(p);
        const QList<Op> pics = ofKind(ops, Op::Picture);
        QCOMPARE(pics.size(), 1);
        QVERIFY(near(pics[0].x, 850 + 6350.4 + 20) && near(pics[0].y, 1134 + 14 + 28.35));
        QVERIFY(near(pics[0].x2, 1772.442) && near(pics[0].y2, 2349.48));
        QVERIFY(!findText(ops, QStringLiteral("照    片")));
        p.hasPhoto = false;
        QVERIFY(ofKind(drawPageOne(p), Op::Picture).isEmpty());
    }

    // Every operation moves with the margins; the table keeps its size.
    void marginsShiftEverything()
    {
        FormPages a;
        a.TNAME = QStringLiteral("李某某");
        a.PARTYTIME = QStringLiteral("1990.01");
        a.PARTY1 = QStringLiteral("民盟");
        a.PARTY2 = QStringLiteral("中共");
        a.xueli = QStringLiteral("大学#学士@#");
        a.XIANREN = repeated(QStringLiteral("甲"), 60);
        a.JIANLI = QStringLiteral("1980--1984  学生\r\n1984--  干部");
        a.BIRTH = QStringLiteral("19600512");
        a.MYDATE = QStringLiteral("20240101");
        FormPages b = a;
        b.margins.T += 240;   // even shifts keep every half-even rounding in step
        b.margins.L -= 100;
        const QList<Op> oa = drawPageOne(a);
        const QList<Op> ob = drawPageOne(b);
        QCOMPARE(oa.size(), ob.size());
        for (int i = 0; i < oa.size(); ++i) {
            const Op &p = oa.at(i), &q = ob.at(i);
            QCOMPARE(q.kind, p.kind);
            QCOMPARE(q.text, p.text);
            QVERIFY2(near(q.x, p.x - 100) && near(q.y, p.y + 240), qPrintable(p.text));
            if (p.kind == Op::Line)
                QVERIFY(near(q.x2, p.x2 - 100) && near(q.y2, p.y2 + 240) && q.width == p.width);
        }
        // whole-twip rounding at an odd top margin: T + 616.5 with T = 1135
        FormPages c;
        c.margins.T = 1135;
        c.PEOPLE = QStringLiteral("汉族");
        const Op *people = findText(drawPageOne(c), QStringLiteral("汉族"));
        const double lh = lineHeight(QStringLiteral("楷体"), 12);
        QCOMPARE(people->y, double(roundHalfEven(1752 + 300 - lh / 2)));
    }

    void surfaceLeftAtKaiTi12AndThinPen()
    {
        FormPages p;
        p.JIANLI = QStringLiteral("甲\r\n乙");
        RecordingSurface s;
        p.预览(s, 4, 2);
        QCOMPARE(s.fontName(), QStringLiteral("楷体"));
        QCOMPARE(s.fontSize(), 12.0);
        QCOMPARE(s.drawWidth(), 2);
    }
};

QTEST_MAIN(TestPageOne)
#include "tst_pageone.moc"
