#pragma once
#include "record/AppointmentRecord.h"
#include "foundation/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <memory>

class QLockFile;

// Copies of unsaved work that survive a crash. Every running editor keeps its
// copy (the record as typed, the photo, the document's path) in a subfolder
// of its own under one folder, guarded by a lock file that it holds while it
// runs; a subfolder whose lock is no longer held was left by an editor that
// did not end normally. Two editors at once never see each other's copy.
// Written through SafeFile, so a copy is either the old one or the new one.
class RecoveryStore {
public:
    // `folder` holds every editor's subfolder; created as needed.
    explicit RecoveryStore(const QString &folder);
    // A normal end: this editor's subfolder goes with its copy.
    ~RecoveryStore();

    // The user's application data folder followed by "recovery"; empty when
    // the user has no home folder (the copies would land in "/").
    static QString defaultFolder();

    // Takes a subfolder of this editor's own; fails when the folder cannot
    // be used (then nothing is kept, and the editor works on without it).
    Result<> start();
    bool isActive() const { return !m_slot.isEmpty(); }

    // Keeps `record` as this editor's copy unless it equals the copy already
    // kept. `documentPath` is the document the record was loaded from or last
    // saved as (may be empty).
    Result<> keep(const AppointmentRecord &record, const QString &documentPath);
    // The record was saved, or the clerk chose not to save: no copy.
    void discard();
    bool hasCopy() const;
    QString slotFolder() const { return m_slot; }

    // A copy left by an editor that did not end normally.
    struct Orphan {
        QString folder;
        QString documentPath;
        QString name;          // the cadre's name in it
        QDateTime written;
        // Why the copy cannot be read (damaged, or written by a later
        // version); empty when it can. Such a copy is kept, never deleted.
        QString problem;
    };
    // Every such copy, newest first; each one is locked for this editor until
    // it is taken or removed, so no other editor offers it at the same time.
    // Only subfolders this store made are looked at (its own naming, not a
    // link, owned by this user); one left without a copy is removed. A copy
    // that cannot be read and was reported once is not listed again.
    QList<Orphan> findOrphans();
    // An orphan's record (marked changed, photo attached if it had one) and
    // the document it belongs to.
    struct Recovered {
        AppointmentRecord record;
        QString documentPath;
    };
    Result<Recovered> readOrphan(const Orphan &orphan) const;
    // What keep() writes for `record`, and a copy's record read back from
    // such bytes (hasPhoto then says whether a photo was kept beside it).
    static QByteArray copyBytes(const AppointmentRecord &record, const QString &documentPath);
    static Result<Recovered> parseCopy(const QByteArray &bytes);
    void removeOrphan(const Orphan &orphan);
    // The clerk was told that `orphan` cannot be read: it stays where it is
    // and is not reported again.
    void markReported(const Orphan &orphan);

    // Whether `name` is the name of a subfolder this store makes.
    static bool isSlotName(const QString &name);

private:
    QString m_base;
    QString m_slot;
    std::unique_ptr<QLockFile> m_lock;
    std::map<QString, std::unique_ptr<QLockFile>> m_orphanLocks;
    bool m_haveLast = false;
    AppointmentRecord m_last;       // what the copy on disk holds
    QString m_lastDocumentPath;
};
