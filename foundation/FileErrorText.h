#pragma once
#include <QString>

// The operating system's reason for a failed file operation, in plain
// Chinese for the clerk: "磁盘已满", "没有写入权限", "文件夹不存在" … An
// unknown error number gives its number and the system's own text.
enum class FileAccess { Read, Write };
QString fileErrorText(int osError, FileAccess access = FileAccess::Write);

// A file that could not be saved, as the clerk reads it: the reason first,
// in words, with what to do about it; the old file's fate only where there
// was one; the system's error number last, in brackets, for support.
// `inFolder`: the folder is what failed (no room, no permission to create
// a file there, a read-only disk), not the file itself.
QString saveFailureText(const QString &path, int osError, const QString &reason, bool inFolder, bool oldFileKept);
