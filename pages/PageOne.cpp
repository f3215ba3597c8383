// Page one of the form: title, grid, labels, photo, and one fill method per
// field. Positions are page origin (T, L) plus constants in twips; cell
// rectangles are rounded half to even, text positions and line end points
// are passed as computed.
#include "pages/FormPages.h"
#include "pages/PageDrawing.h"

#include "layout/CellFitting.h"
#include "layout/LineBreaking.h"
#include "layout/ResumeLayout.h"
#include "record/TextRules.h"

using PageDrawing::kaiTi;
using PageDrawing::songTi;

namespace {

const QString kPartyLabel = QStringLiteral("入党时间");

// Height of a position row holding `lines` lines of 25 characters.
int positionRowHeight(int lines)
{
    return lines <= 2 ? 600 : 300 * lines;
}

// Closing marks that stay at the end of the last full line.
bool isTrailingClosingMark(QChar c)
{
    static const QString marks = QStringLiteral("。.”》)）'\"；;>:：?？!！,，");
    return marks.contains(c);
}

} // namespace

int FormPages::positionRowLines(const QString &text)
{
    const WrappedLineCount counted = countWrappedLines(text, 25);
    const int n = text.size() - counted.pulled + counted.pushed;
    if (n <= 0)
        return 0;
    int lines = n % 25 == 0 ? n / 25 : n / 25 + 1;
    if (n % 25 == 1 && !text.isEmpty() && isTrailingClosingMark(text.back()))
        lines -= 1;
    return lines;
}

void FormPages::drawPageOne(DrawingSurface &surface)
{
    const double T = margins.top, L = margins.pageOneLeft, W = margins.tableWidth, H = margins.tableHeight;

    // 1. Title
    surface.setFontSize(20);
    surface.setFontName(songTi());
    surface.setPenWidth(kThickPen);
    surface.drawText(L + 1984.5, T - 567, QStringLiteral("干 部 任 免 审 批 表"));

    // 2. Outer frame, thick
    surface.drawLine(L, T, L + W, T);
    surface.drawLine(L + W, T, L + W, T + H);
    surface.drawLine(L + W, T + H, L, T + H);
    surface.drawLine(L, T + H, L, T);

    // 3. Horizontal grid, thin
    surface.setPenWidth(kThinPen);
    surface.drawLine(L, T + 600, L + 6350.4, T + 600);
    surface.drawLine(L, T + 1200, L + 6350.4, T + 1200);
    surface.drawLine(L, T + 1800, L + 6350.4, T + 1800);
    surface.drawLine(L, T + 2400, L + W, T + 2400);
    surface.drawLine(L + 907.2, T + 3000, L + W, T + 3000);
    surface.drawLine(L, T + 3600, L + W, T + 3600);

    // 4./5. The three position rows grow with their texts; each row's top
    // is the bottom of the one above, so count and draw row by row.
    double y = T + 3600;
    const double currentPostsTop = y;
    currentPostsLines = positionRowLines(currentPosts);
    y += positionRowHeight(currentPostsLines);
    surface.drawLine(L, y, L + W, y);
    currentPostsBottom = roundHalfEven(y);

    const double proposedPostsTop = currentPostsBottom;
    proposedPostsLines = positionRowLines(proposedPosts);
    y = proposedPostsTop + positionRowHeight(proposedPostsLines);
    surface.drawLine(L, y, L + W, y);
    proposedPostsBottom = roundHalfEven(y);

    const double postsToBeRemovedTop = proposedPostsBottom;
    postsToBeRemovedLines = positionRowLines(postsToBeRemoved);
    y = postsToBeRemovedTop + positionRowHeight(postsToBeRemovedLines);
    surface.setPenWidth(kThickPen);
    surface.drawLine(L, y, L + W, y);
    surface.setPenWidth(kThinPen);
    postsToBeRemovedBottom = roundHalfEven(y);

    // 6. Vertical grid, thin
    surface.drawLine(L + 680.4, postsToBeRemovedBottom, L + 680.4, T + H);
    surface.drawLine(L + 2041.2, T + 3600, L + 2041.2, postsToBeRemovedBottom);
    surface.drawLine(L + 907.2, T, L + 907.2, T + 3600);
    surface.drawLine(L + 2041.2, T, L + 2041.2, T + 1800);
    surface.drawLine(L + 2948.4, T, L + 2948.4, T + 2400);
    surface.drawLine(L + 4082.4, T, L + 4082.4, T + 3600);
    surface.drawLine(L + 5216.4, T, L + 5216.4, T + 1800);
    surface.drawLine(L + 6350.4, T, L + 6350.4, T + 2400);
    surface.drawLine(L + 2041.2, T + 2400, L + 2041.2, T + 3600);
    surface.drawLine(L + 5216.4, T + 2400, L + 5216.4, T + 3600);

    // 7. Labels
    surface.setFontSize(12);
    surface.setFontName(kaiTi());
    const double R = postsToBeRemovedBottom;
    surface.drawText(L + 113.4, T + 186.6, QStringLiteral("姓  名"));
    surface.drawText(L + 2154.6, T + 786.6, QStringLiteral("籍  贯"));
    surface.drawText(L + 4195.8, T + 786.6, QStringLiteral("出 生 地"));
    surface.drawText(L + 4195.8, T + 1386.6, QStringLiteral("健康状况"));
    surface.drawText(L + 113.4, T + 2736.6, QStringLiteral("学  历"));
    surface.drawText(L + 113.4, T + 3036.6, QStringLiteral("学  位"));
    surface.drawText(L + 113.4, T + 1836.6, QStringLiteral("专业技"));
    surface.drawText(L + 113.4, T + 2136.6, QStringLiteral("术职务"));
    surface.drawText(L + 85.05, currentPostsTop + positionRowHeight(currentPostsLines) / 2.0 - 113.4,
            QStringLiteral(" 现  任  职  务"));
    surface.drawText(L + 85.05, proposedPostsTop + positionRowHeight(proposedPostsLines) / 2.0 - 113.4,
            QStringLiteral(" 拟  任  职  务"));
    surface.drawText(L + 85.05, postsToBeRemovedTop + positionRowHeight(postsToBeRemovedLines) / 2.0 - 113.4,
            QStringLiteral(" 拟  免  职  务"));
    surface.drawText(L + 226.8, R + 1386.6, QStringLiteral("简"));
    surface.drawText(L + 226.8, R + 3486.6, QStringLiteral("历"));
    surface.drawText(L + 2154.6, T + 186.6, QStringLiteral("性  别"));
    surface.drawText(L + 113.4, T + 1236.6, QStringLiteral("入  党"));
    surface.drawText(L + 113.4, T + 1536.6, QStringLiteral("时  间"));
    surface.drawText(L + 2154.6, T + 1236.6, QStringLiteral("参加工"));
    surface.drawText(L + 2154.6, T + 1536.6, QStringLiteral("作时间"));
    surface.drawText(L + 113.4, T + 786.6, QStringLiteral("民  族"));
    surface.drawText(L + 3061.8, T + 1836.6, QStringLiteral("熟悉专业"));
    surface.drawText(L + 3061.8, T + 2136.6, QStringLiteral("有何专长"));
    surface.drawText(L + 1134, T + 2436.6, QStringLiteral("全日制"));
    surface.drawText(L + 1134, T + 2736.6, QStringLiteral("教  育"));
    surface.drawText(L + 1134, T + 3036.6, QStringLiteral("在  职"));
    surface.drawText(L + 1134, T + 3336.6, QStringLiteral("教  育"));
    surface.drawText(L + 4195.8, T + 2436.6, QStringLiteral("毕业院校"));
    surface.drawText(L + 4195.8, T + 2736.6, QStringLiteral("系及专业"));
    surface.drawText(L + 4195.8, T + 3036.6, QStringLiteral("毕业院校"));
    surface.drawText(L + 4195.8, T + 3336.6, QStringLiteral("系及专业"));
    surface.drawText(L + 4195.8, T + 36.6, QStringLiteral("出生年月"));
    surface.drawText(L + 4139.1, T + 336.6, QStringLiteral("(    岁)"));
    surface.drawText(L + 5273.1, T + 336.6, QStringLiteral("(    岁)"));

    // 8. Photo, scaled into its box whatever its proportions
    if (hasPhoto && !photoPicture.isNull())
        surface.drawPicture(photoPicture, L + 6350.4 + 20, T + 14 + 28.35, 1772.442, 2349.48);
    else
        surface.drawText(L + 6804, T + 1020.6, QStringLiteral("照    片"));

    // 9. Fields
    fillName(surface);
    fillSex(surface);
    fillBirthDate(surface);
    fillAge(surface);
    fillEthnicGroup(surface);
    fillNativePlace(surface);
    fillPartyMembership(surface);
    fillHealth(surface);
    fillBirthPlace(surface);
    fillWorkStartDate(surface);
    fillEducationLevels(surface);
    fillSchools(surface);
    fillProfessionalTitle(surface);
    fillSpecialities(surface);
    fillCurrentPosts(surface);
    fillProposedPosts(surface);
    fillPostsToBeRemoved(surface);
    fillResume(surface);
}

void FormPages::setCell(double x, double y, int w, int h, const QString &label)
{
    cellLeft = roundHalfEven(x);
    cellTop = roundHalfEven(y);
    cellWidth = w;
    cellHeight = h;
    cellLabel = label;
}

void FormPages::fitCell(DrawingSurface &surface, const QString &text, HorizontalAlignment hAlign, int textLeft)
{
    fitTextInArea(text, textLeft, cellTop, cellWidth, cellHeight, surface, cellLabel, 1.0, hAlign);
}

// The small cells of rows 1-3 start their text 28.35 twips in from the
// grid line; the offset is added before rounding.
void FormPages::fitIndentedCell(DrawingSurface &surface, const QString &text, double cellX, double cellY,
                                const QString &label)
{
    setCell(cellX, cellY, 1134, 600, label);
    fitCell(surface, text, HorizontalAlignment::Centre, roundHalfEven(cellX + 28.35));
}

void FormPages::fillName(DrawingSurface &surface)
{
    fitIndentedCell(surface, name, margins.pageOneLeft + 907.2, margins.top, QStringLiteral("姓名"));
}

void FormPages::fillSex(DrawingSurface &surface)
{
    surface.drawText(margins.pageOneLeft + 3402, margins.top + 166.5, stripLineBreaks(sex));
}

QString FormPages::printedDate(const QString &raw)
{
    QString text = dotDate(stripLineBreaks(raw));
    if (!isNumeric(text))
        text = removeChar(text, QStringLiteral("."));
    return text;
}

void FormPages::fillBirthDate(DrawingSurface &surface)
{
    setCell(margins.pageOneLeft + 5216.4, margins.top, 1134, 300, QStringLiteral("出生年月"));
    fitCell(surface, printedDate(birthDate), HorizontalAlignment::Centre, cellLeft);
}

QString FormPages::printedAge() const
{
    if (birthDate.isEmpty())
        return QString();
    const QString age = ageAt(ageReferenceDate, trimSpaces(birthDate));
    bool ok = false;
    const double years = age.toDouble(&ok);
    if (!ok)
        return QString();   // no age can be computed from this birth date
    // A fractional result (a year such as "19.5") becomes the nearest whole
    // number, halves to even.
    return QString::number(roundHalfEven(years));
}

void FormPages::fillAge(DrawingSurface &surface)
{
    const QString age = printedAge();
    if (!age.isEmpty())
        surface.drawText(margins.pageOneLeft + 5443.2, margins.top + 316.5, age);
}

void FormPages::fillEthnicGroup(DrawingSurface &surface)
{
    fitIndentedCell(surface, ethnicGroup, margins.pageOneLeft + 907.2, margins.top + 616.5, QStringLiteral("民族"));
}

void FormPages::fillNativePlace(DrawingSurface &surface)
{
    fitIndentedCell(surface, nativePlace, margins.pageOneLeft + 2948.4, margins.top + 616.5, QStringLiteral("籍贯"));
}

void FormPages::fillBirthPlace(DrawingSurface &surface)
{
    fitIndentedCell(surface, birthPlace, margins.pageOneLeft + 5216.4, margins.top + 616.5, QStringLiteral("出生地"));
}

void FormPages::fillPartyMembership(DrawingSurface &surface)
{
    setCell(margins.pageOneLeft + 907.2, margins.top + 1216.5, 1134, 2 * 300, kPartyLabel);
    fillPartyCell(surface, partyJoinDate, partyName1, partyName2, partyName3);
}

void FormPages::fillWorkStartDate(DrawingSurface &surface)
{
    setCell(margins.pageOneLeft + 2948.4, margins.top + 1216.5, 1134, 600, QStringLiteral("参加工作时间"));
    fitCell(surface, printedDate(workStartDate), HorizontalAlignment::Centre, cellLeft);
}

void FormPages::fillHealth(DrawingSurface &surface)
{
    fitIndentedCell(surface, health, margins.pageOneLeft + 5216.4, margins.top + 1216.5, QStringLiteral("健康状况"));
}

void FormPages::fillProfessionalTitle(DrawingSurface &surface)
{
    setCell(margins.pageOneLeft + 963.9, margins.top + 1816.5, 1984, 600, QStringLiteral("专业技术职务"));
    fitCell(surface, professionalTitle, HorizontalAlignment::Centre, cellLeft);
}

void FormPages::fillSpecialities(DrawingSurface &surface)
{
    setCell(margins.pageOneLeft + 4082.4, margins.top + 1816.5, 2268, 600, QStringLiteral("熟悉专业有何专长"));
    fitCell(surface, specialities, HorizontalAlignment::Centre, cellLeft);
}

QString FormPages::printedPartyDate(const QString &joinDate)
{
    if (!joinDate.isEmpty() && !isNumeric(joinDate))
        return removeChar(joinDate, QStringLiteral("."));
    return joinDate;
}

QString FormPages::partyNamesLine(const QString &party1, const QString &party2, const QString &party3)
{
    const QString communistParty = QStringLiteral("中共");
    const bool listsCommunistParty = party1 == communistParty || party2 == communistParty || party3 == communistParty;
    QStringList names;
    for (const QString &p : {party1, party2, party3}) {
        if (p.isEmpty() || (listsCommunistParty && p == communistParty))
            continue;
        names << p;
    }
    if (names.isEmpty())
        return QString();
    if (names.size() == 1)
        return QLatin1Char('(') + names.front() + QLatin1Char(')');
    if (listsCommunistParty)
        return QStringLiteral("、") + names.at(0) + QStringLiteral("、") + names.at(1);
    return QLatin1Char('(') + names.join(QStringLiteral("、")) + QLatin1Char(')');
}

void FormPages::fillPartyCell(DrawingSurface &surface, const QString &partyTime, const QString &party1,
                          const QString &party2, const QString &party3)
{
    const int x = roundHalfEven(margins.pageOneLeft + 907.2);
    const int top = roundHalfEven(margins.top + 1216.5);
    const int lowerTop = roundHalfEven(margins.top + 1516.5);

    const QString names = partyNamesLine(party1, party2, party3);
    const QString date = printedPartyDate(partyTime);

    const bool bracketed = names.startsWith(QLatin1Char('('));
    const bool listed = names.startsWith(QStringLiteral("、"));
    if (!date.isEmpty() && (bracketed || listed)) {
        // Names over the date in parentheses, both lines at one size.
        const QString upper = bracketed ? names.mid(1, names.size() - 2) : names.mid(1);
        const QString lower = QStringLiteral("（") + date + QStringLiteral("）");
        const double s1 = findFittingFontSize(surface.measuring(), bracketed ? upper : names, 1134, 300, songTi(), 12);
        const double s2 = findFittingFontSize(surface.measuring(), lower, 1134, 300, songTi(), s1);
        surface.setFontSize(s2);
        fitTextInArea(upper, x, top, 1134, 300, surface, kPartyLabel, 1.0, HorizontalAlignment::Centre);
        fitTextInArea(lower, x, lowerTop, 1134, 300, surface, kPartyLabel, 1.0, HorizontalAlignment::Centre);
    } else if (!date.isEmpty()) {
        fitTextInArea(date, x, top, 1134, 600, surface, kPartyLabel, 1.0, HorizontalAlignment::Centre);
    } else {
        fitTextInArea(names, x, top, 1134, 600, surface, kPartyLabel, 1.0, HorizontalAlignment::Centre);
    }
    surface.setFontSize(12);
}

// One education row: an upper and a lower line joined by "#"; both present
// share the smaller of their fitting sizes.
void FormPages::fillEducationRow(DrawingSurface &surface, const QString &row, int y, bool schoolColumn)
{
    if (row.isEmpty())
        return;
    const QStringList lines = row.split(QLatin1Char('#'));
    const QString upper = lines.value(0);
    const QString lower = lines.value(1);
    const HorizontalAlignment hAlign = schoolColumn ? HorizontalAlignment::Left : HorizontalAlignment::Centre;
    auto fit = [&](const QString &text, int top, int h) {
        if (schoolColumn)
            fitTextInAreaInTwoPointSteps(text, cellLeft, top, cellWidth, h, surface, cellLabel, 1.0, hAlign);
        else
            fitTextInArea(text, cellLeft, top, cellWidth, h, surface, cellLabel, 1.0, hAlign);
    };
    cellTop = y;
    if (upper.isEmpty() || lower.isEmpty()) {
        fit(upper.isEmpty() ? lower : upper, y, 600);
        return;
    }
    const double before = surface.fontSize();
    const double s1 = findFittingFontSize(surface.measuring(), upper, cellWidth, 300, songTi(), 12);
    const double s2 = findFittingFontSize(surface.measuring(), lower, cellWidth, 300, songTi(), 12);
    surface.setFontSize(qMin(s1, s2));
    fit(upper, y, 300);
    fit(lower, y + 300, 300);
    surface.setFontSize(before);
}

void FormPages::fillEducation(DrawingSurface &surface, const QString &item, double cellX, int w,
                              const QString &label, bool schoolColumn)
{
    setCell(cellX, margins.top + 2416.5, w, 600, label);
    const QStringList rows = stripLineBreaks(item).split(QLatin1Char('@'));
    fillEducationRow(surface, rows.value(0), roundHalfEven(margins.top + 2416.5), schoolColumn);
    fillEducationRow(surface, rows.value(1), roundHalfEven(margins.top + 3016.5), schoolColumn);
}

void FormPages::fillEducationLevels(DrawingSurface &surface)
{
    fillEducation(surface, educationItems, margins.pageOneLeft + 2041.2, 2041, QStringLiteral("学历学位"), false);
}

void FormPages::fillSchools(DrawingSurface &surface)
{
    fillEducation(surface, schoolItems, margins.pageOneLeft + 5273.1, 2892, QStringLiteral("毕业院校及专业"), true);
}

// A position row: texts of 76 characters or more are refused with a message
// and the cell stays empty.
void FormPages::fillPositionRow(DrawingSurface &surface, const QString &text, int top, int height,
                                const QString &label)
{
    setCell(margins.pageOneLeft + 2097.9, top, 6067, height, label);
    const QString work = text;
    if (work.size() <= 75)
        fitCell(surface, work, HorizontalAlignment::Left, cellLeft);
    else
        surface.showMessage({FailureKind::TooLongForCell, QStringLiteral("输入文字过长，请输入字数少于75！") + label});
}

void FormPages::fillCurrentPosts(DrawingSurface &surface)
{
    const int top = roundHalfEven(margins.top + 3600);
    fillPositionRow(surface, currentPosts, top, currentPostsBottom - top, QStringLiteral("现任职务"));
}

void FormPages::fillProposedPosts(DrawingSurface &surface)
{
    fillPositionRow(surface, proposedPosts, currentPostsBottom, proposedPostsBottom - currentPostsBottom, QStringLiteral("拟任职务"));
}

void FormPages::fillPostsToBeRemoved(DrawingSurface &surface)
{
    // The box is the text's own height, not the row's.
    fillPositionRow(surface, postsToBeRemoved, proposedPostsBottom, 300 * postsToBeRemovedLines, QStringLiteral("拟免职务"));
}

int FormPages::resumeTop() const
{
    // Position rows of three lines or more push the résumé down.
    int extraRows = 0;
    for (const QString *posts : {&currentPosts, &proposedPosts, &postsToBeRemoved})
        extraRows += qMax(positionRowLines(*posts), 2) - 2;
    return roundHalfEven(margins.top - 283.5 + 6000 + 300.0 * extraRows);
}

double FormPages::resumeRoom() const
{
    return margins.tableWidth - kResumeIndent;
}

void FormPages::fillResume(DrawingSurface &surface)
{
    printResume(resume, roundHalfEven(margins.pageOneLeft + kResumeIndent), resumeTop(), surface, 0,
                margins.pageOneLeft + margins.tableWidth);
}
