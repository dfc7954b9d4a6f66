#include "platform/BusActiveApplication.h"

#include "platform/ProcessProgram.h"

namespace {

// Longer texts are no application id or window class; they are cut, not trusted whole.
constexpr int kMaxNameLength = 255;

}  // namespace

BusActiveApplication::BusActiveApplication(const QDBusConnection &connection, QObject *parent)
    : ActiveApplication(parent)
    , bus(connection)
{
    registered = bus.isConnected()
        && bus.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportScriptableSlots);
}

BusActiveApplication::~BusActiveApplication()
{
    if (registered)
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
}

void BusActiveApplication::Activated(const QString &applicationId, const QString &windowClass, uint pid)
{
    report(applicationId, windowClass, pid);
}

void BusActiveApplication::Activated(const QString &applicationId, const QString &windowClass, int pid)
{
    report(applicationId, windowClass, pid);
}

void BusActiveApplication::report(const QString &applicationId, const QString &windowClass, qint64 pid)
{
    ApplicationIdentity application;
    application.applicationId = applicationId.left(kMaxNameLength);
    application.windowClass = windowClass.left(kMaxNameLength);
    application.pid = pid > 0 ? pid : 0;
    application.programName = programNameOf(application.pid);
    // The desktop tells again when a window of the same application comes to the front.
    if (application == inFront)
        return;
    inFront = application;
    emit changed(inFront);
}
