#include "record/MarginInput.h"
#include "record/MarginSettings.h"
#include "foundation/Settings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class TestMargins : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Settings::useScratchFolder(m_dir.path());
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("texts");   // top, left, second page's left
        QTest::addColumn<int>("focus");
        QTest::addColumn<QString>("message");
        const QString notNumber = QStringLiteral("请输入整数值");
        QTest::newRow("top text") << QStringList{"abc", "15", "9"} << int(MarginInput::Box::Top) << notNumber;
        QTest::newRow("number before range") << QStringList{"99", "1 5", "9"} << int(MarginInput::Box::PageOneLeft) << notNumber;
        QTest::newRow("absurdly negative") << QStringList{"20", "-1e300", "9"} << int(MarginInput::Box::PageOneLeft) << notNumber;
        QTest::newRow("top 32") << QStringList{"32", "15", "9"} << int(MarginInput::Box::Top) << "下边距不能小于20，上边距请输入小于32的整数值";
        QTest::newRow("top 14.9") << QStringList{"14.9", "15", "9"} << int(MarginInput::Box::Top) << "上边距不能小于15";
        QTest::newRow("left 32") << QStringList{"20", "32", "9"} << int(MarginInput::Box::PageOneLeft) << "第一页左边距请输入小于32的整数值";
        QTest::newRow("back 40") << QStringList{"20", "15", "40"} << int(MarginInput::Box::PageTwoLeft) << "第二页左边距请输入小于32的整数值";
    }
    void refusals()
    {
        QFETCH(QStringList, texts);
        MarginInput::Box refused = MarginInput::Box::Top;
        const Result<MarginInput::Accepted> r = MarginInput::check(texts[0], texts[1], texts[2], &refused);
        QVERIFY(!r && r.kind() == FailureKind::RefusedMargins);
        QTEST(static_cast<int>(refused), "focus");
        QTEST(r.error(), "message");
    }

    // Whole millimetres, 56.7 twips each, half to even; shown as twips / 56.6.
    void conversions()
    {
        MarginInput::Accepted r = MarginInput::check(QStringLiteral("15.9"), QStringLiteral("31"), QStringLiteral("-5")).value();
        QCOMPARE(r.topText, QStringLiteral("15"));
        QCOMPARE(QList<int>({r.top, r.pageOneLeft, r.pageTwoLeft}), QList<int>({850, 1758, -284}));   // 850.5, 1757.7, -283.5
        r = MarginInput::check(QStringLiteral(" 31 "), QStringLiteral("+9.99"), QStringLiteral("0")).value();
        QCOMPARE(r.leftText, QStringLiteral("9"));
        QCOMPARE(QList<int>({r.top, r.pageOneLeft, r.pageTwoLeft}), QList<int>({1758, 510, 0}));
        PageMargins m;
        MarginInput::apply(r, m);
        QVERIFY(m.top == 1758 && m.pageOneLeft == 510 && m.pageTwoLeft == 0 && m.tableWidth == 8165 && m.tableHeight == 11624);
        for (const auto &[twips, mm] : QList<std::pair<int, int>>{{1134, 20}, {850, 15}, {510, 9}, {-850, -15}})
            QCOMPARE(MarginInput::shownMillimetres(twips), mm);
    }

    void storeRoundTrip()
    {
        // What one run writes at its end, under the names existing stores hold, the next run reads.
        const PageMargins m{1020, -57, 1701, 1, 11624};   // the width is written, never read back
        QVERIFY(MarginSettings::store(m));
        const QString folder = m_dir.filePath(QStringLiteral("KQTS")), userFile = folder + QStringLiteral("/KQTS.conf");
        QSettings store(userFile, QSettings::IniFormat);
        QCOMPARE(store.value(QStringLiteral("RM/TBL_TOP_DIST")).toString(), QStringLiteral("1020"));
        QCOMPARE(store.value(QStringLiteral("RM/TBL_WIDTH")).toString(), QStringLiteral("1"));
        const PageMargins back = MarginSettings::load();
        QVERIFY(back.top == 1020 && back.pageOneLeft == -57 && back.pageTwoLeft == 1701 && back.tableWidth == 8165);
        // Values that are no twip count read as the defaults.
        store.setValue(QStringLiteral("RM/TBL_TOP_DIST"), QStringLiteral("abc"));
        store.setValue(QStringLiteral("RM/TBLBACK_LEFT_DIST"), QStringLiteral("1e99"));
        store.sync();
        const PageMargins fallback = MarginSettings::load();
        QVERIFY(fallback.top == 1134 && fallback.pageOneLeft == -57 && fallback.pageTwoLeft == 510);
        // A damaged store's absurd margins are not used, and that is said.
        store.setValue(QStringLiteral("RM/TBL_TOP_DIST"), QStringLiteral("1000000000"));
        store.setValue(QStringLiteral("RM/TBL_LEFT_DIST"), QStringLiteral("-20000"));
        store.setValue(QStringLiteral("RM/TBLBACK_LEFT_DIST"), QStringLiteral("1758"));
        store.sync();
        QString problem;
        const PageMargins absurd = MarginSettings::load(&problem);
        QVERIFY(absurd.top == 1134 && absurd.pageOneLeft == 850 && absurd.pageTwoLeft == 1758);
        QVERIFY2(problem.contains(QStringLiteral("TBL_TOP_DIST=1000000000，TBL_LEFT_DIST=-20000")), qPrintable(problem));
        // The store is read from a regular file only: a pipe would never answer.
        QVERIFY(QFile::remove(userFile) && ::mkfifo(QFile::encodeName(userFile).constData(), 0600) == 0);
        problem.clear();
        const PageMargins piped = MarginSettings::load(&problem);
        QVERIFY(piped.top == 1134 && problem.contains(QStringLiteral("不是普通文件")));
        QVERIFY(!MarginSettings::store(m));
        // A store that cannot be written says so.
        QVERIFY(QDir(folder).removeRecursively() && QFile(folder).open(QIODevice::WriteOnly));
        QVERIFY(!MarginSettings::store(m));
        QVERIFY(QFile::remove(folder));
    }
};

QTEST_MAIN(TestMargins)
#include "tst_margins.moc"
