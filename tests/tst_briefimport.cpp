#include "foundation/Clock.h"
#include "record/FieldSchema.h"
#include "record/BriefImport.h"
#include "support/DocumentTestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestBriefImport : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::setToday(QDate(2024, 5, 6)); }
    void cleanup() { Clock::setToday(QDate()); }

    void partyTextRebuilt_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("partyText");
        QTest::newRow("date and 中共") << QStringList{"198507", "中共", "", ""} << "198507；";
        QTest::newRow("date alone") << QStringList{"198507", "", "", ""} << "198507";
        QTest::newRow("other party") << QStringList{"198507", "民盟", "", ""} << "198507；民盟；";
        QTest::newRow("中共 and another") << QStringList{"198507", "中共", "民革", ""} << "198507；民革；";
        QTest::newRow("no date") << QStringList{"", "民盟", "", ""} << "；民盟；";
        QTest::newRow("nothing") << QStringList{"", "", "", ""} << "";
        QTest::newRow("three parties") << QStringList{"1990", "民盟", "民革", "九三"} << "1990；民盟；民革；九三；";
    }

    void partyTextRebuilt()
    {
        QFETCH(QStringList, parts);
        QTEST(briefPartyText(parts[0], parts[1], parts[2], parts[3]), "partyText");
    }

    void briefDocumentLoads_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("date");   // item 32, the brief form's fill-in date
        QTest::newRow("ljy") << "brief.ljy" << "b32";
        QTest::newRow("upper-case jan, no date") << "OLDER.JAN" << "";
    }

    void briefDocumentLoads()
    {
        QFETCH(QString, name);
        QFETCH(QString, date);
        QStringList items = numberedItems(QStringLiteral("b"), kBriefItemCount);
        items[3] = QStringLiteral("7");
        items[6] = QStringLiteral("1985.07.01");
        items[7] = QStringLiteral("民盟");
        items[8] = items[9] = QString();
        items[22] = QStringLiteral("妻子@儿子@女儿@@父亲@母亲@兄@弟@妹@");   // nine rows on the brief form
        items[23] = QStringLiteral("甲@乙@");
        items[31] = date;
        QByteArray bytes = encodeDocumentItems(items).value();
        bytes.replace(",\"7\",", ",7,");   // the whole number stands bare
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(writeBytes(path, bytes));

        AppointmentRecord r;   // what the brief form lacks keeps its value
        const QList<QString *> kept{&r.fullTimeDegree, &r.inServiceSchool, &r.proposedPosts, &r.postsToBeRemoved, &r.reasonForAppointment, &r.reportingUnit, &r.filledBy};
        for (QString *field : kept)
            *field = QStringLiteral("留");
        r.familyNames[5] = QStringLiteral("old");
        r.isDirty = true;
        ScriptedInteraction ui;
        QVERIFY(loadDocumentFile(path, r, ui) && ui.shown.isEmpty() && !r.isDirty);

        QCOMPARE(r.partyMembership, QStringLiteral("19850701；民盟；"));
        QCOMPARE((QStringList{r.name, r.sex, r.birthDate, r.ethnicGroup, r.nativePlace, r.birthPlace, r.workStartDate, r.fullTimeEducation, r.fullTimeSchool,
                              r.professionalTitle, r.health, r.specialities, r.resume, r.rewardsAndPunishments, r.currentPosts, r.appraisalResults}),
                 (QStringList{"b1", "b2", "b3", "b5", "b6", "b12", "b13", "b15", "b16", "b17", "b19", "b20", "b21",
                              "b22", "b28", "b30"}));
        QCOMPARE((QStringList{r.familyBirthDates[0], r.familyPoliticalStatus[0], r.familyWorkplaces[0]}), (QStringList{"b25", "b26", "b27"}));
        QCOMPARE(r.ageReferenceDate, date.isEmpty() ? Clock::todayDigits() : date);
        QCOMPARE(r.fillingDate, Clock::todayDigits());
        for (QString *field : kept)
            QCOMPARE(*field, QStringLiteral("留"));
        // The proposed use (29) and the remarks (31) have no place here.
        for (const RecordField &f : recordFields())
            if (!f.isFamily())
                QVERIFY(r.*(f.text) != QLatin1String("b29") && r.*(f.text) != QLatin1String("b31"));
        // Family rows beyond the table's seven are dropped, missing ones emptied.
        const AppointmentRecord::FamilyColumn relations = {"妻子", "儿子", "女儿", "", "父亲", "母亲", "兄"};
        QCOMPARE(r.familyRelations, relations);
        QCOMPARE(r.familyNames, (AppointmentRecord::FamilyColumn{"甲", "乙"}));
    }

    // Importing another person's brief document would leave the previous
    // cadre's removal, reasons and reporting unit on the form: the clerk is
    // asked, with the fields listed; Yes empties them, No keeps them.
    void anotherPersonAsked_data()
    {
        QTest::addColumn<QString>("currentName");
        QTest::addColumn<QString>("briefName");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("another person, yes") << "张三" << "李四" << true << Answer::Yes;
        QTest::newRow("another person, no") << "张三" << "李四" << true << Answer::No;
        QTest::newRow("same person, spaced") << "张  三" << "张三" << false << Answer::Yes;
        QTest::newRow("empty record") << "" << "李四" << false << Answer::Yes;
    }

    void anotherPersonAsked()
    {
        QFETCH(QString, currentName);
        QFETCH(QString, briefName);
        QFETCH(bool, asked);
        QFETCH(Answer, answer);
        QTemporaryDir dir;
        QStringList items(kBriefItemCount);
        items[0] = briefName;
        items[3] = QStringLiteral("0");
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("brief.ljy")), encodeDocumentItems(items).value()));
        AppointmentRecord r;
        r.name = currentName;
        const QList<QString *> fields{&r.postsToBeRemoved, &r.reasonForAppointment, &r.reportingUnit, &r.inServiceSchool};
        for (QString *field : fields)
            *field = QStringLiteral("某");
        ScriptedInteraction ui;
        ui.answers << answer;
        QVERIFY(loadDocumentFile(dir.filePath(QStringLiteral("brief.ljy")), r, ui));
        QCOMPARE(ui.shown.size(), asked ? 1 : 0);
        const bool emptied = asked && answer == Answer::Yes;
        QCOMPARE(r.name, briefName);
        for (QString *field : fields)
            QCOMPARE(field->isEmpty(), emptied);
        if (asked) {
            const QString text = ui.shown[0].text;
            for (const char *label : {"拟免职务", "任免理由", "呈报单位", "在职教育的毕业院校系"})
                QVERIFY2(text.contains(QString::fromUtf8(label)), qPrintable(text));
            QVERIFY(!text.contains(QStringLiteral("拟任职务")));   // empty: nothing to lose
            QVERIFY(text.contains(QStringLiteral("“李四”")) && text.contains(QStringLiteral("“张三”")));
        }
    }
};

QTEST_GUILESS_MAIN(TestBriefImport)
#include "tst_briefimport.moc"
