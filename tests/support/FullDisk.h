#pragma once
// A folder where writing runs out of room, for the tests of what a failed
// write leaves behind. Where the system allows it a small tmpfs is mounted
// over the folder in a mount namespace of the test's own thread (nothing
// outside the test sees it) and filled up; otherwise a file size limit makes
// every write past the limit fail (EFBIG), like a device that fails after N
// bytes. Files put in the folder before fill() stay writable-sized.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class FullDisk {
public:
    explicit FullDisk(const QString &folder) : m_folder(QFile::encodeName(folder))
    {
        // AF_TEST_NO_TMPFS=1 tries the other way where mounting would work.
        m_mounted = !qEnvironmentVariableIsSet("AF_TEST_NO_TMPFS") && ::unshare(CLONE_NEWNS) == 0
                    && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                    && ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=1m") == 0;
    }
    ~FullDisk()
    {
        release();
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool isTmpfs() const { return m_mounted; }

    // From now on only about `freeBytes` more can be written.
    void fill(qint64 freeBytes)
    {
        if (m_mounted) {
            const int fd = ::open((m_folder + "/filler").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            static const char block[4096] = {};
            qint64 size = 0;
            for (ssize_t n; (n = ::write(fd, block, sizeof block)) > 0;)
                size += n;
            if (freeBytes > 0)
                ::ftruncate(fd, qMax<qint64>(0, size - freeBytes));
            ::close(fd);
            return;
        }
        ::getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_oldLimit;
        limit.rlim_cur = rlim_t(qMax<qint64>(1, freeBytes));
        ::setrlimit(RLIMIT_FSIZE, &limit);
        m_limited = true;
    }

    // Room again, for reading back and cleaning up.
    void release()
    {
        if (m_limited) {
            ::setrlimit(RLIMIT_FSIZE, &m_oldLimit);
            std::signal(SIGXFSZ, m_oldHandler);
            m_limited = false;
        }
        if (m_mounted)
            ::unlink((m_folder + "/filler").constData());
    }

private:
    QByteArray m_folder;
    bool m_mounted = false, m_limited = false;
    struct rlimit m_oldLimit {};
    void (*m_oldHandler)(int) = SIG_DFL;
};

// A folder nobody may write in, for as long as the object lives: its
// permissions, or, for root (who writes anywhere), a read-only tmpfs over it
// in a mount namespace of the test's own thread. active() is false where
// neither works.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder) : m_folder(QFile::encodeName(folder))
    {
        if (::geteuid() != 0)
            m_active = m_chmodded = ::chmod(m_folder.constData(), 0555) == 0;
        else
            m_active = m_mounted = ::unshare(CLONE_NEWNS) == 0
                                   && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                                   && ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_chmodded)
            ::chmod(m_folder.constData(), 0755);
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool active() const { return m_active; }

private:
    QByteArray m_folder;
    bool m_active = false, m_chmodded = false, m_mounted = false;
};
