#pragma once
#include "foundation/Interaction.h"
#include "layout/MeasuringSurface.h"
#include <QImage>
#include <QString>

// A page-sized drawing target in twips, origin at the paper's top-left
// corner: a preview image, a printer, a PDF, or a recording for tests and
// the display list. Page drawing and the layout engine only ever talk to
// this interface.
class DrawingSurface {
public:
    virtual ~DrawingSurface();

    QString fontName() const { return m_fontName; }       // "宋体" or "楷体"
    void setFontName(const QString &name) { m_fontName = name; }
    double fontSize() const { return m_fontSize; }        // points
    void setFontSize(double points) { m_fontSize = points; }
    // The pen of the lines, in twips: it has the same weight on every device.
    double penWidth() const { return m_penWidth; }
    void setPenWidth(double twips) { m_penWidth = twips; }
    // The height of one line of the current font: the distance from one
    // line's top to the next (MeasuringSurface::lineHeight).
    double lineHeight() { return m_measuring.lineHeight(m_fontName, m_fontSize); }

    // Draws `text` in the current font with the top-left corner of its
    // first character cell at (x, y); positions are kept unrounded.
    virtual void drawText(double x, double y, const QString &text) = 0;
    // A line from (x1, y1) to (x2, y2) in the current penWidth().
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    // The photo scaled into the rectangle.
    virtual void drawPicture(const QImage &picture, double x, double y, double width, double height) = 0;
    // A message raised while drawing (the cell fitter's warnings, page
    // messages). Recorded in order with the drawing; forwarded to the
    // interaction when one is set.
    // Shown under its kind's title and icon.
    void showMessage(const Failure &message);

    // Where the layout engine measures text for this drawing; its set-up
    // belongs to this drawing alone.
    MeasuringSurface &measuring() { return m_measuring; }

    void setInteraction(Interaction *interaction) { m_interaction = interaction; }
    Interaction *interaction() const { return m_interaction; }

protected:
    virtual void recordMessage(const Failure &message);

private:
    QString m_fontName = QStringLiteral("宋体");
    double m_fontSize = 12;
    double m_penWidth = 15;
    Interaction *m_interaction = nullptr;
    MeasuringSurface m_measuring;
};
