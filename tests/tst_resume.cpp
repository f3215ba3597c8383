#include "app/ScriptedInteraction.h"
#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/ResumeLayout.h"

#include <QtTest>

namespace {

// n lines joined by CR LF: n - 1 breaks.
QString resumeOf(int lines, bool breakAtEnd = false)
{
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << QStringLiteral("%1.09--%2.07 某地工作").arg(1960 + i).arg(1961 + i);
    return out.join(QStringLiteral("\r\n")) + (breakAtEnd ? QStringLiteral("\r\n") : QString());
}

RecordingSurface songti12()
{
    RecordingSurface r;
    r.setFontName(QStringLiteral("宋体"));
    r.setFontSize(12);
    return r;
}

} // namespace

class TestResume : public QObject {
    Q_OBJECT
private slots:
    void init() { ResumeFontSize = 12; }
    void fortyBreaksAtNinePoints();
    void stepsByBreakCount_data();
    void stepsByBreakCount();
    void availableRoundsHalfToEven();
    void tooLong();
    void inheritedSizeLowersEveryLine();
    void inheritedSizeWithoutBreak();
    void noLoweringAtTwelve();
    void emptyResume();
    void lastLineAndLineFeeds();
};

void TestResume::fortyBreaksAtNinePoints()
{
    // avail = 12474 - 5000 = 7474: 31, 33, 35, 38 lines at steps 1-4, 41 at step 5.
    RecordingSurface r = songti12();
    FillResume(resumeOf(40, true), 1927, 5000, r, 0);
    const auto t = r.texts();
    QCOMPARE(t.size(), 41);   // the empty line after the last break is printed too
    const double lh = MeasuringSurface::instance().lineHeight(QStringLiteral("楷体"), 9);
    for (int i = 0; i < t.size(); ++i) {
        QCOMPARE(t[i].size, 9.0);
        QCOMPARE(t[i].font, QStringLiteral("楷体"));
        QCOMPARE(t[i].x, 1927.0);
        QCOMPARE(t[i].y, 5000 + i * lh);   // Print's own advance
    }
    QCOMPARE(t[0].text, QStringLiteral("1960.09--1961.07 某地工作"));
    QCOMPARE(t.last().text, QString());
    QCOMPARE(ResumeFontSize, 9);
    QCOMPARE(r.fontName(), QStringLiteral("楷体"));
    QCOMPARE(r.fontSize(), 12.0);
    QVERIFY(r.messages().isEmpty());
}

void TestResume::stepsByBreakCount_data()
{
    QTest::addColumn<int>("breaks");
    QTest::addColumn<double>("size");
    // avail 7474 at y = 5000.
    QTest::newRow("31: step 1") << 31 << 12.0;
    QTest::newRow("32: step 2") << 32 << 11.0;
    QTest::newRow("35: step 3") << 35 << 10.0;
    QTest::newRow("36: step 4, also 10") << 36 << 10.0;
    QTest::newRow("41: step 5") << 41 << 9.0;
    QTest::newRow("45: step 6") << 45 << 8.0;
}

void TestResume::stepsByBreakCount()
{
    QFETCH(int, breaks);
    QFETCH(double, size);
    RecordingSurface r = songti12();
    FillResume(resumeOf(breaks + 1), 0, 5000, r, 0);
    QCOMPARE(r.texts().size(), breaks + 1);
    QCOMPARE(r.texts().first().size, size);
    QCOMPARE(ResumeFontSize, int(size));
}

void TestResume::availableRoundsHalfToEven()
{
    // 15 mm is 850.5 twips; from y = 371 that leaves 479.5, taken as 480:
    // two lines of 240, so two breaks still fit at 12 points.
    RecordingSurface r = songti12();
    FillResume(resumeOf(3), 0, 371, r, 15);
    QCOMPARE(r.texts().first().size, 12.0);
    // From y = 372, 478.5 becomes 478: one line at 240, two at 225.
    RecordingSurface r2 = songti12();
    ResumeFontSize = 12;
    FillResume(resumeOf(3), 0, 372, r2, 15);
    QCOMPARE(r2.texts().first().size, 11.0);
}

void TestResume::tooLong()
{
    // 7474 / 165 = 45 lines at most.
    ScriptedInteraction ui;
    RecordingSurface r = songti12();
    r.setInteraction(&ui);
    ResumeFontSize = 10;
    FillResume(resumeOf(47), 0, 5000, r, 0);
    QVERIFY(r.texts().isEmpty());
    QCOMPARE(r.messages().size(), 1);
    QCOMPARE(r.messages()[0].title, QStringLiteral("系统"));
    QCOMPARE(r.messages()[0].text, QStringLiteral("该干部的简历太长！\r\n请适当精简简历内容！"));
    QCOMPARE(r.messages()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ResumeFontSize, 10);
    QCOMPARE(r.fontName(), QStringLiteral("宋体"));
    QCOMPARE(r.fontSize(), 12.0);
    QCOMPARE(r.CurrentY, 5000.0);
}

void TestResume::inheritedSizeLowersEveryLine()
{
    ResumeFontSize = 10;
    RecordingSurface r = songti12();
    FillResume(resumeOf(5), 0, 5000, r, 0);
    const auto t = r.texts();
    QCOMPARE(t.size(), 5);
    for (const auto &op : t)
        QCOMPARE(op.size, 10.0);
    QCOMPARE(ResumeFontSize, 10);
    const double lh = MeasuringSurface::instance().lineHeight(QStringLiteral("楷体"), 10);
    QCOMPARE(t[1].y, 5000 + lh);
    QCOMPARE(r.fontSize(), 12.0);
}

void TestResume::inheritedSizeWithoutBreak()
{
    ResumeFontSize = 10;
    RecordingSurface r = songti12();
    FillResume(QStringLiteral("1960.09--1961.07 某地工作"), 0, 5000, r, 0);
    QCOMPARE(r.texts().size(), 1);
    QCOMPARE(r.texts()[0].size, 12.0);
    QCOMPARE(ResumeFontSize, 12);
}

void TestResume::noLoweringAtTwelve()
{
    RecordingSurface r = songti12();
    FillResume(resumeOf(35), 0, 5000, r, 0);   // step 3, 10 points
    for (const auto &op : r.texts())
        QCOMPARE(op.size, 10.0);
    QCOMPARE(ResumeFontSize, 10);
    // A second call inherits 10 even where 12 would fit.
    RecordingSurface r2 = songti12();
    FillResume(resumeOf(3), 0, 5000, r2, 0);
    for (const auto &op : r2.texts())
        QCOMPARE(op.size, 10.0);
}

void TestResume::emptyResume()
{
    ResumeFontSize = 11;
    RecordingSurface r = songti12();
    r.CurrentY = 123;
    FillResume(QString(), 0, 5000, r, 0);
    QVERIFY(r.ops().isEmpty());
    QCOMPARE(r.CurrentY, 5000.0);
    QCOMPARE(ResumeFontSize, 11);
    QCOMPARE(r.fontName(), QStringLiteral("宋体"));
}

void TestResume::lastLineAndLineFeeds()
{
    RecordingSurface r = songti12();
    FillResume(QStringLiteral("一\r\n\r\n二\n三\r"), 500, 5000, r, 0);
    QStringList lines;
    for (const auto &op : r.texts())
        lines << op.text;
    // Line feeds are not printed; a bare CR ends a line like CR LF.
    QCOMPARE(lines, (QStringList{QStringLiteral("一"), QString(), QStringLiteral("二三"), QString()}));
    QCOMPARE(r.texts().last().x, 500.0);
}

QTEST_MAIN(TestResume)
#include "tst_resume.moc"
