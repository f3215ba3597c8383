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
using PageDrawing::printAt;
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
    const WrappedLineCount counted = CountWrappedLines(text, 25);
    const int n = text.size() - counted.pulled + counted.pushed;
    if (n <= 0)
        return 0;
    int lines = n % 25 == 0 ? n / 25 : n / 25 + 1;
    if (n % 25 == 1 && !text.isEmpty() && isTrailingClosingMark(text.back()))
        lines -= 1;
    return lines;
}

void FormPages::预览(DrawingSurface &OBJECTS, int XIANKUAN1, int XIANKUAN2)
{
    const double T = margins.T, L = margins.L, W = margins.W, H = margins.H;

    // 1. Title
    OBJECTS.setFontSize(20);
    OBJECTS.setFontName(songTi());
    OBJECTS.setDrawWidth(XIANKUAN1);
    printAt(OBJECTS, L + 1984.5, T - 567, QStringLiteral("干 部 任 免 审 批 表"));

    // 2. Outer frame, thick
    OBJECTS.Line(L, T, L + W, T);
    OBJECTS.Line(L + W, T, L + W, T + H);
    OBJECTS.Line(L + W, T + H, L, T + H);
    OBJECTS.Line(L, T + H, L, T);

    // 3. Horizontal grid, thin
    OBJECTS.setDrawWidth(XIANKUAN2);
    OBJECTS.Line(L, T + 600, L + 6350.4, T + 600);
    OBJECTS.Line(L, T + 1200, L + 6350.4, T + 1200);
    OBJECTS.Line(L, T + 1800, L + 6350.4, T + 1800);
    OBJECTS.Line(L, T + 2400, L + W, T + 2400);
    OBJECTS.Line(L + 907.2, T + 3000, L + W, T + 3000);
    OBJECTS.Line(L, T + 3600, L + W, T + 3600);

    // 4./5. The three position rows grow with their texts; each row's top
    // is the bottom of the one above, so count and draw row by row.
    double y = T + 3600;
    const double xianRenTop = y;
    XianRenLines = positionRowLines(XIANREN);
    y += positionRowHeight(XianRenLines);
    OBJECTS.Line(L, y, L + W, y);
    XianRenBottom = roundHalfEven(y);

    const double niRenTop = XianRenBottom;
    NiRenLines = positionRowLines(NIREN);
    y = niRenTop + positionRowHeight(NiRenLines);
    OBJECTS.Line(L, y, L + W, y);
    NiRenBottom = roundHalfEven(y);

    const double niMianTop = NiRenBottom;
    NiMianLines = positionRowLines(NIMIAN);
    y = niMianTop + positionRowHeight(NiMianLines);
    OBJECTS.setDrawWidth(XIANKUAN1);
    OBJECTS.Line(L, y, L + W, y);
    OBJECTS.setDrawWidth(XIANKUAN2);
    NiMianBottom = roundHalfEven(y);

    // 6. Vertical grid, thin
    OBJECTS.Line(L + 680.4, NiMianBottom, L + 680.4, T + H);
    OBJECTS.Line(L + 2041.2, T + 3600, L + 2041.2, NiMianBottom);
    OBJECTS.Line(L + 907.2, T, L + 907.2, T + 3600);
    OBJECTS.Line(L + 2041.2, T, L + 2041.2, T + 1800);
    OBJECTS.Line(L + 2948.4, T, L + 2948.4, T + 2400);
    OBJECTS.Line(L + 4082.4, T, L + 4082.4, T + 3600);
    OBJECTS.Line(L + 5216.4, T, L + 5216.4, T + 1800);
    OBJECTS.Line(L + 6350.4, T, L + 6350.4, T + 2400);
    OBJECTS.Line(L + 2041.2, T + 2400, L + 2041.2, T + 3600);
    OBJECTS.Line(L + 5216.4, T + 2400, L + 5216.4, T + 3600);

    // 7. Labels
    OBJECTS.setFontSize(12);
    OBJECTS.setFontName(kaiTi());
    const double R = NiMianBottom;
    printAt(OBJECTS, L + 113.4, T + 186.6, QStringLiteral("姓  名"));
    printAt(OBJECTS, L + 2154.6, T + 786.6, QStringLiteral("籍  贯"));
    printAt(OBJECTS, L + 4195.8, T + 786.6, QStringLiteral("出 生 地"));
    printAt(OBJECTS, L + 4195.8, T + 1386.6, QStringLiteral("健康状况"));
    printAt(OBJECTS, L + 113.4, T + 2736.6, QStringLiteral("学  历"));
    printAt(OBJECTS, L + 113.4, T + 3036.6, QStringLiteral("学  位"));
    printAt(OBJECTS, L + 113.4, T + 1836.6, QStringLiteral("专业技"));
    printAt(OBJECTS, L + 113.4, T + 2136.6, QStringLiteral("术职务"));
    printAt(OBJECTS, L + 85.05, xianRenTop + positionRowHeight(XianRenLines) / 2.0 - 113.4,
            QStringLiteral(" 现  任  职  务"));
    printAt(OBJECTS, L + 85.05, niRenTop + positionRowHeight(NiRenLines) / 2.0 - 113.4,
            QStringLiteral(" 拟  任  职  务"));
    printAt(OBJECTS, L + 85.05, niMianTop + positionRowHeight(NiMianLines) / 2.0 - 113.4,
            QStringLiteral(" 拟  免  职  务"));
    printAt(OBJECTS, L + 226.8, R + 1386.6, QStringLiteral("简"));
    printAt(OBJECTS, L + 226.8, R + 3486.6, QStringLiteral("历"));
    printAt(OBJECTS, L + 2154.6, T + 186.6, QStringLiteral("性  别"));
    printAt(OBJECTS, L + 113.4, T + 1236.6, QStringLiteral("入  党"));
    printAt(OBJECTS, L + 113.4, T + 1536.6, QStringLiteral("时  间"));
    printAt(OBJECTS, L + 2154.6, T + 1236.6, QStringLiteral("参加工"));
    printAt(OBJECTS, L + 2154.6, T + 1536.6, QStringLiteral("作时间"));
    printAt(OBJECTS, L + 113.4, T + 786.6, QStringLiteral("民  族"));
    printAt(OBJECTS, L + 3061.8, T + 1836.6, QStringLiteral("熟悉专业"));
    printAt(OBJECTS, L + 3061.8, T + 2136.6, QStringLiteral("有何专长"));
    printAt(OBJECTS, L + 1134, T + 2436.6, QStringLiteral("全日制"));
    printAt(OBJECTS, L + 1134, T + 2736.6, QStringLiteral("教  育"));
    printAt(OBJECTS, L + 1134, T + 3036.6, QStringLiteral("在  职"));
    printAt(OBJECTS, L + 1134, T + 3336.6, QStringLiteral("教  育"));
    printAt(OBJECTS, L + 4195.8, T + 2436.6, QStringLiteral("毕业院校"));
    printAt(OBJECTS, L + 4195.8, T + 2736.6, QStringLiteral("系及专业"));
    printAt(OBJECTS, L + 4195.8, T + 3036.6, QStringLiteral("毕业院校"));
    printAt(OBJECTS, L + 4195.8, T + 3336.6, QStringLiteral("系及专业"));
    printAt(OBJECTS, L + 4195.8, T + 36.6, QStringLiteral("出生年月"));
    printAt(OBJECTS, L + 4139.1, T + 336.6, QStringLiteral("(    岁)"));
    printAt(OBJECTS, L + 5273.1, T + 336.6, QStringLiteral("(    岁)"));

    // 8. Photo, scaled into its box whatever its proportions
    if (hasPhoto && !photoPicture.isNull())
        OBJECTS.PaintPicture(photoPicture, L + 6350.4 + 20, T + 14 + 28.35, 1772.442, 2349.48);
    else
        printAt(OBJECTS, L + 6804, T + 1020.6, QStringLiteral("照    片"));

    // 9. Fields
    FILLNAME(OBJECTS);
    FILLSEX(OBJECTS);
    FILLBIRTH(OBJECTS);
    FILLAGE(OBJECTS);
    FILLPEOPLE(OBJECTS);
    FILLJIGUAN(OBJECTS);
    FILLPARTYTIME(OBJECTS);
    FILLHEALTH(OBJECTS);
    FILLBIRTHDI(OBJECTS);
    FILLWORKTIME(OBJECTS);
    FILLXUELI(OBJECTS);
    FILLBIYE(OBJECTS);
    FILLXUEWEI(OBJECTS);
    FILLSHUXI(OBJECTS);
    FILLXIANREN(OBJECTS);
    FILLNIREN(OBJECTS);
    FILLNIMIAN(OBJECTS);
    FILLJIANLI(OBJECTS);
}

void FormPages::setCell(double x, double y, int w, int h, const QString &label)
{
    CellLeft = roundHalfEven(x);
    CellTop = roundHalfEven(y);
    CellWidth = w;
    CellHeight = h;
    CellLabel = label;
}

void FormPages::fitCell(DrawingSurface &OBJECTS, const QString &text, int hAlign, int textLeft)
{
    FitTextInArea(text, textLeft, CellTop, CellWidth, CellHeight, OBJECTS, CellLabel, 1.0, hAlign, 0, 0);
}

// The small cells of rows 1-3 start their text 28.35 twips in from the
// grid line; the offset is added before rounding.
void FormPages::fitIndentedCell(DrawingSurface &OBJECTS, const QString &text, double cellX, double cellY,
                                const QString &label)
{
    setCell(cellX, cellY, 1134, 600, label);
    fitCell(OBJECTS, text, 0, roundHalfEven(cellX + 28.35));
}

void FormPages::FILLNAME(DrawingSurface &OBJECTS)
{
    fitIndentedCell(OBJECTS, TNAME, margins.L + 907.2, margins.T, QStringLiteral("姓名"));
}

void FormPages::FILLSEX(DrawingSurface &OBJECTS)
{
    printAt(OBJECTS, margins.L + 3402, margins.T + 166.5, StripLineBreaks(SEX));
}

// A dotted date; a text that is not a number (a period word) loses its dots.
static QString printedDate(const QString &raw)
{
    QString text = DotDate(StripLineBreaks(raw));
    if (!IsNumeric(text))
        text = RemoveChar(text, QStringLiteral("."));
    return text;
}

void FormPages::FILLBIRTH(DrawingSurface &OBJECTS)
{
    setCell(margins.L + 5216.4, margins.T, 1134, 300, QStringLiteral("出生年月"));
    fitCell(OBJECTS, printedDate(BIRTH), 0, CellLeft);
}

void FormPages::FILLAGE(DrawingSurface &OBJECTS)
{
    if (BIRTH.isEmpty())
        return;
    const QString age = AgeAt(MYDATE, TrimSpaces(BIRTH));
    bool ok = false;
    const double years = age.toDouble(&ok);
    if (!ok)
        return;   // no age can be computed from this birth date
    // A fractional result (a year such as "19.5") becomes the nearest whole
    // number, halves to even.
    printAt(OBJECTS, margins.L + 5443.2, margins.T + 316.5, QString::number(roundHalfEven(years)));
}

void FormPages::FILLPEOPLE(DrawingSurface &OBJECTS)
{
    fitIndentedCell(OBJECTS, PEOPLE, margins.L + 907.2, margins.T + 616.5, QStringLiteral("民族"));
}

void FormPages::FILLJIGUAN(DrawingSurface &OBJECTS)
{
    fitIndentedCell(OBJECTS, JIGUAN, margins.L + 2948.4, margins.T + 616.5, QStringLiteral("籍贯"));
}

void FormPages::FILLBIRTHDI(DrawingSurface &OBJECTS)
{
    fitIndentedCell(OBJECTS, BIRTHDI, margins.L + 5216.4, margins.T + 616.5, QStringLiteral("出生地"));
}

void FormPages::FILLPARTYTIME(DrawingSurface &OBJECTS)
{
    setCell(margins.L + 907.2, margins.T + 1216.5, 1134, 2 * 300, kPartyLabel);
    FillParty(OBJECTS, PARTYTIME, PARTY1, PARTY2, PARTY3);
}

void FormPages::FILLWORKTIME(DrawingSurface &OBJECTS)
{
    setCell(margins.L + 2948.4, margins.T + 1216.5, 1134, 600, QStringLiteral("参加工作时间"));
    QString text = DotDate(WORKTIME);
    if (!IsNumeric(text))
        text = RemoveChar(text, QStringLiteral("."));
    fitCell(OBJECTS, text, 0, CellLeft);
}

void FormPages::FILLHEALTH(DrawingSurface &OBJECTS)
{
    fitIndentedCell(OBJECTS, HEALTH, margins.L + 5216.4, margins.T + 1216.5, QStringLiteral("健康状况"));
}

void FormPages::FILLXUEWEI(DrawingSurface &OBJECTS)
{
    setCell(margins.L + 963.9, margins.T + 1816.5, 1984, 600, QStringLiteral("专业技术职务"));
    fitCell(OBJECTS, XUEWEI, 0, CellLeft);
}

void FormPages::FILLSHUXI(DrawingSurface &OBJECTS)
{
    setCell(margins.L + 4082.4, margins.T + 1816.5, 2268, 600, QStringLiteral("熟悉专业有何专长"));
    fitCell(OBJECTS, SHUXI, 0, CellLeft);
}

QString FormPages::partyNamesLine(const QString &party1, const QString &party2, const QString &party3)
{
    const QString zhonggong = QStringLiteral("中共");
    const bool withZhonggong = party1 == zhonggong || party2 == zhonggong || party3 == zhonggong;
    QStringList names;
    for (const QString &p : {party1, party2, party3}) {
        if (p.isEmpty() || (withZhonggong && p == zhonggong))
            continue;
        names << p;
    }
    if (names.isEmpty())
        return QString();
    if (names.size() == 1)
        return QLatin1Char('(') + names.front() + QLatin1Char(')');
    if (withZhonggong)
        return QStringLiteral("、") + names.at(0) + QStringLiteral("、") + names.at(1);
    return QLatin1Char('(') + names.join(QStringLiteral("、")) + QLatin1Char(')');
}

void FormPages::FillParty(DrawingSurface &OBJECTS, const QString &partyTime, const QString &party1,
                          const QString &party2, const QString &party3)
{
    const int x = roundHalfEven(margins.L + 907.2);
    const int top = roundHalfEven(margins.T + 1216.5);
    const int lowerTop = roundHalfEven(margins.T + 1516.5);

    const QString names = partyNamesLine(party1, party2, party3);
    QString date = partyTime;
    if (!date.isEmpty() && !IsNumeric(date))
        date = RemoveChar(date, QStringLiteral("."));

    const bool bracketed = names.startsWith(QLatin1Char('('));
    const bool listed = names.startsWith(QStringLiteral("、"));
    if (!date.isEmpty() && (bracketed || listed)) {
        // Names over the date in parentheses, both lines at one size.
        const QString upper = bracketed ? names.mid(1, names.size() - 2) : names.mid(1);
        const QString lower = QStringLiteral("（") + date + QStringLiteral("）");
        const double s1 = FindFitFontSize(OBJECTS.measuring(), bracketed ? upper : names, 1134, 300, songTi(), 12);
        const double s2 = FindFitFontSize(OBJECTS.measuring(), lower, 1134, 300, songTi(), s1);
        OBJECTS.setFontSize(s2);
        FitTextInArea(upper, x, top, 1134, 300, OBJECTS, kPartyLabel, 1.0, 0, 0, 0);
        FitTextInArea(lower, x, lowerTop, 1134, 300, OBJECTS, kPartyLabel, 1.0, 0, 0, 0);
    } else if (!date.isEmpty()) {
        FitTextInArea(date, x, top, 1134, 600, OBJECTS, kPartyLabel, 1.0, 0, 0, 0);
    } else {
        FitTextInArea(names, x, top, 1134, 600, OBJECTS, kPartyLabel, 1.0, 0, 0, 0);
    }
    OBJECTS.setFontSize(12);
}

void FormPages::setPartyValue(const QString &partyText)
{
    if (IsNumeric(partyText)) {
        PARTYTIME = partyText.size() != 4 ? partyText.left(4) + QLatin1Char('.') + partyText.mid(4, 2)
                                          : partyText;
        PARTY1 = QStringLiteral("中共");
        PARTY2.clear();
        PARTY3.clear();
    } else if (partyText.contains(QStringLiteral("；"))) {
        const QStringList parts = partyText.split(QStringLiteral("；"));
        PARTYTIME = parts.value(0);
        PARTY1 = QStringLiteral("中共");
        PARTY2 = parts.value(1);
        PARTY3 = parts.value(2);
    } else {
        PARTYTIME.clear();
        PARTY1 = partyText;
        PARTY2.clear();
        PARTY3.clear();
    }
}

// One education row: an upper and a lower line joined by "#"; both present
// share the smaller of their fitting sizes.
void FormPages::fillEducationRow(DrawingSurface &OBJECTS, const QString &row, int y, bool schoolColumn)
{
    if (row.isEmpty())
        return;
    const QStringList lines = row.split(QLatin1Char('#'));
    const QString upper = lines.value(0);
    const QString lower = lines.value(1);
    const int hAlign = schoolColumn ? 1 : 0;
    auto fit = [&](const QString &text, int top, int h) {
        if (schoolColumn)
            FitTextInAreaStep2(text, CellLeft, top, CellWidth, h, OBJECTS, CellLabel, 1.0, hAlign, 0, 0);
        else
            FitTextInArea(text, CellLeft, top, CellWidth, h, OBJECTS, CellLabel, 1.0, hAlign, 0, 0);
    };
    CellTop = y;
    if (upper.isEmpty() || lower.isEmpty()) {
        fit(upper.isEmpty() ? lower : upper, y, 600);
        return;
    }
    const double before = OBJECTS.fontSize();
    const double s1 = FindFitFontSize(OBJECTS.measuring(), upper, CellWidth, 300, songTi(), 12);
    const double s2 = FindFitFontSize(OBJECTS.measuring(), lower, CellWidth, 300, songTi(), 12);
    OBJECTS.setFontSize(qMin(s1, s2));
    fit(upper, y, 300);
    fit(lower, y + 300, 300);
    OBJECTS.setFontSize(before);
}

void FormPages::fillEducation(DrawingSurface &OBJECTS, const QString &item, double cellX, int w,
                              const QString &label, bool schoolColumn)
{
    setCell(cellX, margins.T + 2416.5, w, 600, label);
    const QStringList rows = StripLineBreaks(item).split(QLatin1Char('@'));
    fillEducationRow(OBJECTS, rows.value(0), roundHalfEven(margins.T + 2416.5), schoolColumn);
    fillEducationRow(OBJECTS, rows.value(1), roundHalfEven(margins.T + 3016.5), schoolColumn);
}

void FormPages::FILLXUELI(DrawingSurface &OBJECTS)
{
    fillEducation(OBJECTS, xueli, margins.L + 2041.2, 2041, QStringLiteral("学历学位"), false);
}

void FormPages::FILLBIYE(DrawingSurface &OBJECTS)
{
    fillEducation(OBJECTS, BIYE, margins.L + 5273.1, 2892, QStringLiteral("毕业院校及专业"), true);
}

// A position row: texts of 76 characters or more are refused with a message
// and the cell stays empty.
void FormPages::fillPositionRow(DrawingSurface &OBJECTS, const QString &text, int top, int height,
                                const QString &label)
{
    setCell(margins.L + 2097.9, top, 6067, height, label);
    const QString work = text;
    if (work.size() <= 75)
        fitCell(OBJECTS, work, 1, CellLeft);
    else
        OBJECTS.Message(QStringLiteral("系统"), QStringLiteral("输入文字过长，请输入字数少于75！") + label,
                        MessageIcon::Information);
}

void FormPages::FILLXIANREN(DrawingSurface &OBJECTS)
{
    const int top = roundHalfEven(margins.T + 3600);
    fillPositionRow(OBJECTS, XIANREN, top, XianRenBottom - top, QStringLiteral("现任职务"));
}

void FormPages::FILLNIREN(DrawingSurface &OBJECTS)
{
    fillPositionRow(OBJECTS, NIREN, XianRenBottom, NiRenBottom - XianRenBottom, QStringLiteral("拟任职务"));
}

void FormPages::FILLNIMIAN(DrawingSurface &OBJECTS)
{
    // The box is the text's own height, not the row's.
    fillPositionRow(OBJECTS, NIMIAN, NiRenBottom, 300 * NiMianLines, QStringLiteral("拟免职务"));
}

void FormPages::FILLJIANLI(DrawingSurface &OBJECTS)
{
    if (XianRenLines < 3)
        XianRenLines = 2;
    if (NiRenLines < 3)
        NiRenLines = 2;
    if (NiMianLines < 3)
        NiMianLines = 2;
    const int extraRows = (XianRenLines - 2) + (NiRenLines - 2) + (NiMianLines - 2);
    const int y = roundHalfEven(margins.T - 283.5 + 6000 + 300.0 * extraRows);
    FillResume(JIANLI, roundHalfEven(margins.L + 1077.3), y, OBJECTS, 0, resumeFontSize);
}
