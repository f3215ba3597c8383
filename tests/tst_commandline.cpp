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

// A ".dwz" document of 32 items: a plain record with item `item` set to `text`.
void writeDocument(const QString &path, int item, const QString &text)
{
    QMap<int, QString> items = {{1, "测试"}, {2, "男"}, {3, "197001"}, {31, "20240101"}};
    items[item] = text;
    QStringList all;
    for (int i = 1; i <= 32; ++i)
        all << QLatin1Char('"') + items.value(i) + QLatin1Char('"');
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringEncoder("GB18030").encode(all.join(QLatin1Char(',')) + QStringLiteral("\r\n")));
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
        if (!p.waitForFinished(120000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
    }
    QString tmp(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFileInfo::exists(kProgram), "build the appointform program first");
        writeDocument(tmp("post76.dwz"), 27, QString(76, QChar(0x957F)));   // 拟任职务: 长 x 76
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no document") << QStringList{"render", "-o", "x.pdf"};
        QTest::newRow("no target") << QStringList{"render", "a.dwz"};
        QTest::newRow("two targets") << QStringList{"render", "a.dwz", "-o", "x.pdf", "--display-list"};
        QTest::newRow("unknown option") << QStringList{"render", "a.dwz", "--colour"};
        QTest::newRow("page 3") << QStringList{"render", "a.dwz", "--page", "3", "--display-list"};
        QTest::newRow("today invalid") << QStringList{"render", "a.dwz", "--today", "20240231", "--display-list"};
        QTest::newRow("png of two") << QStringList{"render", "a.dwz", "b.dwz", "-o", "x.png"};
        QTest::newRow("check with -o") << QStringList{"check", "a.dwz", "-o", "x.pdf"};
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("usage:")) && r.out.isEmpty());
    }

    // 0 when every document passes, 1 when one fails; one line per document.
    void checkExitCodes()
    {
        QStringList docs;
        for (const char *name : {"typical.dwz", "long_resume.dwz", "long_posts.dwz", "older.ren", "brief.ljy"})
            docs << kSamples + QLatin1Char('/') + QLatin1String(name);
        const Run ok = run(QStringList{"check"} + docs);
        QCOMPARE(ok.code, 0);
        for (const QString &d : docs)
            QVERIFY2(ok.out.contains(d + QStringLiteral(": ok\n")), qPrintable(ok.out));

        writeDocument(tmp("badsex.dwz"), 2, QStringLiteral("男性"));
        QFile::copy(kSamples + "/typical.dwz", tmp("wrong.txt"));
        const Run r = run({"check", tmp("badsex.dwz"), tmp("wrong.txt"), tmp("post76.dwz")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 QStringList({tmp("badsex.dwz") + QStringLiteral(": 性别请填写“男”或“女”！ 请重试！"),
                              tmp("wrong.txt") + QStringLiteral(": 文件类型不正确！"), tmp("post76.dwz") + ": ok",
                              tmp("post76.dwz") + QStringLiteral(": warning: 输入文字过长，请输入字数少于75！拟任职务")}));
    }

    void pdfHasOneB5PagePerFormPage()
    {
        const Run r = run({"render", kSamples + "/typical.dwz", kSamples + "/older.ren", "-o", tmp("two.pdf")});
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.err));
        QFile f(tmp("two.pdf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.startsWith("%PDF") && pdf.contains("/FontFile2"));   // fonts embedded
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
        int pages = 0;
        for (auto it = box.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); ++pages) {
            const auto m = it.next();   // 176 x 250 mm in points
            QVERIFY(std::fabs(m.captured(1).toDouble() - 498.9) < 0.5 && std::fabs(m.captured(2).toDouble() - 708.7) < 0.5);
        }
        QCOMPARE(pages, 4);
        QCOMPARE(run({"render", kSamples + "/typical.dwz", "--page", "2", "-o", tmp("p2.pdf")}).code, 0);
        QFile g(tmp("p2.pdf"));
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(g.readAll()).count(QStringLiteral("/MediaBox")), 1);
    }

    void pngAndOutputDir()
    {
        QCOMPARE(run({"render", kSamples + "/typical.dwz", "--dpi", "100", "-o", tmp("p.png")}).code, 0);
        const QImage img(tmp("p.png"));
        QCOMPARE(img.size(), QSize(693, 984));   // B5 at 100 dpi
        // white paper, the frame's top-left corner (850, 1134 twips) inked
        QVERIFY(img.pixel(2, 2) == qRgb(255, 255, 255) && qGray(img.pixel(59, 79)) < 128);

        const QString dir = tmp("out");
        const Run r = run({"render", kSamples + "/typical.dwz", tmp("missing.dwz"), "--output-dir", dir});
        QCOMPARE(r.code, 1);   // one document could not be loaded; the others are written
        QVERIFY(QFileInfo::exists(dir + "/typical.pdf") && r.err.contains(tmp("missing.dwz")));
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
        pages.margins = {1200, 900, 600};
        QVERIFY(DocumentRender::prepareDocument(doc, pages, ui));
        const QString expected = DocumentRender::displayList(pages, DocumentRender::Pages::Both);
        Clock::setToday(QDate());
        QCOMPARE(r.out, expected);
        QVERIFY(r.out.startsWith(QStringLiteral("page\t1\ntext\t")) && r.out.contains(QStringLiteral("\npage\t2\n")));
        QVERIFY(r.out.contains(QStringLiteral("\ntext\t6854.01\t10516.5\t楷体\t12\t3\n")));   // month of the date
    }

    void messagesBesideTheDisplayList()
    {
        const Run list = run({"render", tmp("post76.dwz"), "--display-list", "--page", "1"});
        QVERIFY(list.code == 0 && list.err.isEmpty() && !list.out.contains(QStringLiteral("page\t2")));
        QVERIFY(list.out.contains(QStringLiteral("\nmessage\t系统\t输入文字过长，请输入字数少于75！拟任职务\n")));
        const Run pdf = run({"render", tmp("post76.dwz"), "-o", tmp("post76.pdf")});
        QCOMPARE(pdf.code, 0);
        QVERIFY(pdf.err.contains(tmp("post76.dwz") + QStringLiteral(": 系统: 输入文字过长，请输入字数少于75！拟任职务")));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
