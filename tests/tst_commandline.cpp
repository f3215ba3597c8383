#include "foundation/AppInfo.h"
#include "support/DocumentTestSupport.h"
#include "support/PdfTestSupport.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <sys/stat.h>

namespace {
const QString kProgram = QStringLiteral(AF_BINARY_DIR "/appointform");
struct Run { int code = -1; QString out, err; };
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString kLongPost = QStringLiteral("输入文字过长，请输入字数少于75！拟任职务");
    // Every sample, each of which passes the checks.
    const QStringList good = {sample("typical.dwz"), sample("long_resume.dwz"), sample("long_posts.dwz"),
                              sample("older.ren"), sample("brief.ljy")};

    // `extraEnv`: NAME=value pairs for this run; `shell`: commands the shell runs before the program.
    Run run(const QStringList &args, int timeoutMs = 120000, const QStringList &extraEnv = {}, const QString &shell = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), tmp("config"));
        for (const QString &pair : extraEnv)
            env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));   // the program sets offscreen itself and needs no display
        p.setProcessEnvironment(env);
        p.setStandardInputFile(QProcess::nullDevice());   // nothing may wait for input
        shell.isEmpty() ? p.start(kProgram, args)
                        : p.start(QStringLiteral("/bin/sh"), QStringList{"-c", shell + "; exec \"$0\" \"$@\"", kProgram} + args);
        if (!p.waitForFinished(timeoutMs))
            return {};   // QProcess kills it on the way out
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
        QVERIFY(writeBytes(tmp(name), encodeDocumentItems(items).value()));
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
        QTest::newRow("no jobs") << QStringList{"check", "a.dwz", "--jobs", "0"};
        QTest::newRow("format without folder") << QStringList{"render", "a.dwz", "-o", "x.pdf", "--format", "docx"};
        QTest::newRow("format unknown") << QStringList{"render", "a.dwz", "--output-dir", "d", "--format", "rtf"};
        QTest::newRow("roster without -o") << QStringList{"roster", "a.dwz"};
        QTest::newRow("roster to .ods") << QStringList{"roster", "a.dwz", "-o", "x.ods"};
        QTest::newRow("roster with margins") << QStringList{"roster", "a.dwz", "-o", "x.csv", "--margins", "0,0,0"};
        QTest::newRow("jobs not a number") << QStringList{"render", "a.dwz", "--display-list", "--jobs", "two"};
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QVERIFY(r.code == 2 && r.err.contains(QStringLiteral("usage:")) && r.out.isEmpty());
        // check names what it takes when given an option it does not know.
        QCOMPARE(r.err.contains(QStringLiteral("check takes documents")), QTest::currentDataTag() == QByteArray("check with -o"));
    }

    // Help and version are answered without a display; the editor takes one
    // document; the commands describe their own options.
    void editorArguments()
    {
        for (const char *option : {"--help", "-h"}) {
            const Run r = run({QLatin1String(option)});
            QVERIFY(r.code == 0 && r.out.contains(QStringLiteral("render"))
                    && (r.out.contains(QStringLiteral("[FILE]")) || r.out.contains(QStringLiteral("[文件]"))));
        }
        const Run version = run({QStringLiteral("--version")});
        QVERIFY(version.code == 0 && version.out == QStringLiteral("appointform " APPOINTFORM_VERSION "\n"));
        QCOMPARE(run({QStringLiteral("--no-such-option")}).code, 2);
        QCOMPARE(run({sample("typical.dwz"), sample("older.ren")}).code, 2);
        const Run render = run({QStringLiteral("render"), QStringLiteral("--help")});
        QVERIFY(render.code == 0 && render.out.startsWith(QStringLiteral("Usage: appointform render")));
        QVERIFY(render.out.contains(QStringLiteral("--output-dir")) && render.out.contains(QStringLiteral("--jobs")));
        QVERIFY(render.out.contains(QStringLiteral("--paper <b5|a4>")) && render.out.contains(QStringLiteral("3 printed with omissions")));
        const Run check = run({QStringLiteral("check"), QStringLiteral("-h")});
        QVERIFY(check.code == 0 && check.out.contains(QStringLiteral("--today")) && !check.out.contains(QStringLiteral("--output-dir")));
        // Under a Chinese locale every heading is Chinese too.
        for (const QStringList &args : {QStringList{"--help"}, QStringList{"render", "--help"}, QStringList{"check", "-h"}}) {
            const Run zh = run(args, 120000, {QStringLiteral("LC_ALL=zh_CN.UTF-8")});
            QVERIFY2(zh.code == 0 && zh.out.startsWith(QStringLiteral("用法：appointform")) && zh.out.contains(QStringLiteral("\n选项：\n  -"))
                     && zh.out.contains(QStringLiteral("\n参数：\n  文")) && !zh.out.contains(QStringLiteral("Usage")), qPrintable(zh.out));
        }
    }

    // One line per document and per warning, in the order given whatever the
    // number of jobs; 0 when every document passes, 1 otherwise. A pipe is
    // refused at once, and a photo that cannot be read does not hide a field error.
    void checkReportsEveryDocument()
    {
        const Run ok = run(QStringList{"check"} + good);
        QVERIFY(ok.code == 0 && ok.out == good.join(QStringLiteral(": ok\n")) + QStringLiteral(": ok\n"));

        const QString fifo = tmp("pipe.dwz");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(writeBytes(tmp("badsex.pic"), "not a picture"));
        QVERIFY(QFile::copy(sample("typical.dwz"), tmp("wrong.txt")) && QDir().mkpath(tmp("folder.dwz")));
        const QStringList docs = {sample("typical.dwz"), fifo, tmp("badsex.dwz"), tmp("wrong.txt"), tmp("post76.dwz"),
                                  tmp("missing.dwz"), tmp("folder.dwz"), sample("older.ren")};
        for (const char *jobs : {"1", "2"}) {
            const Run r = run(QStringList{"check", "--jobs", jobs} + docs, 30000);
            const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QVERIFY2(r.code == 1 && lines.size() == 10, qPrintable(r.out));
            QVERIFY(lines.at(1).startsWith(fifo + QStringLiteral(": “")) && lines.at(1).contains(QStringLiteral("不是普通文件")));
            QVERIFY(lines.at(2).startsWith(tmp("badsex.dwz") + QStringLiteral(": warning: ")) && lines.at(2).contains(QStringLiteral("照片")));
            QVERIFY(lines.at(7).startsWith(tmp("missing.dwz") + QStringLiteral(": ")) && lines.at(8).startsWith(tmp("folder.dwz") + QStringLiteral(": ")));
            QCOMPARE(lines.mid(3, 4) << lines.at(0) << lines.at(9),
                     QStringList({tmp("badsex.dwz") + QStringLiteral(": 性别请填写“男”或“女”！ 请重试！"),
                                  tmp("wrong.txt") + QStringLiteral(": 文件类型不正确！"), tmp("post76.dwz") + ": ok",
                                  tmp("post76.dwz") + ": warning: " + kLongPost, sample("typical.dwz") + ": ok", sample("older.ren") + ": ok"}));
        }
        const Run list = run({"render", fifo, sample("typical.dwz"), "--display-list", "--jobs", "2"}, 30000);
        QVERIFY(list.code == 1 && list.out.startsWith(QStringLiteral("page\t1\n")) && list.err.contains(fifo));
        QFile::remove(tmp("badsex.pic"));
    }

    void pdfPngAndOutputDir()
    {
        const Run r = run({"render", sample("typical.dwz"), sample("older.ren"), "-o", tmp("two.pdf")});
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.err));
        QVERIFY(readAll(tmp("two.pdf")).contains("/FontFile2"));   // fonts embedded
        QCOMPARE(PdfTest::pdfInfo(tmp("two.pdf"), "Pages"), QStringLiteral("4"));
        QVERIFY(PdfTest::pageSizeNear(tmp("two.pdf"), PdfTest::kB5Width, PdfTest::kB5Height));
        QCOMPARE(run({"render", sample("typical.dwz"), "--paper", "a4", "-o", tmp("a4.pdf")}).code, 0);
        QVERIFY(PdfTest::pageSizeNear(tmp("a4.pdf"), 595.276, 841.89));
        QCOMPARE(run({"render", sample("typical.dwz"), "--paper", "b4", "-o", tmp("b4.pdf")}).code, 2);
        QCOMPARE(run({"render", sample("typical.dwz"), "--page", "2", "-o", tmp("p2.pdf")}).code, 0);
        QCOMPARE(readAll(tmp("p2.pdf")).count("/MediaBox"), 1);

        QCOMPARE(run({"render", sample("typical.dwz"), "--dpi", "100", "-o", tmp("p.png")}).code, 0);
        const QImage img(tmp("p.png"));
        QCOMPARE(img.size(), QSize(717, 1012));   // B5 (182 x 257 mm) at 100 dpi
        // white paper, the frame's top-left corner (850, 1134 twips) inked
        QVERIFY(img.pixel(2, 2) == qRgb(255, 255, 255) && qGray(img.pixel(59, 79)) < 128);

        const Run dir = run({"render", sample("typical.dwz"), tmp("missing.dwz"), "--output-dir", tmp("out")});
        QCOMPARE(dir.code, 1);   // one document could not be loaded; the others are written
        QVERIFY(QFileInfo::exists(tmp("out") + "/typical.pdf") && dir.err.contains(tmp("missing.dwz")));

        // A read-only output is replaced only with --force.
        for (const char *out : {"ro.pdf", "ro.png", "ro.docx", "out/typical.pdf"}) {
            QVERIFY(writeBytes(tmp(out), "kept") && ::chmod(QFile::encodeName(tmp(out)).constData(), 0444) == 0);
            const bool inDir = QByteArray(out).startsWith("out/");
            const QStringList args = {"render", sample("typical.dwz"), inDir ? "--output-dir" : "-o", inDir ? tmp("out") : tmp(out)};
            const Run refused = run(args);
            QVERIFY2(refused.code == 1 && refused.err.contains(QStringLiteral("只读")) && readAll(tmp(out)) == "kept",
                     qPrintable(refused.err));
            QCOMPARE(run(args + QStringList{"--force"}).code, 0);
            QVERIFY(readAll(tmp(out)) != "kept");
        }
    }

    // A write past the file size limit fails and is said in Chinese only
    // (never the PNG library's English), leaving no temporary; a name with a
    // line break stays on one line of `check`.
    void fileSizeLimitAndOddNames()
    {
        QVERIFY(QDir().mkpath(tmp("limited")));
        for (const char *out : {"x.pdf", "x.png"}) {
            const Run r = run({"render", sample("typical.dwz"), "-o", tmp("limited/") + QLatin1String(out)}, 60000, {}, "ulimit -f 4");
            QVERIFY2(r.code == 1 && r.err.contains(QStringLiteral("文件太大")) && !r.err.contains(QStringLiteral("libpng")), qPrintable(r.err));
        }
        QCOMPARE(QDir(tmp("limited")).entryList(QDir::Files | QDir::Hidden), QStringList());

        // A photo the JPEG library complains about: no English on stderr.
        QByteArray photo = readAll(sample("typical.pic"));
        photo.replace(photo.size() / 2, 200, QByteArray(200, 0x55));
        QVERIFY(QFile::copy(sample("typical.dwz"), tmp("two\nlines.dwz")) && writeBytes(tmp("two\nlines.pic"), photo));
        const Run r = run({"check", tmp("two\nlines.dwz")});
        QCOMPARE(r.out, tmp("two\\nlines.dwz") + QStringLiteral(": ok\n"));
        QCOMPARE(r.err, QString());
    }

    // A document prints the same whatever came before it in the run, and the
    // number of jobs changes nothing of what is written.
    void batchesEqualDocumentsAlone()
    {
        QStringList docs = {sample("long_resume.dwz"), sample("typical.dwz"), sample("long_posts.dwz"),
                            sample("older.ren"), sample("brief.ljy")};
        // The résumé at 8 points, one too long (a message), rows that grow.
        for (const char *name : {"resume_at_the_limit.dwz", "resume_too_long.dwz", "posts_growing.dwz"})
            docs << QStringLiteral(AF_SOURCE_DIR "/tests/golden/documents/") + QLatin1String(name);
        docs << tmp("post76.dwz");
        QStringList alone;
        for (const QString &doc : docs) {
            const Run r = run({"render", doc, "--display-list"});
            const bool omits = doc.contains(QStringLiteral("too_long")) || doc.contains(QStringLiteral("post76"));
            QVERIFY2(r.code == (omits ? 3 : 0) && r.err.isEmpty(), qPrintable(doc + r.err));
            alone << r.out;
        }
        const QStringList list = {"render", "--display-list", "--jobs"};
        const Run one = run(list + QStringList{"1"} + docs), two = run(list + QStringList{"2"} + docs);
        QVERIFY(one.code == 3 && two.code == 3);
        QCOMPARE(one.out, alone.join(QString()));
        QCOMPARE(two.out, one.out);
        QStringList reversed = docs, reversedAlone = alone;
        std::reverse(reversed.begin(), reversed.end());
        std::reverse(reversedAlone.begin(), reversedAlone.end());
        QCOMPARE(run(list + QStringList{"2"} + reversed).out, reversedAlone.join(QString()));
    }

    // The combined PDF paints every document as its own PDF does: the
    // typical record after the long résumé still prints at 12 points.
    void combinedPdfPagesEqualOwnPdf()
    {
        if (!PdfTest::haveTools())
            QSKIP("poppler-utils not installed");
        QCOMPARE(run({"render", sample("long_resume.dwz"), sample("typical.dwz"), "-o", tmp("both.pdf"), "--jobs", "2"}).code, 0);
        QCOMPARE(run({"render", sample("typical.dwz"), "-o", tmp("one.pdf")}).code, 0);
        auto words = [](const QString &pdf, int first) {   // both pages, every word where it stands
            QStringList out;
            for (int page : {first, first + 1})
                for (const PdfTest::Word &w : PdfTest::pdfWords(pdf, page))
                    out << QStringLiteral("%1 %2 %3").arg(w.x).arg(w.y).arg(w.text);
            return out;
        };
        const QStringList alone = words(tmp("one.pdf"), 1);
        QVERIFY(alone.join(QLatin1Char(' ')).contains(QStringLiteral("1986.09--1990.07")));
        QCOMPARE(words(tmp("both.pdf"), 3), alone);
    }

    // Namesakes from different folders each get a PDF of their own.
    void outputDirKeepsNamesakesApart()
    {
        QStringList docs;
        for (const char *doc : {"a/zhang", "b/zhang", "c/zhang", "d/zhang", "d/zhang (2)"}) {
            docs << tmp("names/") + QLatin1String(doc) + QStringLiteral(".dwz");
            QVERIFY(QDir().mkpath(QFileInfo(docs.last()).path()) && QFile::copy(sample("typical.dwz"), docs.last()));
        }
        const Run r = run(QStringList{"render", "--output-dir", tmp("names/out"), "--jobs", "2"} + docs);
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(QDir(tmp("names/out")).entryList(QDir::Files, QDir::Name),
                 QStringList({"zhang (2) (2).pdf", "zhang (2).pdf", "zhang (3).pdf", "zhang (4).pdf", "zhang.pdf"}));
        const Run word = run(QStringList{"render", "--output-dir", tmp("names/word"), "--format", "docx"} + docs.mid(0, 2));
        QVERIFY2(word.code == 0 && word.err.isEmpty(), qPrintable(word.err));
        QCOMPARE(QDir(tmp("names/word")).entryList(QDir::Files, QDir::Name), QStringList({"zhang (2).docx", "zhang.docx"}));
    }

    // What a document prints, its message lines among it, is in tests/golden;
    // here, a page alone, the messages on stderr when writing a PDF, and the
    // exit status of a document printed with omissions.
    void omissionsOnStderrAndInTheExitStatus()
    {
        const Run list = run({"render", tmp("post76.dwz"), "--display-list", "--page", "1"});
        QVERIFY(list.code == 3 && list.err.isEmpty() && list.out.contains(QStringLiteral("\nmessage\t系统\t")));
        QVERIFY(!list.out.contains(QStringLiteral("page\t2")));
        const Run pdf = run({"render", tmp("post76.dwz"), "-o", tmp("post76.pdf")});
        QVERIFY(pdf.code == 3 && pdf.err.contains(tmp("post76.dwz") + QStringLiteral(": 系统: ") + kLongPost));
        // A text left out exits 3, apart from failures (1, which outweighs it) and wrong arguments (2).
        QCOMPARE(run({"check", sample("typical.dwz"), tmp("post76.dwz")}).code, 3);
        QCOMPARE(run({"check", tmp("post76.dwz"), tmp("badsex.dwz")}).code, 1);
        QCOMPARE(run({"render", tmp("post76.dwz"), "--page", "2", "--display-list"}).code, 0);   // page 2 is whole
        QCOMPARE(run({"render", tmp("post76.dwz"), "-o", tmp("post76.png")}).code, 3);
        const Run word = run({"render", tmp("post76.dwz"), sample("typical.dwz"), "-o", tmp("post76.docx")});
        QVERIFY(word.code == 3 && word.err.contains(kLongPost) && readAll(tmp("post76.docx")).startsWith("PK"));
    }

    // The roster: a row per document of what the pages draw, every cell a
    // text, the heading frozen; the failing document on the second sheet and
    // in the exit status; CSV quoted, with a BOM and CR LF, alike with any
    // number of jobs; a failed write leaves the old file and no temporary.
    void roster()
    {
        const Run csv = run(QStringList{"roster", "-o", tmp("roster.csv")} + good);
        QVERIFY2(csv.code == 0 && csv.err.isEmpty(), qPrintable(csv.err));
        const QByteArray bytes = readAll(tmp("roster.csv"));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF\xE5\xA7\x93\xE5\x90\x8D,") && bytes.endsWith("brief.ljy\r\n"));
        const QStringList rows = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows.first().split(QLatin1Char(',')).size(), 19);
        for (int i = 0; i < good.size(); ++i) {
            QString drawn;
            for (const QString &line : run({"render", good.at(i), "--display-list"}).out.split(QLatin1Char('\n')))
                if (line.startsWith(QStringLiteral("text\t")))
                    drawn += line.section(QLatin1Char('\t'), 5);
            const QStringList cells = rows.at(i + 1).split(QLatin1Char(','));
            QCOMPARE(cells.last(), good.at(i));
            for (const QString &cell : cells.mid(0, 18))
                for (const QString &part : cell.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    QVERIFY2(drawn.contains(part), qPrintable(good.at(i) + QStringLiteral(": ") + part));
        }

        const QString odd = tmp("a,\"b\nc.dwz");
        QVERIFY(QFile::copy(sample("typical.dwz"), odd));
        const QStringList mixed = {sample("typical.dwz"), tmp("badsex.dwz"), odd};
        QByteArray first;
        for (const char *jobs : {"1", "2"}) {
            const Run r = run(QStringList{"roster", "--jobs", jobs, "-o", tmp("mixed.csv")} + mixed);
            QVERIFY(r.code == 1 && r.err == tmp("badsex.dwz") + QStringLiteral(": 性别请填写“男”或“女”！\n"));
            QVERIFY(readAll(tmp("mixed.csv")).endsWith(",\"" + QFile::encodeName(tmp("a,\"\"b\nc.dwz")) + "\"\r\n"));
            QVERIFY(first.isEmpty() || first == readAll(tmp("mixed.csv")));
            first = readAll(tmp("mixed.csv"));
        }

        const Run xlsx = run(QStringList{"roster", "-o", tmp("mixed.xlsx")} + mixed);
        QCOMPARE(xlsx.code, 1);
        const auto member = [&](const char *name) { return QString::fromUtf8(zipMember(tmp("mixed.xlsx"), name)); };
        const QString sheet = member("xl/worksheets/sheet1.xml");
        QVERIFY(sheet.contains(QStringLiteral("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>")));
        QVERIFY(sheet.count(QStringLiteral("t=\"inlineStr\"")) == sheet.count(QStringLiteral("<c ")) && !sheet.contains(QStringLiteral("<v>")));
        QVERIFY(sheet.contains(QStringLiteral("<t>1968.05</t>")) && !sheet.contains(QStringLiteral("badsex")));
        QVERIFY(member("xl/workbook.xml").contains(QStringLiteral("name=\"未通过\"")));
        QVERIFY(member("xl/worksheets/sheet2.xml").contains(QStringLiteral("<t>") + tmp("badsex.dwz") + QStringLiteral("</t>")));

        QVERIFY(QDir().mkpath(tmp("full")));
        for (const char *out : {"full/r.xlsx", "full/r.csv"}) {
            QVERIFY(writeBytes(tmp(out), "old"));
            const Run r = run(QStringList{"roster", "-o", tmp(out)} + good + good + good, 60000, {}, "ulimit -f 4");
            QVERIFY2(r.code == 1 && r.err.contains(QStringLiteral("未能写入名册")) && r.err.contains(QStringLiteral("文件太大")), qPrintable(r.err));
            QCOMPARE(readAll(tmp(out)), QByteArray("old"));
        }
        QCOMPARE(QDir(tmp("full")).entryList(QDir::Files | QDir::Hidden), QStringList({"r.csv", "r.xlsx"}));
    }

    // The form's faces are found under any locale's names for them; without
    // them every cell measures wrong, and the run says so and fails.
    void formFonts()
    {
        const Run zh = run({"check", sample("typical.dwz")}, 120000, {"LANG=zh_CN.UTF-8", "LC_ALL=zh_CN.UTF-8"});
        QVERIFY2(zh.code == 0 && zh.err.isEmpty(), qPrintable(zh.err));
        QVERIFY(writeBytes(tmp("fonts.conf"), "<?xml version=\"1.0\"?><fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir>"
                                              "<cachedir>" + QFile::encodeName(tmp("fontcache")) + "</cachedir></fontconfig>"));
        const Run none = run({"check", sample("typical.dwz")}, 120000, {"FONTCONFIG_FILE=" + tmp("fonts.conf")});
        QVERIFY2(none.code == 1 && none.err.contains(QStringLiteral("fonts-arphic-gbsn00lp")), qPrintable(none.err));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
