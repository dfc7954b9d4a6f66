#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/DeviceSession.h"
#include "controller/KeyboardOperations.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "scenelogic/SensorLogic.h"

using namespace cli;

namespace {

QStringList completeStatus(const CompletionRequest &)
{
    return {};
}

}  // namespace

const CommandRow &statusCommand()
{
    static const CommandRow row = {
        "status", "status",
         "Show the mouse: found or not, proven or demo, product, firmware, sensor, profile, DPI stage and report rate.",
         "Exits with 2 (and still prints the status) when no mouse is found.\n",
        {},
        MouseUse::Always,
        &Commands::status,
        completeStatus};
    return row;
}

void Commands::status()
{
    requireArguments(0, 0);
    const DeviceSession::State state = session->open(invocation.waitMs);
    const bool usable = state == DeviceSession::State::Ready || state == DeviceSession::State::Demo;

    const int profile = controllers.profiles->currentProfile() + 1;
    const int stage = controllers.mouse->ui_8BH_GetCurrentDPIStage().toInt();
    const int ratePosition = SensorLogic::reportRatePosition(controllers.mouse->ui_81H_GetReportRate().toInt());
    const QString rate = SensorLogic::reportRateLabels().at(ratePosition);
    const QString firmware = usable ? controllers.keyboard->ui_80H_GetFWVersion() : QString();
    const QString sensor = usable ? SensorLogic::sensorName(sensorType()) : QString();
    const QString stateText = state == DeviceSession::State::NotFound ? "not found"
                              : state == DeviceSession::State::Refused ? "found, handshake failed"
                              : state == DeviceSession::State::Demo    ? "demo mode"
                                                                       : "ready";
    QString text = tr("mouse:       %1\n").arg(stateText);
    if (state != DeviceSession::State::NotFound)
        text += tr("product:     %1\n").arg(session->productName());
    if (usable)
        text += tr("firmware:    %1\nsensor:      %2\n").arg(firmware, sensor.isEmpty() ? "unknown" : sensor);
    text += tr("profile:     %1\ndpi stage:   %2\nreport rate: %3").arg(profile).arg(stage).arg(rate);

    QJsonObject fields{
        {"found", state != DeviceSession::State::NotFound},
        {"proven", state == DeviceSession::State::Ready},
        {"demo", state == DeviceSession::State::Demo},
        {"product", state == DeviceSession::State::NotFound ? QString() : session->productName()},
        {"firmware", firmware},
        {"sensor", sensor},
        {"profile", profile},
        {"dpiStage", stage},
        {"reportRate", rate.section(' ', 0, 0).toInt()},
    };
    output.result(text, fields);
    reportWarnings();
    if (state == DeviceSession::State::NotFound)
        throw CliFailure(ExitCode::NoDevice, tr("no W3 mouse found"));
    if (state == DeviceSession::State::Refused)
        throw CliFailure(ExitCode::DeviceError, tr("the mouse did not answer the handshake"));
}
