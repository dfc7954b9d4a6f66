#include "controller/ExportTarget.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ExportTarget", text);
}

}  // namespace

QString ExportTarget::problem(const QString &path)
{
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
