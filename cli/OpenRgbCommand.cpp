#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/OpenRgbSetting.h"

using namespace cli;

namespace {

QStringList completeOpenRgb(const CompletionRequest &request)
{
    return request.before.isEmpty() ? QStringList{"on", "off", "status"} : QStringList();
}

}  // namespace

const CommandRow &openRgbCommand()
{
    static const CommandRow row = {
        "openrgb", "openrgb [on | off | status] [--port PORT]",
         "Show, or switch on or off, the OpenRGB SDK server of the running W3 Config.",
         "The server answers OpenRGB's SDK client on 127.0.0.1 only (add it in OpenRGB's SDK\n"
         "client tab); the running program follows the setting at once. Beside the running\n"
         "program, status tells when it cannot serve (\"on, but port 6743 is in use by another\n"
         "program\"); on tries the port again.\n"
         "  --port PORT  the port to serve, with on (6743 unless set before)\n",
        {{"port", {}}},
        MouseUse::Never,
        &Commands::openRgb,
        completeOpenRgb};
    return row;
}

void Commands::openRgb()
{
    requireArguments(0, 1);
    const QString wanted = invocation.arguments().value(0, "status");
    if (wanted != "on" && wanted != "off" && wanted != "status")
        usageError(tr("openrgb takes on, off or status"));
    if (invocation.has("port") && wanted != "on")
        usageError(tr("--port goes with on"));
    // In the running program its own setting, which knows whether the server serves.
    OpenRgbSetting alone;
    OpenRgbSetting &setting = OpenRgbSetting::shared() ? *OpenRgbSetting::shared() : alone;
    if (wanted != "status") {
        int port = 0;
        if (invocation.has("port")) {
            bool ok = false;
            port = invocation.options.value("port").toInt(&ok);
            if (!ok || !OpenRgbSetting::isValidPort(port))
                usageError(tr("--port must be 1-65535"));
        }
        if (!setting.setEnabled(wanted == "on", port))
            writeFailure(tr("the setting cannot be saved in %1").arg(OpenRgbSetting::defaultPath()));
    }
    QJsonObject fields {{"enabled", setting.enabled()}, {"host", "127.0.0.1"}, {"port", setting.port()}};
    if (!setting.enabled()) {
        output.result(tr("openrgb server: off, 127.0.0.1 port %1").arg(setting.port()), fields);
    } else if (setting.problem().isEmpty()) {
        output.result(tr("openrgb server: on, 127.0.0.1 port %1").arg(setting.port()), fields);
    } else {
        fields.insert("problem", setting.problem());
        output.result(tr("openrgb server: on, but %1").arg(setting.problem()), fields);
    }
}
