#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/CommandDevice.h"
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
    const CommandDevice::State state = bench.device().open(invocation.waitMs);
    const bool usable = state == CommandDevice::State::Ready || state == CommandDevice::State::Demo;

    const int profile = controllers.profiles->currentProfile() + 1;
    const int stage = controllers.mouse->ui_8BH_GetCurrentDPIStage().toInt();
    const int ratePosition = SensorLogic::reportRatePosition(controllers.mouse->ui_81H_GetReportRate().toInt());
    const QString rate = SensorLogic::reportRateLabels().at(ratePosition);
    const QString firmware = usable ? controllers.keyboard->ui_80H_GetFWVersion() : QString();
    const QString sensor = usable ? SensorLogic::sensorName(sensorType()) : QString();
    const QString stateText = state == CommandDevice::State::NotFound ? "not found"
                              : state == CommandDevice::State::Refused ? "found, handshake failed"
                              : state == CommandDevice::State::Demo    ? "demo mode"
                                                                       : "ready";
    QString text = tr("mouse:       %1\n").arg(stateText);
    if (state != CommandDevice::State::NotFound)
        text += tr("product:     %1\n").arg(bench.device().productName());
    if (usable)
        text += tr("firmware:    %1\nsensor:      %2\n").arg(firmware, sensor.isEmpty() ? "unknown" : sensor);
    text += tr("profile:     %1\ndpi stage:   %2\nreport rate: %3").arg(profile).arg(stage).arg(rate);

    QJsonObject fields{
        {"found", state != CommandDevice::State::NotFound},
        {"proven", state == CommandDevice::State::Ready},
        {"demo", state == CommandDevice::State::Demo},
        {"product", state == CommandDevice::State::NotFound ? QString() : bench.device().productName()},
        {"firmware", firmware},
        {"sensor", sensor},
        {"profile", profile},
        {"dpiStage", stage},
        {"reportRate", rate.section(' ', 0, 0).toInt()},
    };
    output.result(text, fields);
    reportWarnings();
    if (state == CommandDevice::State::NotFound)
        throw CliFailure(ExitCode::NoDevice, tr("no W3 mouse found"));
    if (state == CommandDevice::State::Refused)
        throw CliFailure(ExitCode::DeviceError, tr("the mouse did not answer the handshake"));
}
