#include "foundation/FileErrorText.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

QString fileErrorText(int osError, FileAccess access)
{
    const bool writing = access == FileAccess::Write;
    switch (osError) {
    case 0: return QStringLiteral("未知错误");
    case ENOSPC: return QStringLiteral("磁盘已满");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("磁盘配额已用完");
#endif
    case EROFS: return QStringLiteral("磁盘只读");
    case EACCES:
    case EPERM: return writing ? QStringLiteral("没有写入权限") : QStringLiteral("没有读取权限");
    case ENOENT: return writing ? QStringLiteral("文件夹不存在") : QStringLiteral("文件不存在");
    case ENOTDIR: return QStringLiteral("路径中有一段不是文件夹");
    case EISDIR: return QStringLiteral("这是一个文件夹，不是文件");
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    case EFBIG: return QStringLiteral("文件太大，超过了允许的大小");
    case EIO: return QStringLiteral("磁盘读写出错");
    case EMFILE:
    case ENFILE: return QStringLiteral("同时打开的文件太多");
    case ENOMEM: return QStringLiteral("内存不足");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("文件正在被使用");
    case EINVAL: return QStringLiteral("文件名或路径无效");
    case ELOOP: return QStringLiteral("符号链接太多或成环");
    case EEXIST: return QStringLiteral("文件已存在");
    case ENXIO:
    case ENODEV: return QStringLiteral("设备不存在或未连接");
    default: break;
    }
    return QStringLiteral("系统错误 %1（%2）").arg(osError).arg(QString::fromLocal8Bit(std::strerror(osError)));
}

QString saveFailureText(const QString &path, int osError, const QString &reason, bool inFolder, bool oldFileKept)
{
    QString text;
    if (inFolder) {
        const QString advice = osError == ENOSPC
#ifdef EDQUOT
                                       || osError == EDQUOT
#endif
                                   ? QStringLiteral("请删除不用的文件，或选择别的磁盘上的文件夹。")
                                   : QStringLiteral("请选择别的文件夹。");
        text = QStringLiteral("无法保存到这个文件夹：%1。%2\r\n文件夹：%3")
                   .arg(fileErrorText(osError, FileAccess::Write), advice,
                        QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    } else {
        text = QStringLiteral("无法保存文件“%1”：%2。").arg(QDir::toNativeSeparators(path), reason);
    }
    if (oldFileKept)
        text += QStringLiteral("\r\n原有的文件没有改变。");
    if (osError > 0)
        text += QStringLiteral("\r\n（错误号 %1）").arg(osError);
    return text;
}
