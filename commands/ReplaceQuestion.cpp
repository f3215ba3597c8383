#include "commands/ReplaceQuestion.h"
#include "foundation/SafeFile.h"

#include <QDir>
#include <QFileInfo>

namespace ReplaceQuestion {

QString pdfPath(const QString &chosen)
{
    if (QFileInfo(chosen).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen + QStringLiteral(".pdf");
}

QString docxPath(const QString &chosen)
{
    if (QFileInfo(chosen).suffix().compare(QLatin1String("docx"), Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen + QStringLiteral(".docx");
}

bool confirm(Interaction &ui, const QString &title, const QString &path, bool *replaceReadOnly, const QString &extra)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const bool readOnly = isReadOnlyFile(path);
    const QString question = (readOnly ? QStringLiteral("文件“%1”已存在，而且是只读文件。%2\r\n要替换它吗？")
                                       : QStringLiteral("文件“%1”已存在，%2要替换它吗？"))
                                 .arg(QDir::toNativeSeparators(path), extra);
    if (!ui.askYesNo(title, question))
        return false;
    if (replaceReadOnly)
        *replaceReadOnly = readOnly;
    return true;
}

QString notSavedText() { return QStringLiteral("没有保存。"); }

} // namespace ReplaceQuestion
