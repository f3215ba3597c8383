#pragma once
#include <QString>

// The per-user settings store is read from files named after the
// organisation and the application, in the user's and the system's
// configuration folders. A file there that is not a regular file (a pipe, a
// device, a folder) would make the store wait for ever or read nonsense:
// this names the first such file, or is empty when there is none. Call it
// before a QSettings in the native format is made for them.
QString irregularSettingsFile(const QString &organization, const QString &application);
