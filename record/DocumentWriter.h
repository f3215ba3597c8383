#pragma once
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"
#include <QIODevice>
#include <QString>
#include <QStringList>

// Writes the hand-off values as a ".dwz" document: 32 items, every one with
// its straight double quotes curled, birthday and work time without ".".
class DocumentWriter {
public:
    bool write(QIODevice &device, const RendererVars &vars, const QString &compactPartyText);
    // Writes to `path` through SafeFile, so a failure leaves the old one.
    bool writeFile(const QString &path, const RendererVars &vars, const QString &compactPartyText);
    QString errorString() const { return m_error; }
    int errorNumber() const { return m_errorNumber; }   // errno of a failed file, else a QFileDevice::FileError

    static QStringList items(const RendererVars &vars, const QString &compactPartyText);
    static QByteArray bytes(const RendererVars &vars, const QString &compactPartyText);

private:
    QString m_error;
    int m_errorNumber = 0;
};
