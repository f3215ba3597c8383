#include "support/ScriptedInteraction.h"
#include "record/RendererHandoff.h"

#include <QtTest>

// The party values only the printed form uses; the rest of the hand-off is
// proved by the document round trip.
class TestHandoff : public QObject {
    Q_OBJECT
private slots:
    void partyText_data()
    {
        QTest::addColumn<QString>("partyText");
        QTest::addColumn<QStringList>("expected");   // compact text, join time, three parties; empty: refused
        auto row = [](const char *name, const QString &text, const QStringList &e) { QTest::newRow(name) << text << e; };
        row("date alone", "1985.07", {"1985.07", "1985.07", "中共", "", ""});
        row("date first", "199001；民盟；九三", {"199001；民盟；九三", "1990.01", "中共", "民盟", "九三"});
        row("date second", "民盟； 1990 01", {"民盟；199001", "1990.01", "民盟", "中共", ""});
        row("date third", "民盟；九三；1990", {"民盟；九三；1990", "1990", "民盟", "九三", "中共"});
        row("blank", "  ", {"", "", "中共", "", ""});
        row("no date", "民革；民盟；", {"民革；民盟；", "", "民革", "民盟", ""});
        row("period date", "1985春", {"1985春", "1985春", "中共", "", ""});
        row("period in part", "民盟；1985春", {"民盟；1985春", "1985.春", "民盟", "中共", ""});
        row("month 13 is no date", "民盟；198513", {"民盟；198513", "", "民盟", "198513", ""});
        row("quoted name", "\"民建\"；1990", {"\"民建\"；1990", "1990", "“民建”", "中共", ""});
        row("blank fourth entry", "民革；民盟；1990； ", {"民革；民盟；1990；", "1990", "民革", "民盟", "中共"});
        // A fourth entry would vanish from the printed form without a word.
        row("four entries", "民革；民盟；1990；致公党", {});
    }

    void partyText()
    {
        QFETCH(QString, partyText);
        QFETCH(QStringList, expected);
        AppointmentRecord r;
        r.partyMembership = partyText;
        RendererVars v;
        v.partyName1 = QStringLiteral("before");
        const Result<> handedOff = fillRendererVars(r, v);
        QCOMPARE(handedOff.ok(), !expected.isEmpty());
        QCOMPARE(r.partyMembership, partyText);
        if (expected.isEmpty()) {
            QCOMPARE(handedOff.error(), QStringLiteral("请仔细检查入党时间栏是否在每一个党派后加上了汉字的分号“；”"));
            QCOMPARE(handedOff.kind(), FailureKind::RefusedPartyText);
            QCOMPARE(v.partyName1, QStringLiteral("before"));
        } else {
            QCOMPARE((QStringList{r.compactPartyText, v.partyJoinDate, v.partyName1, v.partyName2, v.partyName3}), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestHandoff)
#include "tst_handoff.moc"
