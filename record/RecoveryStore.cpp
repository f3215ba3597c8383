#include "record/RecoveryStore.h"
#include "record/FieldSchema.h"
#include "foundation/SafeFile.h"
#include "record/CompanionPhoto.h"
#include "record/DocumentReader.h"

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
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLockName = QStringLiteral("lock");
const QString kRecordName = QStringLiteral("record.json");
const QString kPhotoName = QStringLiteral("photo");
// Left in a subfolder whose copy could not be read, once the clerk was told.
const QString kReportedName = QStringLiteral("reported");
constexpr int kFormat = 1;
// A copy holds one record whose fields are capped: anything this large is not one.
constexpr qint64 kMaxRecordBytes = 4 * 1024 * 1024;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

std::unique_ptr<QLockFile> makeLock(const QString &slot)
{
    auto lock = std::make_unique<QLockFile>(QDir(slot).filePath(kLockName));
    // Held for as long as an editor runs: only a dead owner makes it stale.
    lock->setStaleLockTime(0);
    return lock;
}

// A subfolder this store made: its own naming, a folder itself (not a link
// to one) and the user's own. Nothing else under the folder is touched.
bool isOwnSlot(const QString &slot)
{
    struct stat st {};
    return RecoveryStore::isSlotName(QFileInfo(slot).fileName())
           && ::lstat(nativePath(slot).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

// Deletes the files this store puts into a subfolder (and the temporaries of
// an interrupted write of them), then the subfolder if that emptied it.
// unlink() removes a link itself, never what it points to.
void removeSlot(const QString &slot)
{
    if (!isOwnSlot(slot))
        return;
    for (const QString &name : {kRecordName, kPhotoName, kReportedName, kLockName})
        ::unlink(nativePath(QDir(slot).filePath(name)).constData());
    removeStaleTemporaries(slot, 0);   // the safe write's own, of any age
    ::rmdir(nativePath(slot).constData());
}

QJsonObject recordToJson(const AppointmentRecord &r, const QString &documentPath)
{
    QJsonObject fields;
    for (const RecordField &f : recordFields()) {
        if (f.isFamily()) {
            QJsonArray rows;
            for (const QString &cell : r.*(f.column))
                rows.append(cell);
            fields.insert(QLatin1String(f.controlName), rows);
        } else {
            fields.insert(QLatin1String(f.controlName), r.*(f.text));
        }
    }
    QJsonObject o;
    o.insert(QStringLiteral("format"), kFormat);
    o.insert(QStringLiteral("documentPath"), documentPath);
    o.insert(QStringLiteral("photoPath"), r.photoPath);
    o.insert(QStringLiteral("hasPhoto"), r.hasPhoto);
    o.insert(QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("fields"), fields);
    return o;
}

enum class CopyState { None, Readable, Damaged, LaterVersion };

CopyState parseJson(const QByteArray &bytes, QJsonObject *out)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return CopyState::Damaged;
    *out = doc.object();
    const int format = out->value(QStringLiteral("format")).toInt();
    if (format > kFormat)
        return CopyState::LaterVersion;
    return format == kFormat ? CopyState::Readable : CopyState::Damaged;
}

CopyState readCopyBytes(const QString &slot, QByteArray *bytes)
{
    const QString path = QDir(slot).filePath(kRecordName);
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0)
        return errno == ENOENT ? CopyState::None : CopyState::Damaged;
    // Only a regular file of a sane size is read: a pipe would hang, a link
    // is not what this store wrote.
    if (!S_ISREG(st.st_mode) || st.st_size > kMaxRecordBytes)
        return CopyState::Damaged;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CopyState::Damaged;
    *bytes = file.read(kMaxRecordBytes);
    return CopyState::Readable;
}

CopyState readJson(const QString &slot, QJsonObject *out)
{
    QByteArray bytes;
    const CopyState state = readCopyBytes(slot, &bytes);
    return state == CopyState::Readable ? parseJson(bytes, out) : state;
}

QString damagedCopy() { return QStringLiteral("内容已损坏"); }

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
    // Without a home folder Qt falls back to "/", which is no user's own.
    const QString home = qEnvironmentVariable("HOME");
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME") && (home.isEmpty() || !QFileInfo(home).isDir()))
        return QString();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("recovery"));
}

bool RecoveryStore::isSlotName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^editor-[0-9]+-[0-9a-f]{6}$"));
    return pattern.match(name).hasMatch();
}

Result<> RecoveryStore::start()
{
    if (isActive())
        return {};
    if (m_base.isEmpty())
        return Failure{FailureKind::FileSystem, QStringLiteral("没有找到用户的主文件夹（环境变量 HOME 未设置）")};
    const Failure unusable{FailureKind::FileSystem, QStringLiteral("恢复副本的文件夹“%1”不能使用").arg(QDir::toNativeSeparators(m_base))};
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
        return Failure{FailureKind::FileSystem, QStringLiteral("恢复副本的文件夹“%1”不能使用").arg(QDir::toNativeSeparators(m_base))};
    if (m_haveLast && record.sameFields(m_last) && documentPath == m_lastDocumentPath
        && record.photo.cacheKey() == m_last.photo.cacheKey())
        return {};
    const QString photoPath = QDir(m_slot).filePath(kPhotoName);
    if (record.hasPhoto) {
        const Result<QByteArray> bytes = companionPhotoBytes(record.photoPath, record.photo);
        if (!bytes)
            return bytes.failure();
        if (const Result<> written = writeFileSafely(photoPath, bytes.value()); !written)
            return written;
    } else {
        QFile::remove(photoPath);
    }
    const QByteArray json = copyBytes(record, documentPath);
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
    if (m_base.isEmpty())
        return found;
    const QStringList names = QDir(m_base).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QString slot = QDir(m_base).absoluteFilePath(name);
        if (slot == m_slot || m_orphanLocks.count(slot) || !isOwnSlot(slot))
            continue;
        auto lock = makeLock(slot);
        if (!lock->tryLock(0))
            continue;   // its editor is still running
        QJsonObject o;
        const CopyState state = readJson(slot, &o);
        if (state == CopyState::None) {
            // Nothing to offer: what is left of an editor that had no copy.
            lock.reset();
            removeSlot(slot);
            continue;
        }
        Orphan orphan;
        orphan.folder = slot;
        if (state == CopyState::Readable) {
            orphan.documentPath = o.value(QStringLiteral("documentPath")).toString();
            orphan.name = o.value(QStringLiteral("fields")).toObject().value(QStringLiteral("txtName")).toString();
            orphan.written = QDateTime::fromString(o.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
        } else {
            if (QFileInfo::exists(QDir(slot).filePath(kReportedName)))
                continue;   // the clerk knows; it waits for a later version or for someone to look at it
            orphan.problem = state == CopyState::LaterVersion ? QStringLiteral("它由较新版本的程序写入")
                                                              : damagedCopy();
            orphan.written = QFileInfo(QDir(slot).filePath(kRecordName)).lastModified().toUTC();
        }
        m_orphanLocks[slot] = std::move(lock);
        found << orphan;
    }
    std::sort(found.begin(), found.end(), [](const Orphan &a, const Orphan &b) { return a.written > b.written; });
    return found;
}

QByteArray RecoveryStore::copyBytes(const AppointmentRecord &record, const QString &documentPath)
{
    return QJsonDocument(recordToJson(record, documentPath)).toJson();
}

Result<RecoveryStore::Recovered> RecoveryStore::parseCopy(const QByteArray &bytes)
{
    QJsonObject o;
    switch (parseJson(bytes, &o)) {
    case CopyState::Readable: break;
    case CopyState::LaterVersion: return Failure{FailureKind::DamagedInput, QStringLiteral("它由较新版本的程序写入")};
    default: return Failure{FailureKind::DamagedInput, damagedCopy()};
    }
    AppointmentRecord r;
    const QJsonObject fields = o.value(QStringLiteral("fields")).toObject();
    for (const RecordField &f : recordFields()) {
        const QJsonValue v = fields.value(QLatin1String(f.controlName));
        if (f.isFamily()) {
            const QJsonArray rows = v.toArray();
            for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row)
                (r.*(f.column))[row] = rows.at(row).toString();
        } else {
            r.*(f.text) = v.toString();
        }
    }
    if (const Result<> sane = checkFieldLengths(r); !sane)
        return sane.failure();
    r.hasPhoto = o.value(QStringLiteral("hasPhoto")).toBool();
    r.photoPath = o.value(QStringLiteral("photoPath")).toString();
    r.isDirty = true;
    return Recovered{r, o.value(QStringLiteral("documentPath")).toString()};
}

Result<RecoveryStore::Recovered> RecoveryStore::readOrphan(const Orphan &orphan) const
{
    if (!orphan.problem.isEmpty())
        return Failure{FailureKind::DamagedInput, orphan.problem};
    QByteArray bytes;
    if (readCopyBytes(orphan.folder, &bytes) != CopyState::Readable)
        return Failure{FailureKind::DamagedInput, damagedCopy()};
    Result<Recovered> parsed = parseCopy(bytes);
    if (!parsed)
        return parsed;
    AppointmentRecord &r = parsed.value().record;
    const bool keptPhoto = r.hasPhoto;
    r.hasPhoto = false;
    if (keptPhoto) {
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
    return parsed;
}

void RecoveryStore::removeOrphan(const Orphan &orphan)
{
    m_orphanLocks.erase(orphan.folder);
    removeSlot(orphan.folder);
}

void RecoveryStore::markReported(const Orphan &orphan)
{
    if (isOwnSlot(orphan.folder))
        writeFileSafely(QDir(orphan.folder).filePath(kReportedName), QByteArray());
    m_orphanLocks.erase(orphan.folder);
}
