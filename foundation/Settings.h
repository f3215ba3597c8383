#pragma once
#include "foundation/Result.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

// The per-user settings store: the one place the program reads or writes
// it. Every stored value has a row in the table below; the names are those
// the stores of existing users hold (the last save folder under an
// application name of its own, everything else under "KQTS"), so they stay.
// A store whose file is not a regular file (a pipe, a device, a folder)
// would wait for ever or read nonsense: it is neither read nor written.
namespace Settings {

enum class Key {
    TopMargin, PageOneLeftMargin, PageTwoLeftMargin, TableWidth, TableHeight,
    LastSaveFolder,
    PreviewWidth, PreviewHeight, PreviewMaximized, PreviewZoom,
    RecentDocuments,
};

struct Entry {
    Key key;
    const char *application;
    const char *section;
    const char *name;
    const char *fallback;   // the value while nothing is stored
};
const Entry &entry(Key key);

// The file of `key`'s store that is not a regular file, or empty.
QString irregularFile(Key key);

// The stored text, or the table's default (`fallback`, when given instead)
// when nothing is stored or the store cannot be read.
QString text(Key key);
QString text(Key key, const QString &fallback);
QStringList list(Key key);

// Writes the values in the order given and says whether every store took them.
Result<> write(const std::vector<std::pair<Key, QVariant>> &values);

// The typed accessors the program uses.
QString lastSaveFolder(const QString &fallback);
Result<> setLastSaveFolder(const QString &folder);
QStringList recentDocuments();
void setRecentDocuments(const QStringList &paths);   // best effort

// For tests: every store is kept in `folder` instead of the user's own,
// starting empty.
void useScratchFolder(const QString &folder);

} // namespace Settings
