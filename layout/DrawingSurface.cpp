#include "layout/DrawingSurface.h"
#include "layout/MeasuringSurface.h"

DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::showMessage(const Failure &message)
{
    recordMessage(message);
    if (m_interaction)
        showFailure(*m_interaction, message);
}

void DrawingSurface::recordMessage(const Failure &) {}
