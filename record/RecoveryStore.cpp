#include "record/RecoveryStore.h"
#include "foundation/SafeFile.h"
#include "record/CompanionPhoto.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QCoreApplication>
#include <algorithm>

namespace {

const QString kLockName = QStringLiteral("lock");
const QString kRecordName = QStringLiteral("record.json");
const QString kPhotoName = QStringLiteral("photo");

std::unique_ptr<QLockFile> makeLock(const QString &slot)
{
    auto lock = std::make_unique<QLockFile>(QDir(slot).filePath(kLockName));
    // Held for as long as an editor runs: only a dead owner makes it stale.
    lock->setStaleLockTime(0);
    return lock;
}

QJsonObject recordToJson(const AppointmentRecord &r, const QString &documentPath)
{
    QJsonObject fields;
    for (const RecordField &f : recordFields()) {
        if (f.family) {
            QJsonArray rows;
            for (const QString &cell : r.*(f.column))
                rows.append(cell);
            fields.insert(QLatin1String(f.controlName), rows);
        } else {
            fields.insert(QLatin1String(f.controlName), r.*(f.text));
        }
    }
    QJsonObject o;
    o.insert(QStringLiteral("format"), 1);
    o.insert(QStringLiteral("documentPath"), documentPath);
    o.insert(QStringLiteral("photoPath"), r.photoPath);
    o.insert(QStringLiteral("hasPhoto"), r.hasPhoto);
    o.insert(QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("fields"), fields);
    return o;
}

bool readJson(const QString &slot, QJsonObject *out)
{
    const QString path = QDir(slot).filePath(kRecordName);
    if (!isRegularFile(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(16 * 1024 * 1024), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    *out = doc.object();
    return out->value(QStringLiteral("format")).toInt() == 1;
}

} // namespace

RecoveryStore::RecoveryStore(const QString &folder) : m_base(folder) {}

RecoveryStore::~RecoveryStore()
{
    m_orphanLocks.clear();
    if (!m_slot.isEmpty()) {
        discard();
        m_lock.reset();   // unlocks and removes the lock file
        QDir().rmdir(m_slot);
    }
}

QString RecoveryStore::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("recovery"));
}

Result<> RecoveryStore::start()
{
    const Failure unusable{QStringLiteral("恢复副本的文件夹“%1”不能使用").arg(QDir::toNativeSeparators(m_base))};
    if (isActive())
        return {};
    if (!QDir().mkpath(m_base))
        return unusable;
    for (int attempt = 0; attempt < 10; ++attempt) {
        const QString slot = QDir(m_base).filePath(
            QStringLiteral("editor-%1-%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0')));
        if (QFileInfo::exists(slot) || !QDir().mkpath(slot))
            continue;
        auto lock = makeLock(slot);
        if (lock->tryLock(0)) {
            m_slot = slot;
            m_lock = std::move(lock);
            return {};
        }
        QDir().rmdir(slot);
    }
    return unusable;
}

Result<> RecoveryStore::keep(const AppointmentRecord &record, const QString &documentPath)
{
    if (!isActive())
        return Failure{QStringLiteral("恢复副本的文件夹不能使用")};
    if (m_haveLast && record.sameFields(m_last) && documentPath == m_lastDocumentPath
        && record.photo.cacheKey() == m_last.photo.cacheKey())
        return {};
    const QString photoPath = QDir(m_slot).filePath(kPhotoName);
    if (record.hasPhoto) {
        const Result<QByteArray> bytes = companionPhotoBytes(record.photoPath, record.photo);
        if (!bytes)
            return Failure{bytes.error()};
        if (const Result<> written = writeFileSafely(photoPath, bytes.value()); !written)
            return written;
    } else {
        QFile::remove(photoPath);
    }
    const QByteArray json = QJsonDocument(recordToJson(record, documentPath)).toJson();
    if (const Result<> written = writeFileSafely(QDir(m_slot).filePath(kRecordName), json); !written)
        return written;
    m_last = record;
    m_lastDocumentPath = documentPath;
    m_haveLast = true;
    return {};
}

void RecoveryStore::discard()
{
    m_haveLast = false;
    m_last = AppointmentRecord();
    if (!isActive())
        return;
    QFile::remove(QDir(m_slot).filePath(kRecordName));
    QFile::remove(QDir(m_slot).filePath(kPhotoName));
}

bool RecoveryStore::hasCopy() const
{
    return isActive() && QFileInfo::exists(QDir(m_slot).filePath(kRecordName));
}

QList<RecoveryStore::Orphan> RecoveryStore::findOrphans()
{
    QList<Orphan> found;
    const QFileInfoList entries = QDir(m_base).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &info : entries) {
        const QString slot = info.absoluteFilePath();
        if (slot == m_slot || m_orphanLocks.count(slot))
            continue;
        auto lock = makeLock(slot);
        if (!lock->tryLock(0))
            continue;   // its editor is still running
        QJsonObject o;
        if (!readJson(slot, &o)) {
            // Nothing to offer: what is left of an editor that had no copy.
            lock.reset();
            QDir(slot).removeRecursively();
            continue;
        }
        Orphan orphan;
        orphan.folder = slot;
        orphan.documentPath = o.value(QStringLiteral("documentPath")).toString();
        orphan.name = o.value(QStringLiteral("fields")).toObject().value(QStringLiteral("txtName")).toString();
        orphan.written = QDateTime::fromString(o.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
        m_orphanLocks[slot] = std::move(lock);
        found << orphan;
    }
    std::sort(found.begin(), found.end(), [](const Orphan &a, const Orphan &b) { return a.written > b.written; });
    return found;
}

Result<RecoveryStore::Recovered> RecoveryStore::readOrphan(const Orphan &orphan) const
{
    QJsonObject o;
    if (!readJson(orphan.folder, &o))
        return Failure{QStringLiteral("恢复副本已损坏")};
    AppointmentRecord r;
    const QJsonObject fields = o.value(QStringLiteral("fields")).toObject();
    for (const RecordField &f : recordFields()) {
        const QJsonValue v = fields.value(QLatin1String(f.controlName));
        if (f.family) {
            const QJsonArray rows = v.toArray();
            for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row)
                (r.*(f.column))[row] = rows.at(row).toString();
        } else {
            r.*(f.text) = v.toString();
        }
    }
    r.hasPhoto = false;
    r.photoPath = o.value(QStringLiteral("photoPath")).toString();
    if (o.value(QStringLiteral("hasPhoto")).toBool()) {
        const QString kept = QDir(orphan.folder).filePath(kPhotoName);
        const QImage picture = readPhotoFile(kept);
        if (!picture.isNull()) {
            r.photo = picture;
            r.hasPhoto = true;
            // The chosen file may have changed or gone since: only a file
            // with the very bytes kept can stand for the photo.
            QFile original(r.photoPath), copy(kept);
            const bool same = isRegularFile(r.photoPath) && original.open(QIODevice::ReadOnly)
                              && copy.open(QIODevice::ReadOnly) && original.size() == copy.size()
                              && original.readAll() == copy.readAll();
            if (!same)
                r.photoPath.clear();   // the picture in memory is what a save writes
        }
    }
    r.isDirty = true;
    return Recovered{r, o.value(QStringLiteral("documentPath")).toString()};
}

void RecoveryStore::removeOrphan(const Orphan &orphan)
{
    m_orphanLocks.erase(orphan.folder);
    QDir(orphan.folder).removeRecursively();
}
