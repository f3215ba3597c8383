#include "entry/DocumentCommands.h"
#include "app/AppInfo.h"
#include "model/CompanionPhoto.h"
#include "model/DocumentFile.h"
#include "model/DocumentKind.h"
#include "model/RendererHandoff.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kSettingName = QStringLiteral("preRMDir");

QString settingKey()
{
    return kSettingName + QLatin1Char('/') + kSettingName;
}

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
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + AppInfo::programName();
}

QString DocumentCommands::lastSaveFolderSetting()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingName, kSettingName);
    return settings.value(settingKey(), defaultDocumentsFolder()).toString();
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
    if (!m_record.dirtyFlag)
        return true;
    switch (m_ui.askYesNoCancel(QStringLiteral("系统"), savePromptText())) {
    case Answer::Yes:
        return save() != SaveResult::Failed;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool DocumentCommands::CmdDiaoru_Click()
{
    m_vars.resumeFontSize = 12;
    if (onResumeFontSize)
        onResumeFontSize(12);
    if (!confirmUnsavedChanges())
        return false;

    const QString nameFillBefore = m_record.NameFill;
    const bool dirtyBefore = m_record.dirtyFlag;
    if (!m_record.NameFill.isEmpty()) {
        // Emptying the field is an edit like any other.
        m_record.NameFill.clear();
        m_record.dirtyFlag = true;
        recordChanged();
    }
    const QString path = m_ui.openFileName(loadDialogTitle(), loadStartPath(), loadDialogFilter());
    if (path.isEmpty())
        return false;
    m_lastDialogPath = QFileInfo(path).absoluteFilePath();

    bool loaded = false;
    {
        BusyPointer busy(m_ui);
        loaded = loadDocumentFile(path, m_record, m_ui);
    }
    if (!loaded) {
        // A document that could not be read takes nothing away.
        if (m_record.NameFill != nameFillBefore) {
            m_record.NameFill = nameFillBefore;
            m_record.dirtyFlag = dirtyBefore;
            recordChanged();
        }
        return false;
    }
    // Only a document of the current kind is the one a save would replace.
    m_currentPath = documentKindOf(path) == DocumentKind::Dwz ? path : QString();
    recordChanged();
    return true;
}

bool DocumentCommands::checkAndHandOff()
{
    FieldCheckFailure failure;
    if (!CheckAllFields(m_record, &failure)) {
        recordChanged();   // the preparations stay in the fields
        m_ui.message(AppInfo::title(), failure.message, MessageIcon::Exclamation);
        if (onCheckFailed)
            onCheckFailed(failure);
        return false;
    }
    const bool handedOff = FillRenderer(m_record, m_vars, m_ui);
    recordChanged();
    if (!handedOff && onPartyTextRejected)
        onPartyTextRejected();
    return handedOff;
}

DocumentCommands::SaveResult DocumentCommands::save()
{
    if (!checkAndHandOff())
        return SaveResult::Failed;

    QString startFolder = lastSaveFolderSetting();
    if (startFolder == defaultDocumentsFolder())
        QDir().mkpath(startFolder);   // best effort; the dialog copes without it
    QString path = m_ui.saveFileName(saveDialogTitle(), startFolder, saveDialogFilter());
    if (path.isEmpty())
        return SaveResult::Cancelled;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".dwz");
    m_lastDialogPath = QFileInfo(path).absoluteFilePath();

    // Replacing the open document is the everyday save; replacing any other
    // file may destroy another cadre's record.
    if (QFileInfo::exists(path) && !sameFilePath(path, m_currentPath)) {
        const QString question = QStringLiteral("文件“%1”已存在，要替换它吗？").arg(QDir::toNativeSeparators(path));
        if (!m_ui.askYesNo(QStringLiteral("系统"), question))
            return SaveResult::Cancelled;
    }

    bool saved = false, written = false;
    {
        BusyPointer busy(m_ui);
        saved = saveDocumentFile(path, m_vars, m_record, m_ui, &written);
    }
    // The folder is remembered once the document is on disk, before its
    // photo is copied: a photo that fails leaves a saved document there.
    if (written) {
        const QString folder = QFileInfo(path).absolutePath();
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingName, kSettingName);
        settings.setValue(settingKey(), folder);
        settings.sync();
        m_currentPath = path;
    }
    return saved ? SaveResult::Saved : SaveResult::Failed;
}
