#include "platform/PlasmaPointerSettings.h"

#include "platform/PointerSpeedScale.h"
#include "platform/ProgramPointerSettings.h"

#include <QDBusMessage>

namespace {

const QStringList kMouseGroup{"Mouse"};
const QStringList kGlobalsGroup{"KDE"};
const char *const kSpeedKey = "XLbInptPointerAcceleration";
const char *const kFlatProfileKey = "X11LibInputXAccelProfileFlat";
const char *const kDoubleClickKey = "DoubleClickInterval";
const char *const kScrollLinesKey = "WheelScrollLines";

// KDE's change notice: type SettingsChanged (3), category SETTINGS_MOUSE (0).
const char *const kNoticePath = "/KGlobalSettings";
const char *const kNoticeInterface = "org.kde.KGlobalSettings";
const char *const kNoticeSignal = "notifyChange";
constexpr int kSettingsChanged = 3;
constexpr int kMouseSettings = 0;

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

}  // namespace

PlasmaPointerSettings::PlasmaPointerSettings(QDBusConnection bus,
                                             std::unique_ptr<KWinPointerDevices> kwin)
    : bus(std::move(bus)),
      kwin(std::move(kwin)),
      inputConfig(KdeConfigFile::inUserConfig("kcminputrc")),
      globals(KdeConfigFile::inUserConfig("kdeglobals"))
{
}

void PlasmaPointerSettings::announceMouseSettingsChange()
{
    if (!bus.isConnected())
        return;
    QDBusMessage notice = QDBusMessage::createSignal(kNoticePath, kNoticeInterface, kNoticeSignal);
    notice << kSettingsChanged << kMouseSettings;
    bus.send(notice);
}

bool PlasmaPointerSettings::setPointerSpeed(int systemSpeed)
{
    const double speed = pointerspeed::libinputSpeed(systemSpeed);
    const bool stored = inputConfig.setValue(kMouseGroup, kSpeedKey, QString::number(speed));
    const bool applied = !kwin || kwin->setPointerAcceleration(speed);
    return stored && applied;
}

bool PlasmaPointerSettings::setWheelScrollLines(int lines)
{
    const bool programSet = programpointer::setWheelScrollLines(lines);
    const bool stored = globals.setValue(kGlobalsGroup, kScrollLinesKey, QString::number(lines));
    if (stored)
        announceMouseSettingsChange();
    return stored && programSet;
}

bool PlasmaPointerSettings::setDoubleClickTime(int ms)
{
    const bool programSet = programpointer::setDoubleClickInterval(ms);
    const bool stored = globals.setValue(kGlobalsGroup, kDoubleClickKey, QString::number(ms));
    if (stored)
        announceMouseSettingsChange();
    return stored && programSet;
}

bool PlasmaPointerSettings::readMouse(int values[MouseValueCount])
{
    const bool flat = inputConfig.value(kMouseGroup, kFlatProfileKey) == boolText(true);
    values[Threshold1] = kUsualThreshold1;
    values[Threshold2] = kUsualThreshold2;
    values[AccelerationLevel] = flat ? 0 : 1;
    return true;
}

bool PlasmaPointerSettings::writeMouse(const int values[MouseValueCount])
{
    const bool flat = values[AccelerationLevel] == 0;
    const bool stored = inputConfig.setValue(kMouseGroup, kFlatProfileKey, boolText(flat));
    const bool applied = !kwin || kwin->setFlatProfile(flat);
    return stored && applied;
}
