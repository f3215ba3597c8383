#include "app/Clock.h"
#include "app/ScriptedInteraction.h"
#include "render/DocumentRender.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kProgram = QStringLiteral(AF_BINARY_DIR "/appointform");
const QString kSamples = QStringLiteral(AF_SOURCE_DIR "/samples");

struct Run {
    int code = -1;
    QString out, err;
};

// A ".dwz" document of 32 items; `items` maps 1-based item numbers to texts.
void writeDocument(const QString &path, const QMap<int, QString> &items)
{
    QStringList all;
    for (int i = 1; i <= 32; ++i)
        all << QLatin1Char('"') + items.value(i) + QLatin1Char('"');
    QStringEncoder encoder("GB18030");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(encoder.encode(all.join(QLatin1Char(',')) + QStringLiteral("\r\n")));
}

QMap<int, QString> plainRecord()
{
    return {{1, QStringLiteral("测试")}, {2, QStringLiteral("男")}, {3, QStringLiteral("197001")},
            {31, QStringLiteral("20240101")}};
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    Run run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));   // the program sets offscreen itself
        p.setProcessEnvironment(env);
        p.setStandardInputFile(QProcess::nullDevice());   // nothing may wait for input
        p.start(kProgram, args);
        Run r;
        if (!p.waitForFinished(120000))
            return r;
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    QString tmp(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFileInfo::exists(kProgram), "build the appointform program first");
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no document") << QStringList{"render", "-o", "x.pdf"};
        QTest::newRow("no target") << QStringList{"render", "a.dwz"};
        QTest::newRow("two targets") << QStringList{"render", "a.dwz", "-o", "x.pdf", "--display-list"};
        QTest::newRow("unknown option") << QStringList{"render", "a.dwz", "--colour"};
        QTest::newRow("wrong output kind") << QStringList{"render", "a.dwz", "-o", "x.txt"};
        QTest::newRow("page 3") << QStringList{"render", "a.dwz", "--page", "3", "--display-list"};
        QTest::newRow("dpi text") << QStringList{"render", "a.dwz", "--dpi", "high", "-o", "x.png"};
        QTest::newRow("margins two") << QStringList{"render", "a.dwz", "--margins", "1,2", "--display-list"};
        QTest::newRow("today invalid") << QStringList{"render", "a.dwz", "--today", "20240231", "--display-list"};
        QTest::newRow("png of two") << QStringList{"render", "a.dwz", "b.dwz", "-o", "x.png"};
        QTest::newRow("check with -o") << QStringList{"check", "a.dwz", "-o", "x.pdf"};
        QTest::newRow("check nothing") << QStringList{"check"};
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("usage:")));
        QVERIFY(r.out.isEmpty());
    }

    void checkSamples()
    {
        const QStringList docs = {kSamples + "/typical.dwz", kSamples + "/long_resume.dwz",
                                  kSamples + "/long_posts.dwz", kSamples + "/older.ren", kSamples + "/brief.ljy"};
        const Run r = run(QStringList{"check"} + docs);
        QCOMPARE(r.code, 0);
        for (const QString &d : docs)
            QVERIFY2(r.out.contains(d + QStringLiteral(": ok\n")), qPrintable(r.out));
    }

    void checkReportsTheFirstMessage()
    {
        QMap<int, QString> bad = plainRecord();
        bad[2] = QStringLiteral("男性");
        writeDocument(tmp("badsex.dwz"), bad);
        QFile::copy(kSamples + "/typical.dwz", tmp("wrong.txt"));
        QMap<int, QString> longPost = plainRecord();
        longPost[26] = QString(80, QChar(0x957F));   // 长 x 80
        writeDocument(tmp("longpost.dwz"), longPost);

        const Run r = run({"check", tmp("badsex.dwz"), tmp("wrong.txt"), tmp("longpost.dwz")});
        QCOMPARE(r.code, 1);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], tmp("badsex.dwz") + QStringLiteral(": 性别请填写“男”或“女”！ 请重试！"));
        QCOMPARE(lines[1], tmp("wrong.txt") + QStringLiteral(": 文件类型不正确！"));
        QCOMPARE(lines[2], tmp("longpost.dwz") + QStringLiteral(": ok"));
        QCOMPARE(lines[3], tmp("longpost.dwz") + QStringLiteral(": warning: 输入文字过长，请输入字数少于75！现任职务"));
    }

    void pdfHasOneB5PagePerFormPage()
    {
        const Run r = run({"render", kSamples + "/typical.dwz", kSamples + "/older.ren", "-o", tmp("two.pdf")});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QFile f(tmp("two.pdf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
        int pages = 0;
        for (auto it = box.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); ++pages) {
            const auto m = it.next();
            QVERIFY(std::fabs(m.captured(1).toDouble() - 176 / 25.4 * 72) < 0.5);
            QVERIFY(std::fabs(m.captured(2).toDouble() - 250 / 25.4 * 72) < 0.5);
        }
        QCOMPARE(pages, 4);
        QVERIFY(pdf.contains("/FontFile2"));   // fonts embedded

        const Run one = run({"render", kSamples + "/typical.dwz", "--page", "2", "-o", tmp("p2.pdf")});
        QCOMPARE(one.code, 0);
        QFile g(tmp("p2.pdf"));
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(g.readAll()).count(QStringLiteral("/MediaBox")), 1);
    }

    void pngAtTheChosenResolution()
    {
        const Run r = run({"render", kSamples + "/typical.dwz", "--dpi", "100", "-o", tmp("p.png")});
        QCOMPARE(r.code, 0);
        const QImage img(tmp("p.png"));
        QCOMPARE(img.size(), QSize(693, 984));   // B5 at 100 dpi
        QCOMPARE(img.pixel(2, 2), qRgb(255, 255, 255));
        // the frame's top-left corner (850, 1134 twips) is inked
        QVERIFY(qGray(img.pixel(qRound(850 / 14.4), qRound(1134 / 14.4))) < 128);
    }

    void outputDirOnePdfPerDocument()
    {
        const QString dir = tmp("out");
        const Run r = run({"render", kSamples + "/typical.dwz", kSamples + "/long_posts.dwz", tmp("missing.dwz"),
                           "--output-dir", dir});
        QCOMPARE(r.code, 1);   // one document could not be loaded
        QVERIFY(QFileInfo::exists(dir + "/typical.pdf"));
        QVERIFY(QFileInfo::exists(dir + "/long_posts.pdf"));
        QVERIFY(r.err.contains(tmp("missing.dwz")));
    }

    // The program's list is the recording surface's list for the same document.
    void displayListEqualsTheRecording()
    {
        const QString doc = kSamples + "/typical.dwz";
        const Run r = run({"render", doc, "--display-list", "--margins", "1200,900,600", "--today", "20240315"});
        QCOMPARE(r.code, 0);

        Clock::setToday(QDate(2024, 3, 15));
        ScriptedInteraction ui;
        FormPages pages;
        pages.margins.T = 1200;
        pages.margins.L = 900;
        pages.margins.B = 600;
        QVERIFY(DocumentRender::prepareDocument(doc, pages, ui));
        const QString expected = DocumentRender::displayList(pages, DocumentRender::Pages::Both);
        Clock::setToday(QDate());
        QCOMPARE(r.out, expected);
        QVERIFY(r.out.startsWith(QStringLiteral("page\t1\ntext\t")));
        QVERIFY(r.out.contains(QStringLiteral("\npage\t2\n")));
        QVERIFY(r.out.contains(QStringLiteral("\ntext\t6854.01\t10516.5\t楷体\t12\t3\n")));   // month of the date
        QVERIFY(r.out.contains(QStringLiteral("\npicture\t")));
    }

    void messagesBesideTheDisplayList()
    {
        QMap<int, QString> longPost = plainRecord();
        longPost[27] = QString(76, QChar(0x957F));
        writeDocument(tmp("post76.dwz"), longPost);
        const Run list = run({"render", tmp("post76.dwz"), "--display-list", "--page", "1"});
        QCOMPARE(list.code, 0);
        QVERIFY(list.out.contains(QStringLiteral("\nmessage\t系统\t输入文字过长，请输入字数少于75！拟任职务\n")));
        QVERIFY(!list.out.contains(QStringLiteral("page\t2")));
        QVERIFY(list.err.isEmpty());

        const Run pdf = run({"render", tmp("post76.dwz"), "-o", tmp("post76.pdf")});
        QCOMPARE(pdf.code, 0);
        QVERIFY(pdf.err.contains(tmp("post76.dwz") + QStringLiteral(": 系统: 输入文字过长，请输入字数少于75！拟任职务")));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
