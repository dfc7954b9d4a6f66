#include "app/OpenRgbLink.h"

#include "actions/PageActions.h"
#include "app/SessionService.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "scenelogic/LightingLogic.h"

OpenRgbLink::OpenRgbLink(Widget &shell, SessionService &service, OpenRgbSetting &setting)
    : shell(shell)
    , service(service)
    , setting(setting)
    , rgbServer(
          *shell.view()->actions().lighting, [this] { return deviceText(); }, [this] { return colorCount(); })
{
    rgbServer.setTurnTaker([&queue = service.mouseQueue()](std::function<void()> work) {
        queue.push({QString(), MouseQueue::kNoLimit, std::move(work), {}});
    });
    wasConnected = service.connected();
    connect(&setting, &OpenRgbSetting::changed, this, &OpenRgbLink::followSetting);
    connect(&shell, &Widget::deviceChecked, this, [this] {
        if (this->service.connected() == wasConnected)
            return;
        wasConnected = this->service.connected();
        rgbServer.deviceListChanged();
    });
    followSetting();
}

// A port that cannot be served is told where the setting shows; the next change of the
// setting tries again.
void OpenRgbLink::followSetting()
{
    if (!setting.enabled()) {
        rgbServer.stop();
        setting.setProblem(QString());
    } else if (rgbServer.start(quint16(setting.port()))) {
        setting.setProblem(QString());
    } else {
        setting.setProblem(rgbServer.problem());
    }
}

std::optional<openrgb::DeviceText> OpenRgbLink::deviceText() const
{
    if (!service.connected())
        return std::nullopt;
    const DeviceEntry entry = shell.device().deviceEntries().value(int(shell.device().currentDeviceId()));
    return openrgb::DeviceText {QStringLiteral("W3 Mouse"), entry.manufacturer, service.firmware()};
}

int OpenRgbLink::colorCount() const
{
    const QVariantList config = shell.view()->loadDeviceApConfig();
    return config.isEmpty() ? LightingLogic::kColorCount : config.first().toInt();
}
