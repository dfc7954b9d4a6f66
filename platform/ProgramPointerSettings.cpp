#include "platform/ProgramPointerSettings.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QVariant>

namespace programpointer {

namespace {

// Set through the application's meta-object, as QApplication's properties, so that this
// needs no widget library: a program without a window links Qt Core alone.
bool setApplicationProperty(const char *name, int value)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || !application->inherits("QApplication"))
        return false;
    return QMetaObject::invokeMethod(
        application, [application, name, value] { application->setProperty(name, value); }, Qt::AutoConnection);
}

}  // namespace

bool setDoubleClickInterval(int ms)
{
    return setApplicationProperty("doubleClickInterval", ms);
}

bool setWheelScrollLines(int lines)
{
    return setApplicationProperty("wheelScrollLines", lines);
}

}  // namespace programpointer
