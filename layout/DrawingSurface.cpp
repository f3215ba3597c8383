#include "layout/DrawingSurface.h"
#include "layout/MeasuringSurface.h"

DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::printText(const QString &text)
{
    drawText(currentX, currentY, text);
    currentX = 0;
    currentY += m_measuring.lineHeight(fontName(), fontSize());
}

void DrawingSurface::strokeLine(double x1, double y1, double x2, double y2)
{
    drawLine(x1, y1, x2, y2);
}

void DrawingSurface::paintPicture(const QImage &picture, double x, double y, double width, double height)
{
    drawPicture(picture, x, y, width, height);
}

void DrawingSurface::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    recordMessage(title, text, icon);
    if (m_interaction)
        m_interaction->message(title, text, icon);
}

void DrawingSurface::recordMessage(const QString &, const QString &, MessageIcon) {}
