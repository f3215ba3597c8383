#include "app/ScriptedInteraction.h"
#include "layout/CellFitting.h"
#include "layout/LineBreaking.h"
#include "layout/MeasuringSurface.h"
#include "layout/PainterSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/ResumeLayout.h"
#include "layout/Twips.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

RecordingSurface kaiti12()
{
    RecordingSurface r;
    r.setFontName(QStringLiteral("楷体"));
    r.setFontSize(12);
    return r;
}

QStringList textsOf(const RecordingSurface &r)
{
    QStringList out;
    for (const auto &op : r.texts())
        out << op.text;
    return out;
}

const QString kHeightMessage = QStringLiteral("区域高度过小,文本内容垂直方向超出区域范围！");
const QString kAreaMessage = QStringLiteral("区域过小,文本内容超出区域范围！");

struct Cell {
    QString label;
    QString text;
    int x, y, w, h;
    int hAlign;
    bool step2;
};

// A few of the form's cells with long texts, at their page-one and
// page-two sizes.
QList<Cell> sampleCells()
{
    return {
        {QStringLiteral("姓名"), QStringLiteral("欧阳娜娜买买提"), 1786, 1134, 1134, 600, 0, false},
        {QStringLiteral("民族"), QStringLiteral("汉"), 1786, 1750, 1134, 600, 0, false},
        {QStringLiteral("籍贯"), QStringLiteral("新疆维吾尔自治区乌鲁木齐市"), 3827, 1750, 1134, 600, 0, false},
        {QStringLiteral("出生地"), QStringLiteral("内蒙古自治区呼和浩特市（回民区）"), 6095, 1750, 1134, 600, 0, false},
        {QStringLiteral("专业技术职务"), QStringLiteral("高级工程师（教授级），注册会计师"), 1814, 2950, 1984, 600, 0, false},
        {QStringLiteral("毕业院校及专业"), QStringLiteral("中国人民大学财政金融学院金融学专业"), 6123, 3550, 2892, 600, 1, true},
        {QStringLiteral("现任职务"), QStringLiteral("中共某某市委常委、市人民政府常务副市长，市发展和改革委员会主任（兼），"
                                                  "市国有资产监督管理委员会党委书记；“十四五”规划编制领导小组副组长。"),
         2948, 4150, 6067, 900, 1, false},
        {QStringLiteral("家庭成员工作单位"), QStringLiteral("北京市海淀区中关村南大街5号中国科学院计算技术研究所，高级工程师"),
         4649, 5150, 3969, 600, 1, false},
    };
}

QString sampleResume(int lines)
{
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << QStringLiteral("%1.09--%2.07  某某大学经济管理学院学习、工作（第%3段）")
                   .arg(1960 + i).arg(1961 + i).arg(i + 1);
    return out.join(QStringLiteral("\r\n"));
}

void drawSample(DrawingSurface &s)
{
    s.setDrawWidth(2);
    for (const Cell &c : sampleCells()) {
        s.Line(c.x, c.y, c.x + c.w, c.y);
        s.Line(c.x + c.w, c.y, c.x + c.w, c.y + c.h);
        s.Line(c.x + c.w, c.y + c.h, c.x, c.y + c.h);
        s.Line(c.x, c.y + c.h, c.x, c.y);
        s.setFontName(QStringLiteral("楷体"));
        s.setFontSize(12);
        if (c.step2)
            FitTextInAreaStep2(c.text, c.x, c.y, c.w, c.h, s, c.label, 1.0, c.hAlign, 0, 0);
        else
            FitTextInArea(c.text, c.x, c.y, c.w, c.h, s, c.label, 1.0, c.hAlign, 0, 0);
    }
    ResumeFontSize = 12;
    FillResume(sampleResume(60), 1927, 6100, s, 285);
}

} // namespace

class TestCellFitting : public QObject {
    Q_OBJECT
private slots:
    void oneLineCentred();
    void centringRoundsHalvesToEven();
    void emptyTextDrawsNothing();
    void shrinksUntilTheLinesFit();
    void sizesTried_data();
    void sizesTried();
    void tooTallForOneLine();
    void tooLongAtSmallestSize();
    void messageOncePerDrawing();
    void alignment();
    void overflowModes();
    void findFitFontSize();
    void renderedCellsStayInside();
};

void TestCellFitting::oneLineCentred()
{
    RecordingSurface r = kaiti12();
    FitTextInArea(QStringLiteral("张三"), 1786, 1134, 1134, 600, r, QStringLiteral("姓名"), 1.0, 0, 0, 0);
    const auto t = r.texts();
    QCOMPARE(t.size(), 1);
    QCOMPARE(t[0].text, QStringLiteral("张三"));
    QCOMPARE(t[0].x, 2113.0);   // 1786 + 567 - 240
    QCOMPARE(t[0].y, 1314.0);   // 1134 + 300 - 120
    QCOMPARE(t[0].size, 12.0);
    QCOMPARE(t[0].font, QStringLiteral("楷体"));
    QCOMPARE(r.fontSize(), 12.0);
    QVERIFY(r.messages().isEmpty());
}

void TestCellFitting::centringRoundsHalvesToEven()
{
    RecordingSurface r = kaiti12();
    FitTextInArea(QStringLiteral("张三"), 0, 0, 1135, 601, r, QString(), 1.0, 0, 0, 0);   // 327.5, 180.5
    FitTextInArea(QStringLiteral("张三"), 0, 0, 1133, 603, r, QString(), 1.0, 0, 0, 0);   // 326.5, 181.5
    const auto t = r.texts();
    QCOMPARE(t[0].x, 328.0);
    QCOMPARE(t[0].y, 180.0);
    QCOMPARE(t[1].x, 326.0);
    QCOMPARE(t[1].y, 182.0);
}

void TestCellFitting::emptyTextDrawsNothing()
{
    for (const QString &text : {QString(), QStringLiteral("\r\n\r\n"), QStringLiteral("\n")}) {
        RecordingSurface r = kaiti12();
        r.setFontSize(11);
        r.CurrentX = 5;
        r.CurrentY = 7;
        FitTextInArea(text, 0, 0, 10, 10, r, QStringLiteral("姓名"), 1.0, 0, 0, 0);
        QVERIFY(r.ops().isEmpty());
        QCOMPARE(r.fontSize(), 11.0);
        QCOMPARE(r.CurrentX, 5.0);
        QCOMPARE(r.CurrentY, 7.0);
    }
}

void TestCellFitting::shrinksUntilTheLinesFit()
{
    // At 12 points four characters a line give three lines (720 > 600);
    // at 11 points five a line give two.
    RecordingSurface r = kaiti12();
    FitTextInArea(QStringLiteral("一二三四五\r\n六七八九十"), 1000, 2000, 1134, 600, r,
                  QStringLiteral("籍贯"), 1.0, 0, 0, 0);
    const auto t = r.texts();
    QCOMPARE(textsOf(r), (QStringList{QStringLiteral("一二三四五"), QStringLiteral("六七八九十")}));
    QCOMPARE(t[0].size, 11.0);
    QCOMPARE(t[0].x, 1000.0);          // several lines: left edge although centred was asked
    QCOMPARE(t[1].x, 1000.0);
    QCOMPARE(t[0].y, 2080.0);          // 2000 + 300 - 2 x 220 / 2
    QCOMPARE(t[1].y, 2300.0);
    QCOMPARE(r.fontSize(), 12.0);
    QVERIFY(r.messages().isEmpty());
}

void TestCellFitting::sizesTried_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<bool>("step2");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("drawnAt");
    QTest::addColumn<bool>("message");
    // One line of 180 twips (9 points) fits a 190 high cell, 200 (10) does not.
    QTest::newRow("by 1 from 12") << 12.0 << false << 190 << 9.0 << false;
    QTest::newRow("by 2 from 12") << 12.0 << true << 190 << 8.0 << false;
    QTest::newRow("by 2 from 11") << 11.0 << true << 190 << 9.0 << false;
    QTest::newRow("by 1 from 10.5") << 10.5 << false << 190 << 9.5 << false;
    // Nothing fits: the last size tried is 8, or 7 when stepping by 2 from 11.
    QTest::newRow("by 1, too small") << 12.0 << false << 100 << 8.0 << true;
    QTest::newRow("by 2 from 12, too small") << 12.0 << true << 100 << 8.0 << true;
    QTest::newRow("by 2 from 11, too small") << 11.0 << true << 100 << 7.0 << true;
}

void TestCellFitting::sizesTried()
{
    QFETCH(double, start);
    QFETCH(bool, step2);
    QFETCH(int, height);
    QFETCH(double, drawnAt);
    QFETCH(bool, message);
    RecordingSurface r = kaiti12();
    r.setFontSize(start);
    if (step2)
        FitTextInAreaStep2(QStringLiteral("张三"), 0, 0, 1134, height, r, QStringLiteral("学历"), 1.0, 0, 0, 2);
    else
        FitTextInArea(QStringLiteral("张三"), 0, 0, 1134, height, r, QStringLiteral("学历"), 1.0, 0, 0, 2);
    QCOMPARE(r.texts().size(), 1);
    QCOMPARE(r.texts()[0].size, drawnAt);
    QCOMPARE(r.messages().size(), message ? 1 : 0);
    QCOMPARE(r.fontSize(), start);
}

void TestCellFitting::tooTallForOneLine()
{
    RecordingSurface r = kaiti12();
    FitTextInArea(QStringLiteral("张三"), 0, 0, 1134, 100, r, QStringLiteral("姓名"), 1.0, 0, 0, 0);
    QCOMPARE(r.messages().size(), 1);
    QCOMPARE(r.messages()[0].title, QStringLiteral("系统"));
    QCOMPARE(r.messages()[0].text, QStringLiteral("姓名") + kHeightMessage);
    QCOMPARE(r.messages()[0].icon, MessageIcon::Information);
    // Overflow mode 0: nothing visible is printed.
    for (const auto &t : r.texts())
        QVERIFY(t.text.isEmpty());
    QCOMPARE(r.fontSize(), 12.0);
    // The message comes before the drawing.
    QCOMPARE(r.ops().first().kind, RecordingSurface::Op::Message);
}

void TestCellFitting::tooLongAtSmallestSize()
{
    // At 8 points seven characters a line: nine lines of 160 in a 600 high cell.
    const QString text = QString(60, QChar(u'国'));
    RecordingSurface r = kaiti12();
    FitTextInArea(text, 1000, 2000, 1134, 600, r, QStringLiteral("姓名"), 1.0, 0, 0, 0);
    QCOMPARE(r.messages().size(), 1);
    QCOMPARE(r.messages()[0].text, QStringLiteral("姓名区域过小,文本内容超出区域范围！"));
    const auto t = r.texts();
    QCOMPARE(t.size(), 9);
    QCOMPARE(textsOf(r).join(QString()), text);
    for (int i = 0; i < t.size(); ++i) {
        QCOMPARE(t[i].size, 8.0);
        QCOMPARE(t[i].x, 1000.0);
        QCOMPARE(t[i].y, 2000 + 300 - 720 + 160.0 * i);
    }
    QVERIFY(t.last().y + 160 > 2600);   // runs past the cell
    QCOMPARE(r.fontSize(), 12.0);
}

void TestCellFitting::messageOncePerDrawing()
{
    ScriptedInteraction ui;
    RecordingSurface r = kaiti12();
    r.setInteraction(&ui);
    for (int drawing = 0; drawing < 2; ++drawing)
        FitTextInArea(QString(60, QChar(u'国')), 0, 0, 1134, 600, r, QStringLiteral("籍贯"), 1.0, 0, 0, 0);
    QCOMPARE(ui.messageTexts(), (QStringList{QStringLiteral("籍贯") + kAreaMessage,
                                             QStringLiteral("籍贯") + kAreaMessage}));
    QCOMPARE(r.messages().size(), 2);
}

void TestCellFitting::alignment()
{
    RecordingSurface r = kaiti12();
    FitTextInArea(QStringLiteral("张三"), 100, 1000, 1134, 600, r, QString(), 1.0, 2, 1, 0);
    FitTextInArea(QStringLiteral("张三"), 100, 1000, 1134, 600, r, QString(), 1.0, 1, 2, 0);
    FitTextInArea(QStringLiteral("张三"), 100, 1000, 1134, 600, r, QString(), 1.0, 7, 7, 0);
    const auto t = r.texts();
    QCOMPARE(t[0].x, 100 + 1134 - 480.0);
    QCOMPARE(t[0].y, 1000.0);
    QCOMPARE(t[1].x, 100.0);
    QCOMPARE(t[1].y, 1000 + 600 - 240.0);
    QCOMPARE(t[2].x, 100.0);   // values outside 0..2 take the edge
    QCOMPARE(t[2].y, 1000.0);
}

void TestCellFitting::overflowModes()
{
    const QStringList three{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")};
    auto draw = [&](const QStringList &lines, int h, bool flag, int mode) {
        MeasuringSurface::instance().picPrameterSetup(QStringLiteral("楷体"), 12, false, 1);
        RecordingSurface r = kaiti12();
        DrawLinesInArea(lines, 0, 0, 1000, h, r, 0, 1, flag, mode);
        return textsOf(r);
    };
    QCOMPARE(draw(three, 500, true, 0), (QStringList{QStringLiteral("一"), QStringLiteral("二")}));
    QCOMPARE(draw(three, 100, true, 0), QStringList{QString()});
    QCOMPARE(draw(three, 500, true, 1), QStringList{QString()});
    QCOMPARE(draw(three, 100, true, 2), three);
    QCOMPARE(draw(three, 100, false, 0), three);
    QCOMPARE(draw({QStringLiteral("一")}, 100, true, 0), QStringList{QString()});
    QCOMPARE(draw({QStringLiteral("一")}, 100, true, 1), QStringList{QString()});
    QCOMPARE(draw({QStringLiteral("一")}, 100, true, 2), QStringList{QStringLiteral("一")});
    QCOMPARE(draw({}, 100, false, 0), QStringList());
}

void TestCellFitting::findFitFontSize()
{
    const QString ten = QStringLiteral("一二三四五六七八九十");
    // Three lines of four at 12: 650 / 240 = 2.7 allows three.
    QCOMPARE(FindFitFontSize(ten, 1000, 650, QStringLiteral("宋体"), 12), 12.0);
    // 600 / 240 = 2.5 allows two (half to even); at 11, 600 / 220 allows three.
    QCOMPARE(FindFitFontSize(ten, 1000, 600, QStringLiteral("宋体"), 12), 11.0);
    // Six lines of four: 1320 / 240 = 5.5 allows six.
    QCOMPARE(FindFitFontSize(ten + ten + QStringLiteral("一二三四"), 1000, 1320, QStringLiteral("宋体"), 12), 12.0);
    // One line counts as one: 100 / 200 = 0.5 allows none at 10, 100 / 180 one at 9.
    QCOMPARE(FindFitFontSize(QStringLiteral("一"), 1000, 100, QStringLiteral("宋体"), 12), 9.0);
    // Nothing fits: the whole number 8.
    QCOMPARE(FindFitFontSize(QStringLiteral("一"), 1000, 50, QStringLiteral("宋体"), 12), 8.0);
    QCOMPARE(FindFitFontSize(QStringLiteral("一"), 1000, 50, QStringLiteral("宋体"), 8.5), 8.0);
    QCOMPARE(FindFitFontSize(QStringLiteral("一二"), 1000, 300, QStringLiteral("宋体"), 10.5), 10.5);
    // Line breaks are removed first.
    QCOMPARE(FindFitFontSize(QStringLiteral("一二\r\n三四"), 960, 240, QStringLiteral("宋体"), 12), 12.0);
    // No drawing, no message: nothing to observe but the result.
}

void TestCellFitting::renderedCellsStayInside()
{
    RecordingSurface rec;
    drawSample(rec);
    QVERIFY2(rec.messages().isEmpty(), qPrintable(rec.displayList()));

    // Every printed line lies inside its cell and none begins with a mark
    // that may not start a line.
    QStringList noEnd, noStart;
    LoadBreakPunct(noEnd, noStart);
    MeasuringSurface &ms = MeasuringSurface::instance();
    const QList<Cell> cells = sampleCells();
    int cellTexts = 0;
    for (const auto &t : rec.texts()) {
        if (t.y >= 6100)
            continue;   // the résumé
        ++cellTexts;
        ms.picPrameterSetup(t.font, t.size, false, 1);
        const QRectF box(t.x, t.y, ms.getWidth(t.text), ms.getHeight(t.text));
        bool inside = false;
        for (const Cell &c : cells)
            inside |= QRectF(c.x, c.y, c.w, c.h).contains(box);
        QVERIFY2(inside, qPrintable(t.text));
        QVERIFY2(!InList(t.text.left(1), noStart, 27), qPrintable(t.text));
        QVERIFY2(!InList(t.text.right(1), noEnd, 14), qPrintable(t.text));
    }
    QVERIFY(cellTexts > cells.size());
    int resumeLines = 0;
    for (const auto &t : rec.texts())
        if (t.y >= 6100) {
            ++resumeLines;
            QCOMPARE(t.size, 8.0);   // 59 breaks in 10060 twips: step 6
            // Breaks are counted, not lines: a last line without a break
            // may reach one line below the limit.
            QVERIFY(t.y <= 285 * kTwipsPerMm);
        }
    QCOMPARE(resumeLines, 60);

    // The same drawing at 150 dpi, kept for looking at.
    const double dpi = 150;
    QImage image(qRound(8.27 * dpi), qRound(11.69 * dpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PainterSurface surface(&painter, dpi);
        drawSample(surface);
    }
    QVERIFY(image.save(QStringLiteral(AF_BINARY_DIR "/fitted_cells_150dpi.png")));
}

QTEST_MAIN(TestCellFitting)
#include "tst_cellfitting.moc"
