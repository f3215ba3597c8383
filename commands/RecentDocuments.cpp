#include "commands/RecentDocuments.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("RECENT/RECENT_FILES");

void store(const QStringList &list)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KQTS"), QStringLiteral("KQTS"));
    settings.setValue(kKey, list);   // best effort: a list not kept is no loss of work
}

} // namespace

namespace RecentDocuments {

QStringList paths()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KQTS"), QStringLiteral("KQTS"));
    QStringList list = settings.value(kKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMaxCount);
}

void add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxCount));
}

void remove(const QString &path)
{
    QStringList list = paths();
    if (list.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        store(list);
}

} // namespace RecentDocuments
