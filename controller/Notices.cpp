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

void Notices::cannotSave(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    warnOnce("save " + folder,
             QCoreApplication::translate("Notices",
                                         "Settings cannot be saved: the folder\n%1\ncannot be "
                                         "written by this user. Changes made now are lost when "
                                         "the program ends.")
                 .arg(folder));
}
