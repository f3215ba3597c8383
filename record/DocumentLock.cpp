#include "record/DocumentLock.h"
#include "foundation/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kMaxLockBytes = 4096;
constexpr qint64 kMaxHashedBytes = 64 * 1024 * 1024;

QString userName()
{
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("?"));
}

QByteArray readLockFile(const QString &lockPath, bool *present)
{
    *present = QFileInfo(lockPath).exists() || QFileInfo(lockPath).isSymLink();
    if (!*present || !isRegularFile(lockPath))
        return {};
    QFile file(lockPath);
    return file.open(QIODevice::ReadOnly) ? file.read(kMaxLockBytes) : QByteArray();
}

DocumentLockOwner parseOwner(const QByteArray &bytes)
{
    DocumentLockOwner owner;
    for (const QByteArray &line : bytes.split('\n')) {
        const int eq = line.indexOf('=');
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1)).trimmed();
        if (eq <= 0)
            continue;
        if (key == "user")
            owner.user = value;
        else if (key == "host")
            owner.host = value;
        else if (key == "pid")
            owner.pid = value.toLongLong();
        else if (key == "time")
            owner.since = QDateTime::fromString(value, Qt::ISODate);
    }
    return owner;
}

// A lock of this computer whose process is gone: its editor crashed.
bool isStale(const DocumentLockOwner &owner)
{
    return owner.host == QSysInfo::machineHostName() && owner.pid > 0 && ::kill(pid_t(owner.pid), 0) != 0
           && errno == ESRCH;
}

} // namespace

QString DocumentLockOwner::described() const
{
    QString text = user.isEmpty() ? QStringLiteral("另一位用户") : QStringLiteral("“%1”").arg(user);
    QStringList details;
    if (!host.isEmpty())
        details << QStringLiteral("计算机 %1").arg(host);
    if (since.isValid())
        details << QStringLiteral("自 %1 起").arg(since.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    if (!details.isEmpty())
        text += QStringLiteral("（%1）").arg(details.join(QStringLiteral("，")));
    return text;
}

FileIdentity FileIdentity::of(const QString &path)
{
    FileIdentity id;
    struct stat st {};
    if (!isRegularFile(path) || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return id;
    id.exists = true;
    id.size = st.st_size;
    id.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    QFile file(path);
    if (id.size <= kMaxHashedBytes && file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&file);
        id.hash = hash.result();
    }
    return id;
}

QString DocumentLock::lockPathFor(const QString &documentPath)
{
    const QFileInfo info(documentPath);
    return QDir(info.absolutePath()).filePath(QStringLiteral(".~lock.") + info.fileName() + QLatin1Char('#'));
}

std::optional<DocumentLockOwner> DocumentLock::heldElsewhere(const QString &documentPath) const
{
    bool present = false;
    const QByteArray bytes = readLockFile(lockPathFor(documentPath), &present);
    if (!present)
        return std::nullopt;
    if (!m_written.isEmpty() && bytes == m_written && lockPathFor(m_document) == lockPathFor(documentPath))
        return std::nullopt;   // ours
    const DocumentLockOwner owner = parseOwner(bytes);
    if (isStale(owner))
        return std::nullopt;
    return owner;
}

bool DocumentLock::acquire(const QString &documentPath)
{
    const QString lockPath = lockPathFor(documentPath);
    bool present = false;
    if (!m_document.isEmpty() && lockPathFor(m_document) == lockPath && readLockFile(lockPath, &present) == m_written) {
        m_document = documentPath;
        return true;   // already ours
    }
    release();
    // A link in the lock's place is nothing this program made: never written through.
    if (heldElsewhere(documentPath) || QFileInfo(lockPath).isSymLink())
        return false;
    const QByteArray content = "user=" + userName().toUtf8() + "\nhost=" + QSysInfo::machineHostName().toUtf8()
                               + "\npid=" + QByteArray::number(qint64(::getpid())) + "\ntime="
                               + QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8() + '\n';
    SafeFile file(lockPath);
    const bool stalePresent = QFileInfo::exists(lockPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    // A stale lock is replaced; otherwise two editors taking the same
    // document at the same moment cannot both succeed.
    if (!(stalePresent ? file.commit() : file.commitIfAbsent()))
        return false;
    m_document = documentPath;
    m_written = content;
    return true;
}

void DocumentLock::release()
{
    if (m_document.isEmpty())
        return;
    const QString lockPath = lockPathFor(m_document);
    bool present = false;
    if (readLockFile(lockPath, &present) == m_written)
        QFile::remove(lockPath);
    m_document.clear();
    m_written.clear();
}
