#include "commands/DocumentCommands.h"
#include "foundation/AppInfo.h"
#include "commands/RecentDocuments.h"
#include "commands/ReplaceQuestion.h"
#include "foundation/SafeFile.h"
#include "record/CompanionPhoto.h"
#include "record/DocumentFile.h"
#include "record/DocumentKind.h"
#include "record/RecoveryStore.h"
#include "record/RendererHandoff.h"
#include "foundation/Settings.h"
#include "foundation/TextUtilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Restores the normal pointer however the command ends.
class BusyPointer {
public:
    explicit BusyPointer(Interaction &ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyPointer() { m_ui.setBusy(false); }
private:
    Interaction &m_ui;
};

} // namespace

DocumentCommands::DocumentCommands(AppointmentRecord &record, RendererVars &vars, Interaction &ui)
    : m_record(record), m_vars(vars), m_ui(ui)
{
}

QString DocumentCommands::loadDialogTitle() { return QStringLiteral("请指定调入文件名"); }

QString DocumentCommands::loadDialogFilter()
{
    return QStringLiteral("任免审批表 (.dwz;.ren)|*.dwz;*.ren|简要情况表 (.ljy;.jan)|*.ljy;*.jan|所有文件 (*.*)|*.*");
}

QString DocumentCommands::saveDialogTitle() { return QStringLiteral("请指定待存文件名"); }

QString DocumentCommands::saveDialogFilter()
{
    return AppInfo::programName() + QStringLiteral("报表 (.dwz)|*.dwz|所有文件 (*.*)|*.*");
}

QString DocumentCommands::savePromptText()
{
    return QStringLiteral("当前任免文件内容已改变\r\n需要保存吗?");
}

QString DocumentCommands::defaultDocumentsFolder()
{
    // Beside the program only where such a folder was set up by hand and can
    // be written (a copy unpacked into the clerk's own folder); an installed
    // program's folder is the system's, and nothing is created there.
    const QFileInfo besideProgram(QCoreApplication::applicationDirPath() + QLatin1Char('/') + AppInfo::programName());
    if (besideProgram.isDir() && besideProgram.isWritable())
        return besideProgram.absoluteFilePath();
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents + QLatin1Char('/') + AppInfo::programName();
}

QString DocumentCommands::lastSaveFolderSetting()
{
    return Settings::lastSaveFolder(defaultDocumentsFolder());
}

void DocumentCommands::recordChanged()
{
    if (onRecordChanged)
        onRecordChanged();
}

QString DocumentCommands::loadStartPath() const
{
    return m_lastDialogPath.isEmpty() ? QDir::currentPath() : m_lastDialogPath;
}

bool DocumentCommands::confirmUnsavedChanges()
{
    if (!m_record.isDirty)
        return true;
    switch (m_ui.askYesNoCancel(QStringLiteral("系统"), savePromptText())) {
    case Answer::Yes:
        return save() == SaveResult::Saved;
    case Answer::No:
        if (m_recovery)
            m_recovery->discard();   // the clerk chose to let the changes go
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool DocumentCommands::load()
{
    return loadDocument(QString());
}

bool DocumentCommands::openDocument(const QString &path)
{
    return loadDocument(path);
}

QString DocumentCommands::windowTitle() const
{
    // "[*]" is where the window shows its modified mark.
    if (m_currentPath.isEmpty())
        return AppInfo::entryCaption() + QStringLiteral("[*]");
    return QFileInfo(m_currentPath).fileName() + QStringLiteral("[*] - ") + AppInfo::entryCaption();
}

QStringList DocumentCommands::recentDocuments() const
{
    return RecentDocuments::paths();
}

bool DocumentCommands::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        RecentDocuments::remove(path);
        m_ui.message(QStringLiteral("系统"),
                     QStringLiteral("文件“%1”已不存在（可能已改名、移走或删除），已从最近的文件中去掉。")
                         .arg(QDir::toNativeSeparators(path)),
                     MessageIcon::Information);
        return false;
    }
    return loadDocument(path);
}

bool DocumentCommands::loadDocument(const QString &givenPath)
{
    if (!confirmUnsavedChanges())
        return false;

    const QString nameFillBefore = m_record.filledBy;
    const bool dirtyBefore = m_record.isDirty;
    if (!m_record.filledBy.isEmpty()) {
        // The person who filled in one cadre's form is not the next one's
        // (".ren" and brief documents carry none), so 填表人 is emptied as
        // soon as another document is asked for, and stays empty when the
        // file dialog is cancelled; only a document that fails to load
        // gives it back. Emptying the field is an edit like any other.
        m_record.filledBy.clear();
        m_record.isDirty = true;
        recordChanged();
    }
    const QString path = givenPath.isEmpty()
                             ? m_ui.openFileName(loadDialogTitle(), loadStartPath(), loadDialogFilter())
                             : givenPath;
    if (path.isEmpty())
        return false;
    // A document that is not loaded takes nothing away.
    const auto unchanged = [&] {
        if (m_record.filledBy != nameFillBefore) {
            m_record.filledBy = nameFillBefore;
            m_record.isDirty = dirtyBefore;
            recordChanged();
        }
        return false;
    };
    const bool isDocument = documentKindOf(path) == DocumentKind::Dwz;
    if (isDocument && !askOpenLocked(path))
        return unchanged();

    Result<> loaded;
    {
        BusyPointer busy(m_ui);
        loaded = loadDocumentFile(path, m_record, m_ui);
    }
    if (!loaded) {
        // The window still holds what it held: said here, where it is true,
        // not by the reader, whose reasons also go to lists and the command line.
        Failure failure = loaded.failure();
        if (failure.kind != FailureKind::WrongFileType)
            failure.message += QStringLiteral("\r\n当前内容没有改变。");
        showFailure(m_ui, failure);
        return unchanged();
    }
    // Only a document of the current kind is the one a save would replace;
    // an older or brief document is proposed as a new one beside it.
    setCurrentDocument(isDocument ? path : QString());
    const QFileInfo loadedFile(path);
    m_saveStartPath = isDocument ? QString()
                                 : loadedFile.absolutePath() + QLatin1Char('/') + loadedFile.completeBaseName()
                                       + QStringLiteral(".dwz");
    m_lastDialogPath = QFileInfo(path).absoluteFilePath();
    RecentDocuments::add(path);
    recordChanged();
    keepRecoveryCopy();
    return true;
}

bool DocumentCommands::checkAndHandOff()
{
    FieldPlace refused;
    if (const Result<> checked = checkAllFields(m_record, &refused); !checked) {
        recordChanged();   // the preparations stay in the fields
        showFailure(m_ui, checked);
        if (onCheckFailed)
            onCheckFailed(refused);
        return false;
    }
    const Result<> handedOff = fillRendererVars(m_record, m_vars);
    if (!handedOff)
        showFailure(m_ui, handedOff);
    recordChanged();
    if (!handedOff && onPartyTextRejected)
        onPartyTextRejected();
    return handedOff.ok();
}

bool DocumentCommands::askOpenLocked(const QString &path)
{
    const std::optional<DocumentLockOwner> owner = m_lock.heldElsewhere(path);
    if (!owner)
        return true;
    const QString question = QStringLiteral("文件“%1”已由%2打开，可能正在编辑。\r\n"
                                            "两处都保存时，先保存的内容会被后保存的覆盖。\r\n仍要打开它吗？")
                                 .arg(QDir::toNativeSeparators(path), owner->described());
    return m_ui.askYesNo(QStringLiteral("系统"), question);
}

void DocumentCommands::setCurrentDocument(const QString &path)
{
    m_currentPath = path;
    if (path.isEmpty()) {
        m_lock.release();
        m_currentIdentity = FileIdentity();
        return;
    }
    m_lock.acquire(path);   // left to the other editor when it holds it
    m_currentIdentity = FileIdentity::of(path);
}

DocumentCommands::SaveResult DocumentCommands::cancelledSave()
{
    m_ui.message(QStringLiteral("系统"), ReplaceQuestion::notSavedText(), MessageIcon::Information);
    return SaveResult::Cancelled;
}

DocumentCommands::SaveResult DocumentCommands::save()
{
    if (!checkAndHandOff())
        return SaveResult::Failed;

    QString startFolder = lastSaveFolderSetting();
    if (startFolder == defaultDocumentsFolder())
        QDir().mkpath(startFolder);   // best effort; the dialog copes without it
    // The open document's own name in its folder; for a new record the last save folder.
    QString startPath = !m_currentPath.isEmpty() ? m_currentPath
                        : m_saveStartPath.isEmpty() ? startFolder
                                                    : m_saveStartPath;
    QString path;
    bool replaceReadOnly = false;
    bool replacesOpenDocument = false;
    for (;;) {
        path = m_ui.saveFileName(saveDialogTitle(), startPath, saveDialogFilter());
        if (path.isEmpty())
            return SaveResult::Cancelled;
        path = documentSavePath(path);
        // Replacing the open document is the everyday save; replacing any
        // other file may destroy another cadre's record.
        replacesOpenDocument = QFileInfo::exists(path) && sameFilePath(path, m_currentPath);
        if (!replacesOpenDocument) {
            const std::optional<DocumentLockOwner> owner = m_lock.heldElsewhere(path);
            const QString extra = owner ? QStringLiteral("它正由%1打开。").arg(owner->described()) : QString();
            if (!ReplaceQuestion::confirm(m_ui, QStringLiteral("系统"), path, &replaceReadOnly, extra))
                return cancelledSave();
            break;
        }
        // Someone (another editor, another computer) saved over the open
        // document since it was loaded: saving now would throw that away.
        if (m_currentIdentity.contentChangedIn(FileIdentity::of(path))) {
            const QString question =
                QStringLiteral("文件在调入后已被修改（“%1”）。\r\n"
                               "选“是”用当前内容覆盖那些修改，选“否”另存为其他文件名，选“取消”不保存。")
                    .arg(QDir::toNativeSeparators(path));
            const Answer answer = m_ui.askYesNoCancel(QStringLiteral("系统"), question);
            if (answer == Answer::Cancel)
                return cancelledSave();
            if (answer == Answer::No) {
                startPath = QFileInfo(path).absolutePath();
                continue;
            }
        }
        if (isReadOnlyFile(path)) {
            const QString question =
                QStringLiteral("文件“%1”是只读文件，要替换它吗？").arg(QDir::toNativeSeparators(path));
            if (!m_ui.askYesNo(QStringLiteral("系统"), question))
                return cancelledSave();
            replaceReadOnly = true;
        }
        break;
    }
    // The photo beside it is the open document's own only when that document
    // is the one replaced; any other file of that name may be another
    // document's photo (a brief document's, or one saved under another name).
    bool companionIsOwn = replacesOpenDocument;
    const QString companion = companionPhotoPath(path);
    if (!companionIsOwn && QFileInfo::exists(companion) && !(m_record.hasPhoto && sameFilePath(companion, m_record.photoPath))) {
        const QString shownCompanion = QDir::toNativeSeparators(companion);
        const QString question =
            m_record.hasPhoto
                ? QStringLiteral("照片文件“%1”已存在，可能是别的文件的照片，要替换它吗？").arg(shownCompanion)
                : QStringLiteral("照片文件“%1”已存在，可能是别的文件的照片。\r\n"
                                 "这份表没有照片，留着它，调入时就会显示那张照片。要删除它吗？")
                      .arg(shownCompanion);
        if (!m_ui.askYesNo(QStringLiteral("系统"), question))
            return cancelledSave();
        companionIsOwn = true;
    }

    bool written = false;
    Result<> saved;
    {
        BusyPointer busy(m_ui);
        saved = saveDocumentFile(path, m_vars, m_record, companionIsOwn, &written, replaceReadOnly);
    }
    if (!saved)
        showFailure(m_ui, saved);
    // The folder is remembered once the document is on disk, before its
    // photo is copied: a photo that fails leaves a saved document there.
    if (written) {
        // Only where something was saved: a folder that failed is not offered again.
        m_lastDialogPath = QFileInfo(path).absoluteFilePath();
        RecentDocuments::add(path);
        const QString folder = QFileInfo(path).absolutePath();
        if (!Settings::setLastSaveFolder(folder))
            m_ui.message(QStringLiteral("系统"),
                         QStringLiteral("文件已保存，但保存位置未能记入设置，下次保存时对话框不会从这个文件夹开始。"),
                         MessageIcon::Information);
        setCurrentDocument(path);
        m_saveStartPath.clear();
    }
    if (saved && m_recovery)
        m_recovery->discard();
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

void DocumentCommands::keepRecoveryCopy()
{
    if (!m_recovery)
        return;
    if (!m_record.isDirty) {
        m_recovery->discard();
        return;
    }
    if (const Result<> kept = m_recovery->keep(m_record, m_currentPath); !kept)
        reportRecoveryFailure(kept.error());
}

// Once a session: a disk that stays full would otherwise ask every few seconds.
void DocumentCommands::reportRecoveryFailure(const QString &why)
{
    if (m_recoveryFailureShown)
        return;
    m_recoveryFailureShown = true;
    m_ui.message(QStringLiteral("系统"),
                 QStringLiteral("未能保存恢复副本：%1。\r\n程序若意外退出，未保存的内容将无法恢复，请及时保存文件。")
                     .arg(why),
                 MessageIcon::Exclamation);
}

bool DocumentCommands::startRecovery()
{
    if (!m_recovery)
        return false;
    if (const Result<> started = m_recovery->start(); !started) {
        reportRecoveryFailure(started.error());
        return false;
    }
    return offerRecovery();
}

QString DocumentCommands::recoveryTitle() { return QStringLiteral("恢复未保存的内容"); }

bool DocumentCommands::offerRecovery()
{
    if (!m_recovery)
        return false;
    for (const RecoveryStore::Orphan &orphan : m_recovery->findOrphans()) {
        const Result<RecoveryStore::Recovered> read = m_recovery->readOrphan(orphan);
        if (!read) {
            // Kept where it is: it may be all that is left of someone's work.
            m_ui.message(recoveryTitle(),
                         QStringLiteral("上次编辑时程序没有正常结束，留下的恢复副本无法读出：%1。\r\n"
                                        "副本没有删除，仍保存在文件夹“%2”中。")
                             .arg(read.error(), QDir::toNativeSeparators(orphan.folder)),
                         MessageIcon::Exclamation);
            m_recovery->markReported(orphan);
            continue;
        }
        const AppointmentRecord &recovered = read.value().record;
        const QString &documentPath = read.value().documentPath;
        QString what = trimSpaces(recovered.name).isEmpty() ? QStringLiteral("未填姓名的表")
                                                             : QStringLiteral("“%1”的表").arg(trimSpaces(recovered.name));
        if (!documentPath.isEmpty())
            what += QStringLiteral("（文件“%1”）").arg(QDir::toNativeSeparators(documentPath));
        const QString question =
            QStringLiteral("上次编辑时程序没有正常结束，留下了未保存的内容：\r\n    %1，记录于 %2\r\n"
                           "要恢复这些内容吗？选“否”将删除它们。")
                .arg(what, orphan.written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        if (!m_ui.askYesNo(recoveryTitle(), question)) {
            m_recovery->removeOrphan(orphan);
            continue;
        }
        m_record = recovered;
        setCurrentDocument(documentPath);
        m_saveStartPath = documentPath;
        // Kept as this editor's copy before the old one goes, so that a second
        // crash right now still loses nothing.
        if (m_recovery->keep(m_record, m_currentPath))
            m_recovery->removeOrphan(orphan);
        recordChanged();
        return true;
    }
    return false;
}
