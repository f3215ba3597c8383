#include "app/Clock.h"
#include "app/ScriptedInteraction.h"
#include "layout/TextRules.h"
#include "model/CompanionPhoto.h"
#include "model/DocumentFile.h"
#include "model/DocumentItems.h"
#include "model/DocumentKind.h"
#include "model/DocumentReader.h"
#include "model/DocumentWriter.h"
#include "model/RendererHandoff.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate kToday(2024, 5, 6);
const QString kTodayDigits = QStringLiteral("20240506");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What the save command does: hand off, then write.
bool save(const QString &path, AppointmentRecord &r, ScriptedInteraction &ui)
{
    RendererVars v;
    return FillRenderer(r, v, ui) && saveDocumentFile(path, v, r, ui);
}

QByteArray savedBytes(AppointmentRecord r)
{
    RendererVars v;
    ScriptedInteraction ui;
    if (!FillRenderer(r, v, ui))
        return {};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    DocumentWriter writer;
    return writer.write(buffer, v, r.compactPartyText) ? out : QByteArray();
}

AppointmentRecord sampleRecord()
{
    AppointmentRecord r;
    r.Name = QStringLiteral("张\"三\"");
    r.Sex = QStringLiteral("男");
    r.Birthday = QStringLiteral("1960.01");
    r.People = QStringLiteral("汉族");
    r.Rudang = QStringLiteral("1985.07");
    r.BirPlace = QStringLiteral("北京");
    r.Worktime = QStringLiteral("1982.07");
    r.Xueli = QStringLiteral("大学");
    r.XueliAdd = QStringLiteral("学士");
    r.JianLi = QStringLiteral("1978 大学\r\n   学士");
    r.Chengwei[0] = QStringLiteral("妻子");
    r.Xingm[0] = QStringLiteral("李 四");
    r.XianRen = QStringLiteral("局长");
    r.Date = kTodayDigits;
    r.FillDate = QStringLiteral("20240101");
    r.NameFill = QStringLiteral("王 五");
    return r;
}

// Every field of both records, named, so a failure says which one differs.
void compareFields(const AppointmentRecord &actual, const AppointmentRecord &expected)
{
    for (const RecordField &f : recordFields()) {
        if (f.family) {
            for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row)
                QVERIFY2((actual.*(f.column))[row] == (expected.*(f.column))[row],
                         qPrintable(QStringLiteral("%1(%2): \"%3\" != \"%4\"")
                                        .arg(QLatin1String(f.controlName)).arg(row)
                                        .arg((actual.*(f.column))[row], (expected.*(f.column))[row])));
        } else {
            QVERIFY2(actual.*(f.text) == expected.*(f.text),
                     qPrintable(QStringLiteral("%1: \"%2\" != \"%3\"")
                                    .arg(QLatin1String(f.controlName), actual.*(f.text), expected.*(f.text))));
        }
    }
}

// Random text over the characters that trouble documents.
class AwkwardText {
public:
    explicit AwkwardText(quint32 seed) : m_random(seed) {}
    QString text(int maxLength, bool composite)
    {
        static const QStringList pieces = {
            QStringLiteral("\""), QStringLiteral("\r\n"), QStringLiteral(" "), QStringLiteral("，"),
            QStringLiteral(","), QStringLiteral("；"), QStringLiteral(";"), QStringLiteral("."),
            QStringLiteral("张"), QStringLiteral("局"), QStringLiteral("a"), QStringLiteral("7"),
            QString::fromUcs4(U"\U00020BB7"), QString::fromUcs4(U"\U00003400"), QStringLiteral("€"),
            QStringLiteral("“"), QStringLiteral("@"), QStringLiteral("#"), QString(QChar(0xE5E5)),
        };
        QString out;
        const int n = int(m_random.bounded(maxLength + 1));
        int quotes = 0;
        for (int i = 0; i < n; ++i) {
            const QString &p = pieces.at(int(m_random.bounded(pieces.size())));
            // "@" and "#" separate the cells of composite items; they have no escape.
            if (composite && (p == QLatin1String("@") || p == QLatin1String("#")))
                continue;
            quotes += p == QLatin1String("\"");
            out += p;
        }
        // Quotes alternate over a whole composite item: keep each cell's even.
        if (composite && quotes % 2)
            out += QLatin1Char('"');
        return out;
    }
    bool coin() { return m_random.bounded(2) == 1; }

private:
    QRandomGenerator m_random;
};

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::setToday(kToday); }
    void cleanup() { Clock::setToday(QDate()); }

    void exactBytesOfCodePage936Record();
    void roundTripProperty();
    void handWritten31ItemDwz();
    void familyRowsWithGaps();
    void itemSyntax_data();
    void itemSyntax();
    void renPartyAssembly_data();
    void renPartyAssembly();
    void renDocument();
    void upperCaseExtensions();
    void refusedExtension();
    void failedLoadsChangeNothing_data();
    void failedLoadsChangeNothing();
    void tooLargeDocument();
    void companionPhoto();
    void damagedCompanionPhoto();
    void saveWithoutPhotoRemovesStaleCompanion();
    void photoCopiedFromMemoryWhenSourceIsGone();
    void failedSaveKeepsOldFile();
    void failingDevice();
};

void TestDocuments::exactBytesOfCodePage936Record()
{
    const QByteArray at9(9, '@');
    const QList<QByteArray> items = {
        QByteArray::fromHex("d5c5a1b0c8fda1b1"),                      // 张“三”
        QByteArray::fromHex("c4d0"),                                  // 男
        "196001",
        QByteArray::fromHex("babad7e5"),                              // 汉族
        "",
        "1985.07",
        "",
        QByteArray::fromHex("b1b1bea9"),                              // 北京
        "198207",
        QByteArray::fromHex("b4f3d1a7") + "#" + QByteArray::fromHex("d1a7cabf") + "@#",
        "#@#",
        "", "", "", "", "", "",
        "1978 " + QByteArray::fromHex("b4f3d1a7") + "\r\n   " + QByteArray::fromHex("d1a7cabf"),
        "", "",
        QByteArray::fromHex("c6ded7d3") + at9,                        // 妻子
        QByteArray::fromHex("c0eecbc4") + at9,                        // 李四
        at9, at9, at9,
        QByteArray::fromHex("bed6b3a4"),                              // 局长
        "", "", "", "", "20240506",
        QByteArray::fromHex("cdf5cee5"),                              // 王五
    };
    QCOMPARE(items.size(), 32);
    QByteArray expected;
    for (const QByteArray &item : items)
        expected += (expected.isEmpty() ? "\"" : ",\"") + item + "\"";
    expected += "\r\n";
    QCOMPARE(savedBytes(sampleRecord()), expected);
}

void TestDocuments::roundTripProperty()
{
    QTemporaryDir dir;
    AwkwardText gen(20240506);
    for (int round = 0; round < 150; ++round) {
        AppointmentRecord r;
        for (const RecordField &f : recordFields()) {
            const bool composite = f.family || QByteArray(f.controlName).startsWith("txtXueli")
                || QByteArray(f.controlName).startsWith("txtBiye");
            if (f.family) {
                for (QString &cell : r.*(f.column))
                    cell = gen.coin() ? gen.text(6, true) : QString();
            } else {
                r.*(f.text) = gen.text(12, composite);
            }
        }
        // At most three party entries reach a document (the checks see to that).
        while (r.Rudang.count(QStringLiteral("；")) > 2)
            r.Rudang.remove(r.Rudang.lastIndexOf(QStringLiteral("；")), 1);
        r.Date = gen.coin() ? r.Date : QString();

        const QString path = dir.filePath(QStringLiteral("r%1.dwz").arg(round));
        ScriptedInteraction ui;
        AppointmentRecord typed = r;
        QVERIFY(save(path, r, ui));
        AppointmentRecord loaded;
        QVERIFY(loadDocumentFile(path, loaded, ui));
        QVERIFY(ui.shown.isEmpty());

        // The documented transformations on the way to the disk and back.
        AppointmentRecord e;
        const QString dot = QStringLiteral(".");
        auto plain = [](const QString &t) { return CurlQuotes(TrimSpaces(t)); };
        for (const RecordField &f : recordFields()) {
            if (f.family) {
                for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row)
                    (e.*(f.column))[row] = plain((typed.*(f.column))[row]);
            } else {
                e.*(f.text) = plain(typed.*(f.text));
            }
        }
        for (QString &cell : e.Xingm) {
            cell.remove(QLatin1Char(' '));
            cell.remove(QChar(0xE5E5));
        }
        e.Birthday = RemoveChar(StripLineBreaks(e.Birthday), dot);
        e.Worktime = RemoveChar(StripLineBreaks(e.Worktime), dot);
        e.Rudang = CurlQuotes(RemoveChar(RemoveSpaces(typed.Rudang), dot));
        e.XianRen = StripLineBreaks(e.XianRen);
        e.JianLi = CurlQuotes(typed.JianLi);
        e.NameFill = CurlQuotes(RemoveSpaces(typed.NameFill));
        e.FillDate = kTodayDigits;
        if (e.Date.isEmpty())
            e.Date = kTodayDigits;
        compareFields(loaded, e);
        QVERIFY(!loaded.dirtyFlag);
        QVERIFY(!loaded.HasPhoto);
        QCOMPARE(loaded.PhotoPath, companionPhotoPath(path));
        // Nothing can end an item early: every saved document has 32 items.
        QCOMPARE(readAll(path).count('"'), 64);
    }
}

void TestDocuments::handWritten31ItemDwz()
{
    // Code page 936 text as an older version wrote it, without item 32.
    const QByteArray doc =
        "\"\xd5\xc5\xc8\xfd\",\"\xc4\xd0\",\"196001\",\"\xba\xba\xd7\xe5\",\"\",\"1985.07\",\"\","
        "\"\xb1\xb1\xbe\xa9\",\"198207\",\"\xb4\xf3\xd1\xa7#\xd1\xa7\xca\xbf@\xd1\xd0\xbe\xbf\xc9\xfa\","
        "\"#@\",\"\",\"\",\"\",\"\",\"\",\"\",\"1978\r\n   \xd1\xa7\",\"\",\"\","
        "\"\xc6\xde\xd7\xd3@\xb6\xf9\xd7\xd3@@@@@@@@\",\"\xc0\xee\xcb\xc4@\",\"\",\"\",\"\","
        "\"\xbe\xd6\r\n\xb3\xa4\",\"\",\"\",\"\",\"\",\"\"\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.dwz"));
    writeBytes(path, doc);
    AppointmentRecord r;
    r.NameFill = QStringLiteral("留");
    r.FillDate = QStringLiteral("19990101");
    r.dirtyFlag = true;
    ScriptedInteraction ui;
    QVERIFY(loadDocumentFile(path, r, ui));
    QVERIFY(ui.shown.isEmpty());
    QCOMPARE(r.Name, QStringLiteral("张三"));
    QCOMPARE(r.Sex, QStringLiteral("男"));
    QCOMPARE(r.Birthday, QStringLiteral("196001"));
    QCOMPARE(r.Rudang, QStringLiteral("198507"));          // "." removed on loading
    QCOMPARE(r.Xueli, QStringLiteral("大学"));
    QCOMPARE(r.XueliAdd, QStringLiteral("学士"));
    QCOMPARE(r.Xueli2, QStringLiteral("研究生"));
    QCOMPARE(r.XueliAdd2, QString());
    QCOMPARE(r.Biye, QString());
    QCOMPARE(r.JianLi, QStringLiteral("1978\r\n   学"));
    QCOMPARE(r.Chengwei[1], QStringLiteral("儿子"));
    QCOMPARE(r.Xingm[0], QStringLiteral("李四"));
    QCOMPARE(r.XianRen, QStringLiteral("局长"));            // line breaks removed
    QCOMPARE(r.Date, kTodayDigits);                         // empty: today
    QCOMPARE(r.FillDate, kTodayDigits);
    QCOMPARE(r.NameFill, QString());                        // no item 32
    QVERIFY(!r.dirtyFlag);
}

void TestDocuments::familyRowsWithGaps()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gaps.dwz"));
    AppointmentRecord r = sampleRecord();
    r.Danwei[0] = QStringLiteral("某厂");
    r.Danwei[6] = QStringLiteral(" 某校 ");
    r.csrq[3] = QStringLiteral("1990");
    ScriptedInteraction ui;
    QVERIFY(save(path, r, ui));
    AppointmentRecord loaded;
    loaded.Danwei[2] = QStringLiteral("old row, cleared by loading");
    QVERIFY(loadDocumentFile(path, loaded, ui));
    const AppointmentRecord::FamilyColumn danwei = {QStringLiteral("某厂"), {}, {}, {}, {}, {}, QStringLiteral("某校")};
    QCOMPARE(loaded.Danwei, danwei);
    QCOMPARE(loaded.csrq[3], QStringLiteral("1990"));
    QVERIFY(readAll(path).contains("\"@@@1990@@@@@@\""));
}

void TestDocuments::itemSyntax_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("plain") << QByteArray("\"a\",\"b\",\"c\"\r\n") << QStringList{"a", "b", "c"};
    QTest::newRow("comma and line break inside") << QByteArray("\"a,\r\nb\",\"\",\"c\"") << QStringList{"a,\r\nb", "", "c"};
    QTest::newRow("bare number") << QByteArray("\"a\", 12 ,\"c\"\r\n") << QStringList{"a", "12", "c"};
    QTest::newRow("noise after quote") << QByteArray("\"a\"x ,\"b\"\n\"c\"") << QStringList{"a", "b", "c"};
    QTest::newRow("items on separate lines") << QByteArray("\"a\"\r\n\"b\"\r\n\"c\"\r\n") << QStringList{"a", "b", "c"};
    QTest::newRow("more than wanted") << QByteArray("\"a\",\"b\",\"c\",\"d\"") << QStringList{"a", "b", "c"};
    QTest::newRow("one missing") << QByteArray("\"a\",\"b\"\r\n") << QStringList{"a", "b", ""};
}

void TestDocuments::itemSyntax()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, items);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    DocumentItemReader reader;
    QVERIFY2(reader.read(buffer, 3, 2), qPrintable(reader.errorString()));
    QCOMPARE(reader.items(), items);
}

void TestDocuments::renPartyAssembly_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("rudang");
    const QString a = QStringLiteral("1985.07"), b = QStringLiteral("民盟"), c = QStringLiteral("民革"),
                  d = QStringLiteral("九三");
    QTest::newRow("a6 alone") << QStringList{a, "", "", ""} << a;
    QTest::newRow("a6 and a7: a7 unused") << QStringList{a, b, "", ""} << a;
    QTest::newRow("a6 a8") << QStringList{a, b, c, ""} << a + "；" + c + "；";
    QTest::newRow("a6 a9") << QStringList{a, "", "", d} << a + "；" + d + "；";
    QTest::newRow("a6 a8 a9") << QStringList{a, b, c, d} << a + "；" + c + "；" + d + "；";
    QTest::newRow("a7 alone") << QStringList{"", b, "", ""} << b;
    QTest::newRow("a9 alone") << QStringList{"", "", "", d} << d;
    QTest::newRow("a7 a9") << QStringList{"", b, "", d} << b + "；" + d + "；";
    QTest::newRow("a7 a8 a9") << QStringList{"", b, c, d} << b + "；" + c + "；" + d + "；";
    QTest::newRow("none") << QStringList{"", "", "", ""} << QString();
}

void TestDocuments::renPartyAssembly()
{
    QFETCH(QStringList, entries);
    QTEST(renPartyText(entries[0], entries[1], entries[2], entries[3]), "rudang");
}

void TestDocuments::renDocument()
{
    QStringList items;
    for (int i = 1; i <= 34; ++i)
        items << QStringLiteral("v%1").arg(i);
    items[5] = QStringLiteral("1985.07");
    items[6] = QStringLiteral("民盟");
    items[7] = QStringLiteral("民革");
    items[8] = QString();
    items[12] = QStringLiteral("大学#学士@#");
    items[13] = QStringLiteral("北大");
    items[23] = QStringLiteral("妻@@子@@@@@@@");
    items[28] = QStringLiteral("局\r\n长");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.ren"));
    writeBytes(path, encodeDocumentItems(items));
    AppointmentRecord r;
    r.NameFill = QStringLiteral("x");
    r.NiRen = QStringLiteral("replaced");
    ScriptedInteraction ui;
    QVERIFY(loadDocumentFile(path, r, ui));
    QCOMPARE(r.Name, QStringLiteral("v1"));
    QCOMPARE(r.Jiguan, QStringLiteral("v5"));
    QCOMPARE(r.Rudang, QStringLiteral("198507；民革；"));
    QCOMPARE(r.Health, QStringLiteral("v10"));
    QCOMPARE(r.Worktime, QStringLiteral("v12"));
    QCOMPARE(r.XueliAdd, QStringLiteral("学士"));
    QCOMPARE(r.Biye, QStringLiteral("北大"));
    QCOMPARE(r.Xuewei, QStringLiteral("v15"));
    QCOMPARE(r.Shuxi, QStringLiteral("v20"));
    QCOMPARE(r.KaoHe, QStringLiteral("v23"));
    QCOMPARE(r.Chengwei[2], QStringLiteral("子"));
    QCOMPARE(r.XianRen, QStringLiteral("局长"));
    QCOMPARE(r.NiRen, QStringLiteral("v30"));
    QCOMPARE(r.Chengbao, QStringLiteral("v33"));
    QCOMPARE(r.Date, QStringLiteral("v34"));
    QCOMPARE(r.NameFill, QString());
}

void TestDocuments::upperCaseExtensions()
{
    QCOMPARE(documentKindOf(QStringLiteral("/a/B.DWZ")), DocumentKind::Dwz);
    QCOMPARE(documentKindOf(QStringLiteral("b.Ren")), DocumentKind::Ren);
    QCOMPARE(documentKindOf(QStringLiteral("c.LJY")), DocumentKind::Ljy);
    QCOMPARE(documentKindOf(QStringLiteral("d.JAN")), DocumentKind::Jan);
    QCOMPARE(documentKindOf(QStringLiteral("e.txt")), DocumentKind::Unknown);
    QCOMPARE(companionPhotoPath(QStringLiteral("/a/x.DWZ")), QStringLiteral("/a/x.pic"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UPPER.DWZ"));
    AppointmentRecord r = sampleRecord();
    ScriptedInteraction ui;
    QVERIFY(save(path, r, ui));
    AppointmentRecord loaded;
    QVERIFY(loadDocumentFile(path, loaded, ui));
    QCOMPARE(loaded.Name, QStringLiteral("张“三”"));
    QCOMPARE(loaded.PhotoPath, dir.filePath(QStringLiteral("UPPER.pic")));
}

void TestDocuments::refusedExtension()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.txt"));
    writeBytes(path, savedBytes(sampleRecord()));
    AppointmentRecord r;
    r.Name = QStringLiteral("kept");
    r.dirtyFlag = true;
    ScriptedInteraction ui;
    QVERIFY(!loadDocumentFile(path, r, ui));
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统警告"));
    QCOMPARE(ui.shown[0].text, QStringLiteral("文件类型不正确！"));
    QCOMPARE(ui.shown[0].icon, MessageIcon::Information);
    QCOMPARE(r.Name, QStringLiteral("kept"));
    QVERIFY(r.dirtyFlag);
}

void TestDocuments::failedLoadsChangeNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QStringList items;
    for (int i = 0; i < 30; ++i)
        items << QStringLiteral("x");
    QTest::newRow("30 items") << "short.dwz" << encodeDocumentItems(items) << "只找到 30 项";
    QTest::newRow("33 items ren") << "short.ren" << encodeDocumentItems(items + QStringList{"a", "b", "c"})
                                  << "应至少有 34 项";
    QTest::newRow("31 items brief") << "short.ljy" << encodeDocumentItems(items + QStringList{"a"})
                                    << "应至少有 32 项";
    QTest::newRow("unterminated") << "open.dwz" << QByteArray("\"a\",\"b\",\"c") << "第 3 项缺少结尾的双引号";
    QTest::newRow("empty") << "empty.dwz" << QByteArray() << "只找到 0 项";
    QTest::newRow("missing file") << "missing.dwz" << QByteArray("-") << "无法打开";
}

void TestDocuments::failedLoadsChangeNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (bytes != "-")
        writeBytes(path, bytes);
    AppointmentRecord r = sampleRecord();
    r.Chengwei[3] = QStringLiteral("kept");
    r.HasPhoto = true;
    r.PhotoPath = QStringLiteral("/photos/a.jpg");
    r.PhotoPicture = QImage(4, 4, QImage::Format_RGB32);
    r.dirtyFlag = true;
    const AppointmentRecord before = r;
    ScriptedInteraction ui;
    QVERIFY(!loadDocumentFile(path, r, ui));
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统"));
    QCOMPARE(ui.shown[0].icon, MessageIcon::Information);
    QVERIFY2(ui.shown[0].text.contains(reason), qPrintable(ui.shown[0].text));
    QVERIFY(ui.shown[0].text.contains(QStringLiteral("当前内容没有改变")));
    QVERIFY(r.sameFields(before));
    QCOMPARE(r.FillDate, before.FillDate);
    QVERIFY(r.dirtyFlag);
    QVERIFY(!r.PhotoPicture.isNull());
}

void TestDocuments::tooLargeDocument()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.dwz"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(kMaxDocumentBytes + 1));   // sparse, no real disk use
    }
    AppointmentRecord r = sampleRecord();
    ScriptedInteraction ui;
    QVERIFY(!loadDocumentFile(path, r, ui));
    QVERIFY(ui.shown[0].text.contains(QStringLiteral("超过 16 MB")));
    QCOMPARE(r.Name, sampleRecord().Name);

    // The limit holds for devices without a size as well.
    QByteArray big(int(kMaxDocumentBytes) + 10, 'a');
    QBuffer buffer(&big);
    buffer.open(QIODevice::ReadOnly);
    DocumentItemReader reader;
    QVERIFY(!reader.read(buffer, 32, 31));
    QCOMPARE(reader.error(), DocumentItemReader::TooLarge);
}

void TestDocuments::companionPhoto()
{
    QTemporaryDir dir;
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString photo = dir.filePath(QStringLiteral("chosen.jpg"));
    QVERIFY(image.save(photo, "BMP"));   // the name says nothing about the format
    const QByteArray photoBytes = readAll(photo);

    AppointmentRecord r = sampleRecord();
    r.HasPhoto = true;
    r.PhotoPath = photo;
    r.PhotoPicture = image;
    r.dirtyFlag = true;
    const QString path = dir.filePath(QStringLiteral("cadre.dwz"));
    ScriptedInteraction ui;
    QVERIFY(save(path, r, ui));
    QVERIFY(!r.dirtyFlag);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("cadre.pic"))), photoBytes);

    AppointmentRecord loaded;
    QVERIFY(loadDocumentFile(path, loaded, ui));
    QVERIFY(loaded.HasPhoto);
    QCOMPARE(loaded.PhotoPath, dir.filePath(QStringLiteral("cadre.pic")));
    QCOMPARE(loaded.PhotoPicture.size(), QSize(8, 6));

    // Saving to the document the photo came from copies nothing.
    const QDateTime stamp = QFileInfo(loaded.PhotoPath).lastModified();
    QTest::qSleep(20);
    QVERIFY(save(path, loaded, ui));
    QCOMPARE(QFileInfo(loaded.PhotoPath).lastModified(), stamp);
    QCOMPARE(readAll(loaded.PhotoPath), photoBytes);

    // Saved elsewhere, the photo travels along.
    const QString other = dir.filePath(QStringLiteral("copy.dwz"));
    QVERIFY(save(other, loaded, ui));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("copy.pic"))), photoBytes);
    QVERIFY(ui.shown.isEmpty());
}

void TestDocuments::damagedCompanionPhoto()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cadre.dwz"));
    writeBytes(path, savedBytes(sampleRecord()));
    writeBytes(dir.filePath(QStringLiteral("cadre.pic")), "not an image at all");
    AppointmentRecord r;
    r.HasPhoto = true;
    r.PhotoPath = QStringLiteral("/photos/before.jpg");
    r.PhotoPicture = QImage(3, 3, QImage::Format_RGB32);
    r.dirtyFlag = true;
    ScriptedInteraction ui;
    QVERIFY(loadDocumentFile(path, r, ui));
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("文本内容调入完毕，但照片文件已损坏！请重新加载照片！")});
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统"));
    QCOMPARE(r.Name, QStringLiteral("张“三”"));
    QVERIFY(r.HasPhoto);
    QCOMPARE(r.PhotoPath, QStringLiteral("/photos/before.jpg"));
    QCOMPARE(r.PhotoPicture.size(), QSize(3, 3));
    QVERIFY(!r.dirtyFlag);
}

void TestDocuments::saveWithoutPhotoRemovesStaleCompanion()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cadre.dwz"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(dir.filePath(QStringLiteral("cadre.pic")), "BMP"));
    const QString elsewhere = dir.filePath(QStringLiteral("chosen.bmp"));
    QVERIFY(image.save(elsewhere, "BMP"));

    AppointmentRecord r = sampleRecord();
    r.HasPhoto = false;
    r.PhotoPath = elsewhere;   // cleared in the photo dialog after choosing
    ScriptedInteraction ui;
    QVERIFY(save(path, r, ui));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("cadre.pic"))));
    QVERIFY(QFile::exists(elsewhere));
    AppointmentRecord loaded;
    QVERIFY(loadDocumentFile(path, loaded, ui));
    QVERIFY(!loaded.HasPhoto);
}

void TestDocuments::photoCopiedFromMemoryWhenSourceIsGone()
{
    QTemporaryDir dir;
    QImage image(5, 7, QImage::Format_RGB32);
    image.fill(Qt::green);
    AppointmentRecord r = sampleRecord();
    r.HasPhoto = true;
    r.PhotoPicture = image;
    r.PhotoPath = dir.filePath(QStringLiteral("removed-stick/photo.jpg"));
    const QString path = dir.filePath(QStringLiteral("cadre.dwz"));
    ScriptedInteraction ui;
    QVERIFY(save(path, r, ui));
    QImage back(dir.filePath(QStringLiteral("cadre.pic")));
    QCOMPARE(back.size(), QSize(5, 7));
}

void TestDocuments::failedSaveKeepsOldFile()
{
    // The temporary file beside a 250-character name cannot be created, so
    // the save fails before anything is replaced.
    QTemporaryDir dir;
    const QString path = dir.filePath(QString(246, QLatin1Char('n')) + QStringLiteral(".dwz"));
    const QByteArray old = savedBytes(sampleRecord());
    writeBytes(path, old);
    AppointmentRecord r = sampleRecord();
    r.Name = QStringLiteral("新");
    r.dirtyFlag = true;
    ScriptedInteraction ui;
    QVERIFY(!save(path, r, ui));
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统"));
    QVERIFY2(ui.shown[0].text.startsWith(QStringLiteral("保存时发生错误:")), qPrintable(ui.shown[0].text));
    QCOMPARE(readAll(path), old);
    QVERIFY(r.dirtyFlag);

    // A folder is no document either.
    ScriptedInteraction ui2;
    QVERIFY(!save(dir.path(), r, ui2));
    QCOMPARE(ui2.shown.size(), 1);
}

namespace {
class FullDevice : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        setErrorString(QStringLiteral("disk full"));
        return len > 10 ? 10 : len;
    }
};
}

void TestDocuments::failingDevice()
{
    FullDevice device;
    device.open(QIODevice::WriteOnly);
    RendererVars v;
    v.TNAME = QStringLiteral("张三");
    DocumentWriter writer;
    QVERIFY(!writer.write(device, v, QString()));
    QCOMPARE(writer.errorString(), QStringLiteral("disk full"));
    QVERIFY(writer.errorNumber() != 0);

    QBuffer closed;
    DocumentItemReader reader;
    QVERIFY(!reader.read(closed, 32, 31));
    QCOMPARE(reader.error(), DocumentItemReader::ReadError);
}

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
