#include "record/DocumentFile.h"
#include "foundation/SafeFile.h"
#include "record/BriefImport.h"
#include "record/CompanionPhoto.h"
#include "record/DocumentKind.h"
#include "record/DocumentReader.h"
#include "record/DocumentWriter.h"
#include "foundation/TextUtilities.h"
#include "foundation/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

const QString kSystem = QStringLiteral("系统");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Result<> loadDocumentFile(const QString &path, AppointmentRecord &record, Interaction &ui, PhotoLoading photoLoading)
{
    const DocumentKind kind = documentKindOf(path);
    if (kind == DocumentKind::Unknown) {
        return Failure{FailureKind::WrongFileType, QStringLiteral("文件类型不正确！")};
    }
    // Only a regular file is a document: opening a pipe or a device would
    // wait for input that may never come, and a folder has no text.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        return Failure{FailureKind::FileSystem, QStringLiteral("“%1”不是普通文件（可能是文件夹、管道或设备），不能作为文档调入。")
                           .arg(shown(path))};
    }
    // A name whose bytes are not UTF-8 (GBK names unpacked from a Windows
    // archive) reaches the program with U+FFFD in place of those bytes and
    // names no file: say so instead of "文件不存在".
    if (!info.exists() && path.contains(QChar(QChar::ReplacementCharacter))) {
        return Failure{FailureKind::FileSystem, QStringLiteral("文件名“%1”中有不能识别的字符：它不是 UTF-8 编码的文件名（可能是从 Windows "
                                      "压缩包解出的 GBK 文件名），程序无法按这个名字打开文件。\r\n请先把文件改名"
                                      "（例如用命令 convmv -f gbk -t utf-8 --notest 文件名），再调入。")
                           .arg(shown(path))};
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        // The system's reason in Chinese; errno still holds it right after open.
        const int openError = errno;
        const QString reason = openError != 0 ? fileErrorText(openError, FileAccess::Read) : QStringLiteral("无法读取");
        return Failure{FailureKind::FileSystem,
                       QStringLiteral("文件“%1”无法打开：%2").arg(shown(path), reason), openError};
    }
    AppointmentRecord loaded = record;
    if (const Result<> read = readDocument(file, kind, loaded); !read) {
        return Failure{read.kind(), QStringLiteral("文件“%1”未能调入：%2。").arg(shown(path), read.error()),
                       read.failure().osError};
    }
    file.close();

    // A brief document carries only part of the form: imported over another
    // cadre's record, the rest would print one person's removal and reasons
    // on another person's form.
    if (isBriefKind(kind) && briefIsAnotherPerson(record, loaded.name)) {
        const QStringList kept = briefUncarriedFieldsInUse(loaded);
        if (!kept.isEmpty()) {
            const QString question =
                QStringLiteral("调入的简要情况表是“%1”的，当前内容是“%2”的。\r\n"
                               "简要情况表中没有以下各项，它们仍是“%2”的：\r\n    %3\r\n"
                               "要清空这些项吗？")
                    .arg(trimSpaces(loaded.name), trimSpaces(record.name),
                         kept.join(QStringLiteral("\r\n    ")));
            if (ui.askYesNo(kSystem, question))
                clearFieldsBriefDoesNotCarry(loaded);
        }
    }

    if (photoLoading == PhotoLoading::Skip) {
        loaded.isDirty = false;
        record = loaded;
        return {};
    }
    const QString companion = companionPhotoPath(path);
    QImage photo;
    const CompanionPhotoState state = loadCompanionPhoto(companion, &photo);
    if (state == CompanionPhotoState::Loaded) {
        loaded.photo = photo;
        loaded.hasPhoto = true;
        loaded.photoPath = companion;
    } else if (state == CompanionPhotoState::Missing) {
        loaded.photo = QImage();
        loaded.hasPhoto = false;
        loaded.photoPath = companion;
    }
    loaded.isDirty = false;
    record = loaded;
    if (state == CompanionPhotoState::Damaged)
        ui.message(kSystem, QStringLiteral("文本内容调入完毕，但照片文件已损坏！请重新加载照片！"),
                   MessageIcon::Information);
    else if (state == CompanionPhotoState::TooLarge)
        ui.message(kSystem,
                   QStringLiteral("文本内容调入完毕，但照片文件“%1”太大（超过 %2 MB），没有调入！请重新加载照片！")
                       .arg(shown(companion))
                       .arg(kMaxPhotoBytes / (1024 * 1024)),
                   MessageIcon::Information);
    else if (state == CompanionPhotoState::NotAFile)
        ui.message(kSystem,
                   QStringLiteral("文本内容调入完毕，但照片“%1”不是普通文件，没有调入！请重新加载照片！")
                       .arg(shown(companion)),
                   MessageIcon::Information);
    return {};
}

Result<> saveDocumentFile(const QString &path, const RendererVars &vars, AppointmentRecord &record,
                          bool companionIsOwn, bool *written, bool replaceReadOnly)
{
    if (written)
        *written = false;
    // Said only where a document was there to keep.
    const bool oldDocument = QFileInfo(path).isFile();
    auto failed = [oldDocument](int number, const QString &reason, const QString &file, bool inFolder = false) {
        return Failure{FailureKind::NotSaved, saveFailureText(file, number, reason, inFolder, oldDocument), number};
    };
    auto fileFailed = [&failed](const SafeFile &file) {
        return failed(file.osError(), file.failureReason(), file.fileName(), file.failedInFolder());
    };

    const QString companion = companionPhotoPath(path);
    const bool companionThere = QFileInfo::exists(companion);
    const bool copyPhoto = record.hasPhoto && !sameFilePath(record.photoPath, companion);
    // Another document's photo is never replaced, and never left to pair
    // with this record either: loaded, it would print on this cadre's form.
    if (companionThere && !companionIsOwn && (copyPhoto || !record.hasPhoto))
        return failed(EEXIST, QStringLiteral("照片文件已存在，属于另一个文件"), companion);
    const bool removeOldPhoto = companionThere && (copyPhoto || !record.hasPhoto);
    if (removeOldPhoto && !replaceReadOnly && isReadOnlyFile(companion))
        return failed(EACCES, QStringLiteral("照片文件是只读的，没有替换它"), companion);

    // Both files are written out and synced before either replaces what is
    // there: a full disk fails the save with the old document and its photo
    // as they were.
    const Result<QByteArray> encoded = dwzDocumentBytes(vars, record.compactPartyText);
    if (!encoded)
        return failed(0, encoded.error(), path);
    const QByteArray &bytes = encoded.value();
    SafeFile document(path);
    document.setReplaceReadOnly(replaceReadOnly);
    if (!document.open(QIODevice::WriteOnly) || document.write(bytes) != bytes.size() || !document.finishWriting())
        return fileFailed(document);
    SafeFile photo(companion);
    photo.setReplaceReadOnly(true);   // checked above
    if (copyPhoto) {
        const Result<QByteArray> photoBytes = companionPhotoBytes(record.photoPath, record.photo);
        if (!photoBytes) {
            return failed(0, photoBytes.error() + QStringLiteral("。请重新加载照片后再保存"), path);
        }
        if (!photo.open(QIODevice::WriteOnly) || photo.write(photoBytes.value()) != photoBytes.value().size()
            || !photo.finishWriting())
            return fileFailed(photo);
    }
    // Two renames cannot happen at once. The old photo leaves its name
    // first, so that whenever the program is stopped the document shows its
    // old photo, its new one or none, never the photo of the record it
    // replaced. Put back if the document cannot take its place.
    FileSetAside oldPhoto(companion);
    // A photo name that is a link keeps its link: the new photo is written
    // through it.
    if (removeOldPhoto && !(copyPhoto && QFileInfo(companion).isSymLink())) {
        if (const Result<> aside = oldPhoto.setAside(); !aside)
            return failed(0, QStringLiteral("旧的照片文件无法移开：") + aside.error(), companion);
    }
    if (!document.commit())
        return fileFailed(document);
    oldPhoto.drop();
    if (written)
        *written = true;

    if (copyPhoto && !photo.commit()) {
        return Failure{FailureKind::NotSaved, QStringLiteral("文件已保存，但照片未能复制到“%1”：%2\r\n请重新加载照片后再保存。")
                           .arg(shown(companion), photo.failureReason()),
                       photo.osError()};
    }
    record.isDirty = false;
    return {};
}
