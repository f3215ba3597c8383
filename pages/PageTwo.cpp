// Page two of the form: rewards, appraisal, reasons, the family table, the
// reporting unit and date, the approval blocks and the fill-in person.
// Every row has a fixed height; positions are (T, B) plus constants.
#include "pages/FormPages.h"
#include "pages/PageDrawing.h"

#include "layout/CellFitting.h"
#include "record/TextRules.h"

using PageDrawing::kaiTi;

namespace {

// The parts of a family column that are drawn: every part but the one
// after the last "@".
QStringList familyRows(const QString &column, bool stripEachPart)
{
    QStringList parts = (stripEachPart ? column : stripLineBreaks(column)).split(QLatin1Char('@'));
    parts.removeLast();
    if (stripEachPart)
        for (QString &p : parts)
            p = stripLineBreaks(p);
    return parts;
}

} // namespace

void FormPages::drawPageTwo(DrawingSurface &surface)
{
    const double T = margins.top, B = margins.pageTwoLeft, W = margins.tableWidth, H = margins.tableHeight;

    // 1. Outer frame, thick
    surface.setPenWidth(kThickPen);
    surface.drawLine(B, T, B + W, T);
    surface.drawLine(B + W, T, B + W, T + H);
    surface.drawLine(B + W, T + H, B, T + H);
    surface.drawLine(B, T + H, B, T);

    // 2. Section lines across the whole width, thin
    surface.setPenWidth(kThinPen);
    surface.drawLine(B, T + 1210.8, B + W, T + 1210.8);
    surface.drawLine(B, T + 2044.8, B + W, T + 2044.8);
    surface.drawLine(B, T + 3255.6, B + W, T + 3255.6);

    // 3. Label column
    surface.drawLine(B + 623.7, T, B + 623.7, T + H);

    // 4. Family table rows; the last one closes the table across the width
    for (int row = 1; row <= 7; ++row) {
        const double y = T + 3255.6 + 600.0 * row;
        surface.drawLine(B + 623.7, y, B + W, y);
    }
    surface.drawLine(B, T + 8055.6, B + W, T + 8055.6);

    // 5. Family table columns, alternately down and up
    surface.drawLine(B + 1587.6, T + 3255.6, B + 1587.6, T + 8055.6);
    surface.drawLine(B + 2721.6, T + 8055.6, B + 2721.6, T + 3255.6);
    surface.drawLine(B + 3175.2, T + 3255.6, B + 3175.2, T + 8055.6);
    surface.drawLine(B + 4082.4, T + 8055.6, B + 4082.4, T + 3255.6);

    // 6. Top of the approval blocks, thick
    surface.setPenWidth(kThickPen);
    surface.drawLine(B, T + 9809.1, B + W, T + 9809.1);
    surface.setPenWidth(kThinPen);

    // 7. Between the approval blocks, and the second block's label column
    surface.drawLine(B + 4139.1, T + 9809.1, B + 4139.1, T + H);
    surface.drawLine(B + 4819.5, T + H, B + 4819.5, T + 9809.1);

    // 8. Labels
    surface.setFontSize(12);
    surface.setFontName(kaiTi());
    surface.drawText(B + 198.45, T + 73.2, QStringLiteral("奖"));
    surface.drawText(B + 198.45, T + 344.85, QStringLiteral("惩"));
    surface.drawText(B + 198.45, T + 644.85, QStringLiteral("情"));
    surface.drawText(B + 198.45, T + 944.85, QStringLiteral("况"));
    surface.drawText(B + 85.05, T + 1216.5, QStringLiteral("年核"));
    surface.drawText(B + 85.05, T + 1488.15, QStringLiteral("度结"));
    surface.drawText(B + 85.05, T + 1759.8, QStringLiteral("考果"));
    surface.drawText(B + 198.45, T + 2088.15, QStringLiteral("任"));
    surface.drawText(B + 198.45, T + 2388.15, QStringLiteral("免"));
    surface.drawText(B + 198.45, T + 2688.15, QStringLiteral("理"));
    surface.drawText(B + 198.45, T + 2988.15, QStringLiteral("由"));
    const QString family = QStringLiteral("家庭主要成员及重要社会关系");
    for (int i = 0; i < family.size(); ++i)
        surface.drawText(B + 198.45, T + 3766.5 + 300.0 * i, family.mid(i, 1));
    const QString unit = QStringLiteral("呈报单位");
    for (int i = 0; i < unit.size(); ++i)
        surface.drawText(B + 198.45, T + 8400 + 300.0 * i, unit.mid(i, 1));
    surface.drawText(B + 85.05, T + 10151.55, QStringLiteral("审意"));
    surface.drawText(B + 85.05, T + 10451.55, QStringLiteral("批"));
    surface.drawText(B + 85.05, T + 10751.55, QStringLiteral("机"));
    surface.drawText(B + 85.05, T + 11051.55, QStringLiteral("关见"));
    surface.drawText(B + 737.1, T + 3466.5, QStringLiteral("称  谓"));
    surface.drawText(B + 1757.7, T + 3466.5, QStringLiteral("姓   名"));
    surface.drawText(B + 2835, T + 3316.5, QStringLiteral("年"));
    surface.drawText(B + 2835, T + 3616.5, QStringLiteral("龄"));
    surface.drawText(B + 3288.6, T + 3316.5, QStringLiteral("政  治"));
    surface.drawText(B + 3288.6, T + 3616.5, QStringLiteral("面  貌"));
    surface.drawText(B + 4932.9, T + 3466.5, QStringLiteral("工 作 单 位 及 职 务"));
    surface.drawText(B + 2551.5, T + 10816.5, QStringLiteral("(盖章)"));
    surface.drawText(B + 2324.7, T + 11116.5, QStringLiteral("年   月   日"));
    surface.drawText(B + 6690.6, T + 10816.5, QStringLiteral("(盖章)"));
    surface.drawText(B + 6520.5, T + 11116.5, QStringLiteral("年   月   日"));
    surface.drawText(B + 4252.5, T + 10151.55, QStringLiteral("行任"));
    surface.drawText(B + 4252.5, T + 10451.55, QStringLiteral("政免"));
    surface.drawText(B + 4252.5, T + 10751.55, QStringLiteral("机意"));
    surface.drawText(B + 4252.5, T + 11051.55, QStringLiteral("关见"));

    // 9. Reporting date from the fill-in date; leading zeros of month and
    // day are dropped
    const double dateY = T + 9316.5;
    const QString year = fillingDate.left(4);
    const QString month = fillingDate.mid(4, 1) == QLatin1String("0") ? fillingDate.mid(5, 1) : fillingDate.mid(4, 2);
    const QString day = fillingDate.mid(6, 1) == QLatin1String("0") ? fillingDate.mid(7, 1) : fillingDate.mid(6, 2);
    surface.drawText(B + 5273.1, dateY, year + QStringLiteral(" 年"));
    surface.drawText(B + 6254.01, dateY, month);
    surface.drawText(B + 6577.2, dateY, QStringLiteral("月"));
    surface.drawText(B + 6917.4, dateY, day);
    surface.drawText(B + 7257.6, dateY, QStringLiteral("日"));

    // 10. Fill-in person, below the frame
    surface.drawText(B + 283.5, T + 11801.55, QStringLiteral("填表人：") + filledBy);

    // 11. Fields
    fillRewardsAndPunishments(surface);
    fillAppraisalResults(surface);
    fillReasonForAppointment(surface);
    fillFamilyRelations(surface);
    fillFamilyNames(surface);
    fillFamilyAges(surface);
    fillFamilyPoliticalStatus(surface);
    fillFamilyWorkplaces(surface);
    fillReportingUnit(surface);
}

void FormPages::fillRewardsAndPunishments(DrawingSurface &surface)
{
    setCell(margins.pageTwoLeft + 850.5, margins.top + 56.7, 7088, 1077, QStringLiteral("奖惩说明"));
    fitCell(surface, rewardsAndPunishments, HorizontalAlignment::Left, cellLeft);
}

void FormPages::fillAppraisalResults(DrawingSurface &surface)
{
    setCell(margins.pageTwoLeft + 850.5, margins.top + 1261.35, 7088, 737, QStringLiteral("考核"));
    fitCell(surface, appraisalResults, HorizontalAlignment::Left, cellLeft);
}

void FormPages::fillReasonForAppointment(DrawingSurface &surface)
{
    setCell(margins.pageTwoLeft + 850.5, margins.top + 2097.9, 7088, 1077, QStringLiteral("任免理由"));
    fitCell(surface, reasonForAppointment, HorizontalAlignment::Left, cellLeft);
}

void FormPages::fitFamilyCell(DrawingSurface &surface, const QString &text, double cellX, int k, int w,
                              const QString &label, HorizontalAlignment hAlign)
{
    setCell(cellX, margins.top + 3859.8 + 600.0 * k, w, 600, label);
    fitCell(surface, text, hAlign, cellLeft);
}

void FormPages::fillFamilyRelations(DrawingSurface &surface)
{
    const QStringList rows = familyRows(familyRelations, false);
    for (int k = 0; k < rows.size(); ++k)
        fitFamilyCell(surface, rows.at(k), margins.pageTwoLeft + 680.4, k, 964, QStringLiteral("家庭成员称谓"), HorizontalAlignment::Centre);
}

void FormPages::fillFamilyNames(DrawingSurface &surface)
{
    const QStringList rows = familyRows(familyNames, false);
    for (int k = 0; k < rows.size(); ++k)
        fitFamilyCell(surface, rows.at(k), margins.pageTwoLeft + 1587.6, k, 1134, QStringLiteral("家庭成员姓名"), HorizontalAlignment::Centre);
}

void FormPages::fillFamilyAges(DrawingSurface &surface)
{
    const QStringList rows = familyRows(familyBirthDates, false);
    for (int k = 0; k < rows.size(); ++k) {
        const QString age = rows.at(k).isEmpty() ? QString() : ageAt(ageReferenceDate, rows.at(k));
        fitFamilyCell(surface, age, margins.pageTwoLeft + 2749.95, k, 397, QStringLiteral("家庭成员年龄"), HorizontalAlignment::Centre);
    }
}

void FormPages::fillFamilyPoliticalStatus(DrawingSurface &surface)
{
    const QString label = QStringLiteral("家庭成员政治面貌");
    const QStringList rows = familyRows(familyPoliticalStatus, true);
    for (int k = 0; k < rows.size(); ++k) {
        const QString &text = rows.at(k);
        if (text.size() == 4) {
            // Four characters stand as two over two.
            setCell(margins.pageTwoLeft + 3175.2, margins.top + 3859.8 + 600.0 * k, 907, 300, label);
            fitCell(surface, text.left(2), HorizontalAlignment::Centre, cellLeft);
            cellTop += 300;
            fitCell(surface, text.right(2), HorizontalAlignment::Centre, cellLeft);
        } else {
            fitFamilyCell(surface, text, margins.pageTwoLeft + 3175.2, k, 907, label, HorizontalAlignment::Centre);
        }
    }
}

void FormPages::fillFamilyWorkplaces(DrawingSurface &surface)
{
    const QStringList rows = familyRows(familyWorkplaces, false);
    for (int k = 0; k < rows.size(); ++k)
        fitFamilyCell(surface, rows.at(k), margins.pageTwoLeft + 4139.1, k, 3969, QStringLiteral("家庭成员工作单位"), HorizontalAlignment::Left);
}

void FormPages::fillReportingUnit(DrawingSurface &surface)
{
    const QString text = trimSpaces(reportingUnit);
    const int n = text.size();
    if (n == 0)
        return;
    const double B = margins.pageTwoLeft, T = margins.top;
    const QString label = QStringLiteral("呈报单位");
    if (n <= 9) {
        surface.drawText(B + 4932.9, T + 8788.5, text);
        return;
    }
    if (n <= 29)
        setCell(B + 567, T + 8788.5, 6691, 227, label);
    else if (n <= 32)
        setCell(B + 737.1, T + 8788.5, 7371, 227, label);
    else
        setCell(B + 737.1, T + 8788.5, 7144, 454, label);
    fitCell(surface, text, HorizontalAlignment::Left, cellLeft);
}
