#include "support/PageTestSupport.h"

using namespace PageTest;

namespace {
const double T = 1134, B = 510;
} // namespace

class TestPageTwo : public QObject {
    Q_OBJECT
private slots:
    // A column without "@" draws nothing (documents always have them); then
    // the filled page, a message among it, moves with the margins.
    void filledFormAndMargins()
    {
        FormPages p;
        p.ageReferenceDate = QStringLiteral("20030326");
        p.familyRelations = QStringLiteral("父亲@@妻子@@@@@@@");
        p.familyNames = QStringLiteral("无分隔");   // no "@": nothing drawn
        p.familyBirthDates = QStringLiteral("193005@@19350301@1960秋@@@@@@");
        p.familyPoliticalStatus = QStringLiteral("中共党员@群众@@@@@@@@");
        p.familyWorkplaces = QStringLiteral("长").repeated(200) + QStringLiteral("@@@@@@@@@");
        p.rewardsAndPunishments = QStringLiteral("无");
        p.reportingUnit = QStringLiteral("某某市委组织部");
        p.fillingDate = QStringLiteral("20240315");
        const QList<Op> ops = recordPage(p, 2);
        // Nothing in the names column from its first row down (columns as drawn: the golden lists).
        QVERIFY(textsIn(ops, B + 1587.6, B + 2721.6, T + 3858.8, T + 8055.6).isEmpty());

        FormPages b = p;
        b.margins.top -= 200;
        b.margins.pageTwoLeft += 80;
        b.margins.pageOneLeft += 500;   // page one's left margin leaves page two alone
        verifyShifted(ops, recordPage(b, 2), 80, -200);
    }
};

QTEST_MAIN(TestPageTwo)
#include "tst_pagetwo.moc"
