#include "layout/DrawingSurface.h"
#include "layout/MeasuringSurface.h"

DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    recordMessage(title, text, icon);
    if (m_interaction)
        m_interaction->message(title, text, icon);
}

void DrawingSurface::recordMessage(const QString &, const QString &, MessageIcon) {}
