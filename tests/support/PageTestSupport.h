#pragma once
// The page tests draw onto the recording surface and pick operations out.
#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"
#include "foundation/Twips.h"
#include "pages/FormPages.h"
#include <QtTest>
#include <cmath>

using Op = RecordingSurface::Op;

namespace PageTest {

// Page 1 or 2 with the usual pens, from the font its caller leaves set.
inline QList<Op> recordPage(FormPages &p, int page)
{
    RecordingSurface s;
    s.setFontName(page == 1 ? QStringLiteral("宋体") : QStringLiteral("楷体"));
    s.setFontSize(12);
    page == 1 ? p.drawPageOne(s, 12, 6) : p.drawPageTwo(s, 12, 6);
    return s.ops();
}

inline bool near(double a, double b) { return std::fabs(a - b) < 1e-6; }

inline QList<Op> ofKind(const QList<Op> &ops, Op::Kind kind)
{
    QList<Op> out;
    for (const Op &op : ops)
        if (op.kind == kind)
            out << op;
    return out;
}

// Texts drawn inside the box [x0, x1) x [y0, y1), in drawing order.
inline QList<Op> textsIn(const QList<Op> &ops, double x0, double x1, double y0, double y1)
{
    QList<Op> out;
    for (const Op &op : ops)
        if (op.kind == Op::Text && op.x >= x0 && op.x < x1 && op.y >= y0 && op.y < y1)
            out << op;
    return out;
}

inline const Op *findText(const QList<Op> &ops, const QString &text)
{
    for (const Op &op : ops)
        if (op.kind == Op::Text && op.text == text)
            return &op;
    return nullptr;
}

inline QString joined(const QList<Op> &ops)
{
    QString s;
    for (const Op &op : ops)
        s += op.text;
    return s;
}

// Line height of KaiTi at 12 points in whole twips, as the cell fitting centres by it.
inline double kaiTiLineHeight()
{
    MeasuringSurface ms;
    ms.setUpFont(QStringLiteral("楷体"), 12, false, 1);
    return roundHalfEven(ms.textHeight(QStringLiteral("高")));
}

// Two recordings of the same page that differ only by a shift of (dx, dy):
// texts, lines (both ends) and pictures move, messages stay as they are.
inline void verifyShifted(const QList<Op> &a, const QList<Op> &b, double dx, double dy)
{
    QCOMPARE(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i) {
        const Op &p = a.at(i), &q = b.at(i);
        const double mx = p.kind == Op::Message ? 0 : dx, my = p.kind == Op::Message ? 0 : dy;
        const double ex = p.kind == Op::Line ? dx : 0, ey = p.kind == Op::Line ? dy : 0;
        QVERIFY2(q.kind == p.kind && q.text == p.text && q.size == p.size && q.width == p.width
                     && near(q.x, p.x + mx) && near(q.y, p.y + my) && near(q.x2, p.x2 + ex) && near(q.y2, p.y2 + ey),
                 qPrintable(QStringLiteral("op %1 %2").arg(i).arg(p.text)));
    }
}

} // namespace PageTest
