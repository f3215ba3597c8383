#pragma once
#include "foundation/Result.h"
#include <QByteArray>
#include <QImage>
#include <QString>

// The photo is never inside a document: it lives beside it as a byte copy of
// the image the user chose, under the document's companion path.
enum class CompanionPhotoState { Missing, Loaded, Damaged, NotAFile, TooLarge };

// Why a photo file gave no picture.
enum class PhotoProblem { None, NotAFile, Unreadable, Damaged, TooLarge };

// Photos are small; a larger file is not worth holding in memory twice.
constexpr qint64 kMaxPhotoBytes = 64 * 1024 * 1024;

// The most pixels a photo is decoded at: its 35 x 45 mm box at 600 dpi.
constexpr int kPhotoMaxWidth = 827;
constexpr int kPhotoMaxHeight = 1063;

// Decodes a photo file by its content, whatever its extension says (".pic"
// says nothing about the format); a null image when it is not a regular
// file, cannot be read, is cut short or cannot be decoded.
// A larger picture is decoded smaller, keeping its proportions, just large
// enough to fill the photo box at printer resolution: nothing is printed
// finer than that, and a camera's picture would otherwise cost tens of
// megabytes in memory and in every PDF page.
QImage readPhotoFile(const QString &path, PhotoProblem *problem = nullptr);

// Whether photo bytes are whole as far as their format tells: a JPEG that
// ends inside its picture data or before its end marker, a PNG without its
// end chunk and a BMP shorter than its pixels are damaged, although the
// decoders would show them with a grey or black remainder.
bool photoDataComplete(const QByteArray &data);

CompanionPhotoState loadCompanionPhoto(const QString &companionPath, QImage *image);

// The bytes to put beside a document: the photo file at `photoPath` as it
// is, or, when it can no longer be read, the picture in memory as a BMP so
// that the photo is not lost.
Result<QByteArray> companionPhotoBytes(const QString &photoPath, const QImage &picture);

// Whether two paths name the same file (also when spelled differently).
bool sameFilePath(const QString &a, const QString &b);
