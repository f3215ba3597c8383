#pragma once
#include "foundation/Interaction.h"
#include <QString>

// One rule for every file the editor writes on the clerk's word (documents,
// exported PDF files): an existing file is replaced only after a question,
// and a read-only one only when the question says so.
namespace ReplaceQuestion {

// The file a PDF export writes: the chosen name, with ".pdf" added unless
// it ends in ".pdf" in any case.
QString pdfPath(const QString &chosen);
// The same for a Word export and ".docx".
QString docxPath(const QString &chosen);

// Asks before `path` is replaced, if it exists: "文件“…”已存在，要替换它吗？",
// naming a read-only file as such. False when the clerk says no.
// `replaceReadOnly` is set when the clerk agreed to replace a read-only file.
bool confirm(Interaction &ui, const QString &title, const QString &path, bool *replaceReadOnly,
             const QString &extra = QString());

// The words every save or export abandoned by the clerk ends with.
QString notSavedText();

} // namespace ReplaceQuestion
