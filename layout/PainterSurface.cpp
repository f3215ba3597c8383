#include "layout/PainterSurface.h"
#include "layout/MeasuringSurface.h"
#include "foundation/Twips.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

PainterSurface::PainterSurface(QPainter *painter, double dotsPerInch)
    : m_painter(painter), m_dpi(dotsPerInch)
{
    if (m_dpi <= 0 && painter && painter->device())
        m_dpi = painter->device()->logicalDpiX();
    if (m_dpi <= 0)
        m_dpi = 96;
    m_scale = m_dpi / kTwipsPerInch;
}

void PainterSurface::drawText(double x, double y, const QString &text)
{
    if (!m_painter || text.isEmpty())
        return;
    // Control characters (a pasted tab) take a space's room, as measured.
    QString shown = text;
    for (QChar &c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    MeasuringSurface &ms = measuring();
    const QFont font = ms.twipFont(fontName(), fontSize());
    const double baseline = y + ms.ascent(fontName(), fontSize());
    m_painter->save();
    // Lay the text out in twips (1 px of the font = 1 twip) and let the
    // transform scale it to the device: glyph positions then follow the
    // measured advances exactly at every resolution.
    m_painter->scale(m_scale, m_scale);
    m_painter->setFont(font);
    m_painter->setPen(QPen(Qt::black));
    m_painter->drawText(QPointF(x, baseline), shown);
    m_painter->restore();
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2)
{
    if (!m_painter)
        return;
    m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, true);
    m_painter->scale(m_scale, m_scale);
    // The pen width is in twips, as is the scaled painter; a line never drops
    // below one device pixel, so it stays visible at a low resolution.
    QPen pen(Qt::black, qMax(penWidth(), 1.0 / m_scale), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    m_painter->setPen(pen);
    m_painter->drawLine(QPointF(x1, y1), QPointF(x2, y2));
    m_painter->restore();
}

void PainterSurface::drawPicture(const QImage &picture, double x, double y, double w, double h)
{
    if (!m_painter || picture.isNull())
        return;
    m_painter->save();
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter->scale(m_scale, m_scale);
    m_painter->drawImage(QRectF(x, y, w, h), picture);
    m_painter->restore();
}
