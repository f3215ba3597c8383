#include "pages/WordDocument.h"

#include "foundation/AppInfo.h"
#include "foundation/SafeFile.h"
#include "foundation/Twips.h"
#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QXmlStreamWriter>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

using Op = RecordingSurface::Op;

// Lines drawn closer than this are one grid line; a text this far inside a
// cell belongs to it.
constexpr double kSameLine = 3;
// The paragraph Word insists on after a table, and an empty cell's: 1 pt.
constexpr int kTinyLine = 20;
// A text is centred in its cell when its gaps differ by no more than this,
// and each is at least the room.
constexpr double kCentredWithin = 30;
constexpr double kCentredRoom = 60;
// How far a line may run past its cell's right edge.
constexpr int kRunOn = 567;
// English Metric Units per twip, for pictures.
constexpr int kEmuPerTwip = 635;

// Written by hand: a writer into a string leaves the encoding out.
const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kR = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWp = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString kA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString kPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString kRelationships = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kOfficeRelationships = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");

// Element and attribute names are ASCII; this keeps the writing short.
class Xml {
public:
    explicit Xml(QXmlStreamWriter &writer) : w(writer) {}
    void start(const char *name) { w.writeStartElement(QLatin1String(name)); }
    void end() { w.writeEndElement(); }
    void empty(const char *name) { w.writeEmptyElement(QLatin1String(name)); }
    void attr(const char *name, const QString &value) { w.writeAttribute(QLatin1String(name), value); }
    void attr(const char *name, const char *value) { attr(name, QLatin1String(value)); }
    void attr(const char *name, int value) { attr(name, QString::number(value)); }
    // <name w:val="value"/>
    template<typename T>
    void val(const char *name, T value)
    {
        empty(name);
        attr("w:val", value);
    }
    void text(const QString &t) { w.writeCharacters(t); }

    QXmlStreamWriter &w;
};

struct GridLine {
    double along;       // x of a vertical line, y of a horizontal one
    double from, to;    // its extent across
    double width;       // pen, twips
};

// One piece of a printed line: text placed at its own x.
struct Piece {
    double x;
    QString text;
    QString font;
    double size;
};

// One printed line of a cell (or above or below the table), or the photo.
struct PrintedLine {
    double y = 0;
    double height = 0;
    QList<Piece> pieces;
    const Op *picture = nullptr;
};

// A rectangle of grid cells that Word shows as one cell.
struct Region {
    int row0 = 0, col0 = 0, row1 = 0, col1 = 0;   // inclusive
    QList<const Op *> texts;
    const Op *picture = nullptr;
};

QList<double> distinctValues(QList<double> values)
{
    std::sort(values.begin(), values.end());
    QList<double> out;
    for (double v : values) {
        if (out.isEmpty() || v - out.back() > kSameLine)
            out << v;
    }
    return out;
}

// The pen of the drawn line at `along` that passes the middle of [from, to]; 0 when none.
double drawnWidth(const QList<GridLine> &lines, double along, double from, double to)
{
    const double middle = (from + to) / 2;
    double width = 0;
    for (const GridLine &l : lines) {
        if (std::abs(l.along - along) <= kSameLine && l.from - kSameLine <= middle && middle <= l.to + kSameLine)
            width = std::max(width, l.width);
    }
    return width;
}

// The index i of the band [grid[i], grid[i + 1]) holding v, clamped to the bands.
int bandOf(const QList<double> &grid, double v)
{
    const auto it = std::upper_bound(grid.begin(), grid.end(), v);
    const int i = int(it - grid.begin()) - 1;
    return std::clamp(i, 0, int(grid.size()) - 2);
}

// Splits a text at runs of two or more spaces: the form spaces labels out
// ("姓  名") and leaves gaps for what is drawn into them ("(    岁)"), so
// each piece is placed at the x it is drawn at.
QList<Piece> piecesOf(const Op &op, MeasuringSurface &measuring)
{
    QList<Piece> pieces;
    const QString &t = op.text;
    int start = 0;
    const int n = int(t.size());
    while (start < n) {
        // the end of this piece: the next run of two spaces, or the end
        int end = start;
        while (end < n && !(t.at(end) == QLatin1Char(' ') && end + 1 < n && t.at(end + 1) == QLatin1Char(' ')))
            ++end;
        if (end > start) {
            double x = op.x;
            if (start > 0) {
                measuring.setUpFont(op.font, op.size);
                x += measuring.textWidth(t.left(start));
            }
            pieces.append({x, t.mid(start, end - start), op.font, op.size});
        }
        while (end < n && t.at(end) == QLatin1Char(' '))
            ++end;
        start = end;
    }
    return pieces;
}

// Texts on the same line (tops within half a line) become one printed line.
QList<PrintedLine> printedLines(QList<const Op *> texts, const Op *picture, MeasuringSurface &measuring)
{
    std::stable_sort(texts.begin(), texts.end(), [](const Op *a, const Op *b) { return a->y < b->y; });
    QList<PrintedLine> lines;
    for (const Op *t : texts) {
        const double height = measuring.lineHeight(t->font, t->size);
        if (lines.isEmpty() || std::abs(t->y - lines.back().y) >= height / 2) {
            PrintedLine line;
            line.y = t->y;
            lines << line;
        }
        PrintedLine &line = lines.back();
        line.height = std::max(line.height, height);
        line.pieces << piecesOf(*t, measuring);
    }
    for (PrintedLine &line : lines)
        std::stable_sort(line.pieces.begin(), line.pieces.end(),
                         [](const Piece &a, const Piece &b) { return a.x < b.x; });
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const PrintedLine &l) { return l.pieces.isEmpty(); }),
                lines.end());
    if (picture) {
        PrintedLine line;
        line.y = picture->y;
        line.height = picture->y2;
        line.picture = picture;
        const auto at = std::upper_bound(lines.begin(), lines.end(), line.y,
                                         [](double y, const PrintedLine &l) { return y < l.y; });
        lines.insert(at, line);
    }
    return lines;
}

int halfPoints(double size)
{
    return std::max(2, int(std::lround(size * 2)));
}

void writeRunProperties(Xml &x, const QString &font, int halfPoints)
{
    x.start("w:rPr");
    x.empty("w:rFonts");
    x.attr("w:ascii", font);
    x.attr("w:hAnsi", font);
    x.attr("w:eastAsia", font);
    x.attr("w:cs", font);
    x.attr("w:hint", "eastAsia");
    x.val("w:sz", halfPoints);
    x.val("w:szCs", halfPoints);
    x.end();
}

} // namespace

// One paragraph style per typeface and size the pages use ("楷体 12"): a
// run in its paragraph's face needs no properties of its own, which keeps
// the document small and gives the clerk named styles to work with.
class WordDocument::TextStyles {
public:
    QString idOf(const QString &font, double size)
    {
        const std::pair<QString, int> key{font, halfPoints(size)};
        qsizetype i = m_styles.indexOf(key);
        if (i < 0) {
            i = m_styles.size();
            m_styles << key;
        }
        return QStringLiteral("Text%1").arg(i + 1);
    }
    const QList<std::pair<QString, int>> &styles() const { return m_styles; }

private:
    QList<std::pair<QString, int>> m_styles;
};

namespace {

using WordDocument::TextStyles;

// No cell margins anywhere, so that a twip in a cell is a twip on the page.
void writeNoCellMargins(Xml &x)
{
    x.start("w:tblCellMar");
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right"}) {
        x.empty(side);
        x.attr("w:w", 0);
        x.attr("w:type", "dxa");
    }
    x.end();
}

void writeSpacing(Xml &x, int before, int after, int line, const char *rule = "exact")
{
    x.empty("w:spacing");
    x.attr("w:before", before);
    x.attr("w:after", after);
    x.attr("w:line", std::max(line, 1));
    x.attr("w:lineRule", rule);
}

// Inside w:pPr: a paragraph 1 pt high.
void writeTinyLine(Xml &x)
{
    writeSpacing(x, 0, 0, kTinyLine);
    x.start("w:rPr");
    x.val("w:sz", 2);
    x.val("w:szCs", 2);
    x.end();
}

// An empty paragraph 1 pt high: what an empty cell holds.
void writeTinyParagraph(Xml &x)
{
    x.start("w:p");
    x.start("w:pPr");
    writeTinyLine(x);
    x.end();
    x.end();
}

// Builds one Word page: the texts above the table, the table, the texts
// below it, from the operations of one recorded page.
class PageWriter {
public:
    PageWriter(Xml &xml, QSize sheet, QList<QByteArray> &media, TextStyles &styles, MeasuringSurface &measuring)
        : x(xml), m_sheet(sheet), m_media(media), m_styles(styles), m_measuring(measuring) {}

    WordDocument::WordBook::Margins write(const QList<const Op *> &ops);

private:
    void mergeCells();
    void writeLines(const QList<PrintedLine> &lines, double left, double right, double top, int trailingAfter);
    void writeLine(const PrintedLine &line, double left, double right, int before, int height, int after);
    void writePicture(const Op &picture);
    void writeTable();
    void writeCell(int row, const Region &region);
    void writeBorder(const char *side, double width);

    Xml &x;
    QSize m_sheet;
    QList<QByteArray> &m_media;
    TextStyles &m_styles;
    MeasuringSurface &m_measuring;
    QList<GridLine> m_vertical, m_horizontal;
    QList<double> m_xs, m_ys;
    QList<Region> m_regions;
    QList<int> m_owner;   // region of each grid cell, row by row
};

WordDocument::WordBook::Margins PageWriter::write(const QList<const Op *> &ops)
{
    QList<const Op *> texts;
    const Op *picture = nullptr;
    QList<double> xs, ys;
    for (const Op *op : ops) {
        if (op->kind == Op::Line) {
            if (std::abs(op->x - op->x2) < 0.5) {
                m_vertical.append({op->x, std::min(op->y, op->y2), std::max(op->y, op->y2), op->width});
                xs << op->x;
            } else if (std::abs(op->y - op->y2) < 0.5) {
                m_horizontal.append({op->y, std::min(op->x, op->x2), std::max(op->x, op->x2), op->width});
                ys << op->y;
            }
        } else if (op->kind == Op::Text) {
            texts << op;
        } else if (op->kind == Op::Picture && !op->image.isNull() && op->x2 > 0 && op->y2 > 0) {
            picture = op;
        }
    }
    m_xs = distinctValues(xs);
    m_ys = distinctValues(ys);
    const bool hasTable = m_xs.size() >= 2 && m_ys.size() >= 2;

    // Which cell, or above or below the table, each text goes to.
    QList<const Op *> above, below;
    const int cols = hasTable ? int(m_xs.size()) - 1 : 0;
    if (hasTable)
        mergeCells();
    const auto regionAt = [&](double px, double py) -> Region & {
        return m_regions[m_owner[bandOf(m_ys, py) * cols + bandOf(m_xs, px)]];
    };
    // A text belongs where its middle is: a long text may start left of
    // its cell's line and still be that cell's. Only a text wholly above or
    // below the table is outside it; one that runs out of its cell over the
    // frame stays in the cell, so the table never moves.
    for (const Op *t : texts) {
        m_measuring.setUpFont(t->font, t->size);
        const double height = m_measuring.lineHeight(t->font, t->size);
        const double middleX = t->x + m_measuring.textWidth(t->text) / 2;
        if (!hasTable || t->y + height <= m_ys.front() + 1)
            above << t;
        else if (t->y >= m_ys.back() - 1)
            below << t;
        else
            regionAt(middleX, std::clamp(t->y + height / 2, m_ys.front(), m_ys.back() - 1)).texts << t;
    }
    // A photo outside the form is not printed either.
    if (picture && hasTable && picture->y + 1 >= m_ys.front() && picture->y + 1 < m_ys.back())
        regionAt(picture->x + 1, picture->y + 1).picture = picture;

    // The section puts the table's top-left corner where the sheet has it.
    WordDocument::WordBook::Margins margins;
    margins.width = m_sheet.width();
    margins.height = m_sheet.height();
    const QList<PrintedLine> aboveLines = printedLines(above, nullptr, m_measuring);
    const QList<PrintedLine> belowLines = printedLines(below, nullptr, m_measuring);
    const double left = hasTable ? m_xs.front() : 0;
    const double right = hasTable ? m_xs.back() : m_sheet.width();
    const double tableTop = hasTable ? m_ys.front() : 0;
    margins.left = std::max(0, roundHalfEven(left));
    margins.right = hasTable ? std::max(0, m_sheet.width() - roundHalfEven(m_xs.back())) : 0;
    const double firstTop = aboveLines.isEmpty() ? tableTop
                            : hasTable          ? std::min(aboveLines.front().y, tableTop)
                                                : aboveLines.front().y;
    margins.top = std::max(0, roundHalfEven(firstTop));
    if (!aboveLines.isEmpty()) {
        const PrintedLine &last = aboveLines.back();
        const int lastBottom = roundHalfEven(last.y) + roundHalfEven(last.height);
        writeLines(aboveLines, left, right, margins.top, hasTable ? std::max(0, roundHalfEven(tableTop) - lastBottom) : 0);
    }
    double bottom = tableTop;
    if (hasTable) {
        writeTable();
        bottom = m_ys.back();
    }
    if (!belowLines.isEmpty()) {
        writeLines(belowLines, left, right, bottom, 0);
        bottom = belowLines.back().y + belowLines.back().height;
    }
    // Room for the closing paragraph, so that nothing spills onto a page of its own.
    const int contentBottom = roundHalfEven(bottom) + kTinyLine + 40;
    margins.bottom = std::clamp(m_sheet.height() - contentBottom, 0, 1440);
    return margins;
}

// Neighbouring grid cells are one cell unless a drawn line parts them; a
// cell that is not a rectangle grows to its bounding rectangle. Fills
// m_regions and m_owner.
void PageWriter::mergeCells()
{
    const int rows = int(m_ys.size()) - 1, cols = int(m_xs.size()) - 1;
    QList<int> parent(rows * cols);
    std::iota(parent.begin(), parent.end(), 0);
    const auto find = [&parent](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    const auto join = [&](int a, int b) { parent[find(a)] = find(b); };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c + 1 < cols && drawnWidth(m_vertical, m_xs[c + 1], m_ys[r], m_ys[r + 1]) == 0)
                join(r * cols + c, r * cols + c + 1);
            if (r + 1 < rows && drawnWidth(m_horizontal, m_ys[r + 1], m_xs[c], m_xs[c + 1]) == 0)
                join(r * cols + c, (r + 1) * cols + c);
        }
    }
    // The bounding rectangle of each region, by its root; once no region
    // grows, these are the cells.
    QList<Region> box;
    for (bool grown = true; grown;) {
        grown = false;
        box = QList<Region>(rows * cols);
        QList<bool> seen(rows * cols, false);
        for (int i = 0; i < rows * cols; ++i) {
            const int root = find(i), r = i / cols, c = i % cols;
            Region &b = box[root];
            if (!seen[root]) {
                b = Region{r, c, r, c, {}, nullptr};
                seen[root] = true;
            }
            b.row0 = std::min(b.row0, r);
            b.row1 = std::max(b.row1, r);
            b.col0 = std::min(b.col0, c);
            b.col1 = std::max(b.col1, c);
        }
        for (int root = 0; root < rows * cols; ++root) {
            if (!seen[root])
                continue;
            const Region &b = box[root];
            for (int r = b.row0; r <= b.row1; ++r) {
                for (int c = b.col0; c <= b.col1; ++c) {
                    if (find(r * cols + c) != find(root)) {
                        join(r * cols + c, root);
                        grown = true;
                    }
                }
            }
        }
    }
    m_owner.resize(rows * cols);
    QList<int> index(rows * cols, -1);
    for (int i = 0; i < rows * cols; ++i) {
        const int root = find(i);
        if (index[root] < 0) {
            index[root] = int(m_regions.size());
            m_regions << box[root];
        }
        m_owner[i] = index[root];
    }
}

// Paragraphs for printed lines, each at its own top from `top` and its own
// x from `left`; a line closer to the next than its height is cut to fit.
void PageWriter::writeLines(const QList<PrintedLine> &lines, double left, double right, double top,
                            int trailingAfter)
{
    int bottom = roundHalfEven(top);
    for (int i = 0; i < lines.size(); ++i) {
        const PrintedLine &line = lines.at(i);
        double height = line.height;
        if (i + 1 < lines.size() && !line.picture)
            height = std::min(height, lines.at(i + 1).y - line.y);
        const int lineTop = std::max(bottom, roundHalfEven(line.y));
        const int h = std::max(1, roundHalfEven(height));
        writeLine(line, left, right, lineTop - bottom, h, i + 1 == lines.size() ? trailingAfter : 0);
        bottom = lineTop + h;
    }
}

void PageWriter::writeLine(const PrintedLine &line, double left, double right, int before, int height, int after)
{
    // A single text with equal room on both sides is centred, so that it
    // stays centred when the clerk edits it; only where there is room to
    // spare, so that another program's measure never wraps it.
    bool centred = false;
    if (line.pieces.size() == 1 && !line.picture) {
        const Piece &piece = line.pieces.front();
        m_measuring.setUpFont(piece.font, piece.size);
        const double gapLeft = piece.x - left, gapRight = right - piece.x - m_measuring.textWidth(piece.text);
        centred = std::abs(gapLeft - gapRight) <= kCentredWithin && gapLeft >= kCentredRoom;
    }
    x.start("w:p");
    x.start("w:pPr");
    const QString font = line.pieces.isEmpty() ? QString() : line.pieces.front().font;
    const int size = line.pieces.isEmpty() ? 0 : halfPoints(line.pieces.front().size);
    if (!line.pieces.isEmpty())
        x.val("w:pStyle", m_styles.idOf(font, line.pieces.front().size));
    if (line.pieces.size() > 1) {
        x.start("w:tabs");
        for (int i = 1; i < line.pieces.size(); ++i) {
            x.empty("w:tab");
            x.attr("w:val", "left");
            x.attr("w:pos", roundHalfEven(line.pieces.at(i).x - left));
        }
        x.end();
    }
    // A picture's line is at least its height: an exact line would let
    // some programs cut the picture by the font's descent.
    writeSpacing(x, before, after, height, line.picture ? "atLeast" : "exact");
    const double first = line.picture ? line.picture->x : line.pieces.front().x;
    x.empty("w:ind");
    x.attr("w:left", centred ? 0 : roundHalfEven(first - left));
    // The lines are broken already: a line a hair wider than its cell in
    // another program's measure runs on rather than wrapping.
    x.attr("w:right", centred ? 0 : -kRunOn);
    if (centred)
        x.val("w:jc", "center");
    x.end();   // pPr
    if (line.picture)
        writePicture(*line.picture);
    for (int i = 0; i < line.pieces.size(); ++i) {
        const Piece &piece = line.pieces.at(i);
        const bool ownFace = piece.font != font || halfPoints(piece.size) != size;
        if (i > 0) {
            x.start("w:r");
            if (ownFace)
                writeRunProperties(x, piece.font, halfPoints(piece.size));
            x.empty("w:tab");
            x.end();
        }
        x.start("w:r");
        if (ownFace)
            writeRunProperties(x, piece.font, halfPoints(piece.size));
        x.start("w:t");
        x.attr("xml:space", "preserve");
        // Control characters have no place in XML; a tab here is no tab stop.
        QString text = piece.text;
        for (QChar &c : text) {
            if (c.unicode() < 0x20 || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
                c = QLatin1Char(' ');
        }
        x.text(text);
        x.end();
        x.end();
    }
    x.end();   // p
}

void PageWriter::writePicture(const Op &picture)
{
    // Stored at no more than 300 dpi of its printed size: enough for paper,
    // and a camera's photo does not make every document megabytes long.
    QImage image = picture.image;
    const QSize most(int(std::ceil(picture.x2 / kTwipsPerInch * 300)), int(std::ceil(picture.y2 / kTwipsPerInch * 300)));
    if (image.width() > most.width() || image.height() > most.height())
        image = image.scaled(most, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.hasAlphaChannel())
        image = image.convertToFormat(QImage::Format_RGB32);
    image.save(&buffer, "JPEG", 90);
    m_media << bytes;
    const int number = int(m_media.size());
    const QString cx = QString::number(qint64(std::llround(picture.x2)) * kEmuPerTwip);
    const QString cy = QString::number(qint64(std::llround(picture.y2)) * kEmuPerTwip);

    x.start("w:r");
    x.start("w:drawing");
    x.start("wp:inline");
    for (const char *d : {"distT", "distB", "distL", "distR"})
        x.attr(d, 0);
    x.empty("wp:extent");
    x.attr("cx", cx);
    x.attr("cy", cy);
    x.empty("wp:effectExtent");
    for (const char *d : {"l", "t", "r", "b"})
        x.attr(d, 0);
    x.empty("wp:docPr");
    x.attr("id", number);
    x.attr("name", QStringLiteral("照片 %1").arg(number));
    x.start("wp:cNvGraphicFramePr");
    x.empty("a:graphicFrameLocks");
    x.attr("noChangeAspect", 1);
    x.end();
    x.start("a:graphic");
    x.start("a:graphicData");
    x.attr("uri", kPic);
    x.start("pic:pic");
    x.start("pic:nvPicPr");
    x.empty("pic:cNvPr");
    x.attr("id", number);
    x.attr("name", QStringLiteral("image%1.jpeg").arg(number));
    x.empty("pic:cNvPicPr");
    x.end();
    x.start("pic:blipFill");
    x.empty("a:blip");
    x.attr("r:embed", QStringLiteral("rIdImg%1").arg(number));
    x.start("a:stretch");
    x.empty("a:fillRect");
    x.end();
    x.end();
    x.start("pic:spPr");
    x.start("a:xfrm");
    x.empty("a:off");
    x.attr("x", 0);
    x.attr("y", 0);
    x.empty("a:ext");
    x.attr("cx", cx);
    x.attr("cy", cy);
    x.end();
    x.start("a:prstGeom");
    x.attr("prst", "rect");
    x.empty("a:avLst");
    x.end();
    x.end();   // spPr
    x.end();   // pic
    x.end();   // graphicData
    x.end();   // graphic
    x.end();   // inline
    x.end();   // drawing
    x.end();   // r
}

void PageWriter::writeTable()
{
    const int rows = int(m_ys.size()) - 1, cols = int(m_xs.size()) - 1;
    x.start("w:tbl");
    x.start("w:tblPr");
    x.empty("w:tblW");
    x.attr("w:w", roundHalfEven(m_xs.back()) - roundHalfEven(m_xs.front()));
    x.attr("w:type", "dxa");
    x.empty("w:tblInd");
    x.attr("w:w", 0);
    x.attr("w:type", "dxa");
    x.empty("w:tblLayout");
    x.attr("w:type", "fixed");
    writeNoCellMargins(x);
    x.end();   // tblPr
    x.start("w:tblGrid");
    for (int c = 0; c < cols; ++c) {
        x.empty("w:gridCol");
        x.attr("w:w", roundHalfEven(m_xs[c + 1]) - roundHalfEven(m_xs[c]));
    }
    x.end();
    for (int r = 0; r < rows; ++r) {
        x.start("w:tr");
        x.start("w:trPr");
        x.empty("w:trHeight");
        x.attr("w:val", roundHalfEven(m_ys[r + 1]) - roundHalfEven(m_ys[r]));
        x.attr("w:hRule", "exact");
        x.end();
        for (int c = 0; c < cols;) {
            const Region &region = m_regions.at(m_owner.at(r * cols + c));
            writeCell(r, region);
            c = region.col1 + 1;
        }
        x.end();   // tr
    }
    x.end();   // tbl
}

void PageWriter::writeBorder(const char *side, double width)
{
    x.empty(side);
    if (width <= 0) {
        x.attr("w:val", "nil");
        return;
    }
    x.attr("w:val", "single");
    x.attr("w:sz", std::max(2, int(std::lround(width * 8 / 20))));   // eighths of a point
    x.attr("w:space", 0);
    x.attr("w:color", "000000");
}

void PageWriter::writeCell(int row, const Region &region)
{
    const int left = roundHalfEven(m_xs[region.col0]), right = roundHalfEven(m_xs[region.col1 + 1]);
    x.start("w:tc");
    x.start("w:tcPr");
    x.empty("w:tcW");
    x.attr("w:w", right - left);
    x.attr("w:type", "dxa");
    if (region.col1 > region.col0)
        x.val("w:gridSpan", region.col1 - region.col0 + 1);
    if (region.row1 > region.row0) {
        if (row == region.row0)
            x.val("w:vMerge", "restart");
        else
            x.empty("w:vMerge");
    }
    x.start("w:tcBorders");
    double top = 0, bottom = 0;
    for (int c = region.col0; c <= region.col1; ++c) {
        if (row == region.row0)
            top = std::max(top, drawnWidth(m_horizontal, m_ys[row], m_xs[c], m_xs[c + 1]));
        if (row == region.row1)
            bottom = std::max(bottom, drawnWidth(m_horizontal, m_ys[row + 1], m_xs[c], m_xs[c + 1]));
    }
    writeBorder("w:top", top);
    writeBorder("w:left", drawnWidth(m_vertical, m_xs[region.col0], m_ys[row], m_ys[row + 1]));
    writeBorder("w:bottom", bottom);
    writeBorder("w:right", drawnWidth(m_vertical, m_xs[region.col1 + 1], m_ys[row], m_ys[row + 1]));
    x.end();   // tcBorders
    x.end();   // tcPr
    // The texts go into the first row of a merged cell.
    const QList<PrintedLine> lines =
        row == region.row0 ? printedLines(region.texts, region.picture, m_measuring) : QList<PrintedLine>();
    if (lines.isEmpty())
        writeTinyParagraph(x);
    else
        writeLines(lines, m_xs[region.col0], m_xs[region.col1 + 1], m_ys[region.row0], 0);
    x.end();   // tc
}

void writeSectionProperties(Xml &x, const WordDocument::WordBook::Margins &m)
{
    x.start("w:sectPr");
    x.val("w:type", "nextPage");
    x.empty("w:pgSz");
    x.attr("w:w", m.width);
    x.attr("w:h", m.height);
    x.empty("w:pgMar");
    x.attr("w:top", m.top);
    x.attr("w:right", m.right);
    x.attr("w:bottom", m.bottom);
    x.attr("w:left", m.left);
    x.attr("w:header", 0);
    x.attr("w:footer", 0);
    x.attr("w:gutter", 0);
    x.empty("w:cols");
    x.attr("w:space", 0);
    x.end();
}

// A small XML part written by `body` onto the writer.
template<typename F>
QByteArray xmlPart(F body)
{
    QString text = kDeclaration;
    QXmlStreamWriter w(&text);
    Xml x(w);
    body(x);
    w.writeEndDocument();
    return text.toUtf8();
}

QByteArray contentTypes()
{
    return xmlPart([](Xml &x) {
        x.start("Types");
        x.attr("xmlns", "http://schemas.openxmlformats.org/package/2006/content-types");
        // A content type by file extension (Default) or for one part (Override).
        const auto entry = [&x](const char *element, const char *key, const char *value, const char *type) {
            x.empty(element);
            x.attr(key, value);
            x.attr("ContentType", type);
        };
        const auto byExtension = [&entry](const char *extension, const char *type) {
            entry("Default", "Extension", extension, type);
        };
        const auto part = [&entry](const char *name, const char *type) { entry("Override", "PartName", name, type); };
        byExtension("rels", "application/vnd.openxmlformats-package.relationships+xml");
        byExtension("xml", "application/xml");
        byExtension("jpeg", "image/jpeg");
        part("/word/document.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
        part("/word/styles.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml");
        part("/word/settings.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml");
        part("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
        part("/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml");
        x.end();
    });
}

QByteArray relationships(const QList<std::pair<QString, QString>> &typeAndTarget, int images)
{
    return xmlPart([&](Xml &x) {
        x.start("Relationships");
        x.attr("xmlns", kRelationships);
        int n = 0;
        for (const auto &[type, target] : typeAndTarget) {
            x.empty("Relationship");
            x.attr("Id", QStringLiteral("rId%1").arg(++n));
            x.attr("Type", type);
            x.attr("Target", target);
        }
        for (int i = 1; i <= images; ++i) {
            x.empty("Relationship");
            x.attr("Id", QStringLiteral("rIdImg%1").arg(i));
            x.attr("Type", kOfficeRelationships + QStringLiteral("image"));
            x.attr("Target", QStringLiteral("media/image%1.jpeg").arg(i));
        }
        x.end();
    });
}

// The defaults: 宋体, no spacing, no automatic space between Chinese and
// Latin text or figures, no document grid — every position is ours.
QByteArray styles(const TextStyles &textStyles)
{
    return xmlPart([&textStyles](Xml &x) {
        x.start("w:styles");
        x.w.writeNamespace(kW, QStringLiteral("w"));
        x.start("w:docDefaults");
        x.start("w:rPrDefault");
        x.start("w:rPr");
        x.empty("w:rFonts");
        for (const char *a : {"w:ascii", "w:hAnsi", "w:eastAsia", "w:cs"})
            x.attr(a, QStringLiteral("宋体"));
        x.val("w:kern", 0);
        x.val("w:sz", 24);
        x.val("w:szCs", 24);
        x.empty("w:lang");
        x.attr("w:val", "en-US");
        x.attr("w:eastAsia", "zh-CN");
        x.end();
        x.end();
        x.start("w:pPrDefault");
        x.start("w:pPr");
        x.val("w:widowControl", 0);
        x.val("w:kinsoku", 0);
        x.val("w:overflowPunct", 0);
        x.val("w:autoSpaceDE", 0);
        x.val("w:autoSpaceDN", 0);
        x.val("w:adjustRightInd", 0);
        x.val("w:snapToGrid", 0);
        x.empty("w:spacing");
        x.attr("w:before", 0);
        x.attr("w:after", 0);
        x.attr("w:line", 240);
        x.attr("w:lineRule", "auto");
        x.end();
        x.end();
        x.end();   // docDefaults
        x.start("w:style");
        x.attr("w:type", "paragraph");
        x.attr("w:default", 1);
        x.attr("w:styleId", "Normal");
        x.val("w:name", "Normal");
        x.val("w:qFormat", 1);
        x.end();
        int n = 0;
        for (const auto &[font, size] : textStyles.styles()) {
            x.start("w:style");
            x.attr("w:type", "paragraph");
            x.attr("w:customStyle", 1);
            x.attr("w:styleId", QStringLiteral("Text%1").arg(++n));
            x.val("w:name", QStringLiteral("%1 %2").arg(font, QString::number(size / 2.0)));
            x.val("w:basedOn", "Normal");
            x.val("w:qFormat", 1);
            // No space of its own between Chinese and Latin text or figures
            // (the defaults say so too, but not every program reads them there).
            x.start("w:pPr");
            x.val("w:autoSpaceDE", 0);
            x.val("w:autoSpaceDN", 0);
            x.end();
            writeRunProperties(x, font, size);
            x.end();
        }
        x.start("w:style");
        x.attr("w:type", "table");
        x.attr("w:default", 1);
        x.attr("w:styleId", "TableNormal");
        x.val("w:name", "Normal Table");
        x.start("w:tblPr");
        x.empty("w:tblInd");
        x.attr("w:w", 0);
        x.attr("w:type", "dxa");
        writeNoCellMargins(x);
        x.end();
        x.end();
        x.end();   // styles
    });
}

QByteArray settings()
{
    return xmlPart([](Xml &x) {
        x.start("w:settings");
        x.w.writeNamespace(kW, QStringLiteral("w"));
        x.val("w:defaultTabStop", 420);
        x.val("w:characterSpacingControl", "doNotCompress");
        x.start("w:compat");
        x.empty("w:compatSetting");
        x.attr("w:name", "compatibilityMode");
        x.attr("w:uri", "http://schemas.microsoft.com/office/word");
        x.attr("w:val", 15);
        x.end();
        x.end();
    });
}

QByteArray coreProperties()
{
    return xmlPart([](Xml &x) {
        x.start("cp:coreProperties");
        x.w.writeNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties"),
                           QStringLiteral("cp"));
        x.w.writeNamespace(QStringLiteral("http://purl.org/dc/elements/1.1/"), QStringLiteral("dc"));
        x.start("dc:title");
        x.text(AppInfo::title());
        x.end();
        x.start("dc:creator");
        x.text(AppInfo::programName());
        x.end();
        x.end();
    });
}

QByteArray appProperties()
{
    return xmlPart([](Xml &x) {
        x.start("Properties");
        x.attr("xmlns", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties");
        x.start("Application");
        x.text(AppInfo::programName());
        x.end();
        x.end();
    });
}

struct Entry {
    QString name;
    QByteArray data;
    bool compressed;
};

// The zip archive of the entries, made in memory.
Result<QByteArray> zipped(const QList<Entry> &entries)
{
    const Failure failed{FailureKind::Other, QStringLiteral("无法生成 Word 文件的压缩包")};
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!source)
        return failed;
    zip_error_init(&error);
    zip_t *archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return failed;
    }
    zip_source_keep(source);
    bool ok = true;
    for (const Entry &e : entries) {
        zip_source_t *data = zip_source_buffer(archive, e.data.constData(), zip_uint64_t(e.data.size()), 0);
        const QByteArray name = e.name.toUtf8();
        const zip_int64_t index = data ? zip_file_add(archive, name.constData(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (data)
                zip_source_free(data);
            ok = false;
            break;
        }
        // A fixed time: the same documents give the same file.
        zip_file_set_dostime(archive, zip_uint64_t(index), 0, (0 << 9) | (1 << 5) | 1, 0);
        zip_set_file_compression(archive, zip_uint64_t(index), e.compressed ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                 e.compressed ? 1 : 0);
    }
    if (!ok || zip_close(archive) < 0) {
        zip_discard(archive);
        zip_source_free(source);
        return failed;
    }
    QByteArray out;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip_source_open(source) == 0) {
        out.resize(qsizetype(stat.size));
        const zip_int64_t read = zip_source_read(source, out.data(), stat.size);
        zip_source_close(source);
        if (read != zip_int64_t(stat.size))
            ok = false;
    } else {
        ok = false;
    }
    zip_source_free(source);
    if (!ok)
        return failed;
    return out;
}

} // namespace

namespace WordDocument {

WordBook::WordBook(const QString &outPath, DocumentRender::Paper paper, bool replaceReadOnly)
    : m_path(outPath), m_replaceReadOnly(replaceReadOnly), m_styles(std::make_unique<TextStyles>())
{
    const QSizeF mm = DocumentRender::pageSize(paper).size(QPageSize::Millimeter);
    m_sheet = QSize(roundHalfEven(mm.width() / 25.4 * kTwipsPerInch), roundHalfEven(mm.height() / 25.4 * kTwipsPerInch));
    // Into a string: far quicker than many small writes to a device.
    m_body = kDeclaration;
    m_xml = std::make_unique<QXmlStreamWriter>(&m_body);
    Xml x(*m_xml);
    x.start("w:document");
    m_xml->writeNamespace(kW, QStringLiteral("w"));
    m_xml->writeNamespace(kR, QStringLiteral("r"));
    m_xml->writeNamespace(kWp, QStringLiteral("wp"));
    m_xml->writeNamespace(kA, QStringLiteral("a"));
    m_xml->writeNamespace(kPic, QStringLiteral("pic"));
    x.start("w:body");
}

WordBook::~WordBook() = default;

void WordBook::addDocument(FormPages &pages, DocumentRender::Pages which, Interaction *ui)
{
    addRecorded(*DocumentRender::recordPages(pages, which, ui));
}

void WordBook::addRecorded(const RecordingSurface &recorded)
{
    MeasuringSurface measuring;
    Xml x(*m_xml);
    QList<const Op *> page;
    bool inPage = false;
    const auto flush = [&] {
        if (!inPage)
            return;
        if (m_pages > 0)
            writeSectionEnd(false);
        PageWriter writer(x, m_sheet, m_media, *m_styles, measuring);
        m_pending = writer.write(page);
        ++m_pages;
        page.clear();
    };
    for (const Op &op : recorded.ops()) {
        if (op.kind == Op::Page) {
            flush();
            inPage = true;
        } else if (op.kind != Op::Message) {
            inPage = true;
            page << &op;
        }
    }
    flush();
    // Held as UTF-8, half the size of the string the writer fills.
    m_bytes += m_body.toUtf8();
    m_body.clear();
}

// The paragraph Word insists on after a table, 1 pt high, carrying the
// page's section unless it is the document's last.
void WordBook::writeSectionEnd(bool last)
{
    Xml x(*m_xml);
    x.start("w:p");
    x.start("w:pPr");
    writeTinyLine(x);
    if (!last)
        writeSectionProperties(x, m_pending);
    x.end();
    x.end();
    if (last)
        writeSectionProperties(x, m_pending);
}

Result<> WordBook::finish()
{
    if (m_pages == 0)
        m_pending = Margins{m_sheet.width(), m_sheet.height(), 1440, 1440, 1440, 1440};
    writeSectionEnd(true);
    m_xml->writeEndElement();   // body
    m_xml->writeEndElement();   // document
    m_xml->writeEndDocument();
    m_bytes += m_body.toUtf8();
    m_body.clear();

    const QString rel = kOfficeRelationships;
    QList<Entry> entries{
        {QStringLiteral("[Content_Types].xml"), contentTypes(), true},
        {QStringLiteral("_rels/.rels"),
         relationships({{rel + QStringLiteral("officeDocument"), QStringLiteral("word/document.xml")},
                        {QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                                        "core-properties"),
                         QStringLiteral("docProps/core.xml")},
                        {rel + QStringLiteral("extended-properties"), QStringLiteral("docProps/app.xml")}},
                       0),
         true},
        {QStringLiteral("word/document.xml"), m_bytes, true},
        {QStringLiteral("word/_rels/document.xml.rels"),
         relationships({{rel + QStringLiteral("styles"), QStringLiteral("styles.xml")},
                        {rel + QStringLiteral("settings"), QStringLiteral("settings.xml")}},
                       int(m_media.size())),
         true},
        {QStringLiteral("word/styles.xml"), styles(*m_styles), true},
        {QStringLiteral("word/settings.xml"), settings(), true},
        {QStringLiteral("docProps/core.xml"), coreProperties(), true},
        {QStringLiteral("docProps/app.xml"), appProperties(), true},
    };
    for (int i = 0; i < m_media.size(); ++i)
        entries.append({QStringLiteral("word/media/image%1.jpeg").arg(i + 1), m_media.at(i), false});
    const Result<QByteArray> zip = zipped(entries);
    if (!zip)
        return DocumentRender::notWritten("Word", m_path, zip.failure().message);
    SafeFile file(m_path);
    file.setReplaceReadOnly(m_replaceReadOnly);
    if (!file.open(QIODevice::WriteOnly) || file.write(zip.value()) != zip.value().size() || !file.commit())
        return DocumentRender::notWritten("Word", m_path, file.failureReason());
    return {};
}

Result<> writeDocx(const QString &outPath, const QList<DocumentRender::PdfDocument> &documents,
                   DocumentRender::Pages which, DocumentRender::Paper paper, bool replaceReadOnly)
{
    WordBook book(outPath, paper, replaceReadOnly);
    for (const DocumentRender::PdfDocument &doc : documents)
        book.addDocument(*doc.pages, which, doc.ui);
    return book.finish();
}

} // namespace WordDocument
