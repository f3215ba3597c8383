#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// Who has a document open: what its lock file says.
struct DocumentLockOwner {
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime since;
    // "张三（计算机 office-3，自 2024-05-06 09:30 起）" for the clerk.
    QString described() const;
};

// The content of a file as it was loaded or last saved. Any change by
// another editor or program shows in one of these, even one that keeps
// the size and the time.
struct FileIdentity {
    bool exists = false;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    QByteArray hash;
    static FileIdentity of(const QString &path);
    bool operator==(const FileIdentity &o) const
    {
        return exists == o.exists && size == o.size && modifiedNs == o.modifiedNs && hash == o.hash;
    }
    bool operator!=(const FileIdentity &o) const { return !(*this == o); }
    // Whether `now` holds other content than this: a file merely touched,
    // or saved again with the same bytes, has lost nothing to a save over it.
    bool contentChangedIn(const FileIdentity &now) const
    {
        return exists && now.exists && (*this != now) && (size != now.size || hash != now.hash || hash.isEmpty());
    }
};

// The hidden lock file beside an open document (".~lock.<name>#", as office
// programs do), so that a second editor on this or another computer is told
// who has the document before both save over each other. One document at a
// time; the lock goes when another document is taken or the object ends.
class DocumentLock {
public:
    DocumentLock() = default;
    ~DocumentLock() { release(); }
    DocumentLock(const DocumentLock &) = delete;
    DocumentLock &operator=(const DocumentLock &) = delete;

    static QString lockPathFor(const QString &documentPath);
    // Another editor's lock on the document, or nothing when it is free, is
    // ours, or was left by a process of this computer that no longer runs.
    std::optional<DocumentLockOwner> heldElsewhere(const QString &documentPath) const;
    // Locks `documentPath` instead of the document locked before. A stale
    // lock is taken over; a lock held elsewhere is left as it is (the clerk
    // opened the document anyway). A folder that takes no lock file (read
    // only) leaves the document unlocked: the lock only helps, the content
    // check before saving still holds. True when the lock is ours.
    bool acquire(const QString &documentPath);
    // Removes our lock file, if it is still ours.
    void release();
    QString lockedDocument() const { return m_document; }

private:
    QString m_document;
    QByteArray m_written;   // what our lock file holds
};
