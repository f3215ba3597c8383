#include "app/MarginInput.h"
#include "app/MarginSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestMargins : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Keep the user's own settings out of reach.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void shownInWholeMillimetres()
    {
        QCOMPARE(MarginInput::shownMillimetres(1134), 20);   // 20.03
        QCOMPARE(MarginInput::shownMillimetres(850), 15);
        QCOMPARE(MarginInput::shownMillimetres(510), 9);
        QCOMPARE(MarginInput::shownMillimetres(-850), -15);
    }

    void checks_data()
    {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("back");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        const QString notNumber = QStringLiteral("请输入整数值");
        QTest::newRow("top text") << "abc" << "15" << "9" << "txtTop" << notNumber;
        QTest::newRow("top empty") << "" << "15" << "9" << "txtTop" << notNumber;
        QTest::newRow("left text") << "20" << "1 5" << "9" << "txtLeft" << notNumber;
        QTest::newRow("back text") << "20" << "15" << "九" << "txtBackLeft" << notNumber;
        QTest::newRow("top 32") << "32" << "15" << "9" << "txtTop"
                                << QStringLiteral("下边距不能小于20，上边距请输入小于32的整数值");
        QTest::newRow("top 14.9") << "14.9" << "15" << "9" << "txtTop" << QStringLiteral("上边距不能小于15");
        QTest::newRow("left 32") << "20" << "32" << "9" << "txtLeft"
                                 << QStringLiteral("第一页左边距请输入小于32的整数值");
        QTest::newRow("back 40") << "20" << "15" << "40" << "txtBackLeft"
                                 << QStringLiteral("第二页左边距请输入小于32的整数值");
        QTest::newRow("order: number before range") << "99" << "x" << "9" << "txtLeft" << notNumber;
        QTest::newRow("absurdly negative") << "20" << "-1e300" << "9" << "txtLeft" << notNumber;
    }
    void checks()
    {
        QFETCH(QString, top);
        QFETCH(QString, left);
        QFETCH(QString, back);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        const MarginInput::Result r = MarginInput::check(top, left, back);
        QVERIFY(!r.ok);
        QCOMPARE(r.focusControl, focus);
        QCOMPARE(r.message, message);
        PageMargins m;
        MarginInput::apply(r, m);
        QCOMPARE(m.T, 1134);   // nothing changes on a refusal
    }

    void conversions()
    {
        MarginInput::Result r = MarginInput::check(QStringLiteral("15.9"), QStringLiteral("31"), QStringLiteral("-5"));
        QVERIFY(r.ok);
        QCOMPARE(r.topText, QStringLiteral("15"));
        QCOMPARE(r.T, 850);          // 850.5 to even
        QCOMPARE(r.L, 1758);         // 31 x 56.7 = 1757.7
        QCOMPARE(r.B, -284);         // negative offsets pass: -283.5 to even
        r = MarginInput::check(QStringLiteral(" 31 "), QStringLiteral("+9.99"), QStringLiteral("0"));
        QVERIFY(r.ok);
        QCOMPARE(r.T, 1758);
        QCOMPARE(r.leftText, QStringLiteral("9"));
        QCOMPARE(r.L, 510);          // 510.3
        QCOMPARE(r.B, 0);
        PageMargins m;
        MarginInput::apply(r, m);
        QCOMPARE(m.T, 1758);
        QCOMPARE(m.W, 8165);
        QCOMPARE(m.H, 11624);
    }

    void storeRoundTrip()
    {
        QSettings store(m_dir.filePath(QStringLiteral("roundtrip.ini")), QSettings::IniFormat);
        PageMargins defaults = MarginSettings::load(store);
        QCOMPARE(defaults.T, 1134);
        QCOMPARE(defaults.L, 850);
        QCOMPARE(defaults.B, 510);

        PageMargins m;
        m.T = 1020;
        m.L = -57;
        m.B = 1701;
        m.W = 1;   // never read back
        MarginSettings::store(m, store);
        QCOMPARE(store.value(QStringLiteral("RM/TBL_TOP_DIST")).toString(), QStringLiteral("1020"));
        QCOMPARE(store.value(QStringLiteral("RM/TBL_WIDTH")).toString(), QStringLiteral("1"));
        QCOMPARE(store.value(QStringLiteral("RM/TBL_HEIGHT")).toString(), QStringLiteral("11624"));
        const PageMargins back = MarginSettings::load(store);
        QCOMPARE(back.T, 1020);
        QCOMPARE(back.L, -57);
        QCOMPARE(back.B, 1701);
        QCOMPARE(back.W, 8165);
    }

    void notANumberFallsBackToDefault()
    {
        QSettings store(m_dir.filePath(QStringLiteral("bad.ini")), QSettings::IniFormat);
        store.setValue(QStringLiteral("RM/TBL_TOP_DIST"), QStringLiteral("abc"));
        store.setValue(QStringLiteral("RM/TBL_LEFT_DIST"), QStringLiteral("900"));
        store.setValue(QStringLiteral("RM/TBLBACK_LEFT_DIST"), QStringLiteral("1e99"));
        const PageMargins m = MarginSettings::load(store);
        QCOMPARE(m.T, 1134);
        QCOMPARE(m.L, 900);
        QCOMPARE(m.B, 510);
    }

    // What one run writes at its end the next run reads when it opens.
    void survivesARestart()
    {
        PageMargins m;
        m.T = 964;
        m.L = 1077;
        m.B = 397;
        MarginSettings::store(m);
        const PageMargins next = MarginSettings::load();
        QCOMPARE(next.T, 964);
        QCOMPARE(next.L, 1077);
        QCOMPARE(next.B, 397);
        QCOMPARE(MarginInput::shownMillimetres(next.T), 17);
    }
};

QTEST_MAIN(TestMargins)
#include "tst_margins.moc"
