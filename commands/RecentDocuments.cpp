#include "commands/RecentDocuments.h"
#include "foundation/Settings.h"

#include <QFileInfo>

namespace RecentDocuments {

QStringList paths()
{
    QStringList list = Settings::recentDocuments();
    list.removeAll(QString());
    return list.mid(0, kMaxCount);
}

void add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    Settings::setRecentDocuments(list.mid(0, kMaxCount));   // a list not kept is no loss of work
}

void remove(const QString &path)
{
    QStringList list = paths();
    if (list.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        Settings::setRecentDocuments(list);
}

} // namespace RecentDocuments
