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
QString sample(const char *name) { return QStringLiteral(AF_SOURCE_DIR "/samples/") + QLatin1String(name); }

struct Run {
    int code = -1;
    QString out, err;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString kLongPost = QStringLiteral("输入文字过长，请输入字数少于75！拟任职务");

    Run run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), tmp("config"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));   // the program sets offscreen itself
        env.remove(QStringLiteral("DISPLAY"));           // and needs no display
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        p.setProcessEnvironment(env);
        p.setStandardInputFile(QProcess::nullDevice());   // nothing may wait for input
        p.start(kProgram, args);
        if (!p.waitForFinished(120000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
    }
    QString tmp(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    // A ".dwz" document of 32 items: a plain record with item `item` set to `text`.
    void writeDocument(const char *name, int item, const QString &text)
    {
        QStringList items = {"测试", "男", "197001"};
        for (int i = 4; i <= 32; ++i)
            items << (i == 31 ? QStringLiteral("20240101") : QString());
        items[item - 1] = text;
        QFile f(tmp(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringEncoder("GB18030").encode(QLatin1Char('"') + items.join(QStringLiteral("\",\"")) + "\"\r\n"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && QFileInfo::exists(kProgram));
        writeDocument("post76.dwz", 27, QString(76, QChar(0x957F)));   // 拟任职务: 长 x 76
        writeDocument("badsex.dwz", 2, QStringLiteral("男性"));
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
        QVERIFY(r.code == 2 && r.err.contains(QStringLiteral("usage:")) && r.out.isEmpty());
    }

    // 0 when every document passes, 1 when one fails; one line per document.
    // Help and version are answered without a display; the editor takes one document.
    void editorArguments()
    {
        for (const char *option : {"--help", "-h"}) {
            const Run r = run({QLatin1String(option)});
            QCOMPARE(r.code, 0);
            QVERIFY(r.out.contains(QStringLiteral("[FILE]")) || r.out.contains(QStringLiteral("[文件]")));
            QVERIFY(r.out.contains(QStringLiteral("render")));
        }
        const Run version = run({QStringLiteral("--version")});
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, QStringLiteral("appointform 2.09\n"));
        QCOMPARE(run({QStringLiteral("--no-such-option")}).code, 2);
        QCOMPARE(run({sample("typical.dwz"), sample("older.ren")}).code, 2);
    }

    void checkExitCodes()
    {
        const QStringList docs = {sample("typical.dwz"), sample("long_resume.dwz"), sample("long_posts.dwz"),
                                  sample("older.ren"), sample("brief.ljy")};
        const Run ok = run(QStringList{"check"} + docs);
        QVERIFY(ok.code == 0 && ok.out == docs.join(QStringLiteral(": ok\n")) + QStringLiteral(": ok\n"));

        QFile::copy(sample("typical.dwz"), tmp("wrong.txt"));
        const Run r = run({"check", tmp("badsex.dwz"), tmp("wrong.txt"), tmp("post76.dwz")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 QStringList({tmp("badsex.dwz") + QStringLiteral(": 性别请填写“男”或“女”！ 请重试！"),
                              tmp("wrong.txt") + QStringLiteral(": 文件类型不正确！"), tmp("post76.dwz") + ": ok",
                              tmp("post76.dwz") + ": warning: " + kLongPost}));
    }

    void pdfPngAndOutputDir()
    {
        const Run r = run({"render", sample("typical.dwz"), sample("older.ren"), "-o", tmp("two.pdf")});
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.err));
        const QByteArray pdf = readAll(tmp("two.pdf"));
        QVERIFY(pdf.startsWith("%PDF") && pdf.contains("/FontFile2"));   // fonts embedded
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
        int pages = 0;
        for (auto it = box.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); ++pages) {
            const auto m = it.next();   // B5: 176 x 250 mm in points
            QVERIFY(std::fabs(m.captured(1).toDouble() - 498.9) < 0.5 && std::fabs(m.captured(2).toDouble() - 708.7) < 0.5);
        }
        QCOMPARE(pages, 4);
        QCOMPARE(run({"render", sample("typical.dwz"), "--page", "2", "-o", tmp("p2.pdf")}).code, 0);
        QCOMPARE(readAll(tmp("p2.pdf")).count("/MediaBox"), 1);

        QCOMPARE(run({"render", sample("typical.dwz"), "--dpi", "100", "-o", tmp("p.png")}).code, 0);
        const QImage img(tmp("p.png"));
        QCOMPARE(img.size(), QSize(693, 984));   // B5 at 100 dpi
        // white paper, the frame's top-left corner (850, 1134 twips) inked
        QVERIFY(img.pixel(2, 2) == qRgb(255, 255, 255) && qGray(img.pixel(59, 79)) < 128);

        const Run dir = run({"render", sample("typical.dwz"), tmp("missing.dwz"), "--output-dir", tmp("out")});
        QCOMPARE(dir.code, 1);   // one document could not be loaded; the others are written
        QVERIFY(QFileInfo::exists(tmp("out") + "/typical.pdf") && dir.err.contains(tmp("missing.dwz")));
    }

    // The program's list is the recording surface's list for the same document.
    void displayListEqualsTheRecording()
    {
        const Run r = run({"render", sample("typical.dwz"), "--display-list", "--margins", "1200,900,600", "--today",
                           "20240315"});
        QCOMPARE(r.code, 0);
        Clock::setToday(QDate(2024, 3, 15));
        ScriptedInteraction ui;
        FormPages pages;
        pages.margins = {1200, 900, 600};
        QVERIFY(DocumentRender::prepareDocument(sample("typical.dwz"), pages, ui));
        const QString expected = DocumentRender::displayList(pages, DocumentRender::Pages::Both);
        Clock::setToday(QDate());
        QCOMPARE(r.out, expected);
        QVERIFY(r.out.startsWith(QStringLiteral("page\t1\ntext\t")) && r.out.contains(QStringLiteral("\npage\t2\n")));
        QVERIFY(r.out.contains(QStringLiteral("\ntext\t6854.01\t10516.5\t楷体\t12\t3\n")));   // month of the date

        const Run list = run({"render", tmp("post76.dwz"), "--display-list", "--page", "1"});
        QVERIFY(list.code == 0 && list.err.isEmpty() && !list.out.contains(QStringLiteral("page\t2")));
        QVERIFY(list.out.contains(QStringLiteral("\nmessage\t系统\t") + kLongPost + QLatin1Char('\n')));
        const Run pdf = run({"render", tmp("post76.dwz"), "-o", tmp("post76.pdf")});   // messages go to stderr
        QVERIFY(pdf.code == 0 && pdf.err.contains(tmp("post76.dwz") + QStringLiteral(": 系统: ") + kLongPost));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
