// What every golden document prints, operation by operation, against the
// files kept under tests/golden (written by scripts/regenerate-golden.sh and
// reviewed in a diff when a change to the printed form is intended).
#include "support/DocumentTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestGolden : public QObject {
    Q_OBJECT
    QTemporaryDir m_config;

private slots:
    void samePrintedForm_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("golden");
        const QDir golden(QStringLiteral(AF_SOURCE_DIR "/tests/golden"));
        const QStringList lists = golden.entryList({QStringLiteral("*.displaylist")}, QDir::Files, QDir::Name);
        QVERIFY(lists.size() >= 10);
        for (const QString &list : lists) {
            const QString name = list.chopped(int(qstrlen(".displaylist")));
            QString document = golden.filePath(QStringLiteral("documents/") + name);
            if (!QFileInfo::exists(document))
                document = QStringLiteral(AF_SOURCE_DIR "/samples/") + name;
            QTest::newRow(qPrintable(name)) << document << golden.filePath(list);
        }
    }
    void samePrintedForm()
    {
        QFETCH(QString, document);
        QFETCH(QString, golden);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());   // no saved margins
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(AF_BINARY_DIR "/appointform"), {"render", document, "--display-list", "--today", "20241206",
                                                               "--margins", "1134,850,510", "--jobs", "1"});
        QVERIFY(p.waitForFinished(60000));
        const QList<QByteArray> want = readAll(golden).split('\n');
        const QList<QByteArray> got = p.readAllStandardOutput().split('\n');
        // The first differing line says more than two whole lists.
        for (int i = 0; i < qMin(want.size(), got.size()); ++i)
            QVERIFY2(want.at(i) == got.at(i), qPrintable(QStringLiteral("line %1: expected %2, got %3").arg(i + 1)
                                                            .arg(QString::fromUtf8(want.at(i)), QString::fromUtf8(got.at(i)))));
        QCOMPARE(got.size(), want.size());
    }
};

QTEST_GUILESS_MAIN(TestGolden)
#include "tst_golden.moc"
