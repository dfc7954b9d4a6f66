#include "controller/ExportTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Linux gives up on a path after as many symbolic links.
constexpr int kMaxLinkHops = 40;

QString tr(const char *text)
{
    return QCoreApplication::translate("ExportTarget", text);
}

// `path` with its folder's links resolved (/dev/fd/1 is /proc/self/fd/1), its last part kept.
QString withRealFolder(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

bool isUnderProc(const QString &path)
{
    return path == "/proc" || path.startsWith("/proc/");
}

// Whether `path`, or a link on the way from it, is in /proc: /dev/stdout and its kin lead to a
// process's open descriptor, a stream and never a file to replace, even when the stream is
// itself written to a file.
bool leadsIntoProc(const QString &path)
{
    QString hop = path;
    for (int i = 0; i < kMaxLinkHops; ++i) {
        hop = withRealFolder(hop);
        if (isUnderProc(hop))
            return true;
        const QFileInfo info(hop);
        if (!info.isSymLink())
            return false;
        hop = info.symLinkTarget();
    }
    return true;
}

}  // namespace

QString ExportTarget::problem(const QString &path)
{
    if (leadsIntoProc(path))
        return tr("%1 leads to a program's open stream (such as standard output), not to a file.").arg(path);
    // QFileInfo follows symbolic links: the questions are about what the name leads to.
    const QFileInfo target(path);
    if (target.exists()) {
        if (target.isDir())
            return tr("%1 is a folder.").arg(path);
        if (!target.isFile())
            return tr("%1 is not a regular file (a device, a pipe or a socket).").arg(path);
        return QString();
    }
    if (target.isSymLink())
        return tr("%1 is a link to a file that does not exist.").arg(path);
    if (!QFileInfo(target.absolutePath()).isDir())
        return tr("The folder %1 does not exist.").arg(target.absolutePath());
    return QString();
}
