#include "foundation/SafeFile.h"
#include "foundation/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// The directory entry is durable only once its folder is synced; a failure
// here changes nothing that is already in place.
void syncFolder(const QString &folder)
{
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

SafeFile::SafeFile(const QString &path, QObject *parent) : QIODevice(parent), m_path(path) {}

SafeFile::~SafeFile()
{
    cancelWriting();
}

QString SafeFile::failureReason() const
{
    return m_osError != 0 ? errorString() : fileErrorText(0);
}

bool SafeFile::fail(int osError)
{
    if (m_osError == 0) {
        m_osError = osError ? osError : EIO;
        setErrorString(fileErrorText(m_osError, FileAccess::Write));
    }
    return false;
}

bool SafeFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly)) {
        m_osError = EINVAL;
        setErrorString(fileErrorText(EINVAL));
        return false;
    }
    m_osError = 0;
    m_finished = false;
    const QFileInfo info(m_path);
    m_target = m_path;
    if (info.isSymLink() && info.exists())
        m_target = info.canonicalFilePath();   // replace what the link points to, keep the link
    struct stat old {};
    const bool exists = ::stat(nativePath(m_target).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        m_osError = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        setErrorString(S_ISDIR(old.st_mode) ? fileErrorText(EISDIR)
                                            : QStringLiteral("这不是一个普通文件"));
        return false;
    }

    const QFileInfo target(m_target);
    const QString folder = target.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral(".%1.%2.tmp")
                                 .arg(target.fileName())
                                 .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0'));
        m_temporary = QDir(folder).filePath(name);
        m_fd = ::open(nativePath(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return fail(errno);
    }
    removeStaleTemporaries(folder);
    if (exists)
        ::fchmod(m_fd, old.st_mode & 07777);   // keep the old file's permissions; best effort
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 SafeFile::writeData(const char *data, qint64 len)
{
    if (m_fd < 0 || m_osError != 0 || m_finished)
        return -1;
    qint64 done = 0;
    while (done < len) {
        const ssize_t n = ::write(m_fd, data + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return -1;
        }
        if (n == 0) {
            fail(ENOSPC);
            return -1;
        }
        done += n;
    }
    return done;
}

bool SafeFile::seek(qint64 pos)
{
    if (m_fd < 0 || ::lseek(m_fd, off_t(pos), SEEK_SET) != off_t(pos))
        return fail(errno);
    return QIODevice::seek(pos);
}

qint64 SafeFile::size() const
{
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? qint64(st.st_size) : 0;
}

bool SafeFile::finishWriting()
{
    if (m_finished)
        return m_osError == 0;
    if (m_fd < 0)
        return m_osError == 0 ? fail(EBADF) : false;
    if (m_osError == 0 && ::fsync(m_fd) != 0)
        fail(errno);
    // close() is where some file systems report a failed write.
    if (::close(m_fd) != 0)
        fail(errno);
    m_fd = -1;
    m_finished = true;
    return m_osError == 0;
}

bool SafeFile::commit()
{
    if (!finishWriting()) {
        cancelWriting();
        return false;
    }
    if (::rename(nativePath(m_temporary).constData(), nativePath(m_target).constData()) != 0) {
        fail(errno);
        cancelWriting();
        return false;
    }
    m_temporary.clear();
    syncFolder(QFileInfo(m_target).absolutePath());
    QIODevice::close();
    return true;
}

void SafeFile::removeTemporary()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(nativePath(m_temporary).constData());
        m_temporary.clear();
    }
}

void SafeFile::cancelWriting()
{
    removeTemporary();
    if (isOpen())
        QIODevice::close();
}

Result<> writeFileSafely(const QString &path, const QByteArray &data)
{
    SafeFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return {};
    return Failure{file.failureReason()};
}

bool isRegularFile(const QString &path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void ignoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

int removeStaleTemporaries(const QString &folder, qint64 minimumAgeSeconds)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.[0-9a-f]{6}\\.tmp$"));
    const QStringList names = QDir(folder).entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden | QDir::System);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    for (const QString &name : names) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QByteArray path = nativePath(QDir(folder).filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
            || now - st.st_mtime < minimumAgeSeconds)
            continue;
        removed += ::unlink(path.constData()) == 0 ? 1 : 0;
    }
    return removed;
}
