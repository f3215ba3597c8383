#include "windows/FormFont.h"
#include "layout/MeasuringSurface.h"

QString songtiFamily()
{
    return resolveFontFamily(QStringLiteral("宋体"));
}

QFont songtiFont(double points)
{
    QFont font(songtiFamily());
    font.setPointSizeF(points);
    return font;
}
