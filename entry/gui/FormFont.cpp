#include "entry/gui/FormFont.h"
#include <QFontDatabase>
#include <QStringList>

QString songtiFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char *name : {"SimSun", "宋体", "AR PL SungtiL GB"})
            if (installed.contains(QString::fromUtf8(name)))
                return QString::fromUtf8(name);
        return QStringLiteral("AR PL SungtiL GB");
    }();
    return family;
}

QFont songtiFont(double points)
{
    QFont font(songtiFamily());
    font.setPointSizeF(points);
    return font;
}
