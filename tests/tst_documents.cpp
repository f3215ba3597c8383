#include "foundation/Clock.h"
#include "foundation/SafeFile.h"
#include "record/FieldSchema.h"
#include "record/TextRules.h"
#include "record/CompanionPhoto.h"
#include "record/DocumentKind.h"
#include "record/DocumentReader.h"
#include "commands/DocumentPipeline.h"
#include "pages/DocumentRender.h"
#include "support/DocumentTestSupport.h"
#include "support/FullDisk.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>
#include <sys/wait.h>

namespace {

const QString kTodayDigits = QStringLiteral("20240506");

AppointmentRecord sampleRecord()
{
    AppointmentRecord r;
    r.name = QStringLiteral("张\"三\"");
    r.sex = QStringLiteral("男");
    r.birthDate = QStringLiteral("1960.01");
    r.ethnicGroup = QStringLiteral("汉族");
    r.partyMembership = QStringLiteral("1985.07");
    r.birthPlace = QStringLiteral("北京");
    r.workStartDate = QStringLiteral("1982.07");
    r.fullTimeEducation = QStringLiteral("大学");
    r.fullTimeDegree = QStringLiteral("学士");
    r.resume = QStringLiteral("1978 大学\r\n   学士");
    r.familyRelations[0] = QStringLiteral("妻子");
    r.familyNames[0] = QStringLiteral("李 四");
    r.familyBirthDates[3] = QStringLiteral("1990");
    r.familyWorkplaces[6] = QStringLiteral(" 某校 ");
    r.currentPosts = QStringLiteral("局长");
    r.ageReferenceDate = kTodayDigits;
    r.fillingDate = QStringLiteral("20240101");
    r.filledBy = QStringLiteral("王 五");
    return r;
}

// Every text of the record with its control's name, family cells included.
template <typename Fn>
void forEachText(AppointmentRecord &r, Fn fn)
{
    for (const RecordField &f : recordFields()) {
        if (!f.isFamily())
            fn(r.*(f.text), QLatin1String(f.controlName), false);
        else
            for (QString &cell : r.*(f.column))
                fn(cell, QLatin1String(f.controlName), true);
    }
}

// Compared as lists, a failure names the first control that differs.
QStringList texts(AppointmentRecord r)
{
    QStringList out;
    forEachText(r, [&out](QString &t, QLatin1String name, bool) { out << name + QStringLiteral(": ") + t; });
    return out;
}

// Random text over the characters that trouble documents: quotes, commas,
// line breaks, the cell separators and characters only GB18030 has.
QString awkwardText(QRandomGenerator &random, int maxLength, bool composite)
{
    static const QStringList pieces =
        QStringLiteral("\"|\r\n| |，|,|；|;|.|张|局|a|7|€|“|@|#").split(QLatin1Char('|'))
        + QStringList{QString::fromUcs4(U"\U00020BB7"), QString::fromUcs4(U"\U00003400"), QString(QChar(0xE5E5))};
    QString out;
    int quotes = 0;
    for (int n = int(random.bounded(maxLength + 1)); n > 0; --n) {
        const QString &p = pieces.at(int(random.bounded(pieces.size())));
        // "@" and "#" separate the cells of composite items; they have no escape.
        if (composite && (p == QLatin1String("@") || p == QLatin1String("#")))
            continue;
        quotes += p == QLatin1String("\"");
        out += p;
    }
    // Quotes alternate over a whole composite item: keep each cell's even.
    return composite && quotes % 2 ? out + QLatin1Char('"') : out;
}

// Writes `bytes` to `path`; "folder", "pipe", "huge" and "huge photo" (past
// the size limits, sparse) make those instead.
bool makeFile(const QString &path, const QByteArray &bytes)
{
    if (bytes == "folder")
        return QDir().mkpath(path);
    if (bytes == "pipe")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    QFile f(path);
    if (bytes.startsWith("huge"))
        return f.open(QIODevice::WriteOnly) && f.resize((bytes == "huge" ? kMaxDocumentBytes : kMaxPhotoBytes) + 1);
    return writeBytes(path, bytes);
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;   // a fresh folder for every test and row
    QString in(const QString &name) const { return m_dir->filePath(name); }

private slots:
    void init()
    {
        Clock::setToday(QDate(2024, 5, 6));
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup() { Clock::setToday(QDate()); }

    void exactBytesOfCodePage936Record()
    {
        auto cp936 = [](const char *hex) { return QByteArray::fromHex(hex); };
        const QByteArray at9(9, '@'), university = cp936("b4f3d1a7"), bachelor = cp936("d1a7cabf");
        const QList<QByteArray> items = {
            cp936("d5c5a1b0c8fda1b1") /* 张“三” */, cp936("c4d0") /* 男 */, "196001", cp936("babad7e5") /* 汉族 */,
            "", "1985.07", "", cp936("b1b1bea9") /* 北京 */, "198207", university + "#" + bachelor + "@#", "#@#",
            "", "", "", "", "", "", "1978 " + university + "\r\n   " + bachelor, "", "",
            cp936("c6ded7d3") + at9 /* 妻子 */, cp936("c0eecbc4") + at9 /* 李四 */, "@@@1990@@@@@@", at9,
            "@@@@@@" + cp936("c4b3d0a3") + "@@@" /* 某校 */, cp936("bed6b3a4") /* 局长 */,
            "", "", "", "", "20240506", cp936("cdf5cee5") /* 王五 */,
        };
        QCOMPARE(savedBytes(sampleRecord()), "\"" + items.join("\",\"") + "\"\r\n");
    }

    void roundTripProperty()
    {
        QRandomGenerator random(20240506);
        // What the window held before: loading must replace all of it.
        AppointmentRecord stale;
        forEachText(stale, [](QString &t, QLatin1String, bool) { t = QStringLiteral("旧"); });
        stale.hasPhoto = stale.isDirty = true;
        stale.photo = QImage(2, 2, QImage::Format_RGB32);

        for (int round = 0; round < 150; ++round) {
            AppointmentRecord r;
            forEachText(r, [&random](QString &t, QLatin1String name, bool cell) {
                if (cell)
                    t = random.bounded(2) ? awkwardText(random, 6, true) : QString();
                else
                    t = awkwardText(random, 12, name.startsWith(QLatin1String("txtXueli"))
                                                    || name.startsWith(QLatin1String("txtBiye")));
            });
            // At most three party entries reach a document (the checks see to that).
            while (r.partyMembership.count(QStringLiteral("；")) > 2)
                r.partyMembership.remove(r.partyMembership.lastIndexOf(QStringLiteral("；")), 1);
            if (random.bounded(2))
                r.ageReferenceDate.clear();

            // The documented transformations on the way to the disk and back.
            AppointmentRecord e = r;
            forEachText(e, [](QString &t, QLatin1String, bool) { t = curlQuotes(trimSpaces(t)); });
            const QString dot = QStringLiteral(".");
            for (QString &cell : e.familyNames)
                cell.remove(QLatin1Char(' ')).remove(QChar(0xE5E5));
            e.birthDate = removeChar(stripLineBreaks(e.birthDate), dot);
            e.workStartDate = removeChar(stripLineBreaks(e.workStartDate), dot);
            e.partyMembership = curlQuotes(removeChar(removeSpaces(r.partyMembership), dot));
            e.currentPosts = stripLineBreaks(e.currentPosts);
            e.resume = curlQuotes(r.resume);
            e.filledBy = curlQuotes(removeSpaces(r.filledBy));
            e.fillingDate = kTodayDigits;
            if (e.ageReferenceDate.isEmpty())
                e.ageReferenceDate = kTodayDigits;

            const QString stem = in(QStringLiteral("r%1").arg(round));
            const QString path = stem + (round % 3 ? QStringLiteral(".dwz") : QStringLiteral(".DWZ"));
            ScriptedInteraction ui;
            AppointmentRecord typed = r;
            QVERIFY(saveRecord(path, r, ui));
            // The hand-off writes back only the two dates, put on one line.
            typed.birthDate = stripLineBreaks(trimSpaces(typed.birthDate));
            typed.workStartDate = stripLineBreaks(trimSpaces(typed.workStartDate));
            QCOMPARE(texts(r), texts(typed));
            AppointmentRecord loaded = stale;
            QVERIFY(loadDocumentFile(path, loaded, ui));
            QVERIFY(ui.shown.isEmpty());
            QCOMPARE(texts(loaded), texts(e));
            QVERIFY(!loaded.isDirty && !loaded.hasPhoto && loaded.photo.isNull());
            QCOMPARE(loaded.photoPath, stem + QStringLiteral(".pic"));
            // Nothing can end an item early: every saved document has 32 items.
            QCOMPARE(readAll(path).count('"'), 64);
        }
    }

    void handWritten31ItemDwz()
    {
        // Code page 936 text as an older version wrote it, without item 32.
        const QByteArray doc =
            "\"\xd5\xc5\xc8\xfd\",\"\xc4\xd0\",\"196001\",\"\xba\xba\xd7\xe5\",\"\",\"1985.07\",\"\","
            "\"\xb1\xb1\xbe\xa9\",\"198207\",\"\xb4\xf3\xd1\xa7#\xd1\xa7\xca\xbf@\xd1\xd0\xbe\xbf\xc9\xfa\","
            "\"#@\",\"\",\"\",\"\",\"\",\"\",\"\",\"1978\r\n   \xd1\xa7\",\"\",\"\","
            "\"\xc6\xde\xd7\xd3@\xb6\xf9\xd7\xd3@@@@@@@@\",\"\xc0\xee\xcb\xc4@\",\"\",\"\",\"\","
            "\"\xbe\xd6\r\n\xb3\xa4\",\"\",\"\",\"\",\"\",\"\"\r\n";
        const QString path = in("old.dwz");
        QVERIFY(writeBytes(path, doc));
        AppointmentRecord r;
        r.filledBy = r.familyNames[3] = QStringLiteral("留");
        r.isDirty = true;
        ScriptedInteraction ui;
        QVERIFY(loadDocumentFile(path, r, ui));
        QVERIFY(ui.shown.isEmpty());
        // "." goes from the party date and line breaks from the posts; empty dates
        // are today; the family table is replaced whole; no item 32, no filler.
        QCOMPARE((QStringList{r.name, r.partyMembership, r.fullTimeEducation, r.fullTimeDegree, r.inServiceEducation,
                              r.inServiceDegree, r.fullTimeSchool, r.resume, r.familyRelations[1], r.familyNames[3],
                              r.currentPosts, r.ageReferenceDate, r.fillingDate, r.filledBy}),
                 (QStringList{"张三", "198507", "大学", "学士", "研究生", "", "", "1978\r\n   学", "儿子", "", "局长",
                              kTodayDigits, kTodayDigits, ""}));
        QVERIFY(!r.isDirty);
    }

    // Leniency towards documents other programs wrote: noise after a quote,
    // items on separate lines, more items than wanted.
    void itemSyntax()
    {
        for (const char *text : {"\"a\"x ,\"b\"\n\"c\"", "\"a\"\r\n\"b\"\r\n\"c\"\r\n", "\"a\",\"b\",\"c\",\"d\""}) {
            const Result<QStringList> items = parseDocumentItems(QString::fromLatin1(text), 3, 2);
            QVERIFY2(items, qPrintable(items.error()));
            QCOMPARE(items.value(), (QStringList{"a", "b", "c"}));
        }
    }

    void renPartyAssembly()
    {
        const QString a = QStringLiteral("1985.07"), b = QStringLiteral("民盟"), c = QStringLiteral("民革"),
                      d = QStringLiteral("九三"), n;
        const struct { QString first, second, third, fourth, partyText; } cases[] = {
            {a, n, n, n, a}, {a, b, n, n, a} /* beside the first, the second is unused */,
            {a, n, n, d, a + "；" + d + "；"}, {a, b, c, d, a + "；" + c + "；" + d + "；"},
            {n, b, n, n, b}, {n, n, n, d, d}, {n, b, n, d, b + "；" + d + "；"}, {n, n, n, n, n},
        };
        for (const auto &e : cases)
            QCOMPARE(renPartyText(e.first, e.second, e.third, e.fourth), e.partyText);
    }

    void renDocument()
    {
        QStringList items = numberedItems(QStringLiteral("v"), 34);
        const std::pair<int, const char *> set[] = {{5, "1985.07"}, {6, "民盟"}, {7, "民革"}, {8, ""},
                                                    {12, "大学#学士@#"}, {23, "妻@@子@@@@@@@"}, {28, "局\r\n长"}};
        for (const auto &[item, text] : set)
            items[item] = QString::fromUtf8(text);
        const QString path = in("old.Ren");
        QVERIFY(writeBytes(path, encodeDocumentItems(items).value()));
        AppointmentRecord r;
        r.filledBy = QStringLiteral("x");
        ScriptedInteraction ui;
        QVERIFY(loadDocumentFile(path, r, ui));
        QCOMPARE(r.partyMembership, QStringLiteral("198507；民革；"));
        QCOMPARE((QStringList{r.name, r.nativePlace, r.health, r.workStartDate, r.fullTimeDegree, r.fullTimeSchool, r.professionalTitle, r.specialities,
                              r.appraisalResults, r.familyRelations[2], r.currentPosts, r.proposedPosts, r.reportingUnit, r.ageReferenceDate, r.filledBy}),
                 (QStringList{"v1", "v5", "v10", "v12", "学士", "v14", "v15", "v20", "v23", "子", "局长", "v30",
                              "v33", "v34", ""}));
    }

    // Each kind of failure keeps the title and icon its message box has
    // always had; a refused field asks to try again.
    void failuresShowAsTheirKind()
    {
        const struct { FailureKind kind; const char *title; MessageIcon icon; const char *text; } cases[] = {
            {FailureKind::RefusedField, "干部任免审批表", MessageIcon::Exclamation, "x\r\n请重试！"},
            {FailureKind::RefusedPartyText, "系统校验", MessageIcon::Critical, "x"},
            {FailureKind::RefusedMargins, "提示", MessageIcon::None, "x"},
            {FailureKind::WrongFileType, "系统警告", MessageIcon::Information, "x"},
            {FailureKind::NotSaved, "系统", MessageIcon::Exclamation, "x"},
            {FailureKind::FileSystem, "系统", MessageIcon::Information, "x"},
            {FailureKind::Printer, "系统", MessageIcon::Exclamation, "x"},
        };
        for (const auto &e : cases) {
            ScriptedInteraction ui;
            showFailure(ui, Failure{e.kind, QStringLiteral("x")});
            QCOMPARE(ui.shown.size(), 1);
            QCOMPARE((QStringList{ui.shown[0].title, QString::number(int(ui.shown[0].icon)), ui.shown[0].text}),
                     (QStringList{QString::fromUtf8(e.title), QString::number(int(e.icon)), QString::fromUtf8(e.text)}));
        }
    }

    void failedLoadsChangeNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");   // "-": no file at all
        QTest::addColumn<QString>("reason");
        const QStringList items = numberedItems(QStringLiteral("x"), 30);
        QTest::newRow("30 items") << "short.dwz" << encodeDocumentItems(items).value() << "只找到 30 项";
        QTest::newRow("33 items ren") << "short.ren" << encodeDocumentItems(items + QStringList{"a", "b", "c"}).value()
                                      << "应至少有 34 项";
        QTest::newRow("31 items brief") << "short.ljy" << encodeDocumentItems(items + QStringList{"a"}).value()
                                        << "应至少有 32 项";
        QTest::newRow("unterminated") << "open.dwz" << QByteArray("\"a\",\"b\",\"c") << "第 3 项缺少结尾的双引号";
        QTest::newRow("empty") << "empty.dwz" << QByteArray() << "只找到 0 项";
        QTest::newRow("missing file") << "missing.dwz" << QByteArray("-") << "无法打开";
        QTest::newRow("too large") << "huge.dwz" << QByteArray("huge") << "超过 16 MB";
        QTest::newRow("wrong kind") << "x.txt" << savedBytes(sampleRecord()) << "文件类型不正确！";
        QTest::newRow("folder") << "folder.dwz" << QByteArray("folder") << "不是普通文件";
        QTest::newRow("pipe, never opened") << "pipe.dwz" << QByteArray("pipe") << "不是普通文件";
        // No cell shows this much; laying it out would take minutes.
        QStringList longItems = numberedItems(QStringLiteral("x"), 32);
        longItems[0] = QString(15 * 1024 * 1024, QLatin1Char('x'));
        QTest::newRow("15 MB name") << "name.dwz" << encodeDocumentItems(longItems).value() << "“姓名”一项有 15728640 个字符";
        longItems[0] = QString(2000, QLatin1Char('x'));
        longItems[17] = QString(10001, QChar(0x5F20));
        QTest::newRow("long resume") << "resume.dwz" << encodeDocumentItems(longItems).value() << "“简历”一项有 10001 个字符";
        longItems[17].chop(1);
        longItems[21] = QStringLiteral("a@b@") + QString(2001, QLatin1Char('c')) + QLatin1Char('@');
        QTest::newRow("long family cell") << "family.dwz" << encodeDocumentItems(longItems).value()
                                          << "家庭成员第 3 行的“姓名”一项";
    }

    void failedLoadsChangeNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = in(name);
        QVERIFY(bytes == "-" || makeFile(path, bytes));
        AppointmentRecord r = sampleRecord();
        r.hasPhoto = r.isDirty = true;
        r.photoPath = QStringLiteral("/photos/a.jpg");
        r.photo = QImage(4, 4, QImage::Format_RGB32);
        const AppointmentRecord before = r;
        ScriptedInteraction ui;
        QElapsedTimer clock;
        clock.start();
        const Result<> loaded = loadDocumentFile(path, r, ui);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(!loaded && ui.shown.isEmpty());
        QVERIFY2(loaded.error().contains(reason), qPrintable(loaded.error()));
        QCOMPARE(loaded.kind() == FailureKind::WrongFileType, name.endsWith(QLatin1String(".txt")));
        QVERIFY(r.sameFields(before) && r.isDirty && !r.photo.isNull());
    }

    void companionPhotoRules()
    {
        const QImage image = filledImage(8, 6, Qt::red);
        QVERIFY(image.save(in("chosen.jpg"), "BMP"));   // the name says nothing about the format
        const QByteArray photoBytes = readAll(in("chosen.jpg"));
        AppointmentRecord r = sampleRecord();
        r.hasPhoto = r.isDirty = true;
        r.photoPath = in("chosen.jpg");
        r.photo = image;
        ScriptedInteraction ui;

        // A byte copy of the chosen file goes beside the document and comes back with it.
        QVERIFY(saveRecord(in("a.dwz"), r, ui));
        QCOMPARE(readAll(in("a.pic")), photoBytes);
        AppointmentRecord loaded;
        QVERIFY(loadDocumentFile(in("a.dwz"), loaded, ui));
        QVERIFY(loaded.hasPhoto && loaded.photoPath == in("a.pic") && loaded.photo.size() == QSize(8, 6));

        // Saved to the document it came from, the photo is its own source: left alone.
        const QDateTime stamp = QFileInfo(in("a.pic")).lastModified();
        QTest::qSleep(20);
        QVERIFY(saveRecord(in("a.dwz"), loaded, ui));
        QCOMPARE(QFileInfo(in("a.pic")).lastModified(), stamp);
        QCOMPARE(readAll(in("a.pic")), photoBytes);

        // The chosen file gone (a removed stick): the picture in memory is written.
        r.photoPath = in("gone/photo.jpg");
        QVERIFY(saveRecord(in("b.dwz"), r, ui));
        QCOMPARE(QImage(in("b.pic")).size(), QSize(8, 6));
        // A photo file beside it that belongs to another document is never replaced.
        QVERIFY(writeBytes(in("c.pic"), "another document's photo"));
        QVERIFY(!saveRecord(in("c.dwz"), r, ui, false) && !QFile::exists(in("c.dwz")));
        QCOMPARE(readAll(in("c.pic")), QByteArray("another document's photo"));
        QVERIFY(ui.messageTexts().value(0).contains(QStringLiteral("属于另一个文件")));
        ui.shown.clear();

        // Saved without a photo, the old companion goes so it cannot come back on loading.
        r.hasPhoto = false;
        r.photoPath = in("chosen.jpg");
        QVERIFY(saveRecord(in("a.dwz"), r, ui));
        QVERIFY(!QFile::exists(in("a.pic")));
        QVERIFY(QFile::exists(in("chosen.jpg")));
        QVERIFY(ui.shown.isEmpty());
    }

    // Odd targets: a read-only file is replaced only when allowed, a link
    // whose target does not exist yet is written through (the link stays),
    // and a folder that takes no file is named.
    void oddTargets()
    {
        QVERIFY(writeBytes(in("ro.pdf"), "old"));
        QVERIFY(QFile::setPermissions(in("ro.pdf"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const Result<> refused = writeFileSafely(in("ro.pdf"), "new");
        QVERIFY(!refused && refused.error().contains(QStringLiteral("只读")) && readAll(in("ro.pdf")) == "old");
        SafeFile allowed(in("ro.pdf"));
        allowed.setReplaceReadOnly(true);
        QVERIFY(allowed.open(QIODevice::WriteOnly) && allowed.write("new") == 3 && allowed.commit());
        QCOMPARE(readAll(in("ro.pdf")), QByteArray("new"));

        QVERIFY(QFile::link(in("sub/target.pdf"), in("link.pdf")));
        const Result<> noFolder = writeFileSafely(in("link.pdf"), "x");
        QVERIFY2(!noFolder && noFolder.error() == QStringLiteral("文件夹“%1”不存在").arg(in("sub")),
                 qPrintable(noFolder.error()));
        QVERIFY(QDir().mkpath(in("sub")) && writeFileSafely(in("link.pdf"), "through"));
        QVERIFY(QFileInfo(in("link.pdf")).isSymLink() && readAll(in("sub/target.pdf")) == "through");
        SafeFile unopened(in("x.dwz"));   // a failure without a system reason is still said in Chinese
        QVERIFY(unopened.write("x") < 0 && unopened.failureReason() == QStringLiteral("未知错误"));

        ReadOnlyFolder readOnly(in("sub"));
        if (!readOnly.active())
            QSKIP("no way to make a read-only folder here");
        const Result<> inReadOnly = writeFileSafely(in("sub/new.pdf"), "x");
        QVERIFY2(!inReadOnly && inReadOnly.error().contains(QStringLiteral("文件夹“%1”").arg(in("sub"))),
                 qPrintable(inReadOnly.error()));
    }

    // Killed at any moment of a save over the same name, a document shows
    // its old photo, its new one or none, never the photo of the record it
    // replaced.
    void killedWhileSavingNeverPairsAnotherPhoto()
    {
        const QString names = QStringLiteral("甲乙丙");
        const Qt::GlobalColor colors[] = {Qt::red, Qt::blue, Qt::transparent};   // transparent: no photo
        for (Qt::GlobalColor color : colors)
            QVERIFY(filledImage(4, 4, color).save(in(QStringLiteral("%1.bmp").arg(int(color))), "BMP"));
        QElapsedTimer timer;
        timer.start();
        int checked = 0;
        while (checked < 150 && timer.elapsed() < 2500) {
            const pid_t child = ::fork();
            if (child == 0) {
                ScriptedInteraction quiet;
                for (int i = checked;; ++i) {   // each child starts with another record
                    AppointmentRecord r = sampleRecord();
                    r.name = names[i % 3];
                    r.hasPhoto = colors[i % 3] != Qt::transparent;
                    r.photoPath = in(QStringLiteral("%1.bmp").arg(int(colors[i % 3])));
                    saveRecord(in("x.dwz"), r, quiet);
                }
            }
            ::usleep(useconds_t(QRandomGenerator::global()->bounded(500, 20000)));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            AppointmentRecord loaded;
            ScriptedInteraction ui;
            if (!QFile::exists(in("x.dwz")))
                continue;
            QVERIFY(loadDocumentFile(in("x.dwz"), loaded, ui));
            const int saved = loaded.name.size() == 1 ? int(names.indexOf(loaded.name)) : -1;
            QVERIFY2(saved >= 0, qPrintable(loaded.name));
            QVERIFY2(!loaded.hasPhoto || loaded.photo.pixelColor(0, 0) == QColor(colors[saved]),
                     qPrintable(loaded.name + QStringLiteral(" with another photo")));
            ++checked;
        }
        qInfo("%d kills checked", checked);
    }

    // Out of room half-way: the files that were there are byte for byte as
    // before, no temporary file is left and the failure is reported.
    void fullDiskKeepsOldFiles_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<qint64>("room");
        QTest::newRow("document, disk full") << "document" << qint64(0);
        QTest::newRow("photo, 4 KB left") << "photo" << qint64(4096);
        QTest::newRow("pdf, disk full") << "pdf" << qint64(0);
        QTest::newRow("png, 4 KB left") << "png" << qint64(4096);
    }

    void fullDiskKeepsOldFiles()
    {
        QFETCH(QString, what);
        QFETCH(qint64, room);
        FullDisk disk(m_dir->path());
        qInfo("%s", disk.isTmpfs() ? "full tmpfs" : "file size limit (tmpfs not allowed here)");
        AppointmentRecord r = sampleRecord();
        r.isDirty = true;
        ScriptedInteraction ui;
        QVERIFY(saveRecord(in("zhang.dwz"), r, ui));
        for (const char *ext : {"pic", "pdf", "png"})
            QVERIFY(writeBytes(in(QStringLiteral("zhang.") + QLatin1String(ext)), QByteArray("the old ") + ext));
        QMap<QString, QByteArray> old;
        for (const QString &name : QDir(m_dir->path()).entryList(QDir::Files))
            old[name] = readAll(in(name));
        const QImage photo = filledImage(200, 200, Qt::blue);
        QVERIFY(photo.save(in("chosen.bmp"), "BMP"));   // 160 KB
        FormPages pages;
        QVERIFY(prepareDocument(in("zhang.dwz"), pages, ui));
        ui.shown.clear();   // the old photo is no image
        const QStringList before = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);

        disk.fill(room);
        Result<> written;
        if (what == QLatin1String("pdf")) {
            written = DocumentRender::writePdf(in("zhang.pdf"), {{&pages, &ui}}, DocumentRender::Pages::Both);
        } else if (what == QLatin1String("png")) {
            written = DocumentRender::writePng(in("zhang.png"), pages, 1, 150, &ui);
        } else {
            r.name = QStringLiteral("新的内容");
            r.isDirty = true;
            r.hasPhoto = what == QLatin1String("photo");
            r.photoPath = in("chosen.bmp");
            r.photo = photo;
            QVERIFY(!saveRecord(in("zhang.dwz"), r, ui));
            const QString said = ui.messageTexts().value(0);
            QVERIFY2(r.isDirty && said.startsWith(QStringLiteral("无法保存到这个文件夹："))
                         && said.contains(QStringLiteral("\r\n原有的文件没有改变。\r\n（错误号 ")), qPrintable(said));
        }
        const QString error = written ? ui.messageTexts().value(0) : written.error();
        QVERIFY2(error.contains(disk.isTmpfs() ? QStringLiteral("磁盘已满") : QStringLiteral("文件太大")),
                 qPrintable(error));
        disk.release();
        for (auto it = old.cbegin(); it != old.cend(); ++it)
            QCOMPARE(readAll(in(it.key())), it.value());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    // Documents another editor saved in UTF-8 or UTF-16 read as what they are;
    // bytes that are text in no encoding are refused, not read as garbage.
    void otherEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sex");   // empty: refused
        QStringList items{QStringLiteral("张三"), QStringLiteral("男")};
        items.resize(32);
        items[30] = kTodayDigits;
        const QString text = QLatin1Char('"') + items.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n");
        const QByteArray utf8 = text.toUtf8(), gb = encodeDocumentText(text).value();
        const QByteArray le = QStringEncoder(QStringEncoder::Utf16LE)(text), be = QStringEncoder(QStringEncoder::Utf16BE)(text);
        const QString male = QStringLiteral("男");
        QTest::newRow("GB18030") << gb << male;
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + utf8 << male;
        QTest::newRow("UTF-8 without mark") << utf8 << male;
        QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE") + le << male;
        QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF") + be << male;
        QTest::newRow("no encoding") << QByteArray(utf8).replace("\xE7\x94\xB7", "\x80\xFF\xE7") << QString();
        QTest::newRow("broken UTF-8 after mark") << QByteArray("\xEF\xBB\xBF\xE5\xBC") + utf8 << QString();
        QTest::newRow("odd UTF-16") << QByteArray("\xFF\xFE") + le + 'x' << QString();
        // Valid GB18030 too (every run an even number of characters): the
        // reading that gives common Chinese wins.
        QTest::newRow("UTF-8 also GB18030") << QByteArray(utf8).replace("\xE7\x94\xB7", "\xE6\xB1\x89\xE6\x97\x8F") << "汉族";
        // Code page 936's euro sign, byte 0x80, both ways.
        QTest::newRow("euro 0x80") << QByteArray(gb).replace("\xC4\xD0", "\x80") << "€";
        QCOMPARE(encodeDocumentText(QStringLiteral("€5")).value(), QByteArray("\x80" "5"));
    }

    void otherEncodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sex);
        QVERIFY(writeBytes(in("doc.dwz"), bytes));
        AppointmentRecord r = sampleRecord();
        ScriptedInteraction ui;
        const Result<> loaded = loadDocumentFile(in("doc.dwz"), r, ui);
        QCOMPARE(loaded.ok(), !sex.isEmpty());
        QVERIFY(ui.shown.isEmpty());
        QCOMPARE(r.name, sex.isEmpty() ? sampleRecord().name : QStringLiteral("张三"));
        QCOMPARE(r.sex, sex.isEmpty() ? sampleRecord().sex : sex);
        QVERIFY2(loaded || loaded.error().contains(QStringLiteral("文字编码已损坏")), qPrintable(loaded.error()));
    }

    // A companion photo cut short prints as a grey box if taken: it is damaged;
    // the text loads and the photo the window held stays. Folders and pipes
    // under the photo's name are never opened (a pipe would hang).
    void damagedPhotos_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QImage image(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
        const QByteArray jpeg = imageBytes(image, "JPEG"), png = imageBytes(image, "PNG"), bmp = imageBytes(image, "BMP");
        const QString damaged = QStringLiteral("文本内容调入完毕，但照片文件已损坏！请重新加载照片！");
        QTest::newRow("JPEG") << jpeg << "";
        QTest::newRow("JPEG cut in half") << jpeg.left(jpeg.size() / 2) << damaged;
        QTest::newRow("JPEG without end marker") << jpeg.chopped(2) << damaged;
        QTest::newRow("PNG") << png << "";
        QTest::newRow("PNG cut in half") << png.left(png.size() / 2) << damaged;
        QTest::newRow("BMP") << bmp << "";
        QTest::newRow("BMP without pixels") << bmp.left(54) << damaged;
        QTest::newRow("BMP cut in half") << bmp.left(bmp.size() / 2) << damaged;
        QTest::newRow("folder") << QByteArray("folder") << "不是普通文件";
        QTest::newRow("pipe") << QByteArray("pipe") << "不是普通文件";
        QTest::newRow("too large, not damaged") << QByteArray("huge photo") << "太大（超过 64 MB）";
    }

    void damagedPhotos()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString document = in("a.dwz"), photo = in("a.pic");
        AppointmentRecord r = sampleRecord();
        ScriptedInteraction ui;
        QVERIFY(saveRecord(document, r, ui) && makeFile(photo, bytes));
        AppointmentRecord loaded;
        loaded.hasPhoto = loaded.isDirty = true;
        loaded.photoPath = QStringLiteral("/old.pic");
        loaded.photo = filledImage(8, 6, Qt::red);
        QVERIFY(loadDocumentFile(document, loaded, ui));
        QVERIFY(loaded.name == QStringLiteral("张“三”") && !loaded.isDirty && loaded.hasPhoto);
        QCOMPARE(loaded.photoPath, message.isEmpty() ? photo : QStringLiteral("/old.pic"));
        QCOMPARE(loaded.photo.size(), message.isEmpty() ? QSize(64, 48) : QSize(8, 6));
        QCOMPARE(ui.messageTexts().size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(ui.messageTexts().value(0).contains(message), qPrintable(ui.messageTexts().value(0)));
        PhotoProblem problem = PhotoProblem::None;
        QCOMPARE(readPhotoFile(photo, &problem).isNull(), !message.isEmpty());
        QCOMPARE(problem == PhotoProblem::NotAFile, bytes == "folder" || bytes == "pipe");
    }

    // A camera's picture is decoded just large enough for the photo box at
    // printer resolution, in its own proportions; a small one as it is.
    void largePhotoDecodedForItsBox()
    {
        const QString large = in("large.pic"), small = in("small.pic");
        const QImage image = filledImage(3000, 2000, Qt::gray);
        QVERIFY(image.save(large, "JPEG") && image.copy(0, 0, 300, 400).save(small, "BMP"));
        QCOMPARE(readPhotoFile(large).size(), QSize(1595, kPhotoMaxHeight));   // 2000 -> 1063, width alike
        QCOMPARE(readPhotoFile(small).size(), QSize(300, 400));
    }

    // A name of GBK bytes cannot be opened by its decoded name: the message
    // says why rather than "文件不存在".
    void nonUtf8FileName()
    {
        const QByteArray raw = QFile::encodeName(m_dir->path()) + "/\xd5\xc5\xc8\xfd.dwz";   // 张三 in GBK
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0 && ::close(fd) == 0);
        AppointmentRecord r;
        ScriptedInteraction ui;
        const Result<> loaded = loadDocumentFile(QFile::decodeName(raw), r, ui);
        QVERIFY2(!loaded && loaded.error().contains(QStringLiteral("不是 UTF-8 编码的文件名")), qPrintable(loaded.error()));
    }

    // Temporaries a killed write left behind go when the folder is next
    // written to: only of the safe write's own naming, old, regular files.
    void staleTemporariesRemoved()
    {
        QTemporaryDir scratch;
        QVERIFY(writeBytes(scratch.filePath("target"), "kept"));
        const QStringList names = {".a.dwz.0a1b2c.tmp", ".b.dwz.0a1b2d.tmp", ".c.dwz.tmp", "d.0a1b2e.tmp", ".e.pic.0a1b2f.tmp"};
        for (const QString &name : names.mid(0, 4))
            QVERIFY(writeBytes(in(name), "left"));
        QVERIFY(QFile::link(scratch.filePath("target"), in(names[4])));
        for (const QString &name : QStringList{names[0], names[2], names[3], names[4]}) {
            const struct timespec old[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(in(name)).constData(), old, AT_SYMLINK_NOFOLLOW) == 0);
        }
        QVERIFY(writeFileSafely(in("x.dwz"), "new"));
        QStringList left = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        QCOMPARE(left, (QStringList{".b.dwz.0a1b2d.tmp", ".c.dwz.tmp", ".e.pic.0a1b2f.tmp", "d.0a1b2e.tmp", "x.dwz"}));
        QCOMPARE(readAll(scratch.filePath("target")), QByteArray("kept"));
    }

    // A row added to the field table with a control name or a document
    // item already taken would silently overwrite another field.
    void fieldTableTakesEachPlaceOnce()
    {
        QSet<QString> seen;
        for (const RecordField &f : recordFields()) {
            QVERIFY2(qstrlen(f.label) > 0 && f.box.isValid(), f.controlName);
            QVERIFY2(!seen.contains(QLatin1String(f.controlName)), f.controlName);
            seen << QLatin1String(f.controlName);
            const QString at = QStringLiteral("#%1/%2");
            const std::pair<const char *, int> items[] = {{"dwz", f.dwzItem}, {"ren", f.renItem}, {"brief", f.briefItem}};
            for (const auto &[kind, item] : items) {
                const QString place = QLatin1String(kind) + at.arg(item).arg(f.packedPart);
                QVERIFY2(item == 0 || !seen.contains(place), qPrintable(place));
                seen << place;
            }
        }
    }
};

QTEST_MAIN(TestDocuments)   // PDF and PNG output need fonts
#include "tst_documents.moc"

