#include "app/ScriptedInteraction.h"
#include "model/RendererHandoff.h"

#include <QtTest>

class TestHandoff : public QObject {
    Q_OBJECT
private slots:
    void quotesCurledAndFieldsTrimmed();
    void datesOnOneLineWrittenBack();
    void partyTextSplit_data();
    void partyTextSplit();
    void educationItems();
    void familyColumns();
    void nameFillAndResume();
    void partyTextWithFourEntriesRefused();
};

void TestHandoff::quotesCurledAndFieldsTrimmed()
{
    AppointmentRecord r;
    r.Name = QStringLiteral("  张\"三\"\"  ");
    r.Sex = QStringLiteral(" 男 ");
    r.Chengbao = QStringLiteral(" 某部\"党组\" ");
    r.Date = QStringLiteral(" 20240506 ");
    r.FillDate = QStringLiteral("20240507");
    RendererVars v;
    v.DANGCI = QStringLiteral("left alone");
    ScriptedInteraction ui;
    QVERIFY(FillRenderer(r, v, ui));
    QCOMPARE(v.TNAME, QStringLiteral("张“三”“"));
    QCOMPARE(v.SEX, QStringLiteral("男"));
    QCOMPARE(v.CHENGBAO, QStringLiteral("某部“党组”"));
    QCOMPARE(v.MYDATE, QStringLiteral("20240506"));
    QCOMPARE(v.FillDATE, QStringLiteral("20240507"));
    // The record keeps what was typed, apart from the two dates.
    QCOMPARE(r.Name, QStringLiteral("  张\"三\"\"  "));
    QCOMPARE(v.DANGCI, QStringLiteral("left alone"));
    QVERIFY(v.AGE.isEmpty() && v.MONEYD.isEmpty());
    QVERIFY(ui.shown.isEmpty());
}

void TestHandoff::datesOnOneLineWrittenBack()
{
    AppointmentRecord r;
    r.Birthday = QStringLiteral(" 1960\r\n01 ");
    r.Worktime = QStringLiteral("1982\n\"07");
    RendererVars v;
    ScriptedInteraction ui;
    QVERIFY(FillRenderer(r, v, ui));
    QCOMPARE(r.Birthday, QStringLiteral("196001"));
    QCOMPARE(v.BIRTH, QStringLiteral("196001"));
    QCOMPARE(r.Worktime, QStringLiteral("1982\"07"));
    QCOMPARE(v.WORKTIME, QStringLiteral("1982“07"));
}

void TestHandoff::partyTextSplit_data()
{
    QTest::addColumn<QString>("rudang");
    QTest::addColumn<QString>("compact");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("p1");
    QTest::addColumn<QString>("p2");
    QTest::addColumn<QString>("p3");
    QTest::newRow("date alone") << "1985.07" << "1985.07" << "1985.07" << "中共" << "" << "";
    QTest::newRow("date second") << "民盟； 1990 01" << "民盟；199001" << "1990.01" << "民盟" << "中共" << "";
    QTest::newRow("blank") << "  " << "" << "" << "中共" << "" << "";
    QTest::newRow("no date") << "民革；民盟；" << "民革；民盟；" << "" << "民革" << "民盟" << "";
    QTest::newRow("period date") << "1985春" << "1985春" << "1985春" << "中共" << "" << "";
    QTest::newRow("quoted name") << "\"民建\"；1990" << "\"民建\"；1990" << "1990" << "“民建”" << "中共" << "";
}

void TestHandoff::partyTextSplit()
{
    QFETCH(QString, rudang);
    AppointmentRecord r;
    r.Rudang = rudang;
    RendererVars v;
    ScriptedInteraction ui;
    QVERIFY(FillRenderer(r, v, ui));
    QTEST(r.compactPartyText, "compact");
    QTEST(v.PARTYTIME, "time");
    QTEST(v.PARTY1, "p1");
    QTEST(v.PARTY2, "p2");
    QTEST(v.PARTY3, "p3");
    QCOMPARE(r.Rudang, rudang);
}

void TestHandoff::educationItems()
{
    AppointmentRecord r;
    r.Xueli = QStringLiteral(" 大学 ");
    r.XueliAdd = QStringLiteral("学士");
    r.Xueli2 = QString();
    r.XueliAdd2 = QStringLiteral(" 硕士");
    r.Biye = QStringLiteral("清华 大学");
    RendererVars v;
    setParaOfXLinfo(r, v);
    QCOMPARE(v.xueli, QStringLiteral("大学#学士@#硕士"));
    QCOMPARE(v.BIYE, QStringLiteral("清华 大学#@#"));
    AppointmentRecord empty;
    setParaOfXLinfo(empty, v);
    QCOMPARE(v.xueli, QStringLiteral("#@#"));
}

void TestHandoff::familyColumns()
{
    AppointmentRecord r;
    r.Chengwei[0] = QStringLiteral(" 妻子 ");
    r.Chengwei[6] = QStringLiteral("父亲");
    r.Xingm[0] = QStringLiteral("李 四");
    r.Xingm[1] = QStringLiteral("王") + QChar(0xE5E5) + QStringLiteral("五");
    r.Xingm[2] = QStringLiteral("\"小\"明");
    RendererVars v;
    ScriptedInteraction ui;
    QVERIFY(FillRenderer(r, v, ui));
    QCOMPARE(v.CHENWEI, QStringLiteral("妻子@@@@@@父亲@@@"));
    QCOMPARE(v.XINGMING, QStringLiteral("李四@王五@“小”明@@@@@@@"));
    const QString nine = QStringLiteral("@@@@@@@@@");
    QCOMPARE(v.BIRTHHH, nine);
    QCOMPARE(v.MIANMAO, nine);
    QCOMPARE(v.DANWEI, nine);
    QCOMPARE(familyColumnItem(AppointmentRecord::FamilyColumn{}), nine);
}

void TestHandoff::nameFillAndResume()
{
    AppointmentRecord r;
    r.NameFill = QStringLiteral(" 王 五 ");
    r.JianLi = QStringLiteral("1978.09--1982.07  \"大学\"\r\n                  学习  ");
    r.XianRen = QStringLiteral(" 局长 ");
    RendererVars v;
    ScriptedInteraction ui;
    QVERIFY(FillRenderer(r, v, ui));
    QCOMPARE(v.XINGMINGFILL, QStringLiteral("王五"));
    QCOMPARE(v.JIANLI, QStringLiteral("1978.09--1982.07  “大学”\r\n                  学习  "));
    QCOMPARE(v.XIANREN, QStringLiteral("局长"));
}

void TestHandoff::partyTextWithFourEntriesRefused()
{
    AppointmentRecord r;
    r.Name = QStringLiteral("张三");
    r.Rudang = QStringLiteral("民革；民盟；1990；致公党");
    RendererVars v;
    v.PARTY1 = QStringLiteral("before");
    ScriptedInteraction ui;
    QVERIFY(!FillRenderer(r, v, ui));
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统校验"));
    QCOMPARE(ui.shown[0].text, QStringLiteral("请仔细检查入党时间栏是否在每一个党派后加上了汉字的分号“；”"));
    QCOMPARE(ui.shown[0].icon, MessageIcon::Critical);
    QCOMPARE(v.TNAME, QStringLiteral("张三"));   // assigned before the failure
    QCOMPARE(v.PARTY1, QStringLiteral("before"));

    // A blank fourth entry is only the trailing separator.
    r.Rudang = QStringLiteral("民革；民盟；1990； ");
    ScriptedInteraction ui2;
    QVERIFY(FillRenderer(r, v, ui2));
    QCOMPARE(v.PARTY3, QStringLiteral("中共"));
}

QTEST_GUILESS_MAIN(TestHandoff)
#include "tst_handoff.moc"
