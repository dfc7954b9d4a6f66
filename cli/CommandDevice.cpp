#include "cli/CommandDevice.h"

#include "cli/Output.h"

#include "platform/DeviceLock.h"

#include <QCoreApplication>

void CommandDevice::openReady(int waitMs)
{
    switch (open(waitMs)) {
    case State::NotFound:
        throw CliFailure(ExitCode::NoDevice, QCoreApplication::translate("w3ctl", "no W3 mouse found"));
    case State::Refused:
        throw CliFailure(ExitCode::DeviceError,
                         QCoreApplication::translate("w3ctl", "the mouse did not answer the handshake; "
                                                              "nothing was changed"));
    case State::Ready:
    case State::Demo:
        return;
    }
}

QString CommandDevice::busyMessage(int waitMs)
{
    const DeviceLock *shared = DeviceLock::shared();
    return QCoreApplication::translate("w3ctl", "the mouse is busy: another program (the W3 Config "
                                                "window or another w3ctl) kept it for %1 s; lock file %2")
        .arg(waitMs / 1000.0)
        .arg(shared ? shared->path() : QString());
}
