#include "platform/ProcessProgram.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The kernel's short name of a process is at most 15 bytes and a newline.
constexpr qint64 kMaxCommLength = 64;

}  // namespace

QString programNameOf(qint64 pid)
{
    if (pid <= 0)
        return QString();
    const QString folder = QStringLiteral("/proc/%1/").arg(pid);
    // The executable's link is readable only for the user's own processes (not for a sandbox
    // or another user's); the short name is readable for all.
    const QString executable = QFileInfo(folder + QStringLiteral("exe")).symLinkTarget();
    if (!executable.isEmpty())
        return QFileInfo(executable).fileName();
    QFile comm(folder + QStringLiteral("comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.read(kMaxCommLength)).trimmed();
}
