#include "foundation/Settings.h"
#include "foundation/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <iterator>
#include <memory>

namespace {

using Settings::Entry;
using Settings::Key;

// The margins' defaults are PageMargins' own, which their reader passes.
const Entry kEntries[] = {
    {Key::TopMargin, "KQTS", "RM", "TBL_TOP_DIST", ""},
    {Key::PageOneLeftMargin, "KQTS", "RM", "TBL_LEFT_DIST", ""},
    {Key::PageTwoLeftMargin, "KQTS", "RM", "TBLBACK_LEFT_DIST", ""},
    {Key::TableWidth, "KQTS", "RM", "TBL_WIDTH", ""},
    {Key::TableHeight, "KQTS", "RM", "TBL_HEIGHT", ""},
    {Key::LastSaveFolder, "preRMDir", "preRMDir", "preRMDir", ""},
    {Key::PreviewWidth, "KQTS", "PREVIEW", "WINDOW_WIDTH", ""},
    {Key::PreviewHeight, "KQTS", "PREVIEW", "WINDOW_HEIGHT", ""},
    {Key::PreviewMaximized, "KQTS", "PREVIEW", "WINDOW_MAXIMIZED", "0"},
    {Key::PreviewZoom, "KQTS", "PREVIEW", "ZOOM", ""},
    {Key::RecentDocuments, "KQTS", "RECENT", "RECENT_FILES", ""},
};

QString application(Key key) { return QString::fromLatin1(Settings::entry(key).application); }

QString path(Key key)
{
    const Entry &e = Settings::entry(key);
    return QString::fromLatin1(e.section) + QLatin1Char('/') + QString::fromLatin1(e.name);
}

// The store of `key`'s application, or none when it may not be opened.
std::unique_ptr<QSettings> open(Key key)
{
    if (!Settings::irregularFile(key).isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application(key), application(key));
}

} // namespace

namespace Settings {

const Entry &entry(Key key)
{
    for (const Entry &e : kEntries)
        if (e.key == key)
            return e;
    Q_UNREACHABLE();
}

QString irregularFile(Key key)
{
    const QString app = application(key);
    for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
        // Qt tells a store's file name only for a store it has opened; a store
        // of a name nobody uses finds the folder without reading anything.
        const QSettings probe(QSettings::NativeFormat, scope, QStringLiteral("appointform-folder-probe"),
                              QStringLiteral("probe"));
        QDir folder = QFileInfo(probe.fileName()).dir();
        folder.cdUp();
        const QString suffix = QFileInfo(probe.fileName()).suffix();
        const QStringList files = {folder.filePath(app + QLatin1Char('/') + app + QLatin1Char('.') + suffix),
                                   folder.filePath(app + QLatin1Char('.') + suffix)};
        for (const QString &file : files)
            if (QFileInfo::exists(file) && !isRegularFile(file))
                return file;
    }
    return QString();
}

QString text(Key key) { return text(key, QString::fromLatin1(entry(key).fallback)); }

QString text(Key key, const QString &fallback)
{
    const std::unique_ptr<QSettings> store = open(key);
    return store ? store->value(path(key), fallback).toString() : fallback;
}

QStringList list(Key key)
{
    const std::unique_ptr<QSettings> store = open(key);
    return store ? store->value(path(key)).toStringList() : QStringList();
}

Result<> write(const std::vector<std::pair<Key, QVariant>> &values)
{
    std::vector<std::pair<QString, std::unique_ptr<QSettings>>> stores;
    bool opened = true;
    for (const auto &[key, value] : values) {
        auto it = stores.begin();
        while (it != stores.end() && it->first != application(key))
            ++it;
        if (it == stores.end()) {
            stores.emplace_back(application(key), open(key));
            it = std::prev(stores.end());
        }
        if (it->second)
            it->second->setValue(path(key), value);
        else
            opened = false;
    }
    bool written = opened;
    for (auto &store : stores) {
        if (!store.second)
            continue;
        store.second->sync();
        written = written && store.second->status() == QSettings::NoError;
    }
    if (!written)
        return Failure{FailureKind::FileSystem, QStringLiteral("设置未能保存。")};
    return {};
}

QString lastSaveFolder(const QString &fallback) { return text(Key::LastSaveFolder, fallback); }

Result<> setLastSaveFolder(const QString &folder) { return write({{Key::LastSaveFolder, folder}}); }

QStringList recentDocuments() { return list(Key::RecentDocuments); }

void setRecentDocuments(const QStringList &paths) { write({{Key::RecentDocuments, paths}}); }

void useScratchFolder(const QString &folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, folder + QStringLiteral("/system"));
    for (const Entry &e : kEntries)
        if (const std::unique_ptr<QSettings> store = open(e.key))
            store->clear();
}

} // namespace Settings
