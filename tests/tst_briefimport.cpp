#include "app/Clock.h"
#include "app/ScriptedInteraction.h"
#include "model/BriefImport.h"
#include "model/DocumentFile.h"
#include "model/DocumentItems.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList briefItems()
{
    QStringList items;
    for (int i = 1; i <= kBriefItemCount; ++i)
        items << QStringLiteral("b%1").arg(i);
    items[3] = QStringLiteral("7");
    items[6] = QStringLiteral("1985.07");
    items[7] = QStringLiteral("中共");
    items[8] = QString();
    items[9] = QString();
    items[22] = QStringLiteral("妻子@儿子@女儿@@父亲@母亲@兄@弟@妹@");   // nine rows
    items[23] = QStringLiteral("甲@乙@");
    return items;
}

// Code page 936 as the brief form's program writes it: item 4 bare.
QByteArray briefDocument(const QStringList &items)
{
    QByteArray bytes = encodeDocumentItems(items);
    bytes.replace(QByteArray(",\"") + items[3].toLatin1() + "\",", QByteArray(",") + items[3].toLatin1() + ",");
    return bytes;
}

} // namespace

class TestBriefImport : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::setToday(QDate(2024, 5, 6)); }
    void cleanup() { Clock::setToday(QDate()); }

    void partyTextRebuilt_data();
    void partyTextRebuilt();
    void fillKeepsWhatTheBriefFormLacks();
    void familyRowsCutOrPadded();
    void briefDocumentLoads_data();
    void briefDocumentLoads();
    void shortBriefDocumentRefused();
};

void TestBriefImport::partyTextRebuilt_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("rudang");
    QTest::newRow("date and 中共") << QStringList{"198507", "中共", "", ""} << "198507；";
    QTest::newRow("date alone") << QStringList{"198507", "", "", ""} << "198507";
    QTest::newRow("other party") << QStringList{"198507", "民盟", "", ""} << "198507；民盟；";
    QTest::newRow("中共 and another") << QStringList{"198507", "中共", "民革", ""} << "198507；民革；";
    QTest::newRow("no date") << QStringList{"", "民盟", "", ""} << "；民盟；";
    QTest::newRow("nothing") << QStringList{"", "", "", ""} << "";
    QTest::newRow("three parties") << QStringList{"1990", "民盟", "民革", "九三"} << "1990；民盟；民革；九三；";
}

void TestBriefImport::partyTextRebuilt()
{
    QFETCH(QStringList, parts);
    BriefRecord b;
    b.partyDate = parts[0];
    b.party1 = parts[1];
    b.party2 = parts[2];
    b.party3 = parts[3];
    QTEST(briefPartyText(b), "rudang");
}

void TestBriefImport::fillKeepsWhatTheBriefFormLacks()
{
    AppointmentRecord r;
    r.XueliAdd = QStringLiteral("学士");
    r.Biye2 = QStringLiteral("党校");
    r.NiRen = QStringLiteral("拟任");
    r.NiMian = QStringLiteral("拟免");
    r.RenMianLiy = QStringLiteral("理由");
    r.Chengbao = QStringLiteral("呈报");
    r.NameFill = QStringLiteral("填表人");
    const BriefRecord b = briefRecordFromItems(briefItems());
    QCOMPARE(b.wholeNumber, 7);
    QCOMPARE(b.partyDate, QStringLiteral("198507"));
    fillFromBrief(r, b);
    QCOMPARE(r.Name, QStringLiteral("b1"));
    QCOMPARE(r.Birthday, QStringLiteral("b3"));
    QCOMPARE(r.People, QStringLiteral("b5"));
    QCOMPARE(r.Rudang, QStringLiteral("198507；"));
    QCOMPARE(r.BirPlace, QStringLiteral("b12"));
    QCOMPARE(r.Worktime, QStringLiteral("b13"));
    QCOMPARE(r.Xueli, QStringLiteral("b15"));
    QCOMPARE(r.Biye, QStringLiteral("b16"));
    QCOMPARE(r.Xuewei, QStringLiteral("b17"));
    QCOMPARE(r.Health, QStringLiteral("b19"));
    QCOMPARE(r.Shuxi, QStringLiteral("b20"));
    QCOMPARE(r.JianLi, QStringLiteral("b21"));
    QCOMPARE(r.JiangCheng, QStringLiteral("b22"));
    QCOMPARE(r.XianRen, QStringLiteral("b28"));
    QCOMPARE(r.KaoHe, QStringLiteral("b30"));
    QCOMPARE(r.Date, QStringLiteral("b32"));   // the brief form's fill-in date
    for (const QString *kept : {&r.XueliAdd, &r.Biye2, &r.NiRen, &r.NiMian, &r.RenMianLiy, &r.Chengbao,
                                &r.NameFill})
        QVERIFY(!kept->startsWith(QLatin1Char('b')));
    // The proposed use (29) and the remarks (31) have no place here.
    for (const RecordField &f : recordFields())
        if (!f.family)
            QVERIFY(r.*(f.text) != QLatin1String("b29") && r.*(f.text) != QLatin1String("b31"));
}

void TestBriefImport::familyRowsCutOrPadded()
{
    AppointmentRecord r;
    r.Xingm[5] = QStringLiteral("old");
    fillFromBrief(r, briefRecordFromItems(briefItems()));
    const AppointmentRecord::FamilyColumn chengwei = {
        QStringLiteral("妻子"), QStringLiteral("儿子"), QStringLiteral("女儿"), QString(),
        QStringLiteral("父亲"), QStringLiteral("母亲"), QStringLiteral("兄")};
    QCOMPARE(r.Chengwei, chengwei);   // rows 7 and 8 dropped
    const AppointmentRecord::FamilyColumn xingm = {QStringLiteral("甲"), QStringLiteral("乙")};
    QCOMPARE(r.Xingm, xingm);         // padded with empty rows
    QCOMPARE(r.csrq[0], QStringLiteral("b25"));
    QCOMPARE(r.Danwei[0], QStringLiteral("b27"));
}

void TestBriefImport::briefDocumentLoads_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ljy") << "brief.ljy";
    QTest::newRow("jan") << "older.jan";
    QTest::newRow("upper case") << "BRIEF.LJY";
}

void TestBriefImport::briefDocumentLoads()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QStringList items = briefItems();
    items[6] = QStringLiteral("1985.07.01");
    items[7] = QStringLiteral("民盟");
    items[31] = QString();
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(briefDocument(items));
    }
    AppointmentRecord r;
    r.NiRen = QStringLiteral("拟任");
    r.dirtyFlag = true;
    r.FillDate = QStringLiteral("19990101");
    ScriptedInteraction ui;
    QVERIFY(loadDocumentFile(path, r, ui));
    QVERIFY(ui.shown.isEmpty());
    QCOMPARE(r.Rudang, QStringLiteral("19850701；民盟；"));
    QCOMPARE(r.Chengwei[6], QStringLiteral("兄"));
    QCOMPARE(r.NiRen, QStringLiteral("拟任"));
    QCOMPARE(r.Date, QStringLiteral("20240506"));     // empty in the brief: today
    QCOMPARE(r.FillDate, QStringLiteral("20240506"));
    QVERIFY(!r.dirtyFlag);
}

void TestBriefImport::shortBriefDocumentRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("short.jan"));
    QStringList items = briefItems();
    items.removeLast();
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(briefDocument(items));
    }
    AppointmentRecord r;
    r.Name = QStringLiteral("kept");
    ScriptedInteraction ui;
    QVERIFY(!loadDocumentFile(path, r, ui));
    QCOMPARE(r.Name, QStringLiteral("kept"));
    QCOMPARE(ui.shown.size(), 1);
}

QTEST_GUILESS_MAIN(TestBriefImport)
#include "tst_briefimport.moc"
