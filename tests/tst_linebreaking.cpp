#include "layout/LineBreaking.h"
#include "layout/MeasuringSurface.h"
#include "record/TextRules.h"
#include "foundation/Twips.h"
#include "support/LayoutTestSupport.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// The breaker as the form describes it: the growing line is measured afresh
// for every character (code point). The two cases the description leaves
// open are settled as in the production breaker: a character wider than the
// whole width goes on a line of its own; a full line without any
// non-closing character is stored as it is.
int plainBreak(MeasuringSurface &ms, const QString &text, int width, QStringList &lines)
{
    // The form's lists, typed here and not taken from the breaker.
    const QString noEnd = u"“（《‘｛［￥$<＜({[【"_s;                        // may not end a line
    const QString noStart = u"，、！：；”）？．。’｝］％＞,!:;)?.}]%>》"_s;   // may not begin one
    auto isEnd = [&](const QString &c) { return c.size() == 1 && noEnd.contains(c); };
    auto isStart = [&](const QString &c) { return c.size() == 1 && noStart.contains(c); };
    QStringList ch;
    lines.clear();
    if (trimSpaces(text).isEmpty())
        return 0;
    for (char32_t c : text.toUcs4())
        ch << QString::fromUcs4(&c, 1);
    QStringList cur;
    for (int i = 0; i < ch.size();) {
        if (roundHalfEven(ms.textWidth(cur.join(QString()) + ch[i])) <= width) {
            cur << ch[i++];
            continue;
        }
        const int L = cur.size();
        if (L == 0) {   // wider than the whole width
            lines << ch[i++];
            continue;
        }
        int tail = 0;   // characters that move to the next line
        while (tail < L && isEnd(cur[L - 1 - tail]))
            ++tail;
        if (tail == 0 && isStart(ch[i])) {
            int p = L;   // last character (1-based) that is no closing mark
            while (p >= 1 && isStart(cur[p - 1]))
                --p;
            if (p > 0) {
                int q = p - 1;   // it moves with the opening marks before it
                while (q >= 1 && isEnd(cur[q - 1]))
                    --q;
                tail = L - q;
            }
        }
        if (tail == L)   // nothing would stay: keep the line whole
            tail = 0;
        lines << cur.mid(0, L - tail).join(QString());
        i -= tail;
        cur.clear();
    }
    if (!trimSpaces(cur.join(QString())).isEmpty())
        lines << cur.join(QString());
    return lines.size();
}

void row(const char *name, const QString &text, int width, const QString &lines)
{
    QTest::newRow(name) << text << width << bars(lines);
}

} // namespace

class TestLineBreaking : public QObject {
    Q_OBJECT
private slots:
    void breaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("lines");
        // The form's own examples at 宋体 12 points; every other case is compared with the plain breaker below.
        const QString example = u"我们是好朋友，大家好"_s;
        row("six characters", example, 6 * 240, u"我们是好朋|友，大家好"_s);
        row("（ moves down", u"我们是好朋（友）"_s, 6 * 240, u"我们是好朋|（友）"_s);
        row("】 may start", u"一二三四五【】六"_s, 6 * 240, u"一二三四五|【】六"_s);
        row("opening mark then 。", u"一二三四五（。六"_s, 6 * 240, u"一二三四五|（。六"_s);
        row("closing marks pull", u"一二三（四）。五"_s, 5 * 240, u"一二三|（四）。五"_s);
        row("closing marks only", u"，，，，，，，，"_s, 6 * 240, u"，，，，，，|，，"_s);
        row("empty", QString(), 1000, QString());
        row("spaces wider than a line", QString(40, u' '), 500, QString());
        row("wider than the width", u"好好，好"_s, 100, u"好|好|，|好"_s);
    }

    void breaks()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QStringList, lines);
        MeasuringSurface ms;
        ms.setUpFont(u"宋体"_s, 12);
        QStringList got{u"stale"_s};
        QCOMPARE(breakTextToLines(ms, text, width, got), int(lines.size()));
        QCOMPARE(got, lines);
    }

    void sameLinesAsPlainBreaker()
    {
        const QString alphabet = u"我们是好朋友大家中华人民共和国干部任免审批表abcdefgXYZ0123456789     "
                                 "“（《‘｛［￥$<＜({[【，、！：；”）？．。’｝］％＞,!:;)?.}]%>》】\""_s;
        const int firstMark = alphabet.indexOf(u"“"_s);
        const QString rare = QString::fromUcs4(U"\U00020000");
        QRandomGenerator rng(20240611);
        MeasuringSurface ms;
        const double sizes[] = {12, 11, 10.5, 10, 9, 8};
        for (int round = 0; round < 4000; ++round) {
            QString text;
            for (int k = rng.bounded(0, 120); k > 0; --k) {
                const int pick = rng.bounded(40);   // marks often, so that runs of them occur
                text += pick == 0 ? rare : QString(alphabet.at(rng.bounded(pick < 10 ? firstMark : 0, int(alphabet.size()))));
            }
            const QString font = rng.bounded(2) ? u"宋体"_s : u"楷体"_s;
            const double size = sizes[rng.bounded(6)];
            const int width = rng.bounded(10) == 0 ? rng.bounded(-10, 300) : rng.bounded(100, 4000);
            ms.setUpFont(font, size);
            QStringList fast, plain;
            const int nFast = breakTextToLines(ms, text, width, fast);
            if (nFast != plainBreak(ms, text, width, plain) || fast != plain)
                QFAIL(qPrintable(u"\"%1\" width %2 %3 %4:\n fast  %5\n plain %6"_s.arg(text).arg(width).arg(font)
                                     .arg(size).arg(fast.join(u'|'), plain.join(u'|'))));
            // Nothing is lost but a blank end.
            const QString joined = fast.join(QString());
            QVERIFY(text.startsWith(joined) && trimSpaces(text.mid(joined.size())).isEmpty());
        }
    }

    void wrappedLineCount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pulled");
        QTest::addColumn<int>("pushed");
        // Whole rows of 25, 26 and 51, a straight quote pulled: the post rows in the golden lists.
        const QString x25(25, u'字');
        QTest::newRow("26th is 。") << x25 + u"。"_s << 25 << 1 << 1 << 0;
        QTest::newRow("25th is （") << QString(24, u'字') + u"（字字"_s << 25 << 2 << 0 << 1;
        QTest::newRow("empty") << QString() << 25 << 0 << 0 << 0;
        QTest::newRow("break") << u"一二\r\n三四五六"_s << 4 << 2 << 0 << 0;
        QTest::newRow("break first") << u"\r\n一二三四五"_s << 4 << 3 << 0 << 0;
        // These must terminate.
        QTest::newRow("（ alone at the end") << x25 + u"（"_s << 25 << 2 << 0 << 0;
        QTest::newRow("opening marks, n = 1") << u"（（（（"_s << 1 << 4 << 0 << 0;
        QTest::newRow("n = 0") << u"一二三"_s << 0 << 0 << 0 << 0;
        QTest::newRow("n < 0") << u"一二三"_s << -3 << 0 << 0 << 0;
        QTest::newRow("CR at the end") << u"一二\r"_s << 2 << 2 << 0 << 0;
    }

    void wrappedLineCount()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(int, lines);
        QFETCH(int, pulled);
        QFETCH(int, pushed);
        const WrappedLineCount got = countWrappedLines(text, n);
        QCOMPARE((QList<int>{got.lines, got.pulled, got.pushed}), (QList<int>{lines, pulled, pushed}));
    }
};

QTEST_MAIN(TestLineBreaking)
#include "tst_linebreaking.moc"
