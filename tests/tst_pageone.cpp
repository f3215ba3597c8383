#include "layout/ResumeLayout.h"
#include "support/PageTestSupport.h"

using namespace PageTest;

namespace {
const double T = 1134, L = 850, W = 8165;
const QString kResumeLine = QStringLiteral("1980.09--1984.07  某大学学生");
} // namespace

class TestPageOne : public QObject {
    Q_OBJECT
private slots:
    // One text in one of the three position rows (0 现任, 1 拟任, 2 拟免).
    void positionRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        const QString z = QStringLiteral("字");
        QTest::newRow("empty") << 0 << QString() << 0;
        QTest::newRow("25") << 0 << z.repeated(25) << 1;
        QTest::newRow("26") << 1 << z.repeated(26) << 2;
        QTest::newRow("26 ending 。, 拟免 box one line") << 2 << z.repeated(25) + QStringLiteral("。") << 1;
        QTest::newRow("51") << 0 << z.repeated(51) << 3;
        QTest::newRow("51 ending ', a mark the breaking leaves") << 1 << z.repeated(50) + QStringLiteral("'") << 2;
        QTest::newRow("opening mark pushed") << 2 << z.repeated(24) + QStringLiteral("（字）") << 2;
        QTest::newRow("75 drawn") << 2 << z.repeated(75) << 3;
        QTest::newRow("76 refused") << 1 << z.repeated(76) << 4;
    }
    void positionRows()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, lines);
        const bool refused = text.size() > 75;
        QCOMPARE(FormPages::positionRowLines(text), lines);

        FormPages p;
        (row == 0 ? p.currentPosts : row == 1 ? p.proposedPosts : p.postsToBeRemoved) = text;
        p.resume = kResumeLine;
        const QList<Op> ops = recordPage(p, 1);
        const int tops[] = {int(T + 3600), p.currentPostsBottom, p.proposedPostsBottom, p.postsToBeRemovedBottom};
        for (int r = 0; r < 3; ++r)
            QCOMPARE(tops[r + 1] - tops[r], r == row && lines > 2 ? 300 * lines : 600);
        const int top = tops[row], height = tops[row + 1] - top;
        const char *labels[] = {" 现  任  职  务", " 拟  任  职  务", " 拟  免  职  务"};
        QVERIFY(near(findText(ops, QString::fromUtf8(labels[row]))->y, top + height / 2.0 - 113.4));
        // 简历 and the résumé follow the rows
        const double R = p.postsToBeRemovedBottom;
        QVERIFY(near(findText(ops, QStringLiteral("简"))->y, R + 1386.6));
        QVERIFY(near(findText(ops, QStringLiteral("历"))->y, R + 3486.6));
        QCOMPARE(findText(ops, kResumeLine)->y, double(roundHalfEven(R + 316.5)));

        const QList<Op> msgs = ofKind(ops, Op::Message);
        QCOMPARE(msgs.size(), refused ? 1 : 0);
        if (refused)
            QVERIFY(msgs[0].title == QStringLiteral("系统") && msgs[0].icon == MessageIcon::Information
                    && msgs[0].text == QStringLiteral("输入文字过长，请输入字数少于75！拟任职务"));
        const QList<Op> rowTexts = textsIn(ops, L + 2000, L + W, top, top + height);
        QCOMPARE(joined(rowTexts), refused ? QString() : text);
        for (const Op &op : rowTexts)
            QCOMPARE(op.x, double(roundHalfEven(L + 2097.9)));   // left-aligned
        // one line sits in the middle of its box: the row, or 300 x lines for 拟免
        if (lines == 1) {
            QCOMPARE(rowTexts.size(), 1);
            const double middle = rowTexts[0].y + kaiTiLineHeight(rowTexts[0].size) / 2;
            QVERIFY(std::fabs(middle - (top + (row == 2 ? 150 : height / 2))) <= 1);
        }
    }

    void partyCell_data()
    {
        QTest::addColumn<QStringList>("in");    // partyJoinDate, partyName1..3
        QTest::addColumn<QStringList>("out");   // upper, lower; no lower: the whole cell
        QTest::newRow("date alone") << QStringList{"1985.07", "中共"} << QStringList{"1985.07"};
        QTest::newRow("period date loses dots") << QStringList{"1985.春", "中共"} << QStringList{"1985春"};
        QTest::newRow("one other party") << QStringList{"1990.01", "民盟", "中共"} << QStringList{"民盟", "（1990.01）"};
        QTest::newRow("two other parties") << QStringList{"1990", "中共", "民盟", "九三学社"}
                                           << QStringList{"民盟、九三学社", "（1990）"};
        QTest::newRow("names only") << QStringList{"", "民盟"} << QStringList{"(民盟)"};
        QTest::newRow("three names") << QStringList{"", "民盟", "民进", "致公党"} << QStringList{"(民盟、民进、致公党)"};
        QTest::newRow("中共 and two, no date") << QStringList{"", "中共", "民盟", "民进"} << QStringList{"、民盟、民进"};
    }
    void partyCell()
    {
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        FormPages p;
        p.partyJoinDate = in.value(0);
        p.partyName1 = in.value(1);
        p.partyName2 = in.value(2);
        p.partyName3 = in.value(3);
        const QList<Op> ops = recordPage(p, 1);
        const double top = roundHalfEven(T + 1216.5);
        const QList<Op> cell = textsIn(ops, roundHalfEven(L + 907.2), L + 2041.2, top, top + 600);
        const QString upper = out.value(0), lower = out.value(1);
        if (lower.isEmpty()) {   // the whole cell, wrapped when it must be
            QCOMPARE(joined(cell), upper);
            QVERIFY(cell.size() > 1 || (cell[0].y > top + 100 && cell[0].y < top + 300));
        } else {
            QCOMPARE(cell.size(), 2);
            QVERIFY(cell[0].text == upper && cell[1].text == lower);
            QVERIFY(cell[0].y < top + 300 && cell[1].y >= top + 300);
            QVERIFY(cell[0].size <= cell[1].size);   // the upper line starts at the lower line's size
        }
    }

    // Rows of two lines over each other, one line alone in the whole cell.
    void educationRows()
    {
        FormPages p;
        p.educationItems = QStringLiteral("大学#管理学硕士研究生学位证@#");   // the lower line needs a smaller size
        p.schoolItems = QStringLiteral("某工业大学#@中央党校函授学院#经济管理专业");
        const QList<Op> ops = recordPage(p, 1);
        auto row = [&](double x0, double x1) {
            QStringList out;
            for (const Op &op : textsIn(ops, x0, x1, T + 2400, T + 3600))
                out << QStringLiteral("%1:%2:%3").arg(int((op.y - T - 2416.5) / 300)).arg(op.text).arg(op.size);
            return out;
        };
        QCOMPARE(row(L + 2041.2, L + 4082.4), QStringList({"0:大学:10", "1:管理学硕士研究生学位证:9"}));
        QCOMPARE(row(L + 5216.4, L + W), QStringList({"0:某工业大学:12", "2:中央党校函授学院:12", "3:经济管理专业:12"}));
        QCOMPARE(findText(ops, QStringLiteral("某工业大学"))->x, double(roundHalfEven(L + 5273.1)));   // left-aligned
    }

    // Ages count against ageReferenceDate; no age leaves the gap in "(    岁)" empty.
    void birthAndAge()
    {
        const QList<QStringList> cases = {   // birthDate, ageReferenceDate, birth shown, age shown
            {"196005", "20030326", "1960.05", "42"}, {"196005", "20030526", "1960.05", "43"},
            {"1960秋", "20030526", "1960秋", "42"}, {"19xx", "20030526", "19xx", ""},
            {"19.5", "20030526", "19.5", "1984"}};   // 1983.5 as a whole number
        for (const QStringList &c : cases) {
            FormPages p;
            p.birthDate = c[0];
            p.ageReferenceDate = c[1];
            const QList<Op> ops = recordPage(p, 1);
            const QList<Op> gap = textsIn(ops, L + 5443.2, L + 5443.3, T + 316.5, T + 316.6);
            QVERIFY2(findText(ops, c[2]) && joined(gap) == c[3], qPrintable(c.join(QLatin1Char(' '))));
        }
    }

    // A filled form: its small cells at the default margins, then the whole
    // page moved with the margins while the table keeps its size.
    void filledFormAndMargins()
    {
        FormPages a;
        a.name = QStringLiteral("张三");
        a.sex = QStringLiteral("男");
        a.ethnicGroup = QStringLiteral("汉族");
        a.partyJoinDate = QStringLiteral("1990.01");
        a.partyName1 = QStringLiteral("民盟");
        a.partyName2 = QStringLiteral("中共");
        a.educationItems = QStringLiteral("大学#学士@#");
        a.currentPosts = QStringLiteral("甲").repeated(60);
        a.resume = QStringLiteral("1980--1984  学生\r\n1984--  干部");
        a.birthDate = QStringLiteral("19600512");
        a.ageReferenceDate = QStringLiteral("20240101");
        a.hasPhoto = true;
        a.photoPicture = QImage(30, 40, QImage::Format_RGB32);
        const QList<Op> ops = recordPage(a, 1);
        // cell tops are rounded half to even: T + 616.5 is 1750
        QCOMPARE(findText(ops, a.ethnicGroup)->y, 1750 + 300 - kaiTiLineHeight() / 2);
        const QList<Op> pics = ofKind(ops, Op::Picture);
        QCOMPARE(pics.size(), 1);   // scaled into its box, in place of the label
        QVERIFY(near(pics[0].x, L + 6370.4) && near(pics[0].y, T + 42.35));
        QVERIFY(near(pics[0].x2, 1772.442) && near(pics[0].y2, 2349.48) && !findText(ops, QStringLiteral("照    片")));

        FormPages b = a;
        b.margins.top += 240;   // even shifts keep every half-even rounding in step
        b.margins.pageOneLeft -= 100;
        b.margins.pageTwoLeft += 300;   // page two's margin leaves page one alone
        verifyShifted(ops, recordPage(b, 1), -100, 240);
        b.margins.top = 1135;   // T + 616.5 is 1752
        QCOMPARE(findText(recordPage(b, 1), a.ethnicGroup)->y, 1752 + 300 - kaiTiLineHeight() / 2);
    }
};

QTEST_MAIN(TestPageOne)
#include "tst_pageone.moc"
