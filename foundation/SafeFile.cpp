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

// A hidden name beside `fileName` in `folder`, ".NAME.xxxxxx.tmp": the form
// removeStaleTemporaries() knows as this program's own.
QString temporaryPath(const QString &folder, const QString &fileName)
{
    return QDir(folder).filePath(QStringLiteral(".%1.%2.tmp")
                                     .arg(fileName)
                                     .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0')));
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

bool SafeFile::failedInFolder() const
{
    switch (m_osError) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EROFS: return true;
    default: return m_folderRefused;
    }
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
    m_folderRefused = false;
    m_finished = false;
    m_target = writeTargetOf(m_path);   // replace what a link points to, keep the link
    if (m_target.isEmpty()) {
        m_osError = ELOOP;
        setErrorString(fileErrorText(ELOOP));
        return false;
    }
    struct stat old {};
    const bool exists = ::stat(nativePath(m_target).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        m_osError = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        setErrorString(S_ISDIR(old.st_mode) ? fileErrorText(EISDIR)
                                            : QStringLiteral("这不是一个普通文件"));
        return false;
    }
    if (exists && readOnlyTargetRefused())
        return false;

    const QFileInfo target(m_target);
    const QString folder = target.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = temporaryPath(folder, target.fileName());
        m_fd = ::open(nativePath(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return failInFolder(errno, folder);
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
    return finishRename(::rename(nativePath(m_temporary).constData(), nativePath(m_target).constData()) == 0);
}

// After the temporary's rename (errno still that of a failed one): the
// folder entry made durable, or the temporary dropped and the reason kept.
bool SafeFile::finishRename(bool renamed)
{
    if (!renamed) {
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

bool SafeFile::readOnlyTargetRefused()
{
    if (m_replaceReadOnly || !isReadOnlyFile(m_target))
        return false;
    m_osError = EACCES;
    setErrorString(QStringLiteral("文件是只读的，没有替换它"));
    return true;
}

// When the temporary file cannot be made, the folder is what is wrong, not
// the file: say which folder.
bool SafeFile::failInFolder(int osError, const QString &folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    QString text;
    switch (osError) {
    case EACCES:
    case EPERM: text = QStringLiteral("没有在文件夹“%1”中写入的权限").arg(shown); break;
    case EROFS: text = QStringLiteral("文件夹“%1”所在的磁盘是只读的").arg(shown); break;
    case ENOENT: text = QStringLiteral("文件夹“%1”不存在").arg(shown); break;
    default: return fail(osError);
    }
    m_folderRefused = true;
    m_osError = osError;
    setErrorString(text);
    return false;
}

bool SafeFile::commitIfAbsent()
{
    if (!finishWriting()) {
        cancelWriting();
        return false;
    }
    const QByteArray from = nativePath(m_temporary), to = nativePath(m_target);
    int done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without that kind of rename: a hard link is just as exclusive.
        done = ::link(from.constData(), to.constData());
        if (done == 0)
            ::unlink(from.constData());
    }
    return finishRename(done == 0);
}

Result<> writeFileSafely(const QString &path, const QByteArray &data)
{
    SafeFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return {};
    return Failure{FailureKind::FileSystem, file.failureReason(), file.osError()};
}

bool isRegularFile(const QString &path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isReadOnlyFile(const QString &path)
{
    struct stat st {};
    const QByteArray native = nativePath(path);
    if (path.isEmpty() || ::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (::geteuid() == 0)
        return (st.st_mode & 0222) == 0;
    return ::access(native.constData(), W_OK) != 0 && errno == EACCES;
}

QString writeTargetOf(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        // A link whose target does not exist yet is written through as well:
        // replacing it by a regular file would cut what it was set up for.
        current = info.symLinkTarget();
        if (current.isEmpty())
            return QString();
    }
    return QString();   // links in a circle
}

Result<> FileSetAside::setAside()
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return {};
    const QString folder = info.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString aside = temporaryPath(folder, info.fileName());
        int done = ::renameat2(AT_FDCWD, nativePath(m_path).constData(), AT_FDCWD, nativePath(aside).constData(),
                               RENAME_NOREPLACE);
        if (done != 0 && (errno == EINVAL || errno == ENOSYS) && !QFileInfo::exists(aside))
            done = ::rename(nativePath(m_path).constData(), nativePath(aside).constData());
        if (done == 0) {
            // Fresh by its time, or a cleanup of leftovers in this folder
            // would take the old file for one while it is set aside.
            ::utimensat(AT_FDCWD, nativePath(aside).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
            m_aside = aside;
            return {};
        }
        if (errno != EEXIST)
            break;
    }
    return Failure{FailureKind::FileSystem, fileErrorText(errno), errno};
}

bool FileSetAside::putBack()
{
    if (m_aside.isEmpty())
        return true;
    const bool back = ::rename(nativePath(m_aside).constData(), nativePath(m_path).constData()) == 0;
    if (back)
        m_aside.clear();
    return back;
}

void FileSetAside::drop()
{
    if (!m_aside.isEmpty())
        ::unlink(nativePath(m_aside).constData());
    m_aside.clear();
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
