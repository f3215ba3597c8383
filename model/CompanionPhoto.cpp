#include "model/CompanionPhoto.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace {
// Photos are small; a larger file is not worth holding in memory twice.
constexpr qint64 kMaxPhotoBytes = 64 * 1024 * 1024;

bool writeAtomically(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly) && out.write(data) == data.size() && out.commit())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}
} // namespace

QImage readPhotoFile(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.width() > kPhotoMaxWidth || size.height() > kPhotoMaxHeight) {
        // Both sides at least what the box needs, so that a stretched
        // print still has the resolution.
        const double factor = qMax(double(kPhotoMaxWidth) / size.width(), double(kPhotoMaxHeight) / size.height());
        if (factor < 1)
            reader.setScaledSize(QSize(qMax(1, qRound(size.width() * factor)), qMax(1, qRound(size.height() * factor))));
    }
    return reader.read();
}

bool sameFilePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a == b;
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

CompanionPhotoState loadCompanionPhoto(const QString &companionPath, QImage *image)
{
    if (!QFileInfo(companionPath).isFile())
        return CompanionPhotoState::Missing;
    const QImage loaded = readPhotoFile(companionPath);
    if (loaded.isNull())
        return CompanionPhotoState::Damaged;
    if (image)
        *image = loaded;
    return CompanionPhotoState::Loaded;
}

bool copyPhotoToCompanion(const QString &photoPath, const QImage &picture, const QString &companionPath,
                          QString *error)
{
    if (sameFilePath(photoPath, companionPath))
        return true;
    QFile source(photoPath);
    if (source.open(QIODevice::ReadOnly) && source.size() <= kMaxPhotoBytes) {
        // Read whole before writing, so no spelling of the same file can
        // truncate the source.
        const QByteArray data = source.readAll();
        if (source.error() == QFileDevice::NoError)
            return writeAtomically(companionPath, data, error);
    }
    if (!picture.isNull()) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        if (picture.save(&buffer, "BMP"))
            return writeAtomically(companionPath, data, error);
    }
    if (error)
        *error = QStringLiteral("照片文件“%1”无法读取").arg(photoPath);
    return false;
}

bool removeCompanionPhoto(const QString &companionPath, QString *error)
{
    QFile file(companionPath);
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
