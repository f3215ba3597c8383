#pragma once
// Small helpers shared by the document, command, hand-off and import tests.
#include "support/ScriptedInteraction.h"
#include "record/DocumentFile.h"
#include "record/DocumentItems.h"
#include "record/DocumentWriter.h"
#include "record/RendererHandoff.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QString sample(const char *name) { return QStringLiteral(AF_SOURCE_DIR "/samples/") + QLatin1String(name); }

// One member of a zip file (a .docx or .xlsx), empty when absent; "[" would start a pattern.
inline QByteArray zipMember(const QString &zip, const char *name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, QString::fromLatin1(name).replace(QStringLiteral("["), QStringLiteral("[[]"))});
    return unzip.waitForFinished() && unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
}

inline QImage filledImage(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

inline QByteArray imageBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format) ? bytes : QByteArray();
}

// "<prefix>1" ... "<prefix>count": every item tells where it came from.
inline QStringList numberedItems(const QString &prefix, int count)
{
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << prefix + QString::number(i);
    return items;
}

// What the save command does once the checks have passed: hand off, then
// write, and show a failure; the companion counts as the document's own
// unless told otherwise.
inline bool saveRecord(const QString &path, AppointmentRecord &r, Interaction &ui, bool companionIsOwn = true)
{
    RendererVars v;
    Result<> done = fillRendererVars(r, v);
    if (done)
        done = saveDocumentFile(path, v, r, companionIsOwn);
    if (!done)
        showFailure(ui, done);
    return done.ok();
}

// The bytes a save of `r` writes; empty when the hand-off refuses it.
inline QByteArray savedBytes(AppointmentRecord r)
{
    RendererVars v;
    return fillRendererVars(r, v) ? dwzDocumentBytes(v, r.compactPartyText).value() : QByteArray();
}
