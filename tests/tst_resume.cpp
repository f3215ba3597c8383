#include "layout/MeasuringSurface.h"
#include "layout/ResumeLayout.h"
#include "support/LayoutTestSupport.h"

#include <QtTest>

namespace {

// n lines joined by CR LF: n - 1 breaks.
QString resumeOf(int lines)
{
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << u"%1.09--%2.07 某地工作"_s.arg(1960 + i).arg(1961 + i);
    return out.join(u"\r\n"_s);
}

} // namespace

class TestResume : public QObject {
    Q_OBJECT
private slots:
    void sizes_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("y");
        QTest::addColumn<double>("bottomMm");
        QTest::addColumn<double>("size");     // every line (0: nothing printed)
        // From y = 5000 to 220 mm, 7474 twips hold 31, 33, 35, 38 lines at
        // steps 1-4, 41 at step 5 and 45 at step 6.
        QTest::newRow("31 breaks: step 1") << 32 << 5000 << 0.0 << 12.0;
        QTest::newRow("32: step 2") << 33 << 5000 << 0.0 << 11.0;
        QTest::newRow("35: step 3") << 36 << 5000 << 0.0 << 10.0;
        QTest::newRow("36: step 4, also 10") << 37 << 5000 << 0.0 << 10.0;
        QTest::newRow("40: step 5") << 41 << 5000 << 0.0 << 9.0;
        QTest::newRow("45: step 6") << 46 << 5000 << 0.0 << 8.0;
        // 15 mm is 850.5 twips: 479.5 left is 480, two lines at 240; 478.5 is 478.
        QTest::newRow("479.5 to even") << 3 << 371 << 15.0 << 12.0;
        QTest::newRow("478.5 to even") << 3 << 372 << 15.0 << 11.0;
        QTest::newRow("empty résumé") << 0 << 5000 << 0.0 << 0.0;
        // 7474 / 165 = 45 breaks at most: a message instead, the size kept.
        QTest::newRow("47: too long") << 47 << 5000 << 0.0 << 0.0;
    }

    void sizes()
    {
        QFETCH(int, lines);
        QFETCH(int, y);
        QFETCH(double, bottomMm);
        QFETCH(double, size);
        RecordingSurface r = recorder(u"宋体"_s, 12);
        printResume(resumeOf(lines), 1927, y, r, bottomMm);
        QCOMPARE(resumeFontSize(resumeOf(lines), y, bottomMm), lines ? size : 12.0);
        const auto t = r.texts();
        const bool tooLong = lines > 0 && size == 0;   // nothing printed
        QCOMPARE(r.ops().size(), tooLong ? 1 : lines);
        if (tooLong)
            QVERIFY(r.messages()[0].title == u"系统"_s && r.messages()[0].icon == MessageIcon::Exclamation
                    && r.messages()[0].text == u"该干部的简历太长！\r\n请适当精简简历内容！"_s
                    && r.fontName() == u"宋体"_s);   // and the font left as it was
        for (int i = 0; i < t.size(); ++i) {
            QVERIFY(t[i].text == resumeOf(lines).split(u"\r\n"_s).at(i) && t[i].font == u"楷体"_s && t[i].size == size);
            QCOMPARE(QPointF(t[i].x, t[i].y), QPointF(1927, y + i * r.measuring().lineHeight(u"楷体"_s, size)));
        }
        QCOMPARE(r.fontSize(), 12.0);
    }

    void lineEnds()
    {
        // Line feeds are not printed; a bare CR ends a line like CR LF.
        RecordingSurface r = recorder(u"宋体"_s, 12);
        printResume(u"一\r\n\r\n二\n三\r"_s, 500, 5000, r, 0);
        QCOMPARE(textsOf(r), (QStringList{u"一"_s, QString(), u"二三"_s, QString()}));
        QCOMPARE(r.texts().last().x, 500.0);
    }

    // Nothing wraps a résumé line: one that runs past the table's right
    // border is named in one message, and still printed whole.
    void linesPastTheBorder()
    {
        const QString wide(30, QChar(0x67D0));   // 30 x 240 twips at 12 points
        for (int edge : {0, 1927 + 7200, 1927 + 7199}) {
            RecordingSurface r = recorder(u"宋体"_s, 12);
            printResume(u"短\r\n"_s + wide + u"\r\n短\r\n"_s + wide, 1927, 5000, r, 0, edge);
            QCOMPARE(r.texts().size(), 4);
            QCOMPARE(r.messages().size(), edge == 1927 + 7199 ? 1 : 0);
            if (!r.messages().isEmpty())
                QVERIFY2(r.messages()[0].text.startsWith(u"简历第 2、4 行太长"_s), qPrintable(r.messages()[0].text));
        }
    }
};

QTEST_MAIN(TestResume)
#include "tst_resume.moc"
