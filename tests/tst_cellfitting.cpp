#include "support/ScriptedInteraction.h"
#include "layout/CellFitting.h"
#include "layout/MeasuringSurface.h"
#include "support/LayoutTestSupport.h"

#include <QtTest>

namespace {

const QString kHeightMessage = u"区域高度过小,文本内容垂直方向超出区域范围！"_s;

void fit(bool step2, const QString &text, int x, int y, int w, int h, RecordingSurface &r,
         int hAlign = 0, int vAlign = 0, int overflowMode = 0)
{
    (step2 ? fitTextInAreaInTwoPointSteps : fitTextInArea)(text, x, y, w, h, r, u"姓名"_s, 1.0,
                                                           HorizontalAlignment(hAlign), VerticalAlignment(vAlign),
                                                           OverflowMode(overflowMode));
}

} // namespace

class TestCellFitting : public QObject {
    Q_OBJECT
private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<int>("hAlign");
        QTest::addColumn<int>("vAlign");
        QTest::addColumn<QPointF>("at");
        // "张三" is 480 x 240 in 楷体 at 12 points.
        QTest::newRow("centred") << QRect(1786, 1134, 1134, 600) << 0 << 0 << QPointF(2113, 1314);
        QTest::newRow("327.5, 180.5 to even") << QRect(0, 0, 1135, 601) << 0 << 0 << QPointF(328, 180);
        QTest::newRow("326.5, 181.5 to even") << QRect(0, 0, 1133, 603) << 0 << 0 << QPointF(326, 182);
        QTest::newRow("right, top") << QRect(100, 1000, 1134, 600) << 2 << 1 << QPointF(754, 1000);
        QTest::newRow("left, bottom") << QRect(100, 1000, 1134, 600) << 1 << 2 << QPointF(100, 1360);
        QTest::newRow("out of range is the edge") << QRect(100, 1000, 1134, 600) << 7 << 7 << QPointF(100, 1000);
    }

    void placement()
    {
        QFETCH(QRect, cell);
        QFETCH(int, hAlign);
        QFETCH(int, vAlign);
        RecordingSurface r = recorder(u"楷体"_s, 12);
        fit(false, u"张三"_s, cell.x(), cell.y(), cell.width(), cell.height(), r, hAlign, vAlign);
        const auto t = r.texts().value(0);
        QVERIFY(r.ops().size() == 1 && t.text == u"张三"_s && t.size == 12.0 && t.font == u"楷体"_s);
        QTEST(QPointF(t.x, t.y), "at");
    }

    void sizesTried_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<bool>("step2");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("drawnAt");
        // One line of 180 twips (9 points) fits a 190 high cell, 200 (10) does not.
        QTest::newRow("by 2 from 12") << 12.0 << true << 190 << 8.0;
        QTest::newRow("by 2 from 11") << 11.0 << true << 190 << 9.0;
        QTest::newRow("by 1 from 10.5") << 10.5 << false << 190 << 9.5;
        // Nothing fits: the last size tried is 8, or 7 when stepping by 2 from 11.
        // (By 1 from 12 down to 8, fitting or not: the name cell in the golden lists.)
        QTest::newRow("by 2 from 12, too small") << 12.0 << true << 100 << 8.0;
        QTest::newRow("by 2 from 11, too small") << 11.0 << true << 100 << 7.0;
    }

    void sizesTried()
    {
        QFETCH(double, start);
        QFETCH(bool, step2);
        QFETCH(int, height);
        RecordingSurface r = recorder(u"楷体"_s, start);
        fit(step2, u"张三"_s, 0, 0, 1134, height, r, 0, 0, 2);
        QVERIFY(r.texts().size() == 1 && r.messages().size() == (height < 190 ? 1 : 0) && r.fontSize() == start);
        QTEST(r.texts()[0].size, "drawnAt");
    }

    // Nothing to print draws nothing. A line taller than the cell (mode 0)
    // prints nothing visible and says so, before the drawing, every time.
    // Several lines, shrunk or too long at 8 points, are in the golden lists.
    void emptyAndTooTall()
    {
        ScriptedInteraction ui;
        RecordingSurface r = recorder(u"楷体"_s, 12);
        r.setInteraction(&ui);
        for (const QString &text : {QString(), u"\r\n\n"_s}) {
            fit(false, text, 1000, 2000, 1134, 600, r);
            QVERIFY(r.ops().isEmpty());
        }
        for (int drawing = 0; drawing < 2; ++drawing) {
            r.clear();
            fit(false, u"张三"_s, 1000, 2000, 1134, 100, r);
            QVERIFY(r.ops().size() == 2 && r.ops().first().kind == RecordingSurface::Op::Message);
            QVERIFY(r.messages()[0].title == u"系统"_s && r.messages()[0].icon == MessageIcon::Information);
            const auto t = r.texts().first();
            QVERIFY(t.text.isEmpty() && t.size == 8.0 && QPointF(t.x, t.y) == QPointF(1567, 1970));
            QCOMPARE(r.fontSize(), 12.0);
        }
        QCOMPARE(ui.messageTexts(), QStringList(2, u"姓名"_s + kHeightMessage));
    }

    void overflowModes()
    {
        const QStringList three = bars(u"一|二|三"_s), blank{QString()};
        auto draw = [&](const QStringList &lines, int h, bool flag, int mode) {
            RecordingSurface r = recorder(u"楷体"_s, 12);
            r.measuring().setUpFont(u"楷体"_s, 12);
            drawLinesInArea(lines, 0, 0, 1000, h, r, HorizontalAlignment::Centre, VerticalAlignment::Top, flag,
                            OverflowMode(mode));
            return textsOf(r);
        };
        QCOMPARE(draw(three, 500, true, 0), bars(u"一|二"_s));   // the lines that fit
        QCOMPARE((QList<QStringList>{draw(three, 100, true, 0), draw(three, 500, true, 1), draw({u"一"_s}, 100, true, 0),
                                     draw({u"一"_s}, 100, true, 1)}), QList<QStringList>(4, blank));
        QCOMPARE((QList<QStringList>{draw(three, 100, true, 2), draw(three, 100, false, 0), draw({u"一"_s}, 100, true, 2),
                                     draw({}, 100, false, 0)}), (QList<QStringList>{three, three, {u"一"_s}, {}}));
    }

    void findFitFontSize()
    {
        const QString ten = u"一二三四五六七八九十"_s, song = u"宋体"_s;
        MeasuringSurface ms;
        // Lines allowed = height / line height, halves to even: 650 / 240 is
        // three, 600 / 240 two (600 / 220 three), 1320 / 240 six.
        // 100 / 200 is none, 100 / 180 one; nothing fits: the whole number 8; line breaks are removed first.
        QCOMPARE((QList<double>{findFittingFontSize(ms, ten, 1000, 650, song, 12), findFittingFontSize(ms, ten, 1000, 600, song, 12),
                                findFittingFontSize(ms, ten + ten + u"一二三四"_s, 1000, 1320, song, 12),
                                findFittingFontSize(ms, u"一"_s, 1000, 100, song, 12), findFittingFontSize(ms, u"一"_s, 1000, 50, song, 12),
                                findFittingFontSize(ms, u"一"_s, 1000, 50, song, 8.5), findFittingFontSize(ms, u"一二"_s, 1000, 300, song, 10.5),
                                findFittingFontSize(ms, u"一二\r\n三四"_s, 960, 240, song, 12)}),
                 (QList<double>{12, 11, 12, 9, 8, 8, 10.5, 12}));
    }
};

QTEST_MAIN(TestCellFitting)
#include "tst_cellfitting.moc"
