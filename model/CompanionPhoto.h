#pragma once
#include <QImage>
#include <QString>

// The photo is never inside a document: it lives beside it as a byte copy of
// the image the user chose, under the document's companion path.
enum class CompanionPhotoState { Missing, Loaded, Damaged };

// The most pixels a photo is decoded at: its 35 x 45 mm box at 600 dpi.
constexpr int kPhotoMaxWidth = 827;
constexpr int kPhotoMaxHeight = 1063;

// Decodes a photo file by its content, whatever its extension says (".pic"
// says nothing about the format); a null image when it cannot be decoded.
// A larger picture is decoded smaller, keeping its proportions, just large
// enough to fill the photo box at printer resolution: nothing is printed
// finer than that, and a camera's picture would otherwise cost tens of
// megabytes in memory and in every PDF page.
QImage readPhotoFile(const QString &path);

CompanionPhotoState loadCompanionPhoto(const QString &companionPath, QImage *image);

// Copies the photo file at `photoPath` to `companionPath`, replacing what is
// there; nothing happens when both name the same file. When the chosen file
// can no longer be read, the picture in memory is written instead so that the
// photo is not lost.
bool copyPhotoToCompanion(const QString &photoPath, const QImage &picture, const QString &companionPath,
                          QString *error);
// Deletes the companion file of a document saved without a photo, so that an
// old photo does not come back on the next load.
bool removeCompanionPhoto(const QString &companionPath, QString *error);

// Whether two paths name the same file (also when spelled differently).
bool sameFilePath(const QString &a, const QString &b);
