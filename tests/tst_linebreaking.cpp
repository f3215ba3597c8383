#include "layout/LineBreaking.h"
#include "layout/MeasuringSurface.h"
#include "layout/TextRules.h"
#include "layout/Twips.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// The breaker exactly as the form describes it: the growing line is
// measured afresh for every character. Characters are code points. The two
// cases the description leaves open are settled as in the production
// breaker: a character wider than the whole width goes on a line of its
// own; a full line without any non-closing character is stored as it is.
int plainBreak(const QString &text, int width, QStringList &lines)
{
    QStringList noEnd, noStart;
    LoadBreakPunct(noEnd, noStart);
    lines.clear();
    if (TrimSpaces(text).isEmpty())
        return 0;
    QStringList chars;   // chars[0] is position 1
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            chars << text.mid(i, 2);
            ++i;
        } else {
            chars << text.mid(i, 1);
        }
    }
    auto at = [&](int pos) { return chars.at(pos - 1); };
    MeasuringSurface &ms = MeasuringSurface::instance();
    QStringList cur;
    int i = 1;
    while (i <= chars.size()) {
        const QString ch = at(i);
        if (roundHalfEven(ms.getWidth(cur.join(QString()) + ch)) <= width) {
            cur << ch;
            ++i;
            continue;
        }
        const int L = cur.size();
        if (L == 0) {
            lines << ch;
            ++i;
            continue;
        }
        int tail = 0;
        for (int k = L; k >= 1 && InList(cur.at(k - 1), noEnd, 14); --k)
            ++tail;
        if (tail == 0 && InList(at(i), noStart, 27)) {
            int p = 0;
            for (int k = L; k >= 1; --k)
                if (!InList(cur.at(k - 1), noStart, 27)) {
                    p = k;
                    break;
                }
            if (p > 0) {
                int q = 0;
                for (int k = p - 1; k >= 1; --k)
                    if (!InList(cur.at(k - 1), noEnd, 14)) {
                        q = k;
                        break;
                    }
                tail = L - q;
            }
        }
        if (tail < L) {
            lines << cur.mid(0, L - tail).join(QString());
            i -= tail;
        } else {
            lines << cur.join(QString());
        }
        cur.clear();
    }
    const QString last = cur.join(QString());
    if (!TrimSpaces(last).isEmpty())
        lines << last;
    return lines.size();
}

QStringList breakAt(const QString &text, int width, const QString &font = QStringLiteral("宋体"),
                    double size = 12)
{
    MeasuringSurface::instance().picPrameterSetup(font, size, false, 1);
    QStringList lines;
    const int n = BreakTextToLines(text, width, lines);
    if (n != lines.size())
        qWarning("result %d differs from %d lines", n, int(lines.size()));
    return lines;
}

} // namespace

class TestLineBreaking : public QObject {
    Q_OBJECT
private slots:
    void punctuationLists();
    void inList();
    void workedExample();
    void openingMarksMoveDown_data();
    void openingMarksMoveDown();
    void openingMarkBeforeClosingMark();
    void closingMarksPullTheirCharacter();
    void blankTexts();
    void characterWiderThanWidth();
    void lineOfClosingMarksOnly();
    void surrogatePairsStayWhole();
    void sameLinesAsPlainBreaker();
    void countWrappedLines_data();
    void countWrappedLines();
    void countWrappedLinesTerminates();
};

void TestLineBreaking::punctuationLists()
{
    QStringList noEnd, noStart;
    noEnd << QStringLiteral("x");
    LoadBreakPunct(noEnd, noStart);
    QCOMPARE(noEnd.size(), 14);
    QCOMPARE(noStart.size(), 27);
    QCOMPARE(noEnd.join(QString()), QStringLiteral("“（《‘｛［￥$<＜({[【"));
    QCOMPARE(noStart.join(QString()), QStringLiteral("，、！：；”）？．。’｝］％＞,!:;)?.}]%>》"));
    QVERIFY(!noEnd.contains(QStringLiteral("】")));
    QVERIFY(!noStart.contains(QStringLiteral("】")));
}

void TestLineBreaking::inList()
{
    const QStringList list{QStringLiteral("a"), QStringLiteral("，"), QStringLiteral("b")};
    QVERIFY(InList(QStringLiteral("，"), list, 3));
    QVERIFY(!InList(QStringLiteral("A"), list, 3));     // case-sensitive
    QVERIFY(!InList(QStringLiteral("b"), list, 2));     // only entries below count
    QVERIFY(!InList(QStringLiteral("，，"), list, 3));  // whole-string comparison
    QVERIFY(!InList(QStringLiteral("a"), list, 0));
    QVERIFY(InList(QStringLiteral("b"), list, 10));     // a count past the end is harmless
}

void TestLineBreaking::workedExample()
{
    QCOMPARE(breakAt(QStringLiteral("我们是好朋友，大家好"), 6 * 240),
             (QStringList{QStringLiteral("我们是好朋"), QStringLiteral("友，大家好")}));
    // The same in 楷体 and at 10.5 points (six characters of 210 twips).
    QCOMPARE(breakAt(QStringLiteral("我们是好朋友，大家好"), 6 * 210, QStringLiteral("楷体"), 10.5),
             (QStringList{QStringLiteral("我们是好朋"), QStringLiteral("友，大家好")}));
    // A width one twip short of six characters holds five.
    QCOMPARE(breakAt(QStringLiteral("我们是好朋友，大家好"), 6 * 240 - 1),
             (QStringList{QStringLiteral("我们是好朋"), QStringLiteral("友，大家好")}));
    QCOMPARE(breakAt(QStringLiteral("我们是好朋友大家好"), 5 * 240 - 1),
             (QStringList{QStringLiteral("我们是好"), QStringLiteral("朋友大家"), QStringLiteral("好")}));
}

void TestLineBreaking::openingMarksMoveDown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("（") << QStringLiteral("我们是好朋（友）")
                       << QStringList{QStringLiteral("我们是好朋"), QStringLiteral("（友）")};
    QTest::newRow("《") << QStringLiteral("一二三四五《书》")
                       << QStringList{QStringLiteral("一二三四五"), QStringLiteral("《书》")};
    QTest::newRow("two marks") << QStringLiteral("一二三四“《书》”")
                               << QStringList{QStringLiteral("一二三四"), QStringLiteral("“《书》”")};
    QTest::newRow("】 may start") << QStringLiteral("一二三四五【】六")
                                  << QStringList{QStringLiteral("一二三四五"), QStringLiteral("【】六")};
}

void TestLineBreaking::openingMarksMoveDown()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(breakAt(text, 6 * 240), lines);
}

void TestLineBreaking::openingMarkBeforeClosingMark()
{
    // Only the trailing opening mark moves; the closing-mark rule is not
    // applied in addition, so "。" follows it on the next line.
    QCOMPARE(breakAt(QStringLiteral("一二三四五（。六"), 6 * 240),
             (QStringList{QStringLiteral("一二三四五"), QStringLiteral("（。六")}));
}

void TestLineBreaking::closingMarksPullTheirCharacter()
{
    // The last non-closing character moves with the closing marks after it
    // and the opening marks before it.
    QCOMPARE(breakAt(QStringLiteral("一二三（四）。五"), 5 * 240),
             (QStringList{QStringLiteral("一二三"), QStringLiteral("（四）。五")}));
    // ASCII punctuation counts as well.
    QCOMPARE(breakAt(QStringLiteral("abcdefghij,k"), 10 * 120),
             (QStringList{QStringLiteral("abcdefghi"), QStringLiteral("j,k")}));
    // Every character before is an opening mark: the line is kept whole.
    QCOMPARE(breakAt(QStringLiteral("（（（（（好。"), 6 * 240),
             (QStringList{QStringLiteral("（（（（（好"), QStringLiteral("。")}));
}

void TestLineBreaking::blankTexts()
{
    QCOMPARE(breakAt(QString(), 1000), QStringList());
    QCOMPARE(breakAt(QStringLiteral("   "), 1000), QStringList());
    QCOMPARE(breakAt(QString(40, QLatin1Char(' ')), 500), QStringList());
    // A blank last line is dropped, text before it kept.
    QCOMPARE(breakAt(QStringLiteral("一二三四    "), 4 * 240),
             (QStringList{QStringLiteral("一二三四")}));
}

void TestLineBreaking::characterWiderThanWidth()
{
    QCOMPARE(breakAt(QStringLiteral("好好，好"), 100),
             (QStringList{QStringLiteral("好"), QStringLiteral("好"), QStringLiteral("，"), QStringLiteral("好")}));
    QCOMPARE(breakAt(QStringLiteral("ab好c"), 200),
             (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("好"), QStringLiteral("c")}));
    QCOMPARE(breakAt(QStringLiteral("好"), 0), (QStringList{QStringLiteral("好")}));
    QCOMPARE(breakAt(QStringLiteral("好（。"), -5).size(), 3);
}

void TestLineBreaking::lineOfClosingMarksOnly()
{
    QCOMPARE(breakAt(QStringLiteral("，，，，，，，，"), 6 * 240),
             (QStringList{QStringLiteral("，，，，，，"), QStringLiteral("，，")}));
}

void TestLineBreaking::surrogatePairsStayWhole()
{
    const QString rare = QString::fromUcs4(U"\U00020000");
    const QString text = QStringLiteral("一二") + rare + rare + rare + QStringLiteral("三");
    const QStringList lines = breakAt(text, 2 * 240);
    QCOMPARE(lines.join(QString()), text);
    for (const QString &line : lines) {
        QVERIFY(!line.front().isLowSurrogate());
        QVERIFY(!line.back().isHighSurrogate());
    }
}

void TestLineBreaking::sameLinesAsPlainBreaker()
{
    const QString alphabet = QStringLiteral("我们是好朋友大家中华人民共和国干部任免审批表"
                                            "abcdefgXYZ0123456789     "
                                            "“（《‘｛［￥$<＜({[【"
                                            "，、！：；”）？．。’｝］％＞,!:;)?.}]%>》】\"");
    const int firstMark = alphabet.indexOf(QStringLiteral("“"));
    QRandomGenerator rng(20240611);
    const QStringList fonts{QStringLiteral("宋体"), QStringLiteral("楷体")};
    const double sizes[] = {12, 11, 10.5, 10, 9, 8};
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        const int len = rng.bounded(0, 120);
        QString text;
        for (int k = 0; k < len; ++k) {
            // Punctuation often, so runs of marks occur.
            if (rng.bounded(4) == 0)
                text += alphabet.at(rng.bounded(firstMark, int(alphabet.size())));
            else
                text += alphabet.at(rng.bounded(int(alphabet.size())));
        }
        if (rng.bounded(50) == 0)
            text += QString::fromUcs4(U"\U00020000");
        const QString font = fonts.at(rng.bounded(2));
        const double size = sizes[rng.bounded(6)];
        const int width = rng.bounded(10) == 0 ? rng.bounded(-10, 300) : rng.bounded(100, 4000);
        MeasuringSurface::instance().picPrameterSetup(font, size, false, 1);
        QStringList fast, plain;
        const int nFast = BreakTextToLines(text, width, fast);
        const int nPlain = plainBreak(text, width, plain);
        if (fast != plain || nFast != nPlain)
            QFAIL(qPrintable(QStringLiteral("text \"%1\" width %2 %3 %4:\n fast  %5\n plain %6")
                                 .arg(text).arg(width).arg(font).arg(size)
                                 .arg(fast.join(QLatin1Char('|')), plain.join(QLatin1Char('|')))));
        // Nothing but a dropped blank end is lost.
        const QString joined = fast.join(QString());
        QVERIFY(text.startsWith(joined));
        QVERIFY(TrimSpaces(text.mid(joined.size())).isEmpty());
        ++compared;
    }
    QCOMPARE(compared, 4000);
}

void TestLineBreaking::countWrappedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pulled");
    QTest::addColumn<int>("pushed");
    const QString x25(25, QChar(u'字'));
    QTest::newRow("exactly n") << x25 << 25 << 0 << 0 << 0;
    QTest::newRow("n + 1") << x25 + QStringLiteral("字") << 25 << 2 << 0 << 0;
    QTest::newRow("26th is 。") << x25 + QStringLiteral("。") << 25 << 1 << 1 << 0;
    QTest::newRow("26th is a straight quote") << x25 + QStringLiteral("\"") << 25 << 1 << 1 << 0;
    QTest::newRow("25th is （") << QString(24, QChar(u'字')) + QStringLiteral("（字字") << 25 << 2 << 0 << 1;
    QTest::newRow("51 characters") << QString(51, QChar(u'字')) << 25 << 3 << 0 << 0;
    QTest::newRow("empty") << QString() << 25 << 0 << 0 << 0;
    QTest::newRow("break") << QStringLiteral("一二\r\n三四五六") << 4 << 2 << 0 << 0;
    QTest::newRow("break first") << QStringLiteral("\r\n一二三四五") << 4 << 3 << 0 << 0;
}

void TestLineBreaking::countWrappedLines()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(int, lines);
    QFETCH(int, pulled);
    QFETCH(int, pushed);
    PulledLineCount = 7;
    PushedLineCount = 7;
    QCOMPARE(CountWrappedLines(text, n), lines);
    QCOMPARE(PulledLineCount, pulled);
    QCOMPARE(PushedLineCount, pushed);
}

void TestLineBreaking::countWrappedLinesTerminates()
{
    // An opening mark alone at the very end would be pushed onto itself.
    QCOMPARE(CountWrappedLines(QString(25, QChar(u'字')) + QStringLiteral("（"), 25), 2);
    QCOMPARE(PushedLineCount, 0);
    QCOMPARE(CountWrappedLines(QStringLiteral("（（（（"), 1), 4);
    QCOMPARE(CountWrappedLines(QStringLiteral("一二三"), 0), 0);
    QCOMPARE(CountWrappedLines(QStringLiteral("一二三"), -3), 0);
    QCOMPARE(CountWrappedLines(QStringLiteral("一二\r"), 2), 2);
}

QTEST_MAIN(TestLineBreaking)
#include "tst_linebreaking.moc"
