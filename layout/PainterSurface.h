#pragma once
#include "layout/DrawingSurface.h"

class QPainter;

// Paints onto any QPainter: a preview QImage, a QPrinter or a QPdfWriter.
// Coordinates are twips from the paper's top-left corner, which must be the
// painter's origin (for a printer: full-page mode). Twips become device
// pixels by dotsPerInch / 1440, so the device's resolution only sets the
// scale. Text is drawn with the same font the MeasuringSurface measures
// with, laid out at the twip scale, so what is measured is what is drawn.
// The painter's state is left as it was after every operation.
class PainterSurface : public DrawingSurface {
public:
    // dotsPerInch <= 0 takes the resolution of the painter's device.
    PainterSurface(QPainter *painter, double dotsPerInch);

    double dotsPerInch() const { return m_dpi; }
    QPainter *painter() const { return m_painter; }

    void drawText(double x, double y, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawPicture(const QImage &picture, double x, double y, double w, double h) override;

private:
    QPainter *m_painter;
    double m_dpi;
    double m_scale;   // device pixels per twip
};
