#include "model/DocumentFile.h"
#include "model/CompanionPhoto.h"
#include "model/DocumentKind.h"
#include "model/DocumentReader.h"
#include "model/DocumentWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kSystem = QStringLiteral("系统");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

bool loadDocumentFile(const QString &path, AppointmentRecord &record, Interaction &ui)
{
    const DocumentKind kind = documentKindOf(path);
    if (kind == DocumentKind::Unknown) {
        ui.message(QStringLiteral("系统警告"), QStringLiteral("文件类型不正确！"), MessageIcon::Information);
        return false;
    }
    // Only a regular file is a document: opening a pipe or a device would
    // wait for input that may never come, and a folder has no text.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        ui.message(kSystem,
                   QStringLiteral("“%1”不是普通文件（可能是文件夹、管道或设备），不能作为文档调入。\r\n当前内容没有改变。")
                       .arg(shown(path)),
                   MessageIcon::Information);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ui.message(kSystem,
                   QStringLiteral("文件“%1”无法打开：%2\r\n当前内容没有改变。").arg(shown(path), file.errorString()),
                   MessageIcon::Information);
        return false;
    }
    AppointmentRecord loaded = record;
    DocumentReader reader;
    if (!reader.read(file, kind, loaded)) {
        ui.message(kSystem,
                   QStringLiteral("文件“%1”未能调入：%2。\r\n当前内容没有改变。").arg(shown(path), reader.errorString()),
                   MessageIcon::Information);
        return false;
    }
    file.close();

    const QString companion = companionPhotoPath(path);
    QImage photo;
    const CompanionPhotoState state = loadCompanionPhoto(companion, &photo);
    if (state == CompanionPhotoState::Loaded) {
        loaded.PhotoPicture = photo;
        loaded.HasPhoto = true;
        loaded.PhotoPath = companion;
    } else if (state == CompanionPhotoState::Missing) {
        loaded.PhotoPicture = QImage();
        loaded.HasPhoto = false;
        loaded.PhotoPath = companion;
    }
    loaded.dirtyFlag = false;
    record = loaded;
    if (state == CompanionPhotoState::Damaged)
        ui.message(kSystem, QStringLiteral("文本内容调入完毕，但照片文件已损坏！请重新加载照片！"),
                   MessageIcon::Information);
    return true;
}

bool saveDocumentFile(const QString &path, const RendererVars &vars, AppointmentRecord &record,
                      Interaction &ui, bool *written)
{
    if (written)
        *written = false;
    DocumentWriter writer;
    if (!writer.writeFile(path, vars, record.compactPartyText)) {
        ui.message(kSystem,
                   QStringLiteral("保存时发生错误:%1:%2").arg(writer.errorNumber()).arg(writer.errorString()),
                   MessageIcon::Information);
        return false;
    }
    if (written)
        *written = true;
    const QString companion = companionPhotoPath(path);
    QString error;
    if (record.HasPhoto) {
        if (!copyPhotoToCompanion(record.PhotoPath, record.PhotoPicture, companion, &error)) {
            ui.message(kSystem,
                       QStringLiteral("文件已保存，但照片未能复制到“%1”：%2\r\n请重新加载照片后再保存。")
                           .arg(shown(companion), error),
                       MessageIcon::Information);
            return false;
        }
    } else if (!removeCompanionPhoto(companion, &error)) {
        ui.message(kSystem,
                   QStringLiteral("文件已保存，但旧的照片文件“%1”未能删除：%2\r\n下次调入时它会重新出现。")
                       .arg(shown(companion), error),
                   MessageIcon::Information);
        return false;
    }
    record.dirtyFlag = false;
    return true;
}
