#pragma once
#include "foundation/Result.h"
#include <QByteArray>
#include <QIODevice>
#include <QString>

// Writes a file so that afterwards either all of the new content is in place
// or the file that was there before is unchanged, byte for byte. Everything
// goes to a temporary file beside the target, unbuffered, each write checked;
// commit() syncs it to the disk, closes it, checks every step and only then
// renames it over the target. A full disk, a missing folder or a read-only
// medium is therefore reported and never empties the old file. Used for every
// file the program writes: documents, photos, PDF and PNG output, recovery.
class SafeFile : public QIODevice {

public:
    explicit SafeFile(const QString &path, QObject *parent = nullptr);
    ~SafeFile() override;   // an uncommitted file is discarded

    // Write-only; creates the temporary file. Refuses a target that exists
    // but is not a regular file (a folder, a pipe, a device).
    bool open(OpenMode mode) override;
    // Everything written is on the disk, still under the temporary name.
    // Lets several files be made ready before any of them replaces its target.
    bool finishWriting();
    // finishWriting(), then the temporary file replaces the target.
    bool commit();
    // finishWriting(), then the temporary file takes the target's name only
    // if nothing has it (fails with EEXIST otherwise): two writers racing for
    // a name never both win.
    bool commitIfAbsent();
    // Drops the temporary file; the target stays as it was.
    void cancelWriting();

    // A target the user may not write to (made read-only, or another
    // user's) is refused unless this is set before open(): renaming over it
    // would succeed and silently undo that protection.
    void setReplaceReadOnly(bool replace) { m_replaceReadOnly = replace; }

    QString fileName() const { return m_path; }
    // The temporary file open() made, for a library that writes only to a
    // file name: it writes the whole file there (truncating what this
    // device wrote), then commit() puts it in place. Empty before open().
    QString temporaryFileName() const { return m_temporary; }
    // errno of the first failure, 0 when none.
    int osError() const { return m_osError; }
    // Why it failed, in Chinese; never Qt's own English device text.
    QString failureReason() const;
    // The folder failed, not the file: no file could be made there, or the
    // disk it is on is full or read-only.
    bool failedInFolder() const;

    bool isSequential() const override { return false; }
    bool seek(qint64 pos) override;
    qint64 size() const override;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override;

private:
    bool fail(int osError);
    void removeTemporary();
    bool readOnlyTargetRefused();
    bool failInFolder(int osError, const QString &folder);
    bool finishRename(bool renamed);

    QString m_path;
    QString m_target;     // the file replaced: the path, or where its link points
    QString m_temporary;
    int m_fd = -1;
    int m_osError = 0;
    bool m_folderRefused = false;
    bool m_finished = false;
    bool m_replaceReadOnly = false;
};

// The whole of `data` to `path` through SafeFile; a failure says why in Chinese.
Result<> writeFileSafely(const QString &path, const QByteArray &data);

// Whether `path` names a regular file (links followed). Folders, pipes and
// devices are never opened as documents or photos: reading a pipe would hang.
bool isRegularFile(const QString &path);

// Whether an existing regular file may not be written by this user: a file
// made read-only (also for root, who could write it anyway) or one the
// user has no write permission for.
bool isReadOnlyFile(const QString &path);

// The file a name will end up writing: the name itself, or, for a symbolic
// link (also one whose target does not exist yet), the file the link leads
// to, so that writing keeps the link.
QString writeTargetOf(const QString &path);

// An existing file moved out of its name into a hidden temporary beside it,
// so that a name can be empty for a moment and the old file put back if
// what was to replace it fails. Put back on destruction unless dropped.
class FileSetAside {
public:
    explicit FileSetAside(const QString &path) : m_path(path) {}
    ~FileSetAside() { putBack(); }
    FileSetAside(const FileSetAside &) = delete;
    FileSetAside &operator=(const FileSetAside &) = delete;

    // Nothing to do when no file has the name; a failure says why in Chinese.
    Result<> setAside();
    bool putBack();
    void drop();   // the old file is not wanted any more

private:
    QString m_path;
    QString m_aside;
};

// A write past the file size limit (ulimit -f) is to fail with EFBIG like a
// full disk, not to kill the program with SIGXFSZ halfway through a file:
// called once at start-up.
void ignoreFileSizeLimitSignal();

// Deletes the temporary files SafeFile leaves in `folder` when the program
// is killed while writing: only names of its own pattern (".NAME.xxxxxx.tmp"),
// only regular files of this user (never through a link) and only those
// untouched for `minimumAgeSeconds`, so that a write in progress elsewhere
// keeps its file. Returns how many were deleted.
int removeStaleTemporaries(const QString &folder, qint64 minimumAgeSeconds = 3600);
