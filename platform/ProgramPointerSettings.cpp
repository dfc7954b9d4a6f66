#include "platform/ProgramPointerSettings.h"

#include <QApplication>
#include <QMetaObject>

namespace programpointer {

namespace {

template <typename Apply>
bool applyOnGuiThread(Apply apply)
{
    auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!application)
        return false;
    return QMetaObject::invokeMethod(application, apply, Qt::AutoConnection);
}

}  // namespace

bool setDoubleClickInterval(int ms)
{
    return applyOnGuiThread([ms] { QApplication::setDoubleClickInterval(ms); });
}

bool setWheelScrollLines(int lines)
{
    return applyOnGuiThread([lines] { QApplication::setWheelScrollLines(lines); });
}

}  // namespace programpointer
