#include "foundation/SettingsFiles.h"
#include "foundation/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString irregularSettingsFile(const QString &organization, const QString &application)
{
    for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
        // Qt tells a store's file name only for a store it has opened; a store
        // of a name nobody uses finds the folder without reading anything.
        const QSettings probe(QSettings::NativeFormat, scope, QStringLiteral("appointform-folder-probe"),
                              QStringLiteral("probe"));
        QDir folder = QFileInfo(probe.fileName()).dir();
        folder.cdUp();
        const QString suffix = QFileInfo(probe.fileName()).suffix();
        const QStringList files = {
            folder.filePath(organization + QLatin1Char('/') + application + QLatin1Char('.') + suffix),
            folder.filePath(organization + QLatin1Char('.') + suffix)};
        for (const QString &file : files)
            if (QFileInfo::exists(file) && !isRegularFile(file))
                return file;
    }
    return QString();
}
