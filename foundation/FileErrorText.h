#pragma once
#include <QString>

// The operating system's reason for a failed file operation, in plain
// Chinese for the clerk: "磁盘已满", "没有写入权限", "文件夹不存在" … An
// unknown error number gives its number and the system's own text.
enum class FileAccess { Read, Write };
QString fileErrorText(int osError, FileAccess access = FileAccess::Write);
