#include "ChildReport.h"

#include <QFile>
#include <QList>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <cstdio>

void report(const QByteArray &line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

long residentKilobytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void reportRenderer(QQuickWindow *window)
{
    const bool software = window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software;
    report(software ? "RENDERER software" : "RENDERER opengl");
}
