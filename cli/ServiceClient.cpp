#include "cli/ServiceClient.h"

#include "cli/CommandLine.h"
#include "cli/Output.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kServiceName = QStringLiteral("org.w3config.W3Config1");
const QString kObjectPath = QStringLiteral("/org/w3config/W3Config1");
const QString kCommandsInterface = QStringLiteral("org.w3config.W3Config1.Commands");

QString tr(const char *text)
{
    return QCoreApplication::translate("w3ctl", text);
}

// Without an address libdbus would launch a bus of its own for the X display; w3ctl only
// looks for a bus that is there.
bool sessionBusExists()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + "/bus");
}

// The running program works in its data folder. Another installation (a build folder, a
// test's copy) keeps other profiles: its commands are not this w3ctl's to hand over.
bool worksOnOurDataFolder(uint pid)
{
    const QString folder = QFileInfo(QString("/proc/%1/cwd").arg(pid)).canonicalFilePath();
    return pid != 0 && !folder.isEmpty() && folder == QDir::current().canonicalPath();
}

QDBusMessage callOnBus(QDBusMessage call, int timeoutMs)
{
    // A program that ended meanwhile must not be started again by the bus for w3ctl.
    call.setAutoStartService(false);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, timeoutMs);
}

enum class Counterpart { Absent, RunsCommands, OlderBuild, Silent };

// Whether the running program answers in time, and whether it is a build that runs commands;
// the introspection is answered on its GUI thread, so a program that answers it answers a
// command in its turn.
Counterpart counterpart()
{
    if (!sessionBusExists())
        return Counterpart::Absent;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kServiceName).value())
        return Counterpart::Absent;
    if (!worksOnOurDataFolder(bus.interface()->servicePid(kServiceName).value()))
        return Counterpart::Absent;
    const QDBusMessage reply = callOnBus(
        QDBusMessage::createMethodCall(kServiceName, kObjectPath, "org.freedesktop.DBus.Introspectable", "Introspect"),
        ServiceClient::kAnswerTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Counterpart::Silent;
    const QString description = reply.arguments().value(0).toString();
    return description.contains(QString("<interface name=\"%1\">").arg(kCommandsInterface))
               ? Counterpart::RunsCommands
               : Counterpart::OlderBuild;
}

// The unique bus name of the program holding the service name now; empty without one.
QString currentOwner()
{
    return QDBusConnection::sessionBus().interface()->serviceOwner(kServiceName).value();
}

void workAloneBecause(QTextStream &err, const QString &reason)
{
    Output(err, err, false).error(tr("%1; working alone").arg(reason));
}

}  // namespace

std::optional<int> ServiceClient::runCommand(const QStringList &arguments, const Invocation &invocation,
                                             QTextStream &out, QTextStream &err)
{
    switch (counterpart()) {
    case Counterpart::Absent:
    case Counterpart::OlderBuild:  // it takes turns at the mouse with w3ctl through the lock
        return std::nullopt;
    case Counterpart::Silent:
        workAloneBecause(err, tr("W3 Config runs but does not answer on the session bus"));
        return std::nullopt;
    case Counterpart::RunsCommands:
        break;
    }
    const QString owner = currentOwner();
    QDBusMessage call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kCommandsInterface, "RunCommand");
    call << arguments << invocation.userFolder.absolutePath();
    const QDBusMessage reply = callOnBus(call, invocation.waitMs + kCommandTimeoutMs);
    const QList<QVariant> values = reply.arguments();
    if (reply.type() == QDBusMessage::ReplyMessage && values.size() == 3) {
        out << values.at(1).toString();
        out.flush();
        err << values.at(2).toString();
        err.flush();
        return values.at(0).toInt();
    }
    const QString error = reply.errorName();
    // Once the program took the command it may have run: it is never run a second time here.
    // The bus answers NoReply both for a call that timed out and for a program that left the
    // bus (ended) without answering: the name's owner tells the two apart.
    if (error == "org.freedesktop.DBus.Error.NoReply" || error == "org.freedesktop.DBus.Error.Timeout") {
        const bool ended = currentOwner() != owner;
        Output(out, err, false)
            .error(ended ? tr("W3 Config ended before it finished the command")
                         : tr("W3 Config took the command but did not finish it in time"));
        return int(ExitCode::DeviceError);
    }
    if (error == "org.freedesktop.DBus.Error.InvalidArgs") {
        Output(out, err, false).error(reply.errorMessage());
        return int(ExitCode::UsageError);
    }
    workAloneBecause(err, tr("W3 Config did not take the command (%1)").arg(error.isEmpty() ? reply.errorMessage() : error));
    return std::nullopt;
}
