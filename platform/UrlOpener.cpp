#include "platform/UrlOpener.h"

#include <QDebug>
#include <QDesktopServices>
#include <QProcess>

namespace {
const char *const kSchemes[] = {"file", "http", "https"};
}

UrlOpener::UrlOpener(const QProcessEnvironment &environment, const QString &opener)
    : environment(environment), opener(opener)
{
    for (const char *scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openUrl");
}

UrlOpener::~UrlOpener()
{
    for (const char *scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

bool UrlOpener::openUrl(const QUrl &url)
{
    QProcess process;
    process.setProgram(opener);
    process.setArguments({url.toString(QUrl::FullyEncoded)});
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    qWarning().noquote() << "Cannot open" << url.toDisplayString() << "with" << opener << "-"
                         << process.errorString();
    emit cannotOpen(url);
    return false;
}
