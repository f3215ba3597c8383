#include "layout/DrawingSurface.h"
#include "layout/MeasuringSurface.h"

DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::Print(const QString &text)
{
    drawText(CurrentX, CurrentY, text);
    CurrentX = 0;
    CurrentY += m_measuring.lineHeight(fontName(), fontSize());
}

void DrawingSurface::Line(double x1, double y1, double x2, double y2)
{
    drawLine(x1, y1, x2, y2);
}

void DrawingSurface::PaintPicture(const QImage &picture, double x, double y, double width, double height)
{
    drawPicture(picture, x, y, width, height);
}

void DrawingSurface::Message(const QString &title, const QString &text, MessageIcon icon)
{
    recordMessage(title, text, icon);
    if (m_interaction)
        m_interaction->message(title, text, icon);
}

void DrawingSurface::recordMessage(const QString &, const QString &, MessageIcon) {}
