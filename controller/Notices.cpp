#include "controller/Notices.h"

#include "controller/AppConfig.h"
#include "controller/Prompts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QSet>

namespace {

QSet<QString> &shownSubjects()
{
    static QSet<QString> subjects;
    return subjects;
}

}  // namespace

QString Notices::title()
{
    const QString windowTitle = AppConfig::windowTitle();
    return windowTitle.isEmpty() ? QCoreApplication::applicationName() : windowTitle;
}

void Notices::warn(const QString &text)
{
    qWarning().noquote() << text;
    Prompts::current().warning(title(), text);
}

bool Notices::warnOnce(const QString &subject, const QString &text)
{
    if (shownSubjects().contains(subject)) {
        qWarning().noquote() << text;
        return false;
    }
    shownSubjects().insert(subject);
    warn(text);
    return true;
}

namespace {

QString cannotSaveText(WriteStatus why)
{
    switch (why) {
    case WriteStatus::DiskFull:
        return QCoreApplication::translate("Notices",
                                           "Settings cannot be saved: the disk that holds the folder\n%1\nis "
                                           "full. The files stay as they were; changes made now are lost "
                                           "unless space is freed.");
    case WriteStatus::Busy:
        return QCoreApplication::translate("Notices",
                                           "Settings cannot be saved in the folder\n%1\nnow: another program "
                                           "(the W3 Config window or w3ctl) kept them busy. The files stay "
                                           "as they were.");
    case WriteStatus::Failed:
        return QCoreApplication::translate("Notices",
                                           "Settings cannot be saved: writing to the folder\n%1\nfailed. The "
                                           "files stay as they were.");
    case WriteStatus::Written:
    case WriteStatus::NotPermitted:
        break;
    }
    return QCoreApplication::translate("Notices",
                                       "Settings cannot be saved: the folder\n%1\ncannot be "
                                       "written by this user. Changes made now are lost when "
                                       "the program ends.");
}

}  // namespace

void Notices::cannotSave(const QString &file, WriteStatus why)
{
    const QString folder = QFileInfo(file).absolutePath();
    warnOnce(QString("save %1 %2").arg(int(why)).arg(folder), cannotSaveText(why).arg(folder));
}
