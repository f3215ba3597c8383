#include "record/DocumentKind.h"

DocumentKind documentKindOf(const QString &path)
{
    const QString ext = path.right(3).toLower();
    if (ext == QLatin1String("dwz"))
        return DocumentKind::Dwz;
    if (ext == QLatin1String("ren"))
        return DocumentKind::Ren;
    if (ext == QLatin1String("ljy"))
        return DocumentKind::Ljy;
    if (ext == QLatin1String("jan"))
        return DocumentKind::Jan;
    return DocumentKind::Unknown;
}

int documentItemCount(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Dwz: return 32;
    case DocumentKind::Ren: return 34;
    case DocumentKind::Ljy:
    case DocumentKind::Jan: return 32;
    case DocumentKind::Unknown: break;
    }
    return 0;
}

int documentMinimumItemCount(DocumentKind kind)
{
    return kind == DocumentKind::Dwz ? 31 : documentItemCount(kind);
}

QString companionPhotoPath(const QString &documentPath)
{
    return documentPath.left(qMax(0, documentPath.size() - 4)) + QStringLiteral(".pic");
}

QString documentSavePath(const QString &path)
{
    if (path.endsWith(QLatin1String(".dwz"), Qt::CaseInsensitive))
        return path;
    return path + QStringLiteral(".dwz");
}
