#include "record/CompanionPhoto.h"
#include "foundation/SafeFile.h"
#include "foundation/FileErrorText.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

namespace {

// The file's bytes, if it is a regular file that reads whole.
bool readPhotoBytes(const QString &path, QByteArray *bytes, PhotoProblem *problem)
{
    if (!isRegularFile(path)) {
        *problem = QFileInfo::exists(path) ? PhotoProblem::NotAFile : PhotoProblem::Unreadable;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = PhotoProblem::Unreadable;
        return false;
    }
    if (file.size() > kMaxPhotoBytes) {
        *problem = PhotoProblem::TooLarge;
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *problem = PhotoProblem::Unreadable;
        return false;
    }
    return true;
}

quint16 be16(const uchar *p) { return qFromBigEndian<quint16>(p); }

// Walks the markers up to the end marker; the picture data after each scan
// header runs to the next marker that is neither a stuffed 0xFF nor a restart.
bool jpegComplete(const uchar *d, qint64 n)
{
    qint64 pos = 2;
    while (pos < n) {
        if (d[pos] != 0xFF)
            return false;
        while (pos < n && d[pos] == 0xFF)
            ++pos;
        if (pos >= n)
            return false;
        const uchar marker = d[pos++];
        if (marker == 0xD9)
            return true;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue;
        if (pos + 2 > n)
            return false;
        const int length = be16(d + pos);
        if (length < 2)
            return false;
        pos += length;
        if (marker != 0xDA)
            continue;
        for (;;) {
            if (pos + 1 >= n)
                return false;   // the file ends inside the picture data
            if (d[pos] == 0xFF) {
                const uchar next = d[pos + 1];
                if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                    pos += 2;
                    continue;
                }
                if (next != 0xFF)
                    break;
            }
            ++pos;
        }
    }
    return false;
}

bool pngComplete(const uchar *d, qint64 n)
{
    qint64 pos = 8;
    while (pos + 8 <= n) {
        const quint32 length = qFromBigEndian<quint32>(d + pos);
        if (memcmp(d + pos + 4, "IEND", 4) == 0)
            return true;
        pos += 12 + qint64(length);
    }
    return false;
}

bool bmpComplete(const uchar *d, qint64 n)
{
    if (n < 26)
        return false;
    const quint32 offset = qFromLittleEndian<quint32>(d + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(d + 14);
    if (offset >= n)
        return false;   // no pixel data at all
    qint64 width = 0, height = 0, bits = 0, compression = 0, imageSize = 0;
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(d + 18);
        height = qFromLittleEndian<quint16>(d + 20);
        bits = qFromLittleEndian<quint16>(d + 24);
    } else if (headerSize >= 40 && n >= 38) {
        width = qFromLittleEndian<qint32>(d + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(d + 22)));
        bits = qFromLittleEndian<quint16>(d + 28);
        compression = qFromLittleEndian<quint32>(d + 30);
        imageSize = qFromLittleEndian<quint32>(d + 34);
    } else {
        return true;   // an unusual header: the decoder decides
    }
    qint64 needed = 0;
    if (compression == 0 || compression == 3 || compression == 6)
        needed = (width * bits + 31) / 32 * 4 * height;
    else
        needed = imageSize;   // compressed: as much as the header announces
    return needed <= 0 || offset + needed <= n;
}

} // namespace

bool photoDataComplete(const QByteArray &data)
{
    const auto *d = reinterpret_cast<const uchar *>(data.constData());
    const qint64 n = data.size();
    if (n >= 2 && d[0] == 0xFF && d[1] == 0xD8)
        return jpegComplete(d, n);
    if (n >= 8 && memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0)
        return pngComplete(d, n);
    if (n >= 2 && d[0] == 'B' && d[1] == 'M')
        return bmpComplete(d, n);
    return true;   // other formats: the decoder decides
}

QImage readPhotoFile(const QString &path, PhotoProblem *problem)
{
    PhotoProblem why = PhotoProblem::None;
    QByteArray bytes;
    QImage image;
    if (readPhotoBytes(path, &bytes, &why)) {
        if (photoDataComplete(bytes)) {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer);
            reader.setDecideFormatFromContent(true);
            const QSize size = reader.size();
            if (size.width() > kPhotoMaxWidth || size.height() > kPhotoMaxHeight) {
                // Both sides at least what the box needs, so that a stretched
                // print still has the resolution.
                const double factor = qMax(double(kPhotoMaxWidth) / size.width(),
                                           double(kPhotoMaxHeight) / size.height());
                if (factor < 1)
                    reader.setScaledSize(QSize(qMax(1, qRound(size.width() * factor)),
                                               qMax(1, qRound(size.height() * factor))));
            }
            image = reader.read();
        }
        if (image.isNull())
            why = PhotoProblem::Damaged;
    }
    if (problem)
        *problem = why;
    return image;
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
    if (!QFileInfo::exists(companionPath))
        return CompanionPhotoState::Missing;
    PhotoProblem problem = PhotoProblem::None;
    const QImage loaded = readPhotoFile(companionPath, &problem);
    if (problem == PhotoProblem::NotAFile)
        return CompanionPhotoState::NotAFile;
    if (problem == PhotoProblem::TooLarge)
        return CompanionPhotoState::TooLarge;
    if (loaded.isNull())
        return CompanionPhotoState::Damaged;
    if (image)
        *image = loaded;
    return CompanionPhotoState::Loaded;
}

Result<QByteArray> companionPhotoBytes(const QString &photoPath, const QImage &picture)
{
    PhotoProblem problem = PhotoProblem::None;
    QByteArray bytes;
    if (readPhotoBytes(photoPath, &bytes, &problem))
        return bytes;
    if (!picture.isNull()) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (picture.save(&buffer, "BMP"))
            return bytes;
    }
    return Failure{FailureKind::FileSystem, QStringLiteral("照片文件“%1”无法读取").arg(photoPath)};
}
